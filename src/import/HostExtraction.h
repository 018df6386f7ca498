#pragma once

#include "import/InterchangeFile.h"

#include <QString>

#include <functional>

namespace korvex {

class DatabaseSession;

// What the host extraction needs from the module around it.
struct ExtractionSettings
{
    QString executableFolder;   // route files are read and the interchange file written here
    QString hostRoot;           // HostRoot, for the reservations marker
    bool onlyWithPhotos = false;
    bool onlyWithPrice = false;
    // Told the window caption while overview records are examined, each
    // time it changes.
    std::function<void(const QString &caption)> progress;
};

// The caption shown while vehicles are read.
QString ExtractionCaption(int taken);

// HostDataRoot from "Route.ddd" in the executable folder; empty without it.
QString ReadHostDataRoot(const QString &executableFolder);

// "DPHZaklSaz" of section "DPH" in HostDataRoot + "Data\INI\parametry.ini";
// 19 when the file, section or key is missing or not a whole number.
int ReadVatRate(const QString &hostDataRoot);

// Told each vehicle taken as the rewritten file holds it (its value lines,
// see InterchangeWriter::add), while the extraction goes on; the bytes are
// valid during the call only.
using TakenRecord = std::function<void(QByteArrayView record)>;

// Reads the offered vehicles of the switched-on branches out of the host
// tables and rewrites the interchange file in the executable folder. Returns
// the number of vehicles taken. Database and file errors, and a missing route
// list "Route_Seznam_Zobraz.ddd", end it with ModuleError; the old
// interchange file then stays as it was. An error thrown by taken ends it
// the same way.
int ExtractHostVehicles(const DatabaseSession &session, const ExtractionSettings &settings,
                        const TakenRecord &taken = {});

} // namespace korvex
