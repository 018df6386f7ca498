#pragma once

// The least an import into a new working table can cost besides reading the
// host: the rows a finished import stored, inserted again with SQLite alone
// (one prepared statement, one transaction, values bound as they are
// stored) into a new table of the same definition, and the interchange
// file's bytes written again through a save file. No translation, no photo
// look-up, no encoding or decoding is in it.

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace korvex::bench {

class ImportFloor
{
public:
    // Takes the rows of the table in workingTable and the bytes of
    // interchangeFile; writes its copies into scratchFolder.
    ImportFloor(const QString &workingTable, const QString &interchangeFile, const QString &scratchFolder)
        : m_database(scratchFolder + QStringLiteral("/floor.db"))
        , m_file(scratchFolder + QStringLiteral("/floor.txt"))
    {
        const auto source = open(workingTable);
        const auto schema = prepare(source.get(), "SELECT name, sql FROM sqlite_master WHERE type = 'table' "
                                                  "AND name NOT LIKE 'sqlite%'");
        if (sqlite3_step(schema.get()) != SQLITE_ROW)
            fail(source.get());
        const std::string table = text(schema.get(), 0);
        // The page size and the cache of the working table's own connection.
        m_schema = "PRAGMA page_size = 16384; PRAGMA cache_size = -65536; " + text(schema.get(), 1);
        const auto rows = prepare(source.get(), ("SELECT * FROM \"" + table + "\" ORDER BY rowid").c_str());
        const int columns = sqlite3_column_count(rows.get());
        int rc;
        while ((rc = sqlite3_step(rows.get())) == SQLITE_ROW) {
            auto &row = m_rows.emplace_back();
            for (int c = 0; c < columns; ++c)
                switch (sqlite3_column_type(rows.get(), c)) {
                case SQLITE_NULL:
                    row.emplace_back(std::monostate{});
                    break;
                case SQLITE_INTEGER:
                    row.emplace_back(static_cast<long long>(sqlite3_column_int64(rows.get(), c)));
                    break;
                default:
                    row.emplace_back(text(rows.get(), c));
                }
        }
        // A read that stops early would leave a floor of fewer rows.
        if (rc != SQLITE_DONE)
            fail(source.get());
        m_insert = "INSERT INTO \"" + table + "\" VALUES (";
        for (int c = 0; c < columns; ++c)
            m_insert += c == 0 ? "?" : ", ?";
        m_insert += ")";
        QFile file(interchangeFile);
        if (!file.open(QIODevice::ReadOnly))
            fail(interchangeFile);
        m_bytes = file.readAll();
    }

    void operator()() const
    {
        QFile::remove(m_database);
        const auto db = open(m_database);
        exec(db.get(), m_schema.c_str());
        exec(db.get(), "BEGIN");
        const auto insert = prepare(db.get(), m_insert.c_str());
        for (const auto &row : m_rows) {
            for (int c = 0; c < int(row.size()); ++c) {
                const auto &value = row[size_t(c)];
                if (const auto *number = std::get_if<long long>(&value))
                    sqlite3_bind_int64(insert.get(), c + 1, *number);
                else if (const auto *chars = std::get_if<std::string>(&value))
                    sqlite3_bind_text(insert.get(), c + 1, chars->data(), int(chars->size()), SQLITE_STATIC);
                else
                    sqlite3_bind_null(insert.get(), c + 1);
            }
            if (sqlite3_step(insert.get()) != SQLITE_DONE)
                fail(db.get());
            sqlite3_reset(insert.get());
        }
        exec(db.get(), "COMMIT");
        QSaveFile file(m_file);
        if (!file.open(QIODevice::WriteOnly) || file.write(m_bytes) != m_bytes.size() || !file.commit())
            fail(m_file);
    }

private:
    struct CloseDatabase
    {
        void operator()(sqlite3 *db) const { sqlite3_close(db); }
    };
    struct Finalize
    {
        void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
    };
    using Database = std::unique_ptr<sqlite3, CloseDatabase>;
    using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;

    [[noreturn]] static void fail(sqlite3 *db)
    {
        std::fprintf(stderr, "import floor: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    [[noreturn]] static void fail(const QString &path)
    {
        std::fprintf(stderr, "import floor: cannot use %s\n", qPrintable(path));
        std::exit(1);
    }
    static Database open(const QString &path)
    {
        sqlite3 *db = nullptr;
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
        Database owned(db);
        if (rc != SQLITE_OK)
            fail(db);
        return owned;
    }
    static Statement prepare(sqlite3 *db, const char *sql)
    {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
            fail(db);
        return Statement(statement);
    }
    static void exec(sqlite3 *db, const char *sql)
    {
        if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(db);
    }
    static std::string text(sqlite3_stmt *statement, int column)
    {
        const auto *chars = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
        return std::string(chars ? chars : "", size_t(sqlite3_column_bytes(statement, column)));
    }

    QString m_database;
    QString m_file;
    std::string m_schema;
    std::string m_insert;
    std::vector<std::vector<std::variant<std::monostate, long long, std::string>>> m_rows;
    QByteArray m_bytes;
};

} // namespace korvex::bench
