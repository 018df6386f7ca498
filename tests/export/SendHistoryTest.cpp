#include "SafeSendFixture.h"

#include "export/OfferDigest.h"
#include "export/OfferList.h"
#include "platform/ModuleError.h"
#include "platform/Win1250.h"

#include <QCryptographicHash>

#include <sqlite3.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

using HistorySendTest = test::SafeSendTest;

SendRecord sendOf(int offers, const QString &when = u"2026-12-01T10:00:00"_s)
{
    SendRecord r;
    r.when = QDateTime::fromString(when, Qt::ISODate);
    r.archiveBytes = 1000;
    r.httpStatus = 200;
    for (int i = 1; i <= offers; ++i)
        r.offers.append({QString::number(i), u"Škoda"_s, OfferDigest(QByteArray::number(i))});
    r.pictures.append({u"1_1_web.jpg"_s, 2000, OfferDigest("x")});
    return r;
}

qint64 countRows(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    const qint64 n = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return n;
}

} // namespace

TEST_F(HistorySendTest, OnlyASuccessfulUploadIsRecorded)
{
    // Declined, refused for the placeholder user, failed in transfer: nothing.
    dialogs.queueAnswer(false);
    Send(context);
    settings.stored.uzivJmeno = u"DEMO"_s;
    Send(context);
    settings.stored.uzivJmeno = u"autobazar"_s;
    stub::Fault broken;
    broken.dropAfter = 100;
    stub.setFault(broken);
    dialogs.queueAnswer(true);
    EXPECT_ANY_THROW(Send(context));
    EXPECT_FALSE(QFile::exists(history));

    stub.setFault({});
    context.automaticMode = true;
    Send(context);
    ASSERT_EQ(uploads(), 2);
    const auto last = SendHistory(history, SendHistory::Mode::Read).lastSend();
    ASSERT_TRUE(last);
    EXPECT_TRUE(last->automatic);
    EXPECT_EQ(last->httpStatus, 200);
    EXPECT_EQ(last->when, context.now());
    EXPECT_EQ(last->archiveBytes, QFileInfo(exe + u"Korvex_zip/data.zip"_s).size());
    ASSERT_EQ(last->offers.size(), 2);
    EXPECT_EQ(last->offers[0].cj, u"1"_s);
    EXPECT_EQ(last->offers[1].cj, u"3"_s);
    EXPECT_EQ(last->offers[1].make, u"Škoda"_s);
    ASSERT_EQ(last->pictures.size(), 2);
    EXPECT_EQ(last->pictures[1].name, u"3_1_web.jpg"_s);
    EXPECT_EQ(last->pictures[1].size, 2000);
    EXPECT_EQ(last->pictures[1].digest,
              QString::fromLatin1(
                  QCryptographicHash::hash(test::FixturePhoto('3'), QCryptographicHash::Blake2b_256).toHex()));

    // A later failure leaves the file exactly as it was.
    const QByteArray before = test::readFile(history);
    stub.setFault(broken);
    EXPECT_ANY_THROW(Send(context));
    EXPECT_EQ(test::readFile(history), before);
    EXPECT_FALSE(before.contains("Tajne-Heslo-77"));
}

TEST_F(HistorySendTest, AHistoryThatCannotBeWrittenNeverStopsTheSend)
{
    test::writeFile(history, QByteArray("this is not a database, just text", 33).repeated(100));
    context.automaticMode = true;
    Send(context);
    EXPECT_EQ(uploads(), 1);
    const QString log = Win1250::decode(test::readFile(exe + u"Korvex_log.txt"_s));
    // The reason is the database's, not a guess at the file's version.
    const QString reason = u"Historie odeslání \"%1\": file is not a database"_s.arg(history);
    EXPECT_TRUE(log.contains(u";historii odeslání nelze přečíst: "_s + reason)) << log.toStdString();
    EXPECT_TRUE(log.contains(u";odesláno, HTTP 200; historii odeslání nelze zapsat: "_s + reason)) << log.toStdString();
}

TEST(SendHistory, KeepsTheLastThirtySendsAndReadsTheNewest)
{
    QTemporaryDir dir;
    const QString path = dir.path() + u"/Korvex_historie.db"_s;
    {
        SendHistory history(path, SendHistory::Mode::Write);
        EXPECT_FALSE(history.lastSend());
        for (int i = 1; i <= 35; ++i)
            history.record(sendOf(i));
        EXPECT_EQ(history.sendCount(), SendHistory::kKeptSends);
        const auto last = history.lastSend();
        ASSERT_TRUE(last);
        ASSERT_EQ(last->offers.size(), 35);
        EXPECT_EQ(last->offers[34].cj, u"35"_s);
        EXPECT_EQ(last->offers[0].digest, OfferDigest("1"));
        EXPECT_EQ(last->when, QDateTime::fromString(u"2026-12-01T10:00:00"_s, Qt::ISODate));
    }
    // Offers of the dropped sends go with them: sends 6 to 35 hold 6 + ... + 35.
    EXPECT_EQ(countRows(path, "SELECT count(*) FROM nabidky"), (6 + 35) * 30 / 2);
    EXPECT_EQ(countRows(path, "SELECT count(*) FROM obrazky"), 30);
    EXPECT_EQ(countRows(path, "PRAGMA user_version"), 2);
}

TEST(SendHistory, ReadingNeverCreatesOrUpgrades)
{
    QTemporaryDir dir;
    const QString path = dir.path() + u"/Korvex_historie.db"_s;
    EXPECT_FALSE(SendHistory(path, SendHistory::Mode::Read).lastSend());
    EXPECT_FALSE(QFile::exists(path));

    // A file from a newer module is neither read nor changed.
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db, "PRAGMA user_version = 99", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const QByteArray before = test::readFile(path);
    for (auto mode : {SendHistory::Mode::Read, SendHistory::Mode::Write}) {
        try {
            SendHistory history(path, mode);
            ADD_FAILURE() << "a newer history was opened";
        } catch (const ModuleError &e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains(path));
        }
    }
    EXPECT_EQ(test::readFile(path), before);
}

// A history written before the photo files were kept: read as it is, and
// the next send's record adds the table without losing the sends before.
TEST(SendHistory, AnOlderHistoryIsReadAndThenUpgraded)
{
    QTemporaryDir dir;
    const QString path = dir.path() + u"/Korvex_historie.db"_s;
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE odeslani (id INTEGER PRIMARY KEY, cas TEXT NOT NULL, automaticky INTEGER NOT NULL,"
                 " nabidek INTEGER NOT NULL, obrazku INTEGER NOT NULL, archiv_bajtu INTEGER NOT NULL,"
                 " http_status INTEGER NOT NULL);"
                 "CREATE TABLE nabidky (odeslani INTEGER NOT NULL, poradi INTEGER NOT NULL, cj TEXT NOT NULL,"
                 " znacka TEXT NOT NULL, otisk TEXT NOT NULL);"
                 "CREATE TABLE obrazky (odeslani INTEGER NOT NULL, nazev TEXT NOT NULL, velikost INTEGER NOT NULL,"
                 " otisk TEXT NOT NULL);"
                 "INSERT INTO odeslani VALUES (1, '2026-11-30 09:00:00', 0, 1, 0, 500, 200);"
                 "INSERT INTO nabidky VALUES (1, 0, '7', 'Tatra', 'abc');"
                 "PRAGMA user_version = 1;",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const QByteArray before = test::readFile(path);

    {
        const SendHistory old(path, SendHistory::Mode::Read);
        ASSERT_TRUE(old.lastSend());
        EXPECT_EQ(old.lastSend()->offers.value(0).cj, u"7"_s);
        EXPECT_TRUE(old.photoFiles().isEmpty());
    }
    EXPECT_EQ(test::readFile(path), before);

    SendRecord send = sendOf(1);
    send.photoFiles.append({u"1_1_web.jpg"_s, 2000, 1700000000000, OfferDigest("x"), 1});
    SendHistory(path, SendHistory::Mode::Write).record(send);
    EXPECT_EQ(countRows(path, "PRAGMA user_version"), 2);
    const SendHistory upgraded(path, SendHistory::Mode::Read);
    EXPECT_EQ(upgraded.sendCount(), 2);
    ASSERT_EQ(upgraded.photoFiles().size(), 1);
    EXPECT_EQ(upgraded.photoFiles().value(u"1_1_web.jpg"_s).modified, 1700000000000);
}

TEST(OfferDigests, FollowEveryByteOfTheOfferAndNothingElse)
{
    QTemporaryDir dir;
    const QString working = dir.path() + u"/zip"_s;
    QDir().mkpath(working);
    Dataset query{NestaTableDef()};
    CreateWorkingTable(query, DatabaseSession::fromText(u"[BAZAR]\nPATH="_s + dir.path() + u"\n"_s));
    for (int i = 1; i <= 3; ++i) {
        query.append();
        query.setValue(u"CJ", QString::number(i));
        query.setValue(u"ZNACKA", u"Škoda"_s);
        query.setValue(u"NAJETO", u"120000"_s);
        query.setValue(u"OZNACENO", true);
        query.post();
    }
    const OfferListSettings settings{dir.path() + u"/"_s, working, false};
    const OfferListResult first = WriteOfferList(query, settings);
    EXPECT_EQ(first.document, test::readFile(working + u"/Data.xml"_s));
    // The blocks cover the document between the root's lines exactly.
    QByteArray joined;
    for (const OfferBlock &b : first.blocks)
        joined += first.document.mid(b.begin, b.length);
    EXPECT_EQ("<?xml version=\"1.0\"?>\r\n<offer-list>\r\n" + joined + "</offer-list>\r\n", first.document);

    const QList<SentOffer> before = DigestOffers(first);
    EXPECT_EQ(DigestOffers(WriteOfferList(query, settings))[1].digest, before[1].digest);

    // One kilometre more on the second vehicle changes its digest alone.
    query.setRecNo(1);
    query.edit();
    query.setValue(u"NAJETO", u"120001"_s);
    query.post();
    const QList<SentOffer> after = DigestOffers(WriteOfferList(query, settings));
    ASSERT_EQ(after.size(), 3);
    EXPECT_EQ(after[0].digest, before[0].digest);
    EXPECT_NE(after[1].digest, before[1].digest);
    EXPECT_EQ(after[2].digest, before[2].digest);
    EXPECT_EQ(after[1].cj, u"2"_s);
    EXPECT_EQ(after[1].make, u"Škoda"_s);
}
