#pragma once

#include <QStringList>

namespace korvex {

// "Korvex_Export --nahled [--json]": the send's preview without a window.
// Prints the preview to standard output and returns 0, or prints the
// error to standard error and returns 1. Needs a core application object.
int RunPreviewCommand(const QString &executableFolder, const QStringList &options);

} // namespace korvex
