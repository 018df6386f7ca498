#include "widgets/FormText.h"

#include <QLabel>

namespace korvex {

QLabel *PlaceLabel(QWidget *parent, const QString &text, const QRect &where)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(where);
    return label;
}

void SetTextLook(QWidget *widget, const QColor &color, bool bold, int pixelSize, const QString &family)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
    QFont font = widget->font();
    font.setBold(bold);
    if (pixelSize > 0)
        font.setPixelSize(pixelSize);
    if (!family.isEmpty())
        font.setFamily(family);
    widget->setFont(font);
}

} // namespace korvex
