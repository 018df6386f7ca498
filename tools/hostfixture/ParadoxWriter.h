#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <memory>
#include <variant>
#include <vector>

struct px_doc;

namespace korvex::fixture {

// One column of a table written by ParadoxWriter. type is a Paradox field
// type code (ParadoxFormat.h); size is the width for alpha fields and the
// in-record part plus 10 for memos.
struct PxColumn
{
    QByteArray name;
    int type = 0;
    int size = 0;
};

// A field value: nothing (NULL), text (written as Windows-1250), a whole
// number, a floating-point number, a logical or a date.
using PxValue = std::variant<std::monostate, QString, qint64, double, bool, QDate>;

// Writes a Paradox table (.DB, and .MB when it has memos) with pxlib, code
// page 1250. Test fixtures only: the module itself never writes host tables.
class ParadoxWriter
{
public:
    ParadoxWriter(const QString &path, std::vector<PxColumn> columns);
    ~ParadoxWriter();
    ParadoxWriter(const ParadoxWriter &) = delete;
    ParadoxWriter &operator=(const ParadoxWriter &) = delete;

    void addRecord(const std::vector<PxValue> &values);
    void close();

private:
    px_doc *m_doc = nullptr;
    std::vector<PxColumn> m_columns;
    int m_recordSize = 0;
    QString m_path;
};

} // namespace korvex::fixture
