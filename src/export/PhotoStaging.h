#pragma once

#include "platform/WinPath.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

namespace korvex {

class Dataset;

// The file-name part of a photo path (after the last "\", "/" or ":"),
// lower-cased: the picture's name on the portal and in the working folder.
QString PictureName(const QString &path);

// Reads "Obr_FTP_List.txt" of the executable folder into lower-case names;
// a missing or unreadable list is empty.
QSet<QString> LoadPortalPictureList(const QString &executableFolder);

class ChangedPhotos;

// Decides which photos of a vehicle an offer names and stages those the
// portal lacks (or all, with the resend flag, or those retaken since they
// were sent) in the working folder: as a hard link where the photo lies on
// the same file system, as a copy otherwise.
class PhotoStaging
{
public:
    // changes may be null: then a retaken photo the portal lists is not
    // staged. Without linkPhotos every picture is copied.
    PhotoStaging(QString workingFolder, QSet<QString> portalPictures, bool onlyFirstPhoto,
                 ChangedPhotos *changes = nullptr, bool linkPhotos = true);

    // The picture names of the current record of the query, in offer order,
    // with the copies made. Throws ModuleError naming the file when a photo
    // cannot be read or its copy cannot be written.
    QStringList stage(const Dataset &query);
    // The pictures copied so far, each name once.
    int copiedCount() const { return int(m_copied.size()); }
    QStringList copiedNames() const;
    // Staged only because their file changed since it was sent, sorted.
    QStringList changedNames() const;
    // Every picture named so far, with the photo file it came from.
    const QHash<QString, QString> &namedPhotos() const { return m_named; }

private:
    void offer(const QString &photo, bool resend, QStringList &names);

    QString m_workingFolder;
    QSet<QString> m_portal;
    // The host's photo folders do not change during a send; the extra-photo
    // search asks for up to 24 names a vehicle, most of them missing.
    WinPath::CachedResolver m_files;
    bool m_onlyFirst;
    ChangedPhotos *m_changes;
    bool m_link;
    QSet<QString> m_copied;
    QSet<QString> m_changed;
    QHash<QString, QString> m_named;
};

} // namespace korvex
