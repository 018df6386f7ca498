#pragma once

#include <QString>

#include <cstdint>

namespace korvex::fixture {

// Writes a small 24-bit BMP icon: a frame in the given colour around a
// lighter body, the way the host's list icons look.
void writeIcon(const QString &path, int width, int height, std::uint32_t rgb);

} // namespace korvex::fixture
