#pragma once

#include "OfferList.h"
#include "SendRecord.h"

namespace korvex {

class UserDialogs;
struct SendLogEntry;

// The send's link to its history: before the upload it compares the offers
// with the last successful send and stops an upload that would withdraw too
// much; after a successful upload it records the send. A history that
// cannot be read or written is noted in the send log and never stops a send.
class SendSafeguard
{
public:
    explicit SendSafeguard(QString executableFolder);

    // The list just written into the working folder.
    void take(const OfferListResult &written, const QString &workingFolder);

    // False when the upload must not happen: in automatic mode the guard
    // stops it with a warning, interactively the user declined. The log's
    // outcome then says why.
    bool allowsUpload(bool automaticMode, UserDialogs &dialogs, SendLogEntry &log);

    // After a successful upload.
    void recordSuccess(bool automaticMode, int httpStatus, SendLogEntry &log);

private:
    const QList<SentOffer> &offers();

    QString m_executableFolder;
    QString m_workingFolder;
    OfferListResult m_written;
    QList<SentOffer> m_offers;
    bool m_digested = false;
};

} // namespace korvex
