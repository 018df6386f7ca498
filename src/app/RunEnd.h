#pragma once

#include "export/SendOutcome.h"

#include <QString>

#include <vector>

namespace korvex {

// How a run of the module ended. An unattended run reports it as its exit
// status, one value each, so a scheduler can tell the cases apart.
enum class RunEnd {
    Closed,             // nothing automatic ran: "---------CAR-EXP", or the window was closed
    Uploaded,
    SendFailed,
    StartupFailed,
    ClockRefused,
    DemoUser,
    StoppedByGuard,
    PackingCancelled,
    NeedsScreen,        // interactive use started where nobody can answer
    Declined,
};

RunEnd RunEndOf(SendOutcome outcome);

struct ExitStatusRow
{
    RunEnd end;
    int status;
    QString meaning;    // for "--help"
};

// The one table of exit statuses, in the order "--help" lists them.
const std::vector<ExitStatusRow> &ExitStatusTable();
int ExitStatus(RunEnd end);

} // namespace korvex
