#pragma once

#include <QImage>

namespace korvex {

// The indicator column's seven pictures, 8 x 13, black on white: 0 current
// row, 1 current row in edit, 2 current row being inserted, 3 check mark,
// 4-6 the check mark over 0-2.
namespace GridGlyphs {

constexpr int kWidth = 8;
constexpr int kHeight = 13;

const QImage &glyph(int index);
// The same with white transparent, for drawing over a cell's colour.
const QImage &overlay(int index);

} // namespace GridGlyphs
} // namespace korvex
