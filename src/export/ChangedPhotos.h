#pragma once

#include "export/SendRecord.h"

#include <QHash>
#include <QString>

#include <optional>

namespace korvex {

// Tells which pictures the portal already lists were retaken under the same
// name since they were last sent, from the photo files of the send history.
// A file is read for its digest only when its size or modification time
// differ from what the history holds.
class ChangedPhotos
{
public:
    explicit ChangedPhotos(QHash<QString, SentPhotoFile> sent);
    ~ChangedPhotos();
    ChangedPhotos(const ChangedPhotos &) = delete;
    ChangedPhotos &operator=(const ChangedPhotos &) = delete;

    // True when the file at path no longer holds what was sent as name. A
    // name the history does not know counts as unchanged; so does a file
    // that cannot be read (staging then says why, if it must).
    bool changed(const QString &name, const QString &path);

    // What a successful send records of the pictures its offers named
    // (name to photo path): the uploaded ones with their digests, the ones
    // the history did not know yet, and those whose time moved on while
    // their content stayed. Those it cannot read are left for a later send.
    QList<SentPhotoFile> filesToRecord(const QHash<QString, QString> &named, const QList<SentPicture> &uploaded);

    // Whether the file's JPEG header was readable when the history last
    // recorded it, if the file is still as it was then.
    std::optional<bool> knownJpeg(const QString &name, const QString &path);

    // Whether the path names an ordinary file, as asked once this send.
    bool isFile(const QString &path) { return stampOf(path).has_value(); }

    // How many files were read for their digest so far.
    int digestsComputed() const { return m_digests; }

private:
    struct Stamp
    {
        qint64 size;
        qint64 modified;
    };
    // Each file is asked once a send, for the checks and for the change.
    std::optional<Stamp> stampOf(const QString &path);

    QHash<QString, std::optional<Stamp>> m_stamps;
    QHash<QString, int> m_folders; // open folder descriptors, -1 where none
    QHash<QString, SentPhotoFile> m_sent;
    QHash<QString, SentPhotoFile> m_found; // digested during this send
    int m_digests = 0;
};

} // namespace korvex
