#pragma once

#include <QString>

namespace korvex {

// Where the module finds its folders. All folders end in a separator so that
// file names can be appended the way the module documents them.
namespace ModuleFolders {

// The folder of the running executable; the module's own files live there.
// Needs a Qt application object.
QString executableFolder();

// Root of the host's WWW_Export folder: the executable folder without a final
// "PRG" component, or empty (paths then are relative to the current folder).
QString hostRoot(const QString &executableFolder);

// Folder of the list's photo icon: HostRoot + "WWW_Export\Data\Setting\",
// or the executable folder when that holds "Foto.bmp".
QString settingsFolder(const QString &executableFolder, const QString &hostRoot);

// The working folder the send fills and packs.
QString workingFolder(const QString &executableFolder);

} // namespace ModuleFolders
} // namespace korvex
