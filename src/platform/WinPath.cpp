#include "WinPath.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace korvex::WinPath {
namespace {

bool isSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

QStringList sortedEntries(const QString &nativeFolder)
{
    QDir dir(nativeFolder.isEmpty() ? QStringLiteral(".") : nativeFolder);
    QStringList names = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                      QDir::NoSort);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

bool hasTrailingSeparator(const QString &path)
{
    return !path.isEmpty() && isSeparator(path.back());
}

#ifdef Q_OS_WIN

QString resolve(const QString &path)
{
    return path;
}

#else

QString resolve(const QString &path)
{
    QString current;
    if (!path.isEmpty() && isSeparator(path.front()))
        current = QStringLiteral("/");

    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        if (i == path.size() || isSeparator(path[i])) {
            if (i > start)
                parts.append(path.mid(start, i - start));
            start = i + 1;
        }
    }
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        QString candidate = current + part;
        if (part != u"." && part != u".." && !QFileInfo::exists(candidate)) {
            QString match;
            for (const QString &name : sortedEntries(current)) {
                if (name.compare(part, Qt::CaseInsensitive) == 0) {
                    match = name;
                    break;
                }
            }
            if (match.isEmpty()) {
                // Nothing to match: keep the rest as written.
                candidate = current + parts.mid(i).join(u'/');
                if (hasTrailingSeparator(path))
                    candidate += u'/';
                return candidate;
            }
            candidate = current + match;
        }
        current = candidate;
        if (i + 1 < parts.size() || hasTrailingSeparator(path))
            current += u'/';
    }
    return current;
}

#endif

bool exists(const QString &path)
{
    return QFileInfo::exists(resolve(path));
}

bool isFile(const QString &path)
{
    return QFileInfo(resolve(path)).isFile();
}

bool isFolder(const QString &path)
{
    return QFileInfo(resolve(path)).isDir();
}

QStringList entries(const QString &folder)
{
    return sortedEntries(resolve(folder));
}

} // namespace korvex::WinPath
