#pragma once

#include "platform/AtomicFileWriter.h"

#include <QString>

#include <array>
#include <vector>

namespace korvex {

// The interchange file: 43 lines per vehicle in Windows-1250 with CR LF,
// the 42 values of the vehicle and a separator of 70 "-". Other tools read
// this layout; it does not change. Its place beside the executable is
// ModuleFile::InterchangeFile.

// Line numbers of a record, counted from 1, for the writer and the reader.
enum class InterchangeLine : int {
    VehicleNumber = 1, Alias, Category, Make, Model, Type, ColourXml, Colour, CountryXml, Country,
    FuelXml, Fuel, MileageUnit, Mileage, MadeYmd, MadeDisplay, FirstOwner, ServiceBook, Lpg, Metallic,
    InspectionYmd, InspectionDisplay, ConditionCode, ConditionText, Price, Currency, Note, EquipmentKeys,
    EquipmentLabels, EquipmentOther, Photos, Power, Capacity, Payload, Body, Doors, Reserve, WithoutVat,
    DownPayment, Instalment, Instalments, NotDamaged, Separator,
};
constexpr int kInterchangeValues = int(InterchangeLine::NotDamaged);
constexpr int kInterchangeLines = int(InterchangeLine::Separator);
const QString &InterchangeSeparator();

// Line n of the record is value n-1.
using InterchangeRecord = std::array<QString, kInterchangeValues>;

constexpr size_t ValueIndex(InterchangeLine line)
{
    return size_t(line) - 1;
}

// Writes the file record by record into a temporary file beside it, which
// replaces the file only on commit(), so that a failed extraction never
// leaves a half-written file behind.
class InterchangeWriter
{
public:
    // Throws ModuleError naming the file when it cannot be written.
    explicit InterchangeWriter(const QString &path);

    // Keeps the record as the file holds it: every line break inside a value
    // a blank, every character outside the code page "?".
    void add(InterchangeRecord record);
    int count() const { return int(m_records.size()); }
    // Replaces the file; throws ModuleError naming it on failure.
    void commit();
    // The records added, as a reader of the file sees them.
    std::vector<InterchangeRecord> takeRecords() { return std::move(m_records); }

private:
    void writeChunk();

    AtomicFileWriter m_file;
    QByteArray m_chunk;
    std::vector<InterchangeRecord> m_records;
};

// Reads and checks the whole file: every record must be 43 lines ending in
// the separator. Throws ModuleError naming the file and the line otherwise.
std::vector<InterchangeRecord> ReadInterchangeFile(const QString &path);

} // namespace korvex
