#pragma once

#include "platform/FieldDef.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace korvex {

using Row = QList<QVariant>; // one value per field of the TableDef, in field order

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

    struct StoredRow
    {
        qint64 key;
        Row values;
    };
    std::vector<StoredRow> loadAll() const; // in key order

    qint64 insert(const Row &values); // returns the key the table gave
    // Inserts under a key given by the caller (records moved from another
    // table keep their numbers); later inserts continue above the highest.
    void insertWithKey(qint64 key, const Row &values);
    void update(qint64 key, const Row &values);
    void remove(qint64 key);

    void begin();
    void commit();
    void rollback();
    bool inTransaction() const;

private:
    [[noreturn]] void fail(const QString &what) const;
    void exec(const char *sql);
    sqlite3_stmt *prepare(const QString &sql) const;
    void bindRow(sqlite3_stmt *stmt, const Row &values);
    void validate();

    QString m_path;
    const TableDef m_def;
    int m_keyField = -1;
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_insert = nullptr;
    sqlite3_stmt *m_insertWithKey = nullptr; // prepared on first use
    sqlite3_stmt *m_update = nullptr;
    sqlite3_stmt *m_delete = nullptr;
    std::vector<QByteArray> m_scratch;
};

} // namespace korvex
