#pragma once

#include <QByteArray>
#include <QString>
#include <string_view>

namespace korvex {

// Windows-1250, the code page of the host data and of the module's files.
// Decoding is total; the five bytes the code page leaves undefined map to the
// C1 control of the same value, so every byte string survives a round trip.
namespace Win1250 {

QString decode(std::string_view bytes);
// The same into a string whose room is reused.
void decodeInto(QString &out, std::string_view bytes);
inline QString decode(const QByteArray &bytes) { return decode(std::string_view(bytes.constData(), size_t(bytes.size()))); }

// Characters outside the code page become '?'; appendEncoded tells whether
// there was none.
QByteArray encode(QStringView text);
bool appendEncoded(QByteArray &out, QStringView text);
// The same for one line of a line-based file: every line break inside the
// text ("\r\n", "\r" or "\n") becomes one blank.
void appendEncodedLine(QByteArray &out, QStringView text);

// True when every character of the text has a byte in the code page.
bool canEncode(QStringView text);

} // namespace Win1250
} // namespace korvex
