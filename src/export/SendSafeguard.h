#pragma once

#include "export/OfferList.h"
#include "export/SendRecord.h"

#include <functional>
#include <memory>

namespace korvex {

class ChangedPhotos;
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
    ~SendSafeguard();

    // What tells the offer list which listed pictures were retaken since
    // they were sent; null when the settings switch that off. A history
    // that cannot be read knows no picture.
    ChangedPhotos *changedPhotos();

    // The list just written into the working folder.
    void take(const OfferListResult &written, const QString &workingFolder);

    // False when the upload must not happen: in automatic mode the guard
    // stops it with a warning, interactively the user declined. The send's
    // outcome is handed to writeOutcome before any box tells it.
    bool allowsUpload(bool automaticMode, UserDialogs &dialogs, const SendLogEntry &entry,
                      const std::function<void(const QString &)> &writeOutcome);

    // After a successful upload; empty, or a note for the send's log line
    // when the history could not be written.
    QString recordSuccess(bool automaticMode, int httpStatus, const SendLogEntry &entry);

private:
    const QList<SentOffer> &offers();

    QString m_executableFolder;
    QString m_workingFolder;
    OfferListResult m_written;
    QList<SentOffer> m_offers;
    bool m_digested = false;
    std::unique_ptr<ChangedPhotos> m_changes;
};

} // namespace korvex
