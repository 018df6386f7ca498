#pragma once

#include <QString>

namespace korvex {

// The send's safeguards, from "Korvex_ochrana.ddd" beside the executable:
// when the withdrawal guard steps in (three lines: "1" on or "0" off, the
// share in per cent, the least number of vehicles), then whether a photo
// retaken under a name the portal lists is sent again ("1" or "0"; a file
// of three lines predates it and means on). "Korvex.ddd" keeps its nine
// fixed lines.
struct GuardSettings
{
    bool enabled = true;
    int percent = 30;   // more than this share of the offers last sent
    int minimum = 5;    // and at least this many vehicles
    bool resendChangedPhotos = true;
};

// The settings of the file; defaults for a missing file and for each line
// that does not hold a valid value, so a damaged file keeps the guard on.
GuardSettings LoadGuardSettings(const QString &executableFolder);

// Replaces the file atomically. Throws ModuleError naming the file.
void SaveGuardSettings(const GuardSettings &settings, const QString &executableFolder);

} // namespace korvex
