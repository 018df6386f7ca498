#pragma once

#include <QByteArray>
#include <QString>

namespace korvex::fuzz {

// What the module does with untrusted bytes, one entry point per reader.
// Each returns the error text the input ended with, empty when it was read;
// anything but a ModuleError (a crash, a sanitizer report) is a fault.

// A host data file, optionally followed by "MEMOFILE" and its memo file.
QString Paradox(const QByteArray &input);
// A ZIP archive's directory.
QString ZipDirectory(const QByteArray &input);
// "ASCII_Nesta.TXT".
QString Interchange(const QByteArray &input);
// The gateway's listing reply, saved and turned into the picture list.
QString ListingReply(const QByteArray &input);
// The same bytes as "Korvex.ddd", "Patrani.ddd", "Rezim_Pr.ddd" and
// "Pelanto_dod.ddd".
QString SettingsFiles(const QByteArray &input);

// The folder the file-based readers work in; it lives as long as the process.
QString scratchFolder();

} // namespace korvex::fuzz
