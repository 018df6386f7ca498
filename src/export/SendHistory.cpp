#include "export/SendHistory.h"

#include "platform/ModuleError.h"

#include <QFile>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

// Each entry brings the tables from the version before it to its own
// (PRAGMA user_version counts them).
const char *const kUpgrades[] = {
    "CREATE TABLE odeslani (id INTEGER PRIMARY KEY, cas TEXT NOT NULL, automaticky INTEGER NOT NULL,"
    " nabidek INTEGER NOT NULL, obrazku INTEGER NOT NULL, archiv_bajtu INTEGER NOT NULL,"
    " http_status INTEGER NOT NULL);"
    "CREATE TABLE nabidky (odeslani INTEGER NOT NULL, poradi INTEGER NOT NULL, cj TEXT NOT NULL,"
    " znacka TEXT NOT NULL, otisk TEXT NOT NULL);"
    "CREATE TABLE obrazky (odeslani INTEGER NOT NULL, nazev TEXT NOT NULL, velikost INTEGER NOT NULL,"
    " otisk TEXT NOT NULL);"
    "CREATE INDEX nabidky_odeslani ON nabidky (odeslani);"
    "CREATE INDEX obrazky_odeslani ON obrazky (odeslani);",
};
constexpr int kVersion = int(std::size(kUpgrades));

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// A prepared statement that is finalized however the scope ends.
class Statement
{
public:
    Statement(sqlite3 *db, const char *sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
            m_stmt = nullptr;
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool ok() const { return m_stmt != nullptr; }
    sqlite3_stmt *get() const { return m_stmt; }
    void bind(int n, const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(m_stmt, n, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    void bind(int n, qint64 value) { sqlite3_bind_int64(m_stmt, n, value); }
    QString text(int column) const
    {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column)),
                                 sqlite3_column_bytes(m_stmt, column));
    }
    qint64 integer(int column) const { return sqlite3_column_int64(m_stmt, column); }

private:
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace

SendHistory::SendHistory(const QString &path, Mode mode)
    : m_path(path)
{
    if (mode == Mode::Read && !QFile::exists(path))
        return;
    const int flags = mode == Mode::Read ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        const QString why = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : u"nedostatek paměti"_s;
        sqlite3_close(m_db);
        m_db = nullptr;
        throw ModuleError(u"Historii odeslání \"%1\" nelze otevřít: %2"_s.arg(path, why));
    }
    // Another run of the module may be writing it just now.
    sqlite3_busy_timeout(m_db, 2000);
    try {
        if (mode == Mode::Write)
            upgrade();
        else
            storedVersion();
    } catch (...) {
        sqlite3_close(m_db);
        throw;
    }
}

SendHistory::~SendHistory()
{
    sqlite3_close(m_db);
}

void SendHistory::fail(const QString &what) const
{
    throw ModuleError(u"Historie odeslání \"%1\": %2"_s.arg(m_path, what));
}

void SendHistory::exec(const char *sql)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
}

int SendHistory::storedVersion() const
{
    // A damaged file fails here already, with the database's own reason.
    Statement version(m_db, "PRAGMA user_version");
    if (!version.ok() || sqlite3_step(version.get()) != SQLITE_ROW)
        fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
    const int found = int(version.integer(0));
    if (found > kVersion)
        fail(u"soubor pochází z novější verze modulu"_s);
    return found;
}

void SendHistory::upgrade()
{
    exec("BEGIN IMMEDIATE");
    try {
        const int found = storedVersion();
        for (int v = found; v < kVersion; ++v)
            exec(kUpgrades[v]);
        if (found < kVersion)
            exec(u"PRAGMA user_version = %1"_s.arg(kVersion).toUtf8().constData());
        exec("COMMIT");
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

std::optional<SendRecord> SendHistory::lastSend() const
{
    if (!m_db)
        return std::nullopt;
    Statement send(m_db,
                   "SELECT id, cas, automaticky, archiv_bajtu, http_status FROM odeslani ORDER BY id DESC LIMIT 1");
    if (!send.ok())
        fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
    const int rc = sqlite3_step(send.get());
    if (rc == SQLITE_DONE)
        return std::nullopt;
    if (rc != SQLITE_ROW)
        fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
    SendRecord record;
    const qint64 id = send.integer(0);
    record.when = QDateTime::fromString(send.text(1), kTimeFormat);
    record.automatic = send.integer(2) != 0;
    record.archiveBytes = send.integer(3);
    record.httpStatus = int(send.integer(4));

    Statement offers(m_db, "SELECT cj, znacka, otisk FROM nabidky WHERE odeslani = ? ORDER BY poradi");
    Statement pictures(m_db, "SELECT nazev, velikost, otisk FROM obrazky WHERE odeslani = ? ORDER BY nazev");
    if (!offers.ok() || !pictures.ok())
        fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
    offers.bind(1, id);
    pictures.bind(1, id);
    int step;
    while ((step = sqlite3_step(offers.get())) == SQLITE_ROW)
        record.offers.append({offers.text(0), offers.text(1), offers.text(2)});
    if (step != SQLITE_DONE)
        fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
    while ((step = sqlite3_step(pictures.get())) == SQLITE_ROW)
        record.pictures.append({pictures.text(0), pictures.integer(1), pictures.text(2)});
    if (step != SQLITE_DONE)
        fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
    return record;
}

int SendHistory::sendCount() const
{
    if (!m_db)
        return 0;
    Statement count(m_db, "SELECT count(*) FROM odeslani");
    if (!count.ok() || sqlite3_step(count.get()) != SQLITE_ROW)
        fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
    return int(count.integer(0));
}

void SendHistory::record(const SendRecord &send)
{
    if (!m_db)
        fail(u"soubor je otevřen jen pro čtení"_s);
    exec("BEGIN IMMEDIATE");
    try {
        Statement head(m_db, "INSERT INTO odeslani (cas, automaticky, nabidek, obrazku, archiv_bajtu, http_status)"
                             " VALUES (?, ?, ?, ?, ?, ?)");
        Statement offer(m_db, "INSERT INTO nabidky (odeslani, poradi, cj, znacka, otisk) VALUES (?, ?, ?, ?, ?)");
        Statement picture(m_db, "INSERT INTO obrazky (odeslani, nazev, velikost, otisk) VALUES (?, ?, ?, ?)");
        if (!head.ok() || !offer.ok() || !picture.ok())
            fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
        head.bind(1, send.when.toString(kTimeFormat));
        head.bind(2, qint64(send.automatic ? 1 : 0));
        head.bind(3, qint64(send.offers.size()));
        head.bind(4, qint64(send.pictures.size()));
        head.bind(5, send.archiveBytes);
        head.bind(6, qint64(send.httpStatus));
        if (sqlite3_step(head.get()) != SQLITE_DONE)
            fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
        const qint64 id = sqlite3_last_insert_rowid(m_db);

        qint64 order = 0;
        for (const SentOffer &o : send.offers) {
            sqlite3_reset(offer.get());
            offer.bind(1, id);
            offer.bind(2, ++order);
            offer.bind(3, o.cj);
            offer.bind(4, o.make);
            offer.bind(5, o.digest);
            if (sqlite3_step(offer.get()) != SQLITE_DONE)
                fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
        }
        for (const SentPicture &p : send.pictures) {
            sqlite3_reset(picture.get());
            picture.bind(1, id);
            picture.bind(2, p.name);
            picture.bind(3, p.size);
            picture.bind(4, p.digest);
            if (sqlite3_step(picture.get()) != SQLITE_DONE)
                fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
        }

        exec(u"DELETE FROM odeslani WHERE id NOT IN (SELECT id FROM odeslani ORDER BY id DESC LIMIT %1)"_s
                 .arg(kKeptSends)
                 .toUtf8()
                 .constData());
        exec("DELETE FROM nabidky WHERE odeslani < (SELECT min(id) FROM odeslani)");
        exec("DELETE FROM obrazky WHERE odeslani < (SELECT min(id) FROM odeslani)");
        exec("COMMIT");
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

} // namespace korvex
