// The module killed while it brings the working table in line with the host:
// afterwards the table is as before or as after the import, never between,
// and SQLite finds it whole.
#include "HostFixture.h"
#include "TempHost.h"

#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <sqlite3.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

struct TableState
{
    bool exists = false;
    QString integrity;
    int records = -1;
};

TableState inspect(const QString &path)
{
    TableState state;
    if (!QFile::exists(path))
        return state;
    state.exists = true;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        auto single = [db](const char *sql) {
            sqlite3_stmt *statement = nullptr;
            QString value;
            if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
                value = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
            sqlite3_finalize(statement);
            return value;
        };
        state.integrity = single("PRAGMA integrity_check");
        const QString count = single("SELECT count(*) FROM Nesta");
        state.records = count.isEmpty() ? -1 : count.toInt();
    }
    sqlite3_close(db);
    return state;
}

} // namespace

TEST(InterruptedImport, TheWorkingTableIsBeforeOrAfterAndWhole)
{
    constexpr int kVehicles = 2000;
    fixture::FixtureHost description = fixture::generatedDealer(kVehicles, 1);
    description.emptyPhotoFiles = true;
    for (auto &v : description.branches[0].vehicles)
        v.rezPrehl5.clear();
    test::TempHost host(description);
    const QString exe = host.layout().programFolder + u"Korvex_Export"_s;
    ASSERT_TRUE(QFile::copy(QStringLiteral(KORVEX_EXPORT_EXE), exe));
    const QString table = host.layout().dataFolder(1) + u"Nesta.DB"_s;

    // Offscreen only an automatic run starts; its send after the import
    // fails at once against a closed port of this machine.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"KORVEX_GATEWAY_URL"_s, u"http://127.0.0.1:1"_s);
    env.insert(u"KORVEX_MAKER_URL"_s, u"http://127.0.0.1:1"_s);
    const QStringList automatic{u"RYCHLE"_s};

    auto removeTable = [&] {
        for (const char *suffix : {"", "-journal", "-wal", "-shm"})
            QFile::remove(table + QString::fromLatin1(suffix));
    };
    // Killed at ever later moments of a start-up that creates the table and
    // imports into it; the last run is left to finish its import.
    for (int delay = 60; delay <= 420; delay += 40) {
        removeTable();
        QProcess module;
        module.setProcessEnvironment(env);
        module.start(exe, automatic);
        ASSERT_TRUE(module.waitForStarted());
        QThread::msleep(delay);
        module.kill();
        module.waitForFinished();

        const TableState state = inspect(table);
        if (!state.exists)
            continue;
        EXPECT_EQ(state.integrity, u"ok"_s) << delay;
        EXPECT_TRUE(state.records == 0 || state.records == kVehicles) << delay << " ms: " << state.records;
    }
    // Looking into the table while the module writes would stand in its way;
    // the interchange file appears just before the import, the journal goes
    // when it ends.
    const QString interchange = host.layout().programFolder + u"ASCII_Nesta.TXT"_s;
    removeTable();
    QFile::remove(interchange);
    QProcess module;
    module.setProcessEnvironment(env);
    module.start(exe, automatic);
    for (int wait = 0; wait < 600 && !QFile::exists(interchange); ++wait)
        QThread::msleep(100);
    for (int quiet = 0, wait = 0; quiet < 20 && wait < 600; ++wait) {
        quiet = QFile::exists(table + u"-journal"_s) ? 0 : quiet + 1;
        QThread::msleep(100);
    }
    module.kill();
    module.waitForFinished();
    const TableState finished = inspect(table);
    EXPECT_EQ(finished.integrity, u"ok"_s);
    EXPECT_EQ(finished.records, kVehicles);
}
