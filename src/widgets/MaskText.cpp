#include "widgets/MaskText.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace korvex::MaskText {
namespace {

bool digitChar(QChar c)
{
    return c == u'0' || c == u'9';
}

QString twoDigits(int v)
{
    return u"%1"_s.arg(v, 2, 10, QLatin1Char('0'));
}

// Packs the digits of a text into the digit positions from the start.
QString pack(const QString &text, const Mask &mask)
{
    QString digits;
    for (const QChar c : text)
        if (c.isDigit())
            digits += c;
    QString out = format(QString(), mask);
    qsizetype next = 0;
    for (qsizetype i = 0; i < out.size() && next < digits.size(); ++i)
        if (mask.isDigitPosition(i))
            out[i] = digits[next++];
    return out;
}

} // namespace

Mask::Mask(const QString &mask)
    : pattern(mask.startsWith(u'!') ? mask.mid(1) : mask)
    , fixed(mask.startsWith(u'!'))
    , acceptsDigits(mask.contains(u'9') || mask.contains(u'!'))
{
}

bool Mask::isDigitPosition(qsizetype i) const
{
    return i >= 0 && i < pattern.size() && digitChar(pattern[i]);
}

QString format(const QString &text, const Mask &mask)
{
    QString out;
    for (qsizetype i = 0; i < mask.pattern.size(); ++i)
        out += i < text.size() ? text[i] : (mask.isDigitPosition(i) ? QChar(u'_') : mask.pattern[i]);
    return out;
}

Edit typeDigit(const Edit &before, int selStart, int selEnd, QChar digit, const Mask &mask)
{
    Edit e{format(before.text, mask), before.caret};
    if (selEnd - selStart > 1) {
        for (int i = selStart; i < selEnd; ++i)
            if (mask.isDigitPosition(i))
                e.text[i] = u'_';
        e.caret = selStart;
    }
    int at = e.caret;
    while (at < e.text.size() && !mask.isDigitPosition(at))
        ++at;
    if (at >= e.text.size())
        return e;
    if (mask.fixed || e.text[at] == u'_') {
        e.text[at] = digit;
    } else {
        // Shifting: the digits from here move one digit position right.
        QChar carry = digit;
        for (int i = at; i < e.text.size(); ++i) {
            if (!mask.isDigitPosition(i))
                continue;
            const QChar old = e.text[i];
            e.text[i] = carry;
            carry = old;
            if (old == u'_')
                break;
        }
    }
    e.caret = at + 1;
    while (e.caret < e.text.size() && !mask.isDigitPosition(e.caret))
        ++e.caret;
    return e;
}

Edit erase(const Edit &before, int selStart, int selEnd, bool forward, const Mask &mask)
{
    Edit e{format(before.text, mask), before.caret};
    const bool selection = selEnd - selStart > 1;
    if (mask.fixed) {
        if (selection) {
            for (int i = selStart; i < selEnd; ++i)
                if (mask.isDigitPosition(i))
                    e.text[i] = u'_';
            e.caret = selStart;
        } else if (!forward) {
            if (e.caret > 0) {
                if (mask.isDigitPosition(e.caret - 1))
                    e.text[e.caret - 1] = u'_';
                --e.caret;
            }
        } else {
            int end = e.caret;
            while (end < e.text.size() && mask.isDigitPosition(end))
                ++end;
            for (int i = e.caret; i + 1 < end; ++i)
                e.text[i] = e.text[i + 1];
            if (end > e.caret)
                e.text[end - 1] = u'_';
        }
        return e;
    }
    QString t = e.text;
    if (selection) {
        t.remove(selStart, selEnd - selStart);
        e.caret = selStart;
    } else if (!forward && e.caret > 0) {
        t.remove(e.caret - 1, 1);
        --e.caret;
    } else if (forward && e.caret < t.size()) {
        t.remove(e.caret, 1);
    }
    e.text = pack(t, mask);
    return e;
}

QString correct(const QString &text, const QString &mask, Correction correction, const QDateTime &now)
{
    static const QStringList dates{u"!99.99.9999"_s, u"!99.99.99"_s, u"!99.99"_s};
    static const QStringList times{u"!99:99:99"_s, u"!99:99"_s, u"!99:15"_s};
    const bool isDate = dates.contains(mask);
    if (correction == Correction::None || (!isDate && !times.contains(mask)))
        return text;
    bool anyDigit = false;
    for (const QChar c : text)
        anyDigit = anyDigit || c.isDigit();
    if (correction == Correction::System && !anyDigit) {
        if (isDate) {
            QString out = twoDigits(now.date().day()) + u'.' + twoDigits(now.date().month());
            if (mask == u"!99.99.9999")
                out += u'.' + QString::number(now.date().year());
            else if (mask == u"!99.99.99")
                out += u'.' + twoDigits(now.date().year() % 100);
            return out;
        }
        QString out = twoDigits(now.time().hour()) + u':' + twoDigits(now.time().minute());
        return mask == u"!99:99:99" ? out + u':' + twoDigits(now.time().second()) : out;
    }
    const bool sys = correction != Correction::Revision;
    QStringList parts = text.split(isDate ? u'.' : u':');
    for (QString &p : parts)
        p.remove(u'_');
    for (const QString &p : parts)
        for (const QChar c : p)
            if (!c.isDigit())
                return text;
    auto part = [&](int n) { return parts.value(n); };
    // A day, month, hour, minute or second: empty, zero, one digit, too big.
    auto fix = [&](const QString &raw, int tooBig, int current, bool zeroIsOne) {
        const QString p = raw.isEmpty() ? (sys ? u"99"_s : u"0"_s) : raw;
        const int v = p.toInt();
        if (v == 0 && zeroIsOne)
            return u"01"_s;
        if (v < 10)
            return twoDigits(v);
        if (v >= tooBig)
            return sys ? twoDigits(current) : u"0"_s + p.mid(1);
        return p;
    };
    if (isDate) {
        QString day = fix(part(0), 32, now.date().day(), true);
        QString month = fix(part(1), 13, now.date().month(), true);
        int year = now.date().year();
        QString yearText;
        if (mask == u"!99.99.9999") {
            const QString y = part(2);
            const int v = y.toInt();
            if (y.isEmpty() || (v >= 100 && v <= 999))
                yearText = QString::number(now.date().year());
            else if (v <= 9)
                yearText = u"200"_s + QString::number(v);
            else if (v <= 19)
                yearText = u"20"_s + twoDigits(v);
            else if (v <= 99)
                yearText = u"19"_s + twoDigits(v);
            else
                yearText = y;
            year = yearText.toInt();
        } else if (mask == u"!99.99.99") {
            const QString y = part(2);
            yearText = y.isEmpty() ? twoDigits(now.date().year() % 100) : (y.size() == 1 ? u"0"_s + y : y);
            year = 2000 + yearText.toInt();
        }
        int m = month.toInt();
        if (m < 1 || m > 12) {
            m = now.date().month();
            month = twoDigits(m);
        }
        const int days = QDate(year, m, 1).daysInMonth();
        if (day.toInt() > days)
            day = twoDigits(days);
        // A too large day that ends in 0 (40, 50 …) has lost its first digit
        // to nothing: the first of the month, as a typed 0 gives.
        if (day == u"00")
            day = u"01"_s;
        QString out = day + u'.' + month;
        return yearText.isEmpty() ? out : out + u'.' + yearText;
    }
    QString hours = fix(part(0), 25, now.time().hour(), false);
    QString minutes = fix(part(1), 61, now.time().minute(), false);
    if (mask == u"!99:15" && minutes != u"00" && minutes != u"15" && minutes != u"30" && minutes != u"45")
        minutes = u"__"_s;
    QString out = hours + u':' + minutes;
    if (mask == u"!99:99:99") {
        QString seconds = fix(part(2), 61, now.time().second(), false);
        out += u':' + seconds;
    }
    return out;
}

} // namespace korvex::MaskText
