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

// Records as the file holds them, each in its own bytes (its value lines
// with their line ends, in the code page), decoded again when they are used:
// a file then takes its own size in memory rather than several times that in
// strings.
class InterchangeRecords
{
public:
    size_t size() const { return m_records.size(); }
    // The bytes of a record: kInterchangeValues lines, each ending in CR LF.
    void append(QByteArray record) { m_records.push_back(std::move(record)); }
    const QByteArray &bytes(size_t record) const { return m_records[record]; }
    InterchangeRecord at(size_t record) const;

private:
    std::vector<QByteArray> m_records;
};

// The values of one record decoded into one string and seen through views
// of it; the string is reused from record to record.
class InterchangeValues
{
public:
    void decode(QByteArrayView record);
    QStringView operator[](InterchangeLine line) const
    {
        const size_t n = ValueIndex(line);
        return QStringView(m_text).sliced(m_start[n], m_start[n + 1] - m_start[n] - 2);
    }

private:
    QString m_text;
    std::array<qsizetype, kInterchangeValues + 1> m_start{};
};

// Writes the file record by record into a temporary file beside it, which
// replaces the file only on commit(), so that a failed extraction never
// leaves a half-written file behind.
class InterchangeWriter
{
public:
    // Throws ModuleError naming the file when it cannot be written.
    explicit InterchangeWriter(const QString &path);

    // Writes the record as the file holds it: every line break inside a value
    // a blank, every character outside the code page "?". Gives its value
    // lines as a reader of the file sees them, valid until the next call.
    QByteArrayView add(const InterchangeRecord &record);
    int count() const { return m_count; }
    // Replaces the file; throws ModuleError naming it on failure.
    void commit();

private:
    void writeChunk();

    AtomicFileWriter m_file;
    QByteArray m_chunk;
    int m_count = 0;
};

// Reads and checks the whole file: every record must be 43 lines ending in
// the separator. Throws ModuleError naming the file and the line otherwise.
InterchangeRecords ReadInterchangeFile(const QString &path);

} // namespace korvex
