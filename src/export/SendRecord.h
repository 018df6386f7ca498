#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace korvex {

// One offer as it went to the portal: the vehicle and the digest of its
// "<offer>" block.
struct SentOffer
{
    QString cj;
    QString make;
    QString digest;
};

// One picture the archive carried.
struct SentPicture
{
    QString name;
    qint64 size = 0;
    QString digest;
};

// A photo file as it was when its picture last went to the portal: the
// digest tells a photo retaken under the same name; the size and the
// modification time (ms since the epoch) spare the digest, and the header
// check, while they hold.
struct SentPhotoFile
{
    QString name;
    qint64 size = 0;
    qint64 modified = 0;
    QString digest;
    int jpeg = -1; // 1: the JPEG header is readable, 0: it is not, -1: not known
};

// One successful upload as the send history keeps it.
struct SendRecord
{
    QDateTime when;
    bool automatic = false;
    qint64 archiveBytes = 0;
    int httpStatus = 0;
    QList<SentOffer> offers;
    QList<SentPicture> pictures;
    QList<SentPhotoFile> photoFiles; // each picture the offers name, as recorded now
};

} // namespace korvex
