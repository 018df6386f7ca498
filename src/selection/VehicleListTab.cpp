#include "selection/VehicleListTab.h"

#include "platform/Dataset.h"
#include "widgets/FormText.h"
#include "widgets/TDBMemoTarvo.h"
#include "widgets/TDBNavigatorTarvo.h"
#include "widgets/TDbGridTarvo.h"
#include "selection/TransferPanel.h"
#include "platform/UserActionGuard.h"
#include "selection/VehicleColumns.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

// The detail panel: a caption, the current record's field, or both.
struct DetailItem
{
    const char16_t *caption;
    QRect captionAt;
    const char16_t *field;
    QRect valueAt;
};

const DetailItem kDetail[] = {
    {u"", {}, u"ZNACKA_TYP", {4, 3, 250, 18}},
    {u"cena:", {258, 3, 32, 18}, u"CENA_VOZIDLA", {290, 3, 84, 18}},
    {u"zak č.:", {378, 3, 40, 18}, u"CJ", {418, 3, 88, 18}},
    {u"vyrobeno:", {4, 24, 54, 16}, u"DATUM_VYROBY", {58, 24, 72, 16}},
    {u"palivo:", {136, 24, 38, 16}, u"PALIVO", {174, 24, 80, 16}},
    {u"najeto:", {4, 42, 50, 16}, u"NAJETO", {54, 42, 80, 16}},
    {u"barva:", {136, 42, 38, 16}, u"BARVA", {174, 42, 80, 16}},
    {u"obsah/výk.:", {4, 60, 62, 16}, u"OBSAH", {66, 60, 54, 16}},
    {u"/", {120, 60, 6, 16}, u"VYKON", {128, 60, 60, 16}},
    {u"STK do:", {4, 78, 50, 16}, u"STK_DO", {54, 78, 80, 16}},
    {u"pozn.:", {4, 96, 36, 16}, u"VYBAVA_DO_POZNAMKY", {42, 96, 212, 28}},
};

// The portal's logo, drawn rather than shipped as a file.
QPixmap logoPicture()
{
    QPixmap pixmap(120, 60);
    pixmap.fill(QColor(0, 0, 128));
    QPainter painter(&pixmap);
    painter.setPen(Qt::white);
    QFont font(u"Arial"_s, 20, QFont::Bold);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, u"Korvex"_s);
    return pixmap;
}

} // namespace

VehicleListTab::VehicleListTab(Dataset &query, UserDialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , m_query(query)
    , m_dialogs(dialogs)
    , m_oznaceno(query.fieldIndex(u"OZNACENO"))
    , m_foto1(query.fieldIndex(u"FOTO1"))
    , m_rezerva4(query.fieldIndex(u"REZERVA4"))
    , m_rezerva6(query.fieldIndex(u"REZERVA6"))
{
    setObjectName(u"TabSheetSeznam"_s);
    setMinimumSize(770, 525);

    DbGridTarvo1 = new TDbGridTarvo(this);
    DbGridTarvo1->setObjectName(u"DbGridTarvo1"_s);
    DbGridTarvo1->setGeometry(0, 65, 770, 329);
    DbGridTarvo1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DbGridTarvo1->setFont(VehicleListFont());
    DbGridTarvo1->setDataset(&m_query);
    const std::vector<DatasetColumn> columns = VehicleListColumns();
    for (size_t c = 0; c < columns.size(); ++c)
        if (columns[c].field == u"FOTO1")
            m_photoColumn = int(c);
    DbGridTarvo1->setColumns(columns);
    DbGridTarvo1->setKeyField(u"PORADI"_s);
    DbGridTarvo1->setKeyFieldType(TTvKeyFieldType::tktInteger);
    DbGridTarvo1->setCheckedColor(QColor(255, 255, 0));
    DbGridTarvo1->setCheckedSignum(true);
    DbGridTarvo1->setClickTitleEnabled(true);
    DbGridTarvo1->setActiveTitleIndex(0);
    DbGridTarvo1->setActiveColumnBold(true);
    DbGridTarvo1->setLockedCols(0);
    DbGridTarvo1->setLockedColor(QColor(192, 192, 192));
    DbGridTarvo1->setEnterIsTab(false);
    DbGridTarvo1->OnCheckRow = [this] { CheckRow(); };
    DbGridTarvo1->OnDrawColumnCell = [this](int row, int column, bool focused, TGridCellLook &look) {
        drawCell(row, column, focused, look);
    };
    connect(DbGridTarvo1, &QAbstractItemView::doubleClicked, this, [this] { guarded([this] { ToggleResendPhotos(); }); });

    m_query.setFilter([this](const DatasetRecord &record) {
        return !m_onlyMarked || DbGridTarvo1->IsKeyChecked(record.value(u"PORADI").toLongLong());
    });
    m_query.setFiltered(true);
    connect(&m_query, &Dataset::afterScroll, this, &VehicleListTab::afterScroll);
    connect(&m_query, &Dataset::dataChanged, this, &VehicleListTab::showDetail);

    buildTopBand();
    buildDetailPanel();
    buildButtons();
    buildHiddenButtons();

    Panel1 = new TransferPanel(this);
    Panel1->move(352, 2);
}

void VehicleListTab::buildTopBand()
{
    auto *logo = new QLabel(this);
    logo->setObjectName(u"Image22"_s);
    logo->setGeometry(2, 2, 120, 60);
    logo->setScaledContents(true);
    logo->setPixmap(logoPicture());

    auto *counters = new QFrame(this);
    counters->setFrameShape(QFrame::Box);
    counters->setGeometry(128, 4, 130, 56);
    Label15 = PlaceLabel(counters, u"Celkem"_s, QRect(6, 6, 118, 20));
    Label15->setObjectName(u"Label15"_s);
    SetTextLook(Label15, QColor(0, 0, 255), true);
    Label16 = PlaceLabel(counters, u"Vybráno"_s, QRect(6, 30, 118, 20));
    Label16->setObjectName(u"Label16"_s);
    SetTextLook(Label16, QColor(255, 0, 0), true);

    auto *heading = PlaceLabel(this, u"EXPORT dat na Korvex"_s, QRect(268, 4, 240, 24));
    heading->setObjectName(u"Label2"_s);
    QFont big = heading->font();
    big.setPointSize(big.pointSize() + 5);
    big.setBold(true);
    heading->setFont(big);

    DBNavigatorTarvo1 = new TDBNavigatorTarvo(this);
    DBNavigatorTarvo1->setObjectName(u"DBNavigatorTarvo1"_s);
    DBNavigatorTarvo1->setVisibleButtons({NavigateButton::nbFirst, NavigateButton::nbPrior, NavigateButton::nbNext,
                                          NavigateButton::nbLast, NavigateButton::nbDelete, NavigateButton::nbRefresh});
    DBNavigatorTarvo1->setDataset(&m_query);
    DBNavigatorTarvo1->setGeometry(268, 32, 360, 28);
    DBNavigatorTarvo1->OnClickDelete = [this] { guarded([this] { DeleteCurrentVehicle(); }); };
    // Ctrl+Delete in the grid deletes the same way, after the same question.
    DbGridTarvo1->OnClickDel = [this] {
        if (QApplication::keyboardModifiers() & Qt::ControlModifier)
            guarded([this] { DeleteCurrentVehicle(); });
    };

    auto *version = PlaceLabel(this, u"Delmora  - 09.05.2008"_s, QRect(640, 2, 128, 14));
    version->setObjectName(u"LabelVerze"_s);
    version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void VehicleListTab::buildDetailPanel()
{
    m_detail = new QFrame(this);
    auto *panel = static_cast<QFrame *>(m_detail);
    panel->setObjectName(u"PanelDetail"_s);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(0, 398, 510, 127);

    const TableDef &def = m_query.definition();
    for (const DetailItem &item : kDetail) {
        if (item.caption[0])
            PlaceLabel(panel, QString::fromUtf16(item.caption), item.captionAt);
        const QString field = QString::fromUtf16(item.field);
        QLabel *value = PlaceLabel(panel, QString(), item.valueAt);
        value->setObjectName(u"DBText_"_s + field);
        SetTextLook(value, field == u"ZNACKA_TYP" ? QColor(255, 0, 0) : QColor(0, 0, 0), field != u"VYBAVA_DO_POZNAMKY");
        if (item.valueAt.height() > 20) { // the note takes two lines
            value->setWordWrap(true);
            value->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        }
        m_detailFields.push_back({value, field, def.fields[size_t(def.indexOf(field))].displayFormat});
    }

    CheckBoxLPG = flagBox(u"LPG"_s, u"CheckBoxLPG", u"LPG"_s, QRect(258, 24, 52, 18), panel);
    CheckBoxMetal = flagBox(u"Metalíza"_s, u"CheckBoxMetal", u"METALIZA"_s, QRect(310, 24, 68, 18), panel);
    CheckBoxPrvniMaj = flagBox(u"První majitel"_s, u"CheckBoxPrvniMaj", u"PRV_MAJITEL"_s, QRect(258, 42, 104, 18), panel);
    CheckBoxServisKn = flagBox(u"Servisní kn."_s, u"CheckBoxServisKn", u"SERVIS_KN"_s, QRect(378, 42, 110, 18), panel);

    BitBtn1 = button(u"Přepsat foto v inzerci"_s, u"BitBtn1", QRect(378, 22, 128, 20), panel,
                     [this] { ToggleResendPhotos(); });
    BitBtn1->setToolTip(u"Přepsání foto novými na inzertním serveru"_s);

    DBMemoTarvo2 = new TDBMemoTarvo(panel);
    DBMemoTarvo2->setObjectName(u"DBMemoTarvo2"_s);
    DBMemoTarvo2->setGeometry(258, 62, 248, 60);
    DBMemoTarvo2->setDataset(&m_query, u"VYBAVA"_s);
    // The first equipment memo lies outside the tab's visible area.
    DBMemoTarvo1 = new TDBMemoTarvo(this);
    DBMemoTarvo1->setObjectName(u"DBMemoTarvo1"_s);
    DBMemoTarvo1->setDataset(&m_query, u"VYBAVA"_s);
    DBMemoTarvo1->hide();
    // The equipment comes from the host; nothing typed here could be kept.
    for (TDBMemoTarvo *memo : {DBMemoTarvo1, DBMemoTarvo2}) {
        memo->setReadOnly(true);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
}

void VehicleListTab::buildButtons()
{
    auto *block = new QFrame(this);
    block->setFrameShape(QFrame::Box);
    block->setGeometry(514, 398, 256, 54);
    Button7 = button(u"Označ řádek"_s, u"Button7", QRect(4, 4, 80, 22), block, [this] { ToggleCurrentMark(); });
    Button8 = button(u"Vyber vše"_s, u"Button8", QRect(88, 4, 80, 22), block, [this] { MarkAll(); });
    Button6 = button(u"Zruš značky"_s, u"Button6", QRect(172, 4, 80, 22), block, [this] { UnmarkAll(); });
    BitBtn_Tisk = button(u"do časopisu"_s, u"BitBtn_Tisk", QRect(4, 28, 122, 22), block, [this] { ToggleMagazine(); });
    SpeedButtonVybrane = new QToolButton(block);
    SpeedButtonVybrane->setObjectName(u"SpeedButtonVybrane"_s);
    SpeedButtonVybrane->setText(u"Jen vybrané"_s);
    SpeedButtonVybrane->setCheckable(true);
    SpeedButtonVybrane->setGeometry(130, 28, 122, 22);
    connect(SpeedButtonVybrane, &QToolButton::clicked, this, [this] { guarded([this] { ToggleOnlyMarked(); }); });

    BitBtn3 = button(u"Odeslat inzerci na Korvex"_s, u"BitBtn3", QRect(514, 456, 256, 32), this, [this] {
        if (onSend)
            onSend();
    });
    QFont bold = BitBtn3->font();
    bold.setBold(true);
    BitBtn3->setFont(bold);
    BitBtnFOTO = button(u"  Zobraz FOTO"_s, u"BitBtnFOTO", QRect(514, 494, 126, 28), this, [this] {
        if (onShowPhotos)
            onShowPhotos();
    });
    BitBtn4 = button(u"Zavřít"_s, u"BitBtn4", QRect(644, 494, 126, 28), this, [this] {
        if (onClose)
            onClose();
    });
    BitBtn4->setShortcut(QKeySequence(Qt::Key_Escape));
    // What "Odeslat" would send, before anything is sent.
    BitBtnNahled = button(u"Náhled odeslání"_s, u"BitBtnNahled", QRect(640, 34, 128, 26), this, [this] {
        if (onPreview)
            onPreview();
    });
}

void VehicleListTab::buildHiddenButtons()
{
    const struct
    {
        const char16_t *text;
        const char16_t *name;
        std::function<void()> VehicleListTab::*action;
    } hidden[] = {
        {u"Načti data", u"ButtonNactiData", &VehicleListTab::onLoadData},
        {u"Vytvoř ASCII", u"ButtonVytvorAscii", &VehicleListTab::onCreateAscii},
        {u"Generuj XML", u"ButtonGenerujXml", &VehicleListTab::onGenerateXml},
        {u"Vytvoř databázi", u"ButtonVytvorDatabazi", &VehicleListTab::onCreateDatabase},
    };
    for (const auto &h : hidden) {
        auto member = h.action;
        QPushButton *b = button(QString::fromUtf16(h.text), h.name, QRect(4, 100, 90, 22), this, [this, member] {
            if (this->*member)
                (this->*member)();
        });
        b->hide();
    }
}

QPushButton *VehicleListTab::button(const QString &text, const char16_t *name, const QRect &where, QWidget *parent,
                                    const std::function<void()> &action)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromUtf16(name));
    b->setGeometry(where);
    connect(b, &QPushButton::clicked, this, [this, action] { guarded(action); });
    return b;
}

QCheckBox *VehicleListTab::flagBox(const QString &text, const char16_t *name, const QString &field, const QRect &where,
                                   QWidget *parent)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromUtf16(name));
    box->setGeometry(where);
    m_flagBoxes.emplace_back(box, field);
    // Every change of the box, by the user or by following the record, is
    // written at once.
    connect(box, &QCheckBox::toggled, this, [this, field](bool checked) {
        if (!hasCurrentRecord())
            return;
        guarded([this, field, checked] {
            m_query.edit();
            m_query.setValue(field, checked ? u"1"_s : u"0"_s);
            m_query.post();
        });
    });
    return box;
}

void VehicleListTab::guarded(const std::function<void()> &action)
{
    RunUserAction(m_dialogs, action);
}

void VehicleListTab::setIconFolders(const QString &settingsFolder, const QString &executableFolder)
{
    m_settingsFolder = settingsFolder;
    m_executableFolder = executableFolder;
}

} // namespace korvex
