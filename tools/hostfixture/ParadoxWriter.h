#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <memory>
#include <variant>
#include <vector>

struct px_doc;

namespace korvex::fixture {

// One column of a table written by ParadoxWriter. type is a Paradox field
// type code (ParadoxFormat.h); size is the width for alpha and bytes fields,
// the in-record part plus 10 for memos and BLObs, and 17 for BCD fields,
// whose digits after the point are in decimals.
struct PxColumn
{
    QByteArray name;
    int type = 0;
    int size = 0;
    int decimals = 0;
};

// A field value: nothing (NULL), text (written as Windows-1250 bytes;
// for BCD fields a decimal number with a point), a whole number (short,
// long, autoincrement), a floating-point number, a logical, a date, a time,
// a timestamp, or bytes (bytes fields and BLObs).
using PxValue = std::variant<std::monostate, QString, qint64, double, bool, QDate, QTime, QDateTime, QByteArray>;

// How the table looks beside its records: the header's code page, the key
// and the index files the host's database engine keeps next to its tables.
struct PxTableOptions
{
    int codePage = 1250;
    // The leading fields that form the primary key. With one or more the
    // table is keyed: records are stored in key order and a primary index
    // (.PX) is written beside it.
    int keyFields = 0;
    // Fields (0-based) with a secondary index (.Xnn and .Ynn, nn the field
    // number in hexadecimal); needs a key.
    std::vector<int> secondaryIndexes;
};

// Writes a Paradox table (.DB, and .MB when it has memos or BLObs) with
// pxlib, file version 0x0C, and fills the header fields pxlib leaves at zero
// as the engine does. Test fixtures only: the module never writes host tables.
class ParadoxWriter
{
public:
    ParadoxWriter(const QString &path, std::vector<PxColumn> columns, PxTableOptions options = {});
    ~ParadoxWriter();
    ParadoxWriter(const ParadoxWriter &) = delete;
    ParadoxWriter &operator=(const ParadoxWriter &) = delete;

    void addRecord(const std::vector<PxValue> &values);
    // Writes the records and the index files; the destructor does it too.
    void close();

private:
    void encode(const PxColumn &column, const PxValue &value, char *field);

    px_doc *m_doc = nullptr;
    std::vector<PxColumn> m_columns;
    PxTableOptions m_options;
    int m_recordSize = 0;
    std::vector<QByteArray> m_records;
    qint64 m_lastAutoInc = 0;
    QString m_path;
};

} // namespace korvex::fixture
