#pragma once

#include "ParadoxWriter.h"
#include "platform/FieldDef.h"

#include <vector>

namespace korvex::fixture {

// Writes a working table as earlier installations kept it: a Paradox table
// (.DB with its .MB) with the fields of def. Each record holds one value per
// field, in field order: a number for the auto-increment field, text for
// text and memo fields, a logical for booleans, or nothing for NULL.
void writeOldWorkingTable(const QString &path, const TableDef &def, const std::vector<std::vector<PxValue>> &records);

} // namespace korvex::fixture
