#pragma once

#include <QFileDevice>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string_view>

namespace korvex {

// The module's text files: one value per line, Windows-1250, CR LF on write,
// CR LF or LF on read. Paths are Windows-style and go through WinPath.
namespace TextFile {

// The lines of the file, or nothing when it cannot be opened. A final line
// break does not add an empty line.
std::optional<QStringList> readLines(const QString &path);

// Calls onLine with every line of the bytes (CR LF or LF removed) until it
// returns false; a final line break does not add an empty line. Returns
// false when onLine stopped early.
bool forEachLine(const QByteArray &bytes, const std::function<bool(std::string_view)> &onLine);

// Line n (counted from 0); a missing line reads as empty.
QString lineAt(const QStringList &lines, qsizetype n);

// Creates or truncates the file and writes the lines. Throws ModuleError
// naming the file when it cannot be written.
void writeLines(const QString &path, const QStringList &lines);

// Writes a temporary file beside the target and renames it over the target,
// so a failed write leaves the old file whole. With ownerOnly the new file is
// readable and writable by its owner alone.
void writeLinesAtomic(const QString &path, const QStringList &lines, bool ownerOnly = false);

// The bytes the writers put on disk for these lines.
QByteArray encodeLines(const QStringList &lines);

} // namespace TextFile
} // namespace korvex
