#pragma once

#include "export/GuardSettings.h"

#include <optional>

namespace korvex {

// Whether an upload would withdraw too much of what the portal shows: the
// list about to be sent against the last successful send.
struct WithdrawalVerdict
{
    bool stop = false;
    int offers = 0;     // N: offers about to be sent
    int lastOffers = 0; // M: offers of the last send (0 without history)
    int withdrawn = 0;  // X: offers of the last send missing now
};

// lastOffers is empty when no send has been recorded yet. The guard stops
// an upload that withdraws more than the share and at least the minimum,
// an empty list after a non-empty send, and an empty list with no history.
WithdrawalVerdict JudgeWithdrawal(int offers, std::optional<int> lastOffers, int withdrawn,
                                  const GuardSettings &settings);

} // namespace korvex
