#include "widgets/NumberText.h"

namespace korvex::NumberText {
namespace {

constexpr qint64 kScale = 10000;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

QString normalForm(const QString &text, int kept, int shown, QChar separator)
{
    if (text.isEmpty())
        return text;
    QString t = text;
    const bool negative = t.startsWith(u'-');
    if (negative)
        t.remove(0, 1);
    if (kept == 0) {
        const qsizetype at = t.indexOf(separator);
        if (at >= 0)
            t.truncate(at);
    }
    if (t.startsWith(separator))
        t.prepend(u'0');
    QString whole, fraction;
    bool seenSeparator = false;
    for (const QChar c : t) {
        if (isDigit(c))
            (seenSeparator ? fraction : whole) += c;
        else if (c == separator && !seenSeparator)
            seenSeparator = true;
    }
    while (whole.size() > 1 && whole.front() == u'0')
        whole.remove(0, 1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    QString out = whole;
    if (kept > 0) {
        fraction = fraction.left(kept);
        fraction += QString(kept - fraction.size(), u'0');
    } else {
        fraction.clear();
    }
    if (shown > kept)
        fraction += QString(shown - kept, u'0');
    if (!fraction.isEmpty())
        out += separator + fraction;
    bool zero = true;
    for (const QChar c : out)
        zero = zero && (c == u'0' || c == separator);
    return negative && !zero ? u'-' + out : out;
}

std::optional<qint64> toValue(const QString &text, QChar separator)
{
    QString t = text;
    bool negative = false;
    if (t.startsWith(u'-')) {
        negative = true;
        t.remove(0, 1);
    }
    const qsizetype at = t.indexOf(separator);
    const QString whole = at < 0 ? t : t.left(at);
    const QString fraction = at < 0 ? QString() : t.mid(at + 1);
    if ((whole.isEmpty() && fraction.isEmpty()) || whole.size() > 14)
        return std::nullopt;
    for (const QChar c : whole + fraction)
        if (!isDigit(c))
            return std::nullopt;
    qint64 value = whole.isEmpty() ? 0 : whole.toLongLong() * kScale;
    const QString digits = (fraction + QStringLiteral("00000")).left(5);
    qint64 part = digits.left(4).toLongLong();
    if (digits[4] >= u'5')
        ++part;
    value += part;
    return negative ? -value : value;
}

QString plain(qint64 value, QChar separator, bool integer)
{
    const bool negative = value < 0;
    qint64 magnitude = negative ? -value : value;
    if (integer)
        magnitude = (magnitude + kScale / 2) / kScale * kScale;
    QString out = QString::number(magnitude / kScale);
    QString fraction = QStringLiteral("%1").arg(magnitude % kScale, 4, 10, QLatin1Char('0'));
    while (!fraction.isEmpty() && fraction.back() == u'0')
        fraction.chop(1);
    if (!fraction.isEmpty())
        out += separator + fraction;
    return negative && magnitude != 0 ? u'-' + out : out;
}

QString cutDecimals(const QString &text, int decimals, QChar separator)
{
    const qsizetype at = text.indexOf(separator);
    if (at < 0)
        return text;
    return decimals == 0 ? text.left(at) : text.left(at + 1 + decimals);
}

QString grouped(const QString &text, int count, QChar separator)
{
    if (count <= 0)
        return text;
    const bool negative = text.startsWith(u'-');
    const QString body = negative ? text.mid(1) : text;
    const qsizetype at = body.indexOf(separator);
    const QString whole = at < 0 ? body : body.left(at);
    QString out;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % count == 0)
            out += u' ';
        out += whole[i];
    }
    if (at >= 0)
        out += body.mid(at);
    return negative ? u'-' + out : out;
}

QString forMessage(qint64 value, QChar separator)
{
    const bool negative = value < 0;
    const qint64 magnitude = negative ? -value : value;
    const qint64 hundredths = (magnitude + 50) / 100;
    const QString text = QString::number(hundredths / 100) + separator
        + QStringLiteral("%1").arg(hundredths % 100, 2, 10, QLatin1Char('0'));
    return grouped(negative ? u'-' + text : text, 3, separator);
}

} // namespace korvex::NumberText
