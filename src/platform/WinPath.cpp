#include "platform/WinPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_WIN
#include <QDirIterator>
#else
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#endif

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
    const QStringView name = QStringView(path).sliced(cut);
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    const QStringView written = QStringView(path).first(cut);
    if (!m_lastListing || written != m_lastWritten) {
        m_lastListing = nullptr;
        const QString &folder = folderOf(written.toString());
        if (!folder.isEmpty() && !hasTrailingSeparator(folder))
            return false; // the folder part names no existing folder
        m_lastFolder = folder;
        Listing &names = listing(m_lastFolder);
        m_lastWritten = written.toString();
        m_lastListing = &names;
    }
    Listing &names = *m_lastListing;
    auto exact = names.exact.constFind(name);
    if (exact == names.exact.constEnd()) {
        const QHash<QStringView, QStringView> &byFolded = folded(names);
        const auto match = byFolded.constFind(name.toString().toCaseFolded());
        if (match == byFolded.constEnd())
            return false;
        exact = names.exact.constFind(match.value());
    }
    native.reserve(m_lastFolder.size() + exact.key().size());
    native.append(m_lastFolder).append(exact.key());
    file = exact.value();
    return true;
}

CachedResolver::Listing &CachedResolver::listing(const QString &nativeFolder)
{
    auto it = m_folders.find(nativeFolder);
    if (it != m_folders.end())
        return it.value();
    Listing names;
    // Where each name lies in the one string; views are taken once it has
    // stopped growing.
    struct Place
    {
        qsizetype start;
        qsizetype size;
        bool file;
    };
    std::vector<Place> places;
    // A NUL, which no name holds, after each: folding the whole string then
    // folds each name alone, never a character made of the end of one name
    // and the start of the next.
    const auto add = [&](const QString &name, bool file) {
        places.push_back({names.names.size(), name.size(), file});
        names.names += name;
        names.names += QChar(0);
    };
    const QString folder = nativeFolder.isEmpty() ? QStringLiteral(".") : nativeFolder;
#ifdef Q_OS_WIN
    QDirIterator entry(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (entry.hasNext()) {
        const QFileInfo info = entry.nextFileInfo();
        add(info.fileName(), info.isFile());
    }
#else
    // A photo folder holds thousands of files; the entry's own type spares a
    // stat of each. A link counts as what it points to.
    if (DIR *dir = opendir(QFile::encodeName(folder).constData())) {
        while (const dirent *entry = readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
                continue;
            bool file = entry->d_type == DT_REG;
            if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
                struct stat target;
                file = fstatat(dirfd(dir), entry->d_name, &target, 0) == 0 && S_ISREG(target.st_mode);
            }
            add(QFile::decodeName(entry->d_name), file);
        }
        closedir(dir);
    }
#endif
    names.names.squeeze();
    names.exact.reserve(qsizetype(places.size()));
    for (const Place &place : places)
        names.exact.insert(QStringView(names.names).sliced(place.start, place.size), place.file);
    // Moving the listing in keeps its string's buffer, and so the views.
    return m_folders.insert(nativeFolder, std::move(names)).value();
}

const QHash<QStringView, QStringView> &CachedResolver::folded(Listing &listing)
{
    if (listing.folded.isEmpty() && !listing.exact.isEmpty()) {
        // Case folding keeps each character's length, so every folded name
        // lies where its name does.
        listing.foldedNames = listing.names.toCaseFolded();
        const char16_t *base = QStringView(listing.names).utf16();
        listing.folded.reserve(listing.exact.size());
        for (auto it = listing.exact.cbegin(); it != listing.exact.cend(); ++it) {
            const QStringView name = it.key();
            const QStringView key = QStringView(listing.foldedNames).sliced(name.utf16() - base, name.size());
            auto match = listing.folded.find(key);
            if (match == listing.folded.end())
                listing.folded.insert(key, name);
            else if (name < match.value())
                match.value() = name;
        }
    }
    return listing.folded;
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
