#include "export/WithdrawalGuard.h"

namespace korvex {

WithdrawalVerdict JudgeWithdrawal(int offers, std::optional<int> lastOffers, int withdrawn,
                                  const GuardSettings &settings)
{
    WithdrawalVerdict verdict{false, offers, lastOffers.value_or(0), withdrawn};
    if (!settings.enabled)
        return verdict;
    if (!lastOffers) {
        verdict.stop = offers == 0;
        return verdict;
    }
    const bool tooMany = qint64(withdrawn) * 100 > qint64(settings.percent) * *lastOffers
        && withdrawn >= settings.minimum;
    const bool emptied = offers == 0 && *lastOffers > 0;
    verdict.stop = tooMany || emptied;
    return verdict;
}

} // namespace korvex
