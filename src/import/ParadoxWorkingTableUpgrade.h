#pragma once

#include <QString>

namespace korvex {

// Earlier installations kept "Nesta.DB" as a Paradox table with the same 60
// fields. When file is such a table, it is converted once into the SQLite
// working table in its place, every record field by field; the old file is
// kept beside it as "Nesta.DB.paradox". Returns false, touching nothing, when
// file is no Paradox table (the usual open then reports it). A conversion
// that fails leaves the old file as it was and throws ModuleError naming it.
bool UpgradeParadoxWorkingTable(const QString &file);

} // namespace korvex
