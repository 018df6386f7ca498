#include "selection/TForm_Foto.h"

#include "platform/Dataset.h"
#include "widgets/FormText.h"
#include "selection/JpegThumbnail.h"
#include "platform/UserActionGuard.h"
#include "platform/WinPath.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

QString fotoField(int n) { return u"FOTO%1"_s.arg(n + 1); }
QString flagField(int n) { return u"ZOB_FOTO%1"_s.arg(n + 1); }

QLabel *headingLabel(QWidget *parent, const QString &text, const QRect &where, const QColor &color, int pixels)
{
    QLabel *label = PlaceLabel(parent, text, where);
    SetTextLook(label, color, true, pixels, u"Arial"_s);
    return label;
}

} // namespace

TForm_Foto::TForm_Foto(Dataset &query, UserDialogs &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_query(query)
    , m_dialogs(dialogs)
{
    setObjectName(u"Form_Foto"_s);
    setWindowTitle(u"Výběr fotografií k  přenosu na Nesta"_s);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(738, 553);
    setModal(true);

    QLabel *heading = headingLabel(this, u"Vyberte fotografie které budou zobrazeny v inzerci"_s, QRect(12, 6, 714, 28),
                                   QColor(0, 128, 128), 23);
    heading->setObjectName(u"Label1"_s);
    m_make = headingLabel(this, QString(), QRect(12, 38, 420, 22), QColor(255, 0, 0), 16);
    m_make->setObjectName(u"DBTextZnackaTyp"_s);
    PlaceLabel(this, u"cena:"_s, QRect(440, 40, 36, 20));
    m_price = headingLabel(this, QString(), QRect(478, 38, 200, 22), QColor(0, 0, 128), 16);
    m_price->setObjectName(u"DBTextCena"_s);

    for (int n = 0; n < kPhotos; ++n) {
        const int column = n % 3;
        const int row = n / 3;
        const int left = 18 + column * 238;
        const int top = 68 + row * 204;
        auto *box = new QCheckBox(u"Zobrazit foto č. %1"_s.arg(n + 1), this);
        box->setObjectName(u"CheckBoxFoto%1"_s.arg(n + 1));
        box->setGeometry(left, top, 207, 20);
        // A click or the space bar: the flag follows the box at once.
        connect(box, &QCheckBox::clicked, this, [this, n](bool checked) { photoClicked(n, checked); });
        m_boxes[size_t(n)] = box;

        auto *bevel = new QFrame(this);
        bevel->setFrameShape(QFrame::Panel);
        bevel->setFrameShadow(QFrame::Sunken);
        bevel->setGeometry(left, top + 22, 207, 156);
        auto *image = new QLabel(this);
        image->setObjectName(u"Image%1"_s.arg(n + 1));
        image->setGeometry(left + 3, top + 25, kFrame.width(), kFrame.height());
        image->setScaledContents(true);
        m_images[size_t(n)] = image;
    }

    auto *strip = new QFrame(this);
    strip->setFrameShape(QFrame::Box);
    strip->setGeometry(18, 490, 360, 44);
    m_all = new QCheckBox(u"Zobrazit všechny foto"_s, strip);
    m_all->setObjectName(u"CheckBoxVsechny"_s);
    m_all->setGeometry(10, 12, 170, 20);
    connect(m_all, &QCheckBox::clicked, this, [this] { chooseAll(true); });
    m_none = new QCheckBox(u"Žádnou foto"_s, strip);
    m_none->setObjectName(u"CheckBoxZadnou"_s);
    m_none->setGeometry(200, 12, 150, 20);
    connect(m_none, &QCheckBox::clicked, this, [this] { chooseAll(false); });

    auto *closing = new QPushButton(u"Zavřít"_s, this);
    closing->setObjectName(u"BitBtn1"_s);
    QFont bold = closing->font();
    bold.setBold(true);
    closing->setFont(bold);
    closing->setGeometry(600, 496, 120, 34);
    connect(closing, &QPushButton::clicked, this, &QDialog::accept);
}

bool TForm_Foto::hasCurrentRecord() const
{
    return m_query.isOpen() && m_query.recNo() >= 0;
}

void TForm_Foto::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormActivate();
    // The activation that follows the showing has nothing new to show.
    m_justShown = true;
}

void TForm_Foto::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || !isVisible())
        return;
    if (m_justShown)
        m_justShown = false;
    else
        FormActivate();
}

void TForm_Foto::FormActivate()
{
    for (int n = 0; n < kPhotos; ++n) {
        m_images[size_t(n)]->hide();
        m_images[size_t(n)]->clear();
        m_boxes[size_t(n)]->setEnabled(false);
        m_boxes[size_t(n)]->setChecked(false);
    }
    showVehicle();
    if (!hasCurrentRecord())
        return;
    std::vector<QString> paths(kPhotos);
    for (int n = 0; n < kPhotos; ++n) {
        const QString path = m_query.text(fotoField(n));
        if (m_query.boolean(flagField(n)))
            m_boxes[size_t(n)]->setChecked(true);
        const QString native = path.isEmpty() ? QString() : WinPath::resolve(path);
        if (!native.isEmpty() && QFileInfo(native).isFile()) {
            m_images[size_t(n)]->show();
            m_boxes[size_t(n)]->setEnabled(true);
            paths[size_t(n)] = native;
        }
        if (!path.isEmpty())
            m_boxes[size_t(n)]->setEnabled(true);
    }
    const std::vector<QImage> images = DecodeJpegsForFrame(paths, kFrame);
    for (int n = 0; n < kPhotos; ++n)
        if (!images[size_t(n)].isNull())
            m_images[size_t(n)]->setPixmap(QPixmap::fromImage(images[size_t(n)]));
}

void TForm_Foto::showVehicle()
{
    const bool current = hasCurrentRecord();
    m_make->setText(current ? m_query.text(u"ZNACKA_TYP") : QString());
    m_price->setText(current ? m_query.text(u"CENA_VOZIDLA") : QString());
}

void TForm_Foto::photoClicked(int n, bool checked)
{
    if (!hasCurrentRecord())
        return;
    RunUserAction(m_dialogs, [&] {
        m_query.edit();
        m_query.setValue(flagField(n), checked);
        m_query.post();
    });
}

void TForm_Foto::chooseAll(bool chosen)
{
    (chosen ? m_none : m_all)->setChecked(false);
    if (!hasCurrentRecord())
        return;
    RunUserAction(m_dialogs, [&] {
        m_query.edit();
        for (int n = 0; n < kPhotos; ++n) {
            if (!m_boxes[size_t(n)]->isEnabled())
                continue;
            m_boxes[size_t(n)]->setChecked(chosen);
            m_query.setValue(flagField(n), chosen);
        }
        m_query.post();
    });
}

void TForm_Foto::done(int result)
{
    if (hasCurrentRecord()) {
        RunUserAction(m_dialogs, [this] {
            int chosen = 0;
            for (int n = 0; n < kPhotos; ++n)
                chosen += m_query.boolean(flagField(n)) ? 1 : 0;
            m_query.edit();
            m_query.setValue(u"ODESLI_FOTO", QString::number(chosen));
            m_query.post();
        });
    }
    QDialog::done(result);
}

} // namespace korvex
