#pragma once

#include <QString>

namespace korvex {

// The module's own files; the comment says which folder each lies in.
enum class ModuleFile {
    OfferList,         // "Data.xml", in a working folder (the send's or a preview's own)
    Archive,           // "data.zip", in a working folder
    Reply,             // "Response.htm", in a working folder: the gateway's answer to the upload
    PortalListing,     // "Korvex_Foto.txt", beside the executable: the gateway's picture listing
    PortalPictureList, // "Obr_FTP_List.txt", beside the executable: the names taken from the listing
    InterchangeFile,   // "ASCII_Nesta.TXT", beside the executable
    SettingsFile,      // "Korvex.ddd", beside the executable
    SendLog,           // "Korvex_log.txt", beside the executable
    SendHistory,       // "Korvex_historie.db", beside the executable
    GuardSettings,     // "Korvex_ochrana.ddd", beside the executable
    ClockReference,    // "Datum_new.txt", beside the executable: the maker's date for the clock check
};

// Where the module finds its folders and its own files. All folders end in a
// separator so that file names can be appended the way the module documents
// them; every file is a native path found through WinPath, so that a file
// that exists in another letter case is the one read and written.
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

// The working folder the send fills and packs: "Korvex_zip\".
QString workingFolder(const QString &executableFolder);

// The native path of one of the module's files in its folder, given with or
// without a trailing separator.
QString path(ModuleFile file, const QString &folder);

} // namespace ModuleFolders
} // namespace korvex
