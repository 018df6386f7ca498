#pragma once

#include "ParadoxWriter.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace korvex::fixture {

// A keyed table as written, the input of the index files beside it.
struct PxIndexSource
{
    QString tablePath; // the .DB file
    std::vector<PxColumn> columns;
    std::vector<QByteArray> records; // in stored (key) order
    int keyFields = 1;
    int blockSizeCode = 1; // data block size in KiB, as in the table's header
    int version = 0x0C;
};

// The primary index (.PX): one entry per data block of the table, holding
// the key of the block's first record, the block number and its record
// count, on one index level.
void writePrimaryIndex(const PxIndexSource &table);

// A secondary index on one field (0-based): the .Xnn file, a table of the
// field and the key sorted by the field, and its own index, the .Ynn file.
void writeSecondaryIndex(const PxIndexSource &table, int field);

} // namespace korvex::fixture
