#include "BmpWriter.h"

#include <QByteArray>
#include <QFile>

namespace korvex::fixture {
namespace {

void put16(QByteArray &b, int v)
{
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}

void put32(QByteArray &b, qint64 v)
{
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

} // namespace

void writeIcon(const QString &path, int width, int height, std::uint32_t rgb)
{
    const int stride = (width * 3 + 3) & ~3;
    QByteArray b;
    b.append("BM");
    put32(b, 54 + qint64(stride) * height);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, width);
    put32(b, height);
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);
    put32(b, qint64(stride) * height);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, bl = rgb & 0xFF;
    for (int y = 0; y < height; ++y) {
        QByteArray row;
        for (int x = 0; x < width; ++x) {
            const bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            const int shade = edge ? 0 : 1;
            row.append(char(shade ? (bl + 255) / 2 : bl)).append(char(shade ? (g + 255) / 2 : g))
                .append(char(shade ? (r + 255) / 2 : r));
        }
        row.append(QByteArray(stride - width * 3, '\0'));
        b.append(row);
    }
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(b);
}

} // namespace korvex::fixture
