#pragma once

#include <QString>

namespace korvex::fixture {

// Writes a real baseline JPEG of the given size: a colour gradient whose hue
// follows the seed, so that photos of different vehicles differ.
void writeJpeg(const QString &path, int width, int height, unsigned seed, int quality = 80);

} // namespace korvex::fixture
