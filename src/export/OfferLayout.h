#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

namespace korvex {

class Dataset;

// An element text of the offer list: "-" alone becomes empty, the five XML
// entities are written, characters XML 1.0 forbids are dropped (CR and LF
// become a blank) and the result is UTF-8.
QByteArray EncodeXmlValue(const QString &value);

// The bytes of the offer list, with no effect beyond the device: no file,
// photo or record is touched. Each returns false when the device took less
// than it was given.
bool WriteOfferListHead(QIODevice &out);
bool WriteOfferListTail(QIODevice &out);
// The offer of the query's current record, from "    <offer>" to the line
// break after "    </offer>", naming the given pictures in their order.
bool WriteOffer(QIODevice &out, const Dataset &vehicle, const QStringList &pictureNames);

} // namespace korvex
