#pragma once

#include "export/SendRecord.h"

namespace korvex {

// How an offer list differs from the one last sent, vehicle by vehicle
// (by CJ): new vehicles, vehicles whose offer bytes differ, and vehicles the
// portal would withdraw because they are no longer in the list.
struct OfferChanges
{
    QList<SentOffer> added;     // in the order of the new list
    QList<SentOffer> changed;   // in the order of the new list
    QList<SentOffer> withdrawn; // in the order of the last list
};

OfferChanges CompareOffers(const QList<SentOffer> &now, const QList<SentOffer> &last);

} // namespace korvex
