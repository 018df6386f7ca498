#include "platform/ParadoxFormat.h"

#include "platform/Win1250.h"

#include <QDate>

#include <charconv>
#include <cmath>
#include <cstring>

namespace korvex::Paradox {
namespace {

// Dates count days from 1 January of year 1 (day 1); 1721425 moves them to
// the Julian day numbers QDate works with.
constexpr std::int64_t kJulianOffset = 1721425;
constexpr std::int64_t kLastDay = 3652059; // 31.12.9999

bool allZero(std::string_view bytes)
{
    for (const char c : bytes)
        if (c != 0)
            return false;
    return true;
}

std::uint64_t bigEndian(std::string_view bytes)
{
    std::uint64_t v = 0;
    for (const char c : bytes)
        v = (v << 8) | static_cast<unsigned char>(c);
    return v;
}

QString twoDigits(int v)
{
    return QString(QChar(u'0' + v / 10)) + QChar(u'0' + v % 10);
}

std::optional<QDate> dateFromDays(std::int64_t days)
{
    if (days < 1 || days > kLastDay)
        return std::nullopt;
    return QDate::fromJulianDay(days + kJulianOffset);
}

QString formatDate(const QDate &date)
{
    QString year = QString::number(date.year());
    year = QString(4 - year.size(), u'0') + year;
    return twoDigits(date.day()) + u'.' + twoDigits(date.month()) + u'.' + year;
}

// Times and timestamps read as the Czech regional settings show them.
QString formatTime(std::int64_t ms)
{
    const std::int64_t s = ms / 1000;
    return QString::number(s / 3600) + u':' + twoDigits(int(s / 60 % 60)) + u':' + twoDigits(int(s % 60));
}

QString formatShortDate(const QDate &date)
{
    const QString year = QString::number(date.year());
    return QString::number(date.day()) + u'.' + QString::number(date.month()) + u'.' + QString(4 - year.size(), u'0')
        + year;
}

} // namespace

bool isKnownType(std::uint8_t type)
{
    switch (type) {
    case Alpha: case Date: case Short: case Long: case Currency: case Number:
    case Logical: case Memo: case Blob: case FormattedMemo: case Ole: case Graphic:
    case Time: case Timestamp: case AutoInc: case Bcd: case Bytes:
        return true;
    default:
        return false;
    }
}

bool isBlobType(std::uint8_t type)
{
    return type == Memo || type == Blob || type == FormattedMemo || type == Ole || type == Graphic;
}

QString alphaText(std::string_view bytes)
{
    // Wide fields are mostly padding: it is passed over eight bytes at a time.
    std::uint64_t tail = 0;
    while (bytes.size() >= sizeof tail
           && (std::memcpy(&tail, bytes.data() + bytes.size() - sizeof tail, sizeof tail), tail == 0))
        bytes.remove_suffix(sizeof tail);
    while (!bytes.empty() && bytes.back() == 0)
        bytes.remove_suffix(1);
    return Win1250::decode(bytes);
}

std::optional<std::int64_t> integerValue(std::string_view bytes)
{
    if (bytes.empty() || bytes.size() > 8 || allZero(bytes))
        return std::nullopt;
    // Big-endian two's complement with the sign bit flipped.
    const unsigned bits = unsigned(bytes.size()) * 8;
    std::uint64_t v = bigEndian(bytes) ^ (std::uint64_t(1) << (bits - 1));
    if (bits < 64 && (v >> (bits - 1)) & 1)
        v |= ~std::uint64_t(0) << bits;
    return static_cast<std::int64_t>(v);
}

QString integerText(std::string_view bytes)
{
    const auto v = integerValue(bytes);
    return v ? QString::number(*v) : QString();
}

std::optional<double> numberValue(std::string_view bytes)
{
    if (bytes.size() != 8 || allZero(bytes))
        return std::nullopt;
    // Positive values have the top bit set (flipped); negative ones are
    // stored with every bit inverted.
    std::uint64_t v = bigEndian(bytes);
    if (v & (std::uint64_t(1) << 63))
        v &= ~(std::uint64_t(1) << 63);
    else
        v = ~v;
    double d;
    std::memcpy(&d, &v, sizeof d);
    if (!std::isfinite(d))
        return std::nullopt;
    return d;
}

QString formatNumber(double value)
{
    // The host shows floating-point fields with 15 significant digits, so
    // binary noise such as 50097.99999999999 reads as 50098. The digits are
    // taken from the rounded form itself: a double read back from it would
    // show its binary digits again past about 1e17.
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    const std::string_view rounded(buf, res.ec == std::errc() ? size_t(res.ptr - buf) : 0);
    const size_t e = rounded.find('e');
    if (e == std::string_view::npos)
        return QString(); // infinity or NaN
    const bool negative = rounded.front() == '-';
    const size_t first = negative ? 1 : 0;
    QString digits = QString::fromLatin1(rounded.substr(first, 1));
    digits += QString::fromLatin1(rounded.substr(first + 2, e - first - 2));
    while (digits.size() > 1 && digits.back() == u'0')
        digits.chop(1);
    if (digits == u"0")
        return QStringLiteral("0");
    // The exponent is written as e+NN or e-NN.
    int exponent = 0;
    std::from_chars(rounded.data() + e + 2, rounded.data() + rounded.size(), exponent);
    if (rounded[e + 1] == '-')
        exponent = -exponent;
    const qsizetype whole = exponent + 1; // digits before the point
    QString text;
    if (whole <= 0)
        text = QStringLiteral("0,") + QString(-whole, u'0') + digits;
    else if (whole >= digits.size())
        text = digits + QString(whole - digits.size(), u'0');
    else
        text = digits.left(whole) + u',' + digits.mid(whole);
    return negative ? QStringLiteral("-") + text : text;
}

QString numberText(std::string_view bytes)
{
    const auto v = numberValue(bytes);
    return v ? formatNumber(*v) : QString();
}

QString dateText(std::string_view bytes)
{
    const auto days = integerValue(bytes);
    if (!days)
        return QString();
    const auto date = dateFromDays(*days);
    return date ? formatDate(*date) : QString();
}

QString timeText(std::string_view bytes)
{
    const auto ms = integerValue(bytes);
    if (!ms || *ms < 0 || *ms >= 86400000)
        return QString();
    return formatTime(*ms);
}

QString timestampText(std::string_view bytes)
{
    const auto ms = numberValue(bytes);
    if (!ms || *ms < 0 || *ms > double(kLastDay + 1) * 86400000.0)
        return QString();
    const auto total = static_cast<std::int64_t>(*ms);
    const auto date = dateFromDays(total / 86400000);
    return date ? formatShortDate(*date) + u' ' + formatTime(total % 86400000) : QString();
}

QString bcdText(std::string_view bytes, int decimals)
{
    if (bytes.size() != size_t(kBcdSize) || decimals < 0 || decimals > kBcdMaxDecimals || allZero(bytes))
        return QString();
    // The first byte has its top bit set for positive values; 32 digits
    // follow, one per nibble, the last `decimals` of them after the point.
    // Negative values have every digit nibble inverted.
    const bool negative = (static_cast<unsigned char>(bytes[0]) & 0x80) == 0;
    QString digits;
    for (size_t i = 1; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        for (const int nibble : {byte >> 4, byte & 0x0F}) {
            const int digit = negative ? nibble ^ 0x0F : nibble;
            if (digit > 9)
                return QString();
            digits += QChar(u'0' + digit);
        }
    }
    QString whole = digits.left(digits.size() - decimals);
    QString fraction = digits.right(decimals);
    while (!whole.isEmpty() && whole.front() == u'0')
        whole.remove(0, 1);
    while (!fraction.isEmpty() && fraction.back() == u'0')
        fraction.chop(1);
    if (whole.isEmpty() && fraction.isEmpty())
        return QStringLiteral("0");
    QString text = (negative ? QStringLiteral("-") : QString()) + (whole.isEmpty() ? QStringLiteral("0") : whole);
    return fraction.isEmpty() ? text : text + u',' + fraction;
}

std::optional<bool> logicalValue(std::string_view bytes)
{
    if (bytes.size() != 1 || bytes[0] == 0)
        return std::nullopt;
    return static_cast<unsigned char>(bytes[0]) != 0x80;
}

QString logicalText(std::string_view bytes)
{
    const auto v = logicalValue(bytes);
    if (!v)
        return QString();
    return *v ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace korvex::Paradox
