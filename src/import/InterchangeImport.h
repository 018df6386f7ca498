#pragma once

#include "import/HostExtraction.h"

#include <functional>

namespace korvex {

class Dataset;
class DatabaseSession;

// Brings the working table in line with the host: runs the extraction and,
// while it goes on, takes each record as the rewritten interchange file holds
// it (not read back from the disk), updating the record of the vehicle by its
// CJ or appending it; at the end it deletes the vehicles that are gone. What
// the user set on a vehicle (mark, photo choices, resend and magazine flags)
// stays. Everything is written through the query, in one transaction. When
// the extraction fails, the table stays as it was; when the database fails
// midway, what was posted is kept and the error goes on. listRefreshed is
// called at the end, for the counters.
void ImportInterchangeFile(Dataset &query, const DatabaseSession &session, const ExtractionSettings &settings,
                           const std::function<void()> &listRefreshed = {});

// Loads an interchange file that is already written (the import without the
// extraction).
void LoadInterchangeFile(Dataset &query, const QString &path);

} // namespace korvex
