#pragma once

#include <QString>

#include <cstdint>

namespace korvex {

// Amounts are exact decimals held in millionths of a crown, so that a VAT
// that is mathematically whole is never pushed to the next tenth by binary
// rounding error.
using Millionths = std::int64_t;

// The largest magnitude an amount can have: just under 10^12 crowns. Longer
// numbers (or exponents) are clamped to it; digits past the sixth decimal are
// cut.
constexpr Millionths kMaxAmount = 999'999'999'999'999'999;

// The decimal number at the start of the text: optional leading blanks and
// sign, digits, an optional "." with digits, an optional exponent. Reading
// stops at the first character that cannot continue the number; no number
// gives 0.
Millionths ReadDecimal(QStringView text);

// The VAT rounded up to a tenth: the fraction cut to two decimals becomes the
// smallest tenth not below it (0.00 gives 0.1, above 0.9 the next whole).
Millionths RoundVatUp(Millionths amount);

// The amount in hundredths (ties to even) with a decimal comma: "1,23".
QString FormatHundredths(Millionths amount);

struct PriceSplit
{
    QString vatText;
    QString netText;
};

// Splits a gross price into the VAT it contains at the given rate (whole
// percent; a negative rate counts as 0) and the net amount.
PriceSplit SplitGrossPrice(QStringView grossText, int ratePercent);

} // namespace korvex
