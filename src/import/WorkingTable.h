#pragma once

#include "platform/DatabaseSession.h"
#include "platform/Dataset.h"
#include "platform/FieldDef.h"

namespace korvex {

// The working vehicle table "Nesta.DB": one record per offered vehicle, its
// 60 fields in creation order.
const TableDef &NestaTableDef();

// The native path of "Nesta.DB" in the folder of alias BAZAR. Throws
// ModuleError when the session has no such alias.
QString WorkingTableFile(const DatabaseSession &session);

// Where the start-up looks for the working table: as WorkingTableFile, but
// without alias BAZAR in the executable folder written in capitals, and
// without an error (the open that follows reports the missing alias).
QString StartUpWorkingTableFile(const DatabaseSession &session, const QString &executableFolder);

// Closes the query, creates "Nesta.DB" anew (an existing file and its records
// are replaced) and opens the query over it again.
void CreateWorkingTable(Dataset &query, const DatabaseSession &session);

// Points the query at "Nesta.DB" of alias BAZAR and opens it.
void OpenWorkingQuery(Dataset &query, const DatabaseSession &session);

} // namespace korvex
