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

    m_grid = new TDbGridTarvo(this);
    m_grid->setObjectName(u"DbGridTarvo1"_s);
    m_grid->setGeometry(0, 65, 770, 329);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setFont(VehicleListFont());
    m_grid->setDataset(&m_query);
    const std::vector<DatasetColumn> columns = VehicleListColumns();
    for (size_t c = 0; c < columns.size(); ++c)
        if (columns[c].field == u"FOTO1")
            m_photoColumn = int(c);
    m_grid->setColumns(columns);
    m_grid->setKeyField(u"PORADI"_s);
    m_grid->setKeyFieldType(TTvKeyFieldType::tktInteger);
    m_grid->setCheckedColor(QColor(255, 255, 0));
    m_grid->setCheckedSignum(true);
    m_grid->setClickTitleEnabled(true);
    m_grid->setActiveTitleIndex(0);
    m_grid->setActiveColumnBold(true);
    m_grid->setLockedCols(0);
    m_grid->setLockedColor(QColor(192, 192, 192));
    m_grid->setEnterIsTab(false);
    m_grid->OnCheckRow = [this] { CheckRow(); };
    m_grid->OnDrawColumnCell = [this](int row, int column, bool focused, TGridCellLook &look) {
        drawCell(row, column, focused, look);
    };
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this] { guarded([this] { ToggleResendPhotos(); }); });

    m_query.setFilter([this](const DatasetRecord &record) {
        return !m_onlyMarked || m_grid->IsKeyChecked(record.value(u"PORADI").toLongLong());
    });
    m_query.setFiltered(true);
    connect(&m_query, &Dataset::afterScroll, this, &VehicleListTab::afterScroll);
    connect(&m_query, &Dataset::dataChanged, this, &VehicleListTab::showDetail);

    buildTopBand();
    buildDetailPanel();
    buildButtons();
    buildHiddenButtons();

    m_panel = new TransferPanel(this);
    m_panel->move(352, 2);
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
    m_total = PlaceLabel(counters, u"Celkem"_s, QRect(6, 6, 118, 20));
    m_total->setObjectName(u"Label15"_s);
    SetTextLook(m_total, QColor(0, 0, 255), true);
    m_marked = PlaceLabel(counters, u"Vybráno"_s, QRect(6, 30, 118, 20));
    m_marked->setObjectName(u"Label16"_s);
    SetTextLook(m_marked, QColor(255, 0, 0), true);

    auto *heading = PlaceLabel(this, u"EXPORT dat na Korvex"_s, QRect(268, 4, 240, 24));
    heading->setObjectName(u"Label2"_s);
    QFont big = heading->font();
    big.setPointSize(big.pointSize() + 5);
    big.setBold(true);
    heading->setFont(big);

    m_navigator = new TDBNavigatorTarvo(this);
    m_navigator->setObjectName(u"DBNavigatorTarvo1"_s);
    m_navigator->setVisibleButtons({NavigateButton::nbFirst, NavigateButton::nbPrior, NavigateButton::nbNext,
                                    NavigateButton::nbLast, NavigateButton::nbDelete, NavigateButton::nbRefresh});
    m_navigator->setDataset(&m_query);
    m_navigator->setGeometry(268, 32, 360, 28);
    m_navigator->OnClickDelete = [this] { guarded([this] { DeleteCurrentVehicle(); }); };
    // Ctrl+Delete in the grid deletes the same way, after the same question.
    m_grid->OnClickDel = [this] {
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

    flagBox(u"LPG"_s, u"CheckBoxLPG", u"LPG"_s, QRect(258, 24, 52, 18), panel);
    flagBox(u"Metalíza"_s, u"CheckBoxMetal", u"METALIZA"_s, QRect(310, 24, 68, 18), panel);
    flagBox(u"První majitel"_s, u"CheckBoxPrvniMaj", u"PRV_MAJITEL"_s, QRect(258, 42, 104, 18), panel);
    flagBox(u"Servisní kn."_s, u"CheckBoxServisKn", u"SERVIS_KN"_s, QRect(378, 42, 110, 18), panel);

    QPushButton *resend = button(u"Přepsat foto v inzerci"_s, u"BitBtn1", QRect(378, 22, 128, 20), panel,
                                 [this] { ToggleResendPhotos(); });
    resend->setToolTip(u"Přepsání foto novými na inzertním serveru"_s);

    auto *shownMemo = new TDBMemoTarvo(panel);
    shownMemo->setObjectName(u"DBMemoTarvo2"_s);
    shownMemo->setGeometry(258, 62, 248, 60);
    shownMemo->setDataset(&m_query, u"VYBAVA"_s);
    // The first equipment memo lies outside the tab's visible area.
    auto *hiddenMemo = new TDBMemoTarvo(this);
    hiddenMemo->setObjectName(u"DBMemoTarvo1"_s);
    hiddenMemo->setDataset(&m_query, u"VYBAVA"_s);
    hiddenMemo->hide();
    // The equipment comes from the host; nothing typed here could be kept.
    for (TDBMemoTarvo *memo : {hiddenMemo, shownMemo}) {
        memo->setReadOnly(true);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
}

void VehicleListTab::buildButtons()
{
    auto *block = new QFrame(this);
    block->setFrameShape(QFrame::Box);
    block->setGeometry(514, 398, 256, 54);
    button(u"Označ řádek"_s, u"Button7", QRect(4, 4, 80, 22), block, [this] { ToggleCurrentMark(); });
    button(u"Vyber vše"_s, u"Button8", QRect(88, 4, 80, 22), block, [this] { MarkAll(); });
    button(u"Zruš značky"_s, u"Button6", QRect(172, 4, 80, 22), block, [this] { UnmarkAll(); });
    button(u"do časopisu"_s, u"BitBtn_Tisk", QRect(4, 28, 122, 22), block, [this] { ToggleMagazine(); });
    m_onlyMarkedButton = new QToolButton(block);
    m_onlyMarkedButton->setObjectName(u"SpeedButtonVybrane"_s);
    m_onlyMarkedButton->setText(u"Jen vybrané"_s);
    m_onlyMarkedButton->setCheckable(true);
    m_onlyMarkedButton->setGeometry(130, 28, 122, 22);
    connect(m_onlyMarkedButton, &QToolButton::clicked, this, [this] { guarded([this] { ToggleOnlyMarked(); }); });

    QPushButton *send = button(u"Odeslat inzerci na Korvex"_s, u"BitBtn3", QRect(514, 456, 256, 32), this);
    connect(send, &QPushButton::clicked, this, &VehicleListTab::sendRequested);
    QFont bold = send->font();
    bold.setBold(true);
    send->setFont(bold);
    QPushButton *photos = button(u"  Zobraz FOTO"_s, u"BitBtnFOTO", QRect(514, 494, 126, 28), this);
    connect(photos, &QPushButton::clicked, this, &VehicleListTab::photosRequested);
    QPushButton *closing = button(u"Zavřít"_s, u"BitBtn4", QRect(644, 494, 126, 28), this);
    connect(closing, &QPushButton::clicked, this, &VehicleListTab::closeRequested);
    closing->setShortcut(QKeySequence(Qt::Key_Escape));
    // What "Odeslat" would send, before anything is sent.
    QPushButton *preview = button(u"Náhled odeslání"_s, u"BitBtnNahled", QRect(640, 34, 128, 26), this);
    connect(preview, &QPushButton::clicked, this, &VehicleListTab::previewRequested);
}

void VehicleListTab::buildHiddenButtons()
{
    const struct
    {
        const char16_t *text;
        const char16_t *name;
        void (VehicleListTab::*request)();
    } hidden[] = {
        {u"Načti data", u"ButtonNactiData", &VehicleListTab::loadDataRequested},
        {u"Vytvoř ASCII", u"ButtonVytvorAscii", &VehicleListTab::asciiRequested},
        {u"Generuj XML", u"ButtonGenerujXml", &VehicleListTab::xmlRequested},
        {u"Vytvoř databázi", u"ButtonVytvorDatabazi", &VehicleListTab::createDatabaseRequested},
    };
    for (const auto &h : hidden) {
        QPushButton *b = button(QString::fromUtf16(h.text), h.name, QRect(4, 100, 90, 22), this);
        connect(b, &QPushButton::clicked, this, h.request);
        b->hide();
    }
}

QPushButton *VehicleListTab::button(const QString &text, const char16_t *name, const QRect &where, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromUtf16(name));
    b->setGeometry(where);
    return b;
}

QPushButton *VehicleListTab::button(const QString &text, const char16_t *name, const QRect &where, QWidget *parent,
                                    const std::function<void()> &action)
{
    QPushButton *b = button(text, name, where, parent);
    connect(b, &QPushButton::clicked, this, [this, action] { guarded(action); });
    return b;
}

void VehicleListTab::flagBox(const QString &text, const char16_t *name, const QString &field, const QRect &where,
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
}

void VehicleListTab::guarded(const std::function<void()> &action)
{
    RunUserAction(m_dialogs, action);
}

void VehicleListTab::EnableMarks()
{
    m_grid->setCheckEnabled(true);
}

int VehicleListTab::MarkedCount() const
{
    return m_grid->CheckedCount();
}

void VehicleListTab::ShowNewTable()
{
    m_grid->ClearChecks();
    UpdateMarkedLabel();
    UpdateTotalLabel();
}

void VehicleListTab::setIconFolders(const QString &settingsFolder, const QString &executableFolder)
{
    m_settingsFolder = settingsFolder;
    m_executableFolder = executableFolder;
}

} // namespace korvex
