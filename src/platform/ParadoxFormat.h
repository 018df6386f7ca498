#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include <QString>

namespace korvex::Paradox {

// Field type codes of the table header.
enum FieldType : std::uint8_t {
    Alpha = 0x01,
    Date = 0x02,
    Short = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Number = 0x06,
    Logical = 0x09,
    Memo = 0x0C,
    Blob = 0x0D,
    FormattedMemo = 0x0E,
    Ole = 0x0F,
    Graphic = 0x10,
    Time = 0x14,
    Timestamp = 0x15,
    AutoInc = 0x16,
    Bcd = 0x17,
    Bytes = 0x18,
};

// A BCD field takes this many bytes whatever its descriptor's size byte,
// which holds its number of decimals instead.
constexpr int kBcdSize = 17;
constexpr int kBcdMaxDecimals = 32;

bool isKnownType(std::uint8_t type);
bool isBlobType(std::uint8_t type);

// Text forms of the fixed-size field encodings. Each takes the field's bytes
// as stored in the record; an all-zero field is NULL and reads as empty text.
// None of them depends on the process's locale.
QString alphaText(std::string_view bytes);
QString integerText(std::string_view bytes);     // Short, Long, AutoInc
QString numberText(std::string_view bytes);      // Number, Currency
QString dateText(std::string_view bytes);        // dd.mm.yyyy
QString timeText(std::string_view bytes);        // H:mm:ss
QString timestampText(std::string_view bytes);   // d.m.yyyy H:mm:ss
// A BCD field with the given number of digits after the point: at most
// that many decimals, trailing zeros dropped; empty for malformed digits.
QString bcdText(std::string_view bytes, int decimals);
QString logicalText(std::string_view bytes);     // True / False
std::optional<bool> logicalValue(std::string_view bytes);

// Decoded numbers, for the index and for readers that need the value.
std::optional<double> numberValue(std::string_view bytes);
std::optional<std::int64_t> integerValue(std::string_view bytes);

// Rounded to 15 significant digits, then the shortest plain decimal form
// with a decimal comma: no exponent, no grouping.
QString formatNumber(double value);

} // namespace korvex::Paradox
