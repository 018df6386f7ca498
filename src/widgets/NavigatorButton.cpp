#include "widgets/NavigatorButton.h"

#include "widgets/TDBNavigatorTarvo.h"

#include <QPainter>
#include <QStyleOptionButton>

namespace korvex {

NavigatorButton::NavigatorButton(QWidget *parent)
    : QAbstractButton(parent)
    , m_layout(TButtonLayout::blGlyphLeft)
{
}

void NavigatorButton::setGlyph(const QPixmap &glyph)
{
    m_glyph = glyph;
    update();
}

void NavigatorButton::setPlacement(TButtonLayout layout, int margin, int spacing)
{
    m_layout = layout;
    m_margin = margin;
    m_spacing = spacing;
    update();
}

NavigatorButton::Placement NavigatorButton::placement(const QRect &area) const
{
    const QSize glyph = m_glyph.isNull() ? QSize(0, 0) : m_glyph.deviceIndependentSize().toSize();
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, this->text());
    const bool across = m_layout == TButtonLayout::blGlyphLeft || m_layout == TButtonLayout::blGlyphRight;
    const int room = across ? area.width() : area.height();
    const int g = across ? glyph.width() : glyph.height();
    const int t = across ? text.width() : text.height();
    int margin = m_margin;
    int spacing = m_spacing;
    // Margin and spacing of -1 centre the picture and the caption.
    if (margin == -1 && spacing == -1) {
        spacing = (room - g - t) / 3;
        margin = spacing;
    } else if (margin == -1) {
        margin = (room - (g + spacing + t) + 1) / 2;
    } else if (spacing == -1) {
        spacing = (room - margin - g - t) / 2;
    }
    if (g == 0 || t == 0)
        spacing = 0;

    int glyphAt = margin;
    int textAt = margin + g + spacing;
    if (m_layout == TButtonLayout::blGlyphRight || m_layout == TButtonLayout::blGlyphBottom) {
        glyphAt = room - margin - g;
        textAt = glyphAt - spacing - t;
    }
    Placement p;
    if (across) {
        p.glyph = QRect(area.left() + glyphAt, area.top() + (area.height() - glyph.height()) / 2, glyph.width(),
                        glyph.height());
        p.caption = QRect(area.left() + textAt, area.top() + (area.height() - text.height()) / 2, text.width(),
                          text.height());
    } else {
        p.glyph = QRect(area.left() + (area.width() - glyph.width()) / 2, area.top() + glyphAt, glyph.width(),
                        glyph.height());
        p.caption = QRect(area.left() + (area.width() - text.width()) / 2, area.top() + textAt, text.width(),
                          text.height());
    }
    return p;
}

QSize NavigatorButton::sizeHint() const
{
    return QSize(20, 18);
}

void NavigatorButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, this);
    const Placement p = placement(rect());
    if (!m_glyph.isNull())
        painter.drawPixmap(p.glyph.topLeft(), m_glyph);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(p.caption, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

} // namespace korvex
