#pragma once

#include "export/OfferComparison.h"
#include "export/SendRecord.h"
#include "export/VehicleChecks.h"
#include "export/WithdrawalGuard.h"

#include <optional>

namespace korvex {

class Dataset;

// What a send would do now, against the last successful send.
struct SendPreview
{
    QList<SentOffer> offers;        // the offer list, in its order
    OfferChanges changes;
    QList<SentPicture> pictures;    // would be uploaded (sizes, no digests)
    QStringList changedPictures;    // of those, the ones retaken since they were sent
    QList<VehicleCheck> checks;     // marked vehicles with a problem
    qint64 archiveBytes = 0;
    std::optional<SendRecord> lastSend;
    QString historyProblem;         // why the history could not be read, or empty
    bool guardEnabled = true;
    WithdrawalVerdict guard;        // whether the guard would step in
};

// Runs the send's own steps up to the archive size in a temporary folder:
// the offer list against the last portal picture list "Obr_FTP_List.txt"
// (the portal is not asked), the staging and the packing. Nothing the send
// changes is touched: REZERVA4, Korvex_zip, the picture lists, the history.
// The query's cursor returns to its record. Throws ModuleError.
SendPreview PreviewSend(Dataset &query, const QString &executableFolder, bool onlyFirstPhoto);

} // namespace korvex
