#pragma once

#include "platform/ParadoxTable.h"

#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace korvex {

class DatabaseSession;

// A host table opened through an alias, read only, with a cursor. With a
// named index ("Index_CIS_ZAK" is the index on CIS_ZAK) the cursor walks the
// records in order of the index field and finds keys by exact look-up; the
// index is built in memory once: its order when the table opens, its keys on
// the first look-up.
class HostTable
{
public:
    explicit HostTable(const DatabaseSession &session);

    // Throws ModuleError for an unknown alias, a missing or damaged table, or
    // an index whose field the table lacks.
    void open(const QString &alias, const QString &fileName, const QString &indexName = QString());
    // A closed table keeps its memory for the next open of the object: the
    // tables of one kind in the data folders are read into it in turn.
    void close();
    bool isOpen() const { return m_table.has_value(); }

    int recordCount() const;
    void first();
    void next();
    bool eof() const;

    // Exact look-up on the index field; on success the cursor stands on the
    // first record with that key in index order.
    bool findKey(const QString &key);

    // -1 when the table has no such field (names ignore case).
    int fieldIndex(QStringView name) const;
    // Throws ModuleError naming table and field when the table lacks it.
    int requireField(QStringView name) const;

    // The current record's field; throws ModuleError naming table and field
    // when the table lacks it.
    QString text(QStringView field) const;
    QString text(int field) const;
    bool boolean(QStringView field) const;
    bool boolean(int field) const;

    const ParadoxTable &table() const { return *m_table; }

private:
    int currentRecord() const;

    const DatabaseSession &m_session;
    std::optional<ParadoxTable> m_table;
    ParadoxTable::Room m_room;
    std::vector<int> m_order;     // records in cursor order
    int m_keyField = -1;          // the index field; -1 without an index
    QHash<QString, int> m_keys;   // key text -> position in m_order, made on first look-up
    int m_position = 0;
};

} // namespace korvex
