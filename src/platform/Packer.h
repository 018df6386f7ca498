#pragma once

#include <QString>

namespace korvex {

// Packs a folder into an archive; the send workflow talks to the archiver
// through this seam (the application wires in the archiver component).
class Packer
{
public:
    virtual ~Packer() = default;

    // Replaces the archive with one holding every file of the folder.
    // Throws ModuleError on failure.
    virtual void packFolder(const QString &archivePath, const QString &folder) = 0;

    // The last run was cancelled by the user; the archive then holds what it
    // held before.
    virtual bool lastRunCancelled() const = 0;
};

} // namespace korvex
