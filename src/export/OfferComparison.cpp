#include "export/OfferComparison.h"

#include <QHash>
#include <QSet>

namespace korvex {

OfferChanges CompareOffers(const QList<SentOffer> &now, const QList<SentOffer> &last)
{
    QHash<QString, QString> lastDigest;
    lastDigest.reserve(last.size());
    for (const SentOffer &offer : last)
        lastDigest.insert(offer.cj, offer.digest);
    QSet<QString> present;
    present.reserve(now.size());

    OfferChanges changes;
    for (const SentOffer &offer : now) {
        present.insert(offer.cj);
        const auto found = lastDigest.constFind(offer.cj);
        if (found == lastDigest.constEnd())
            changes.added.append(offer);
        else if (*found != offer.digest)
            changes.changed.append(offer);
    }
    for (const SentOffer &offer : last)
        if (!present.contains(offer.cj))
            changes.withdrawn.append(offer);
    return changes;
}

} // namespace korvex
