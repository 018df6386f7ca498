#pragma once

#include "export/VehicleChecks.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace korvex {

class ChangedPhotos;
class Dataset;

struct OfferListSettings
{
    QString executableFolder;   // where "Obr_FTP_List.txt" lies
    QString workingFolder;      // Korvex_zip: "Data.xml" and the staged pictures
    bool onlyFirstPhoto = false;
    // Off for a preview, which must leave the working table as it is.
    bool clearResendFlags = true;
    // Null: a retaken photo the portal lists is not sent again.
    ChangedPhotos *changedPhotos = nullptr;
    // Off: every picture is copied, none linked.
    bool linkPhotos = true;
    // Off: the marked vehicles are not checked (only the offer list is wanted).
    bool checkVehicles = true;
};

// One offer of the written document: the vehicle and where its block, from
// "    <offer>" to the line break after "    </offer>", lies in the bytes.
struct OfferBlock
{
    QString cj;
    QString make;       // ZNACKA
    qsizetype begin = 0;
    qsizetype length = 0;
};

// Writes "Data.xml" with one offer per marked vehicle in query order, stages
// each vehicle's pictures and empties its REZERVA4; checks each one, which
// changes nothing that is written. Throws ModuleError naming
// the file when it cannot be written.
struct OfferListResult
{
    int offers = 0;
    int pictures = 0; // staged in the working folder
    QByteArray document;        // the bytes of "Data.xml"
    QList<OfferBlock> blocks;   // in document order
    QStringList copiedPictures; // names in the working folder, sorted
    QStringList changedPictures; // staged only because retaken since sent, sorted
    QHash<QString, QString> namedPhotos; // every picture named, with its photo file
    QList<VehicleCheck> checks;           // the marked vehicles with a problem, in order
    QList<VehicleProblem> problemKinds;   // each kind found, in the order of the enum
};
OfferListResult WriteOfferList(Dataset &query, const OfferListSettings &settings);

} // namespace korvex
