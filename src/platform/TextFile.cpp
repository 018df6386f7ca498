#include "platform/TextFile.h"

#include "platform/AtomicWrite.h"
#include "platform/FileErrorText.h"
#include "platform/ModuleError.h"
#include "platform/Win1250.h"
#include "platform/WinPath.h"

#include <QFile>

namespace korvex::TextFile {
namespace {

[[noreturn]] void throwWriteError(const QString &path, const QString &reason)
{
    throw ModuleError(QStringLiteral("Soubor \"%1\" nelze zapsat: %2").arg(path, FileErrorText(reason)));
}

} // namespace

std::optional<QStringList> readLines(const QString &path)
{
    QFile file(WinPath::resolve(path));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QStringList lines;
    forEachLine(file.readAll(), [&lines](std::string_view line) {
        lines.append(Win1250::decode(line));
        return true;
    });
    return lines;
}

bool forEachLine(const QByteArray &bytes, const std::function<bool(std::string_view)> &onLine)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        qsizetype stop = end;
        if (end < bytes.size() && stop > start && bytes[stop - 1] == '\r')
            --stop;
        if (!onLine(std::string_view(bytes.constData() + start, size_t(stop - start))))
            return false;
        start = next;
    }
    return true;
}

QString lineAt(const QStringList &lines, qsizetype n)
{
    return n >= 0 && n < lines.size() ? lines[n] : QString();
}

QByteArray encodeLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += Win1250::encode(line);
        bytes += "\r\n";
    }
    return bytes;
}

void writeLines(const QString &path, const QStringList &lines)
{
    QFile file(WinPath::resolve(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throwWriteError(path, file.errorString());
    const QByteArray bytes = encodeLines(lines);
    if (file.write(bytes) != bytes.size() || !file.flush())
        throwWriteError(path, file.errorString());
}

void writeLinesAtomic(const QString &path, const QStringList &lines, bool ownerOnly)
{
    WriteFileAtomically(path, encodeLines(lines), ownerOnly);
}

} // namespace korvex::TextFile
