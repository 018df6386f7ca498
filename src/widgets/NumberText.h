#pragma once

#include <QString>

#include <optional>

namespace korvex::NumberText {

// Numbers of the edit's number modes are fixed-point values of
// ten-thousandths; texts use the given decimal separator.

// The normal form with k kept and s shown decimals: no leading zeros, the
// decimals cut (not rounded) or padded to k, zeros up to s, no "-0".
QString normalForm(const QString &text, int kept, int shown, QChar separator);

// The value of a number text, rounded to ten-thousandths; nothing when the
// text is not a number. An empty text is not a number.
std::optional<qint64> toValue(const QString &text, QChar separator);

// The value written plainly: no grouping, no trailing zeros; whole numbers
// rounded when integer is set.
QString plain(qint64 value, QChar separator, bool integer);

// The text with at most n decimals (none when n is 0), cut, not padded.
QString cutDecimals(const QString &text, int decimals, QChar separator);

// The digits before the separator in groups of count, separated by blanks.
QString grouped(const QString &text, int count, QChar separator);

// A value for the messages: grouped in thousands with two decimals.
QString forMessage(qint64 value, QChar separator);

} // namespace korvex::NumberText
