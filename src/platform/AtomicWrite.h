#pragma once

#include <QByteArray>
#include <QString>

namespace korvex {

// Replaces a file whole: the bytes go to a temporary file beside it, which
// is renamed over the file only once all of them are on disk, so a failed
// write leaves the old file as it was. The path is Windows-style and goes
// through WinPath. Throws ModuleError naming the file as given, with the
// reason in Czech. With ownerOnly the new file is readable and writable by
// its owner alone.
void WriteFileAtomically(const QString &path, const QByteArray &bytes, bool ownerOnly = false);

} // namespace korvex
