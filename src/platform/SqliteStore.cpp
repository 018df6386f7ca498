#include "platform/SqliteStore.h"

#include "platform/ModuleError.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

QString columnType(const FieldDef &f)
{
    switch (f.kind) {
    case FieldKind::AutoInc:
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case FieldKind::Text:
        return QStringLiteral("VARCHAR(%1)").arg(f.width);
    case FieldKind::Memo:
        return QStringLiteral("TEXT");
    case FieldKind::Boolean:
        return QStringLiteral("BOOLEAN");
    }
    return QString();
}

// The kind a declared column type stands for; the width of a text column
// does not matter.
std::optional<FieldKind> kindOfColumn(const QString &declared)
{
    const QString t = declared.toUpper();
    if (t.startsWith(u"VARCHAR"))
        return FieldKind::Text;
    if (t == u"TEXT")
        return FieldKind::Memo;
    if (t == u"BOOLEAN")
        return FieldKind::Boolean;
    if (t == u"INTEGER")
        return FieldKind::AutoInc;
    return std::nullopt;
}

int keyFieldOf(const TableDef &def)
{
    for (size_t i = 0; i < def.fields.size(); ++i)
        if (def.fields[i].kind == FieldKind::AutoInc)
            return int(i);
    return -1;
}

QString quoted(const QString &name)
{
    return u'"' + name + u'"';
}

// A transaction over every vehicle touches every page of the table; with
// the default cache of 2 MB the pages it spills would be read again, and an
// import would grow faster than the table.
constexpr const char *kWorkingCache = "PRAGMA cache_size = -65536";
// Reading the table once from start to end needs no page twice: a small
// cache spares the memory of a copy of the whole file.
constexpr const char *kScanCache = "PRAGMA cache_size = -1024";

QString errorText(sqlite3 *db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("nedostatek paměti");
}

} // namespace

void SqliteStore::create(const QString &path, const TableDef &def)
{
    const QString temp = path + u".new"_s;
    QFile::remove(temp);
    QStringList columns;
    for (const FieldDef &f : def.fields)
        columns.append(quoted(f.name) + u' ' + columnType(f));
    // A record of a vehicle takes about a kilobyte; pages of 16 KB make a
    // table of thousands a quarter of the reads and writes of the default.
    const QByteArray sql = QStringLiteral("PRAGMA page_size = 16384; CREATE TABLE %1 (%2)")
                               .arg(quoted(def.name), columns.join(u", "))
                               .toUtf8();

    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(temp).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    const QString error = rc == SQLITE_OK ? QString() : errorText(db);
    sqlite3_close(db);
    if (rc != SQLITE_OK) {
        QFile::remove(temp);
        throw ModuleError(QStringLiteral("Pracovní tabulku \"%1\" nelze vytvořit: %2").arg(path, error));
    }
    // A journal left by the old file would be played back into the new one.
    QFile::remove(path + u"-journal"_s);
    QFile::remove(path + u"-wal"_s);
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temp);
        throw ModuleError(QStringLiteral("Pracovní tabulku \"%1\" nelze vytvořit: soubor nelze nahradit").arg(path));
    }
}

SqliteStore::SqliteStore(const QString &path, const TableDef &def)
    : m_path(path)
    , m_def(def)
    , m_keyField(keyFieldOf(def))
{
    if (m_keyField < 0)
        fail(QStringLiteral("tabulka nemá pole s automatickým číslováním"));
    if (!QFileInfo::exists(path))
        throw ModuleError(QStringLiteral("Pracovní tabulka \"%1\" neexistuje").arg(path));
    // The connection is used by one thread only; it needs no lock of its own
    // around each of the hundreds of thousands of calls a load makes.
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr)
        != SQLITE_OK) {
        const QString error = errorText(m_db);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw ModuleError(QStringLiteral("Pracovní tabulku \"%1\" nelze otevřít: %2").arg(path, error));
    }
    try {
        exec(kWorkingCache);
        validate();
        QStringList names, marks, sets;
        for (size_t i = 0; i < def.fields.size(); ++i) {
            if (int(i) == m_keyField)
                continue;
            names.append(quoted(def.fields[i].name));
            marks.append(QStringLiteral("?%1").arg(i + 1));
            sets.append(quoted(def.fields[i].name) + QStringLiteral(" = ?%1").arg(i + 1));
        }
        const QString table = quoted(def.name);
        const QString key = quoted(def.fields[size_t(m_keyField)].name);
        m_insert = prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, names.join(u", "), marks.join(u", ")));
        m_update = prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?%4").arg(table, sets.join(u", "), key).arg(m_keyField + 1));
        m_delete = prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?1").arg(table, key));
    } catch (...) {
        sqlite3_finalize(m_insert);
        sqlite3_finalize(m_update);
        sqlite3_close(m_db);
        throw;
    }
}

SqliteStore::~SqliteStore()
{
    sqlite3_finalize(m_insert);
    sqlite3_finalize(m_insertWithKey);
    sqlite3_finalize(m_update);
    sqlite3_finalize(m_delete);
    if (inTransaction())
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(m_db);
}

void SqliteStore::fail(const QString &what) const
{
    throw ModuleError(QStringLiteral("Chyba pracovní tabulky \"%1\": %2").arg(m_path, what));
}

void SqliteStore::validate()
{
    sqlite3_stmt *stmt = nullptr;
    const QByteArray sql = QStringLiteral("PRAGMA table_info(%1)").arg(quoted(m_def.name)).toUtf8();
    if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        const int code = sqlite3_errcode(m_db);
        if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT)
            throw ModuleError(QStringLiteral("Soubor \"%1\" není databází pracovní tabulky").arg(m_path));
        fail(errorText(m_db));
    }
    QHash<QString, QString> declared;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const auto *name = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1));
        const auto *type = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 2));
        declared.insert(QString::fromUtf8(name).toUpper(), QString::fromUtf8(type));
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        if (rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT)
            throw ModuleError(QStringLiteral("Soubor \"%1\" není databází pracovní tabulky").arg(m_path));
        fail(errorText(m_db));
    }
    if (declared.isEmpty())
        fail(QStringLiteral("soubor neobsahuje tabulku %1").arg(m_def.name));
    for (const FieldDef &f : m_def.fields) {
        const auto it = declared.constFind(f.name.toUpper());
        if (it == declared.constEnd())
            fail(QStringLiteral("chybí pole %1").arg(f.name));
        if (kindOfColumn(it.value()) != f.kind)
            fail(QStringLiteral("pole %1 má jiný typ (%2)").arg(f.name, it.value()));
    }
}

void SqliteStore::exec(const char *sql)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(errorText(m_db));
}

sqlite3_stmt *SqliteStore::prepare(const QString &sql) const
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
        fail(errorText(m_db));
    return stmt;
}

std::vector<PackedRow> SqliteStore::loadAll()
{
    exec(kScanCache);
    struct WorkingCache
    {
        sqlite3 *db;
        ~WorkingCache() { sqlite3_exec(db, kWorkingCache, nullptr, nullptr, nullptr); }
    } restored{m_db};

    QStringList names;
    for (const FieldDef &f : m_def.fields)
        names.append(quoted(f.name));
    sqlite3_stmt *stmt = prepare(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                                     .arg(names.join(u", "), quoted(m_def.name), quoted(m_def.fields[size_t(m_keyField)].name)));
    std::vector<PackedRow> rows;
    const int count = int(m_def.fields.size());
    int rc;
    // The rows are kept together, one after another, for as long as the
    // table is open.
    PackedRow::Arena arena;
    PackedRow::Builder row(count, &arena);
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int i = 0; i < count; ++i) {
            const FieldKind kind = m_def.fields[size_t(i)].kind;
            if (kind == FieldKind::AutoInc) {
                row.appendNull();
            } else if (kind == FieldKind::Boolean) {
                if (sqlite3_column_type(stmt, i) == SQLITE_NULL)
                    row.appendNull();
                else
                    row.appendBoolean(sqlite3_column_int(stmt, i) != 0);
            } else {
                // A NULL has no text; an empty text reads as null anyway.
                const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
                row.appendUtf8(text ? QByteArrayView(text, sqlite3_column_bytes(stmt, i)) : QByteArrayView());
            }
        }
        rows.push_back(row.take());
        rows.back().setKey(sqlite3_column_int64(stmt, m_keyField));
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        fail(errorText(m_db));
    return rows;
}

void SqliteStore::bindRow(sqlite3_stmt *stmt, const PackedRow &values)
{
    sqlite3_reset(stmt);
    // Every slot is bound anew, straight from the row, which outlives the
    // statement's run; SQLite need not copy the texts.
    for (size_t i = 0; i < m_def.fields.size(); ++i) {
        if (int(i) == m_keyField)
            continue;
        const QByteArrayView text = values.utf8(int(i));
        const int slot = int(i) + 1;
        if (text.isEmpty())
            sqlite3_bind_null(stmt, slot);
        else if (m_def.fields[i].kind == FieldKind::Boolean)
            sqlite3_bind_int(stmt, slot, text.front() == '1' ? 1 : 0);
        else
            sqlite3_bind_text(stmt, slot, text.data(), int(text.size()), SQLITE_STATIC);
    }
}

qint64 SqliteStore::insert(const PackedRow &values)
{
    bindRow(m_insert, values);
    if (sqlite3_step(m_insert) != SQLITE_DONE)
        fail(errorText(m_db));
    return sqlite3_last_insert_rowid(m_db);
}

void SqliteStore::insertWithKey(const PackedRow &values)
{
    if (!m_insertWithKey) {
        QStringList names, marks;
        for (size_t i = 0; i < m_def.fields.size(); ++i) {
            names.append(quoted(m_def.fields[i].name));
            marks.append(QStringLiteral("?%1").arg(i + 1));
        }
        m_insertWithKey = prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(quoted(m_def.name), names.join(u", "), marks.join(u", ")));
    }
    bindRow(m_insertWithKey, values);
    sqlite3_bind_int64(m_insertWithKey, m_keyField + 1, values.key());
    if (sqlite3_step(m_insertWithKey) != SQLITE_DONE)
        fail(errorText(m_db));
}

void SqliteStore::update(const PackedRow &values)
{
    bindRow(m_update, values);
    sqlite3_bind_int64(m_update, m_keyField + 1, values.key());
    if (sqlite3_step(m_update) != SQLITE_DONE)
        fail(errorText(m_db));
}

void SqliteStore::remove(qint64 key)
{
    sqlite3_reset(m_delete);
    sqlite3_bind_int64(m_delete, 1, key);
    if (sqlite3_step(m_delete) != SQLITE_DONE)
        fail(errorText(m_db));
}

void SqliteStore::begin()
{
    exec("BEGIN IMMEDIATE");
}

void SqliteStore::commit()
{
    exec("COMMIT");
}

void SqliteStore::rollback()
{
    exec("ROLLBACK");
}

bool SqliteStore::inTransaction() const
{
    return m_db && !sqlite3_get_autocommit(m_db);
}

} // namespace korvex
