#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <vector>

namespace korvex {

// Decodes a JPEG file at the smallest of the decoder's scales (n/8) that is
// not below the frame in either direction, so that a 12-megapixel photo is
// never decoded whole for a 201 x 150 frame. A file the decoder reads only
// with warnings (for example one cut short) gives what was decoded; a file
// that cannot be decoded gives a null image.
QImage DecodeJpegForFrame(const QString &nativePath, QSize frame);

// The same for several files, decoded on two threads; missing or broken
// files give null images in their places.
std::vector<QImage> DecodeJpegsForFrame(const std::vector<QString> &nativePaths, QSize frame);

} // namespace korvex
