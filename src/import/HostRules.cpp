#include "import/HostRules.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace korvex {

TechnicalData::TechnicalData(const QString &text)
    : m_text(text)
{
    // Views into the text: a vehicle reads a dozen of its thirty fields.
    if (m_text.size() >= 3)
        m_fields = QStringView(m_text).split(u'*');
}

QString TechnicalData::field(int n, int maxLength) const
{
    const QStringView value = m_fields.value(n);
    return (maxLength > 0 ? value.left(maxLength) : value).toString();
}

bool ReadsAsWholeNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    if (i == text.size())
        return false;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return false;
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > qint64(std::numeric_limits<qint32>::max()) + (negative ? 1 : 0))
            return false;
    }
    return true;
}

QStringList HostLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

QString ReadExportMark(const QString &rezPrehl5)
{
    const QStringList fields = rezPrehl5.split(u'#');
    if (fields.size() < 11)
        return QString();
    return fields[10].left(20);
}

QString HostDataRootFrom(const QString &routeLine)
{
    int seen = 0;
    for (qsizetype i = routeLine.size() - 1; i >= 0; --i) {
        if (routeLine[i] == u'\\' || routeLine[i] == u'/') {
            if (++seen == 2)
                return routeLine.left(i + 1);
        }
    }
    return routeLine;
}

namespace {

QString checkedYmd(const QString &ymd)
{
    return ReadsAsWholeNumber(QStringView(ymd).left(4)) ? ymd : u"0000-00-00"_s;
}

} // namespace

DatePair ManufactureDate(const QString &provozOd, const QString &mesic, const QString &rok)
{
    DatePair d;
    if (!provozOd.isEmpty()) {
        d.display = provozOd.left(15);
        d.ymd = d.display.mid(6, 4) + u'-' + d.display.mid(3, 2) + u'-' + d.display.left(2);
    } else {
        QString month = mesic.left(15);
        if (month.isEmpty() || month == u"0")
            month = u"01"_s;
        else if (month.size() == 1)
            month.prepend(u'0');
        const QString year = rok.left(15);
        if (!year.isEmpty()) {
            d.display = u"01/"_s + month + u'/' + year;
            d.ymd = year + u'-' + month + u"-01"_s;
        }
    }
    d.ymd = checkedYmd(d.ymd).left(15);
    d.display = d.display.left(15);
    return d;
}

DatePair InspectionDate(const QString &stkDo)
{
    QString text = stkDo.left(15);
    if (text.contains(u'.'))
        text.clear();
    DatePair d{u"0000-00-00"_s, text};
    if (!text.isEmpty()) {
        QString month = text.left(2);
        if (month == u"__")
            month = u"01"_s;
        else if (month.startsWith(u'_'))
            month = u'0' + month.mid(1);
        QString year = text.mid(3, 4);
        if (year == u"____")
            year = u"0000"_s;
        d.ymd = checkedYmd(year + u'-' + month + u"-01"_s);
    }
    return d;
}

QString YearOfDisplayDate(QStringView display)
{
    QString year;
    int separators = 0;
    for (const QChar c : display) {
        if (c == u'/' || c == u'.')
            ++separators;
        else if (separators == 2)
            year += c;
    }
    return year;
}

QString WholePartOf(const QString &commaNumber)
{
    const qsizetype comma = commaNumber.indexOf(u',');
    QString whole = comma < 0 ? commaNumber : commaNumber.left(comma);
    if (whole == u"-0")
        whole = u"0"_s;
    return whole;
}

} // namespace korvex
