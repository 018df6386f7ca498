#pragma once

#include "platform/FieldDef.h"
#include "platform/PackedRow.h"

#include <QString>

#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace korvex {

// A working table kept in an SQLite file: one table whose columns carry the
// field names; the auto-increment field is the row id. Text is UTF-8,
// booleans 0, 1 or NULL, empty text is NULL.
class SqliteStore
{
public:
    // Creates the file with the table, replacing any existing file. The new
    // file is built beside the old one and renamed over it.
    static void create(const QString &path, const TableDef &def);

    // Opens an existing file and checks that it holds every field with its
    // kind. Throws ModuleError naming the file or the field.
    SqliteStore(const QString &path, const TableDef &def);
    ~SqliteStore();
    SqliteStore(const SqliteStore &) = delete;
    SqliteStore &operator=(const SqliteStore &) = delete;

    std::vector<PackedRow> loadAll(); // in key order

    qint64 insert(const PackedRow &values); // returns the key the table gave
    // Inserts under the row's own key (records moved from another table keep
    // their numbers); later inserts continue above the highest.
    void insertWithKey(const PackedRow &values);
    void update(const PackedRow &values); // the record of the row's key
    void remove(qint64 key);

    void begin();
    void commit();
    void rollback();
    bool inTransaction() const;

private:
    [[noreturn]] void fail(const QString &what) const;
    void exec(const char *sql);
    sqlite3_stmt *prepare(const QString &sql) const;
    void bindRow(sqlite3_stmt *stmt, const PackedRow &values);
    void validate();

    QString m_path;
    const TableDef m_def;
    int m_keyField = -1;
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_insert = nullptr;
    sqlite3_stmt *m_insertWithKey = nullptr; // prepared on first use
    sqlite3_stmt *m_update = nullptr;
    sqlite3_stmt *m_delete = nullptr;
};

} // namespace korvex
