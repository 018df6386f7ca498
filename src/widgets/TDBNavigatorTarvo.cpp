#include "widgets/TDBNavigatorTarvo.h"

#include "platform/Dataset.h"
#include "widgets/NavigatorButton.h"

#include <QApplication>
#include <QMessageBox>
#include <QStyle>
#include <QResizeEvent>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

constexpr int kMinWidth = 20;
constexpr int kMinHeight = 18;

const char *const kNames[] = {"nbFirst", "nbPrior", "nbNext", "nbLast", "nbInsert",
                              "nbDelete", "nbEdit", "nbPost", "nbCancel", "nbRefresh"};

QStringList defaultCaptions()
{
    return {u"První"_s, u"Předch"_s, u"Další"_s,   u"Posled"_s, u"Přidat"_s,
            u"Smazat"_s, u"Opravit"_s, u"Uložit"_s, u"Storno"_s, u"Obnovit"_s};
}

} // namespace

TDBNavigatorTarvo::TDBNavigatorTarvo(QWidget *parent)
    : QWidget(parent)
{
    const QStyle::StandardPixmap glyphs[kButtons] = {
        QStyle::SP_MediaSkipBackward, QStyle::SP_MediaSeekBackward, QStyle::SP_MediaSeekForward,
        QStyle::SP_MediaSkipForward, QStyle::SP_FileDialogNewFolder, QStyle::SP_TrashIcon,
        QStyle::SP_FileDialogDetailedView, QStyle::SP_DialogApplyButton, QStyle::SP_DialogCancelButton,
        QStyle::SP_BrowserReload};
    for (int i = 0; i < kButtons; ++i) {
        auto *b = new NavigatorButton(this);
        b->setObjectName(QString::fromLatin1(kNames[i]));
        b->setFocusPolicy(Qt::NoFocus);
        b->setGlyph(style()->standardIcon(glyphs[i]).pixmap(12, 12));
        connect(b, &QAbstractButton::clicked, this, [this, i] { clicked(NavigateButton(i)); });
        m_buttons[size_t(i)] = b;
    }
    applyPlacement();
    setVisibleButtons({NavigateButton::nbInsert, NavigateButton::nbDelete, NavigateButton::nbEdit,
                       NavigateButton::nbPost, NavigateButton::nbCancel, NavigateButton::nbRefresh});
    setCaptions(defaultCaptions());
    confirm = [this](const QString &question) {
        return QMessageBox::question(this, QApplication::applicationName(), question,
                                     QMessageBox::Ok | QMessageBox::Cancel)
            == QMessageBox::Ok;
    };
    updateEnabled();
}

void TDBNavigatorTarvo::setDataset(Dataset *dataset)
{
    if (m_dataset)
        disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = dataset;
    if (m_dataset) {
        connect(m_dataset, &Dataset::afterScroll, this, &TDBNavigatorTarvo::updateEnabled);
        connect(m_dataset, &Dataset::dataChanged, this, &TDBNavigatorTarvo::updateEnabled);
    }
    updateEnabled();
}

void TDBNavigatorTarvo::setVisibleButtons(std::initializer_list<NavigateButton> buttons)
{
    m_visible.fill(false);
    for (const NavigateButton b : buttons)
        m_visible[size_t(b)] = true;
    for (int i = 0; i < kButtons; ++i)
        m_buttons[size_t(i)]->setVisible(m_visible[size_t(i)]);
    arrange(size());
}

void TDBNavigatorTarvo::setCaptions(const QStringList &captions)
{
    m_captions = captions;
    for (int i = 0; i < kButtons && i < captions.size(); ++i)
        m_buttons[size_t(i)]->setText(captions[i]);
}

void TDBNavigatorTarvo::setButtonLayout(TButtonLayout layout)
{
    m_layout = layout;
    applyPlacement();
}

void TDBNavigatorTarvo::setButtonMargin(int margin)
{
    m_margin = margin;
    applyPlacement();
}

void TDBNavigatorTarvo::setButtonSpacing(int spacing)
{
    m_spacing = spacing;
    applyPlacement();
}

void TDBNavigatorTarvo::applyPlacement()
{
    for (NavigatorButton *b : m_buttons)
        b->setPlacement(m_layout, m_margin, m_spacing);
}

void TDBNavigatorTarvo::setNavigOrientation(TNavigOrientation orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    resize(arrange(size()));
}

int TDBNavigatorTarvo::visibleCount() const
{
    return int(std::count(m_visible.begin(), m_visible.end(), true));
}

QSize TDBNavigatorTarvo::arrange(QSize proposed)
{
    const bool horizontal = m_orientation == TNavigOrientation::noHorizontal;
    const int n = std::max(1, visibleCount());
    // Work along the main axis; the cross axis only has its minimum.
    int along = horizontal ? proposed.width() : proposed.height();
    int across = horizontal ? proposed.height() : proposed.width();
    along = std::max(along, n * (horizontal ? kMinWidth : kMinHeight));
    across = std::max(across, horizontal ? kMinHeight : kMinWidth);
    const int b = along / n;
    if (!m_aligned)
        along = n * b;
    const int spare = along - n * b;
    int counter = n / 2;
    int position = 0;
    for (int i = 0; i < kButtons; ++i) {
        NavigatorButton *button = m_buttons[size_t(i)];
        if (!m_visible[size_t(i)]) {
            button->setGeometry(horizontal ? QRect(along + 1, 0, b, across) : QRect(0, along + 1, across, b));
            continue;
        }
        int extent = b;
        if (spare != 0) {
            counter -= spare;
            if (counter < 0) {
                counter += n;
                ++extent;
            }
        }
        button->setGeometry(horizontal ? QRect(position, 0, extent, across) : QRect(0, position, across, extent));
        position += extent;
    }
    return horizontal ? QSize(along, across) : QSize(across, along);
}

void TDBNavigatorTarvo::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_arranging)
        return;
    m_arranging = true;
    const QSize wanted = arrange(event->size());
    if (wanted != event->size())
        resize(wanted);
    m_arranging = false;
}

void TDBNavigatorTarvo::updateEnabled()
{
    const bool active = m_dataset && m_dataset->isOpen();
    const bool editing = active && m_dataset->state() != Dataset::State::Browse;
    const bool empty = !active || m_dataset->recordCount() == 0;
    const bool atStart = !active || m_dataset->recNo() <= 0;
    const bool atEnd = !active || m_dataset->recNo() + 1 >= m_dataset->recordCount();
    const bool enabled[kButtons] = {!atStart, !atStart, !atEnd, !atEnd, active, !empty && !editing,
                                    !empty && !editing, editing, editing, active};
    for (int i = 0; i < kButtons; ++i)
        m_buttons[size_t(i)]->setEnabled(enabled[i]);
}

void TDBNavigatorTarvo::clicked(NavigateButton b)
{
    if (!m_dataset || !m_dataset->isOpen())
        return;
    const std::function<void()> *replacement = nullptr;
    switch (b) {
    case NavigateButton::nbInsert: replacement = &OnClickInsert; break;
    case NavigateButton::nbDelete: replacement = &OnClickDelete; break;
    case NavigateButton::nbEdit: replacement = &OnClickEdit; break;
    case NavigateButton::nbPost: replacement = &OnClickPost; break;
    case NavigateButton::nbCancel: replacement = &OnClickCancel; break;
    case NavigateButton::nbRefresh: replacement = &OnClickRefresh; break;
    default: break;
    }
    if (replacement && *replacement) {
        (*replacement)();
        return;
    }
    Dataset &d = *m_dataset;
    switch (b) {
    case NavigateButton::nbFirst: d.first(); break;
    case NavigateButton::nbPrior: d.prior(); break;
    case NavigateButton::nbNext: d.next(); break;
    case NavigateButton::nbLast: d.last(); break;
    case NavigateButton::nbInsert: d.append(); break;
    case NavigateButton::nbDelete:
        if (confirm(u"Delete record?"_s))
            d.remove();
        break;
    case NavigateButton::nbEdit: d.edit(); break;
    case NavigateButton::nbPost: d.post(); break;
    case NavigateButton::nbCancel: d.cancel(); break;
    case NavigateButton::nbRefresh: d.refresh(); break;
    }
    updateEnabled();
}

} // namespace korvex
