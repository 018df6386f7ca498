#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace korvex {

// A label at fixed coordinates, as the module's forms are laid out.
QLabel *PlaceLabel(QWidget *parent, const QString &text, const QRect &where);

// Text colour and weight of a label or a box; a pixel size above 0 and a
// family also set the face.
void SetTextLook(QWidget *widget, const QColor &color, bool bold, int pixelSize = 0, const QString &family = {});

} // namespace korvex
