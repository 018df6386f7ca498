#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

namespace korvex {

// The progress of a packing run, in the steps the archiver reports: a batch
// begins (its file count and bytes), each file begins, its bytes are done,
// it ends with a result code, the batch ends.
struct ZipProgress
{
    std::function<void(int files)> batchCount;                      // action 5
    std::function<void(std::int64_t bytes)> batchStart;             // action 6
    std::function<void(const QString &name, std::int64_t size)> fileBegin; // action 1
    std::function<void(std::int64_t bytes)> bytesDone;              // action 2
    std::function<void(int result)> fileDone;                       // action 11
    std::function<void()> batchEnd;                                 // action 3
    // Asked between steps; true stops the run.
    std::function<bool()> cancelled;
};

// Packs every file of the folder whose name matches one of the wildcard
// patterns (the archive itself excluded) into the archive, under its bare
// name, deflated at level 9, without encryption. Entries already in the
// archive stay. Files are compressed on all cores and written in name order.
// The archive is replaced only when the run completes: a cancelled or failed
// run leaves it as it was. Returns the number of files packed (0 when
// cancelled); throws ModuleError naming the file that failed.
int PackFolder(const QString &archivePath, const QString &folder, const QStringList &patterns,
               const ZipProgress &progress = {});

// Whether a file name matches a wildcard pattern the Windows way ("*.*"
// matches every name), without regard to case.
bool MatchesWildcard(const QString &name, const QString &pattern);

} // namespace korvex
