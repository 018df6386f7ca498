#pragma once

#include <QByteArray>
#include <QString>

namespace korvex {

class Dataset;

// An element text of the offer list: "-" alone becomes empty, the five XML
// entities are written, characters XML 1.0 forbids are dropped (CR and LF
// become a blank) and the result is UTF-8.
QByteArray EncodeXmlValue(const QString &value);

struct OfferListSettings
{
    QString executableFolder;   // where "Obr_FTP_List.txt" lies
    QString workingFolder;      // Korvex_zip: "Data.xml" and the staged pictures
    bool onlyFirstPhoto = false;
};

// Writes "Data.xml" with one offer per marked vehicle in query order, stages
// each vehicle's pictures and empties its REZERVA4. Throws ModuleError naming
// the file when it cannot be written.
struct OfferListResult
{
    int offers = 0;
    int pictures = 0; // copied into the working folder
};
OfferListResult WriteOfferList(Dataset &query, const OfferListSettings &settings);

} // namespace korvex
