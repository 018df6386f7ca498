#include "platform/Win1250.h"

#include <array>

namespace korvex::Win1250 {
namespace {

constexpr std::array<char16_t, 128> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// Reverse table over the whole BMP would be 64 KiB; the code page uses only
// a few blocks above U+00FF, so a sorted search over 128 pairs is enough.
struct Pair { char16_t code; unsigned char byte; };

constexpr std::array<Pair, 128> makeReverse()
{
    std::array<Pair, 128> pairs{};
    for (size_t i = 0; i < kHigh.size(); ++i)
        pairs[i] = Pair{kHigh[i], static_cast<unsigned char>(0x80 + i)};
    for (size_t i = 1; i < pairs.size(); ++i)
        for (size_t j = i; j > 0 && pairs[j - 1].code > pairs[j].code; --j) {
            const Pair t = pairs[j];
            pairs[j] = pairs[j - 1];
            pairs[j - 1] = t;
        }
    return pairs;
}

constexpr std::array<Pair, 128> kReverse = makeReverse();

// Every character below U+02E0 is looked up directly: Czech texts use
// hardly any other, and an interchange file encodes megabytes of them.
constexpr char16_t kDirectEnd = 0x2E0;

constexpr std::array<short, kDirectEnd> makeDirect()
{
    std::array<short, kDirectEnd> bytes{};
    for (size_t c = 0; c < bytes.size(); ++c)
        bytes[c] = c < 0x80 ? short(c) : -1;
    for (const Pair &p : kReverse)
        if (p.code < kDirectEnd)
            bytes[p.code] = p.byte;
    return bytes;
}

constexpr std::array<short, kDirectEnd> kDirect = makeDirect();

int byteFor(char16_t c)
{
    if (c < kDirectEnd)
        return kDirect[c];
    size_t lo = 0, hi = kReverse.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (kReverse[mid].code < c)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo < kReverse.size() && kReverse[lo].code == c)
        return kReverse[lo].byte;
    return -1;
}

// Encodes the text onto out; with oneLine every line break ("\r\n", "\r" or
// "\n") becomes one blank. Tells whether every character had its byte.
bool appendBytes(QByteArray &out, QStringView text, bool oneLine)
{
    const qsizetype start = out.size();
    out.resize(start + text.size());
    char *dst = out.data() + start;
    bool whole = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        int b = byteFor(text[i].unicode());
        if (oneLine && (b == '\r' || b == '\n')) {
            if (b == '\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            b = ' ';
        } else if (b < 0) {
            b = '?';
            whole = false;
        }
        *dst++ = static_cast<char>(b);
    }
    out.resize(dst - out.constData());
    return whole;
}

} // namespace

void decodeInto(QString &out, std::string_view bytes)
{
    out.resize(qsizetype(bytes.size()));
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *dst++ = b < 0x80 ? char16_t(b) : kHigh[b - 0x80];
    }
}

QString decode(std::string_view bytes)
{
    QString out;
    decodeInto(out, bytes);
    return out;
}

bool appendEncoded(QByteArray &out, QStringView text)
{
    return appendBytes(out, text, false);
}

void appendEncodedLine(QByteArray &out, QStringView text)
{
    appendBytes(out, text, true);
}

QByteArray encode(QStringView text)
{
    QByteArray out;
    appendEncoded(out, text);
    return out;
}

bool canEncode(QStringView text)
{
    for (const QChar c : text)
        if (byteFor(c.unicode()) < 0)
            return false;
    return true;
}

} // namespace korvex::Win1250
