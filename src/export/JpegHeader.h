#pragma once

#include <QString>

namespace korvex {

// True when the file begins with a JPEG header the decoder accepts, up to
// the start of the picture data. The picture itself is not decoded.
bool HasJpegHeader(const QString &path);

} // namespace korvex
