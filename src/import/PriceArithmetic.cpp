#include "import/PriceArithmetic.h"

#include <algorithm>

namespace korvex {
namespace {

constexpr Millionths kUnit = 1'000'000;
using Wide = __int128;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

Millionths clampAmount(Wide v)
{
    return Millionths(std::clamp<Wide>(v, -Wide(kMaxAmount), Wide(kMaxAmount)));
}

} // namespace

Millionths ReadDecimal(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';

    // Significant digits and the position of the decimal point among them.
    QString digits;
    qsizetype pointAt = 0;
    while (i < n && isDigit(text[i])) {
        digits += text[i++];
        ++pointAt;
    }
    if (i + 1 < n && text[i] == u'.' && isDigit(text[i + 1])) {
        ++i;
        while (i < n && isDigit(text[i]))
            digits += text[i++];
    }
    if (digits.isEmpty())
        return 0;

    // An exponent counts only when digits follow its letter and sign.
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        bool expNegative = false;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            expNegative = text[j++] == u'-';
        if (j < n && isDigit(text[j])) {
            qint64 exp = 0;
            while (j < n && isDigit(text[j])) {
                exp = std::min<qint64>(exp * 10 + (text[j].unicode() - u'0'), 100000);
                ++j;
            }
            pointAt += expNegative ? -exp : exp;
        }
    }

    // Millionths: the digits up to six places after the point.
    while (!digits.isEmpty() && digits.front() == u'0') {
        digits.remove(0, 1);
        --pointAt;
    }
    Wide value = 0;
    const qsizetype last = pointAt + 6;
    if (last > 18)
        return negative ? -kMaxAmount : kMaxAmount;
    for (qsizetype k = 0; k < last; ++k)
        value = value * 10 + (k < digits.size() ? digits[k].unicode() - u'0' : 0);
    return clampAmount(negative ? -value : value);
}

Millionths RoundVatUp(Millionths amount)
{
    const bool negative = amount < 0;
    const Millionths magnitude = negative ? -amount : amount;
    const Millionths whole = magnitude / kUnit;
    const Millionths hundredths = magnitude % kUnit / 10'000;
    Millionths rounded;
    if (hundredths > 90)
        rounded = (whole + 1) * kUnit;
    else
        rounded = whole * kUnit + std::max<Millionths>(1, (hundredths + 9) / 10) * (kUnit / 10);
    return negative ? -rounded : rounded;
}

QString FormatHundredths(Millionths amount)
{
    const bool negative = amount < 0;
    const Wide magnitude = negative ? -Wide(amount) : Wide(amount);
    Wide hundredths = magnitude / 10'000;
    const Wide rest = magnitude % 10'000;
    if (rest > 5'000 || (rest == 5'000 && hundredths % 2 == 1))
        ++hundredths;
    QString digits = QString::number(qint64(hundredths));
    if (digits.size() < 3)
        digits = QString(3 - digits.size(), u'0') + digits;
    digits.insert(digits.size() - 2, u',');
    return negative && hundredths != 0 ? u'-' + digits : digits;
}

PriceSplit SplitGrossPrice(QStringView grossText, int ratePercent)
{
    const Millionths gross = ReadDecimal(grossText);
    const Wide rate = std::max(ratePercent, 0);
    // v = g - g / (r/100 + 1) = g * r / (100 + r), exactly.
    const Wide numerator = Wide(gross) * rate;
    const Wide denominator = 100 + rate;
    Millionths vat = Millionths(numerator / denominator);
    if (numerator % denominator != 0 || vat % kUnit != 0)
        vat = RoundVatUp(vat);
    return PriceSplit{FormatHundredths(vat), FormatHundredths(clampAmount(Wide(gross) - vat))};
}

} // namespace korvex
