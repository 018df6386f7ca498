#include "app/RunEnd.h"

using namespace Qt::StringLiterals;

namespace korvex {

RunEnd RunEndOf(SendOutcome outcome)
{
    switch (outcome) {
    case SendOutcome::Uploaded:
        return RunEnd::Uploaded;
    case SendOutcome::Declined:
        return RunEnd::Declined;
    case SendOutcome::ClockRefused:
        return RunEnd::ClockRefused;
    case SendOutcome::DemoUser:
        return RunEnd::DemoUser;
    case SendOutcome::StoppedByGuard:
        return RunEnd::StoppedByGuard;
    case SendOutcome::PackingCancelled:
        return RunEnd::PackingCancelled;
    }
    return RunEnd::SendFailed;
}

const std::vector<ExitStatusRow> &ExitStatusTable()
{
    static const std::vector<ExitStatusRow> table{
        {RunEnd::Uploaded, 0, u"inzerce odeslána (také ---------CAR-EXP)"_s},
        {RunEnd::SendFailed, 1, u"odeslání skončilo chybou"_s},
        {RunEnd::StartupFailed, 2, u"start modulu se nezdařil (nastavení, databáze, import)"_s},
        {RunEnd::ClockRefused, 3, u"zastaveno kontrolou data v počítači"_s},
        {RunEnd::DemoUser, 4, u"zastaveno: uživatel DEMO"_s},
        {RunEnd::StoppedByGuard, 5, u"zastaveno ochranou proti stažení nabídek"_s},
        {RunEnd::PackingCancelled, 6, u"balení přerušeno"_s},
        {RunEnd::NeedsScreen, 7, u"ruční práce bez obrazovky není možná (chybí RYCHLE)"_s},
        {RunEnd::Declined, 8, u"odeslání odmítnuto"_s},
    };
    return table;
}

int ExitStatus(RunEnd end)
{
    if (end == RunEnd::Closed)
        return 0;
    for (const ExitStatusRow &row : ExitStatusTable())
        if (row.end == end)
            return row.status;
    return 1;
}

} // namespace korvex
