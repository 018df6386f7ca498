#include "widgets/GridGlyphs.h"

#include <QPainter>

#include <array>

namespace korvex::GridGlyphs {
namespace {

void triangle(QPainter &p)
{
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygon({QPoint(2, 2), QPoint(6, 6), QPoint(2, 10)}));
}

void beam(QPainter &p)
{
    p.drawLine(2, 1, 6, 1);
    p.drawLine(4, 1, 4, 11);
    p.drawLine(2, 11, 6, 11);
}

void asterisk(QPainter &p)
{
    p.drawLine(4, 3, 4, 9);
    p.drawLine(1, 6, 7, 6);
    p.drawLine(2, 4, 6, 8);
    p.drawLine(2, 8, 6, 4);
}

void tick(QPainter &p)
{
    // The long stroke rises to the top right corner.
    p.drawLine(0, 8, 2, 11);
    p.drawLine(2, 11, 7, 0);
}

QImage draw(int index)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 1));
    if (index >= 3)
        tick(p);
    switch (index == 3 ? -1 : index % 4) {
    case 0: triangle(p); break;
    case 1: beam(p); break;
    case 2: asterisk(p); break;
    default: break;
    }
    return image;
}

// White is the transparent colour: black on whatever lies below.
QImage transparent(const QImage &glyph)
{
    QImage image = glyph.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == qRgb(255, 255, 255))
                image.setPixel(x, y, qRgba(0, 0, 0, 0));
    return image;
}

} // namespace

const QImage &glyph(int index)
{
    static const std::array<QImage, 7> glyphs = {draw(0), draw(1), draw(2), draw(3), draw(4), draw(5), draw(6)};
    return glyphs[size_t(std::clamp(index, 0, 6))];
}

const QImage &overlay(int index)
{
    static const std::array<QImage, 7> overlays = {transparent(glyph(0)), transparent(glyph(1)), transparent(glyph(2)),
                                                   transparent(glyph(3)), transparent(glyph(4)), transparent(glyph(5)),
                                                   transparent(glyph(6))};
    return overlays[size_t(std::clamp(index, 0, 6))];
}

} // namespace korvex::GridGlyphs
