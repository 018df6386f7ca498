#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace korvex {

// File names the Windows way. The module builds its paths as documented
// (root + "WWW_Export\Data\Rezim_Pr.ddd"); on a case-sensitive file system
// these helpers find the file that Windows would open: backslash and slash
// both separate, and a component that does not exist exactly is matched
// without regard to letter case in its folder (first in sorted order).
namespace WinPath {

// The native path of the file or folder the Windows-style path names. When a
// component has no match, the rest of the path is kept as written.
QString resolve(const QString &path);

bool exists(const QString &path);
bool isFile(const QString &path);
bool isFolder(const QString &path);

// Names of the entries of a folder (files and folders), sorted.
QStringList entries(const QString &folder);

// True when the path ends in a separator of either kind.
bool hasTrailingSeparator(const QString &path);

// Resolves many paths under folders that do not change meanwhile (the host's
// photo folders during one extraction), listing each folder only once.
class CachedResolver
{
public:
    CachedResolver() = default;
    CachedResolver(const CachedResolver &) = delete;
    CachedResolver &operator=(const CachedResolver &) = delete;

    QString resolve(const QString &path);
    bool isFile(const QString &path);
    // The native path of the file the path names; nothing when it names no
    // file. One look-up where isFile and resolve would take two.
    std::optional<QString> file(const QString &path);

private:
    // A folder's names, one after another in one string, and seen through
    // views of it: a photo folder of thousands of files then costs a few
    // allocations rather than several a name.
    struct Listing
    {
        QString names;
        QHash<QStringView, bool> exact; // name -> is a file
        // The names case-folded at the same places, and each folded name ->
        // the first name in sorted order that folds to it; made on the first
        // name that has no exact match.
        QString foldedNames;
        QHash<QStringView, QStringView> folded;
    };
    Listing &listing(const QString &nativeFolder);
    static const QHash<QStringView, QStringView> &folded(Listing &listing);
    // The native folder of a path's folder part, as written.
    const QString &folderOf(const QString &writtenFolder);
    // Resolves the last component in its folder; false when it is missing.
    bool lookUp(const QString &path, QString &native, bool &file);

    QHash<QString, Listing> m_folders;
    QHash<QString, QString> m_resolvedFolders;
    // The folder of the last look-up, as written and natively, and its
    // listing: the photos of a branch all lie in one folder. The pointer is
    // dropped whenever a listing is added, which may move the others.
    QString m_lastWritten;
    QString m_lastFolder;
    Listing *m_lastListing = nullptr;
};

} // namespace WinPath
} // namespace korvex
