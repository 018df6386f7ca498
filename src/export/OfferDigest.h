#pragma once

#include "export/OfferList.h"
#include "export/SendRecord.h"

#include <QByteArrayView>

namespace korvex {

// Hex BLAKE2b-256 of the bytes: two offers have the same digest exactly when
// the portal received the same bytes for them.
QString OfferDigest(QByteArrayView bytes);

// The offers of a written list, each with the digest of its block.
QList<SentOffer> DigestOffers(const OfferListResult &written);

// The content digests of the files, in their order, read in parallel.
// Throws ModuleError naming the file that cannot be read.
QStringList DigestFiles(const QStringList &paths);

// The named files of the folder with their sizes and content digests.
// Throws ModuleError naming the file that cannot be read.
QList<SentPicture> DigestPictures(const QString &folder, const QStringList &names);

// The named files of the folder with their sizes only.
QList<SentPicture> SizePictures(const QString &folder, const QStringList &names);

} // namespace korvex
