#include "platform/WinPath.h"

#include <QDir>
#include <QDirIterator>
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

// Walks the components of a Windows-style path; match gives the name under
// which a component exists in its (native) folder, or nothing.
static QString resolveWith(const QString &path, const std::function<QString(const QString &, const QString &)> &match)
{
#ifdef Q_OS_WIN
    Q_UNUSED(match);
    return path;
#else
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
        const QString name = part == u"." || part == u".." ? part : match(current, part);
        if (name.isEmpty()) {
            // Nothing to match: keep the rest as written.
            QString rest = current + parts.mid(i).join(u'/');
            if (hasTrailingSeparator(path))
                rest += u'/';
            return rest;
        }
        current += name;
        if (i + 1 < parts.size() || hasTrailingSeparator(path))
            current += u'/';
    }
    return current;
#endif
}

QString resolve(const QString &path)
{
    return resolveWith(path, [](const QString &folder, const QString &part) {
        if (QFileInfo::exists(folder + part))
            return part;
        for (const QString &name : sortedEntries(folder))
            if (name.compare(part, Qt::CaseInsensitive) == 0)
                return name;
        return QString();
    });
}

QString CachedResolver::resolve(const QString &path)
{
    QString native;
    bool file = false;
    return lookUp(path, native, file) ? native : WinPath::resolve(path);
}

bool CachedResolver::isFile(const QString &path)
{
    QString native;
    bool file = false;
    return lookUp(path, native, file) && file;
}

std::optional<QString> CachedResolver::file(const QString &path)
{
    QString native;
    bool file = false;
    if (lookUp(path, native, file) && file)
        return native;
    return std::nullopt;
}

const QString &CachedResolver::folderOf(const QString &writtenFolder)
{
    auto it = m_resolvedFolders.constFind(writtenFolder);
    if (it == m_resolvedFolders.constEnd())
        it = m_resolvedFolders.insert(writtenFolder, WinPath::resolve(writtenFolder));
    return it.value();
}

bool CachedResolver::lookUp(const QString &path, QString &native, bool &file)
{
    qsizetype cut = path.size();
    while (cut > 0 && !isSeparator(path[cut - 1]))
        --cut;
    const QString name = path.mid(cut);
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    const QString &folder = folderOf(path.left(cut));
    if (!folder.isEmpty() && !hasTrailingSeparator(folder))
        return false; // the folder part names no existing folder
    const Listing &names = listing(folder);
    auto exact = names.exact.constFind(name);
    if (exact == names.exact.constEnd()) {
        const auto folded = names.folded.constFind(name.toCaseFolded());
        if (folded == names.folded.constEnd())
            return false;
        exact = names.exact.constFind(folded.value());
    }
    native = folder + exact.key();
    file = exact.value();
    return true;
}

const CachedResolver::Listing &CachedResolver::listing(const QString &nativeFolder)
{
    auto it = m_folders.find(nativeFolder);
    if (it != m_folders.end())
        return it.value();
    std::vector<std::pair<QString, bool>> entries;
    QDirIterator entry(nativeFolder.isEmpty() ? QStringLiteral(".") : nativeFolder,
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (entry.hasNext()) {
        const QFileInfo info = entry.nextFileInfo();
        entries.emplace_back(info.fileName(), info.isFile());
    }
    std::sort(entries.begin(), entries.end());
    Listing names;
    names.exact.reserve(qsizetype(entries.size()));
    for (const auto &[name, file] : entries) {
        names.exact.insert(name, file);
        const QString folded = name.toCaseFolded();
        if (!names.folded.contains(folded))
            names.folded.insert(folded, name);
    }
    return m_folders.insert(nativeFolder, std::move(names)).value();
}

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
