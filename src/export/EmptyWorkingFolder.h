#pragma once

#include <QString>

namespace korvex {

// The first step of a send: deletes the files the previous send left in the
// working folder. Only the module's own folder is emptied: a folder that is a
// symbolic link throws ModuleError naming it, and links inside the folder are
// removed as links, never followed. Hidden files and subfolders stay; a file
// that cannot be deleted stays without a word.
void EmptyWorkingFolder(const QString &workingFolder);

} // namespace korvex
