#include "platform/Dataset.h"
#include "platform/ModuleError.h"
#include "platform/SqliteStore.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

TableDef carsDef()
{
    TableDef def;
    def.name = u"Cars"_s;
    def.fields = {
        FieldDef{u"ID"_s, FieldKind::AutoInc, 0, 0, {}, Qt::AlignLeft, true},
        FieldDef{u"NAME"_s, FieldKind::Text, 10, 10, {}, Qt::AlignLeft, false},
        FieldDef{u"NOTE"_s, FieldKind::Memo, 0, 0, {}, Qt::AlignLeft, false},
        FieldDef{u"MARK"_s, FieldKind::Boolean, 0, 0, {}, Qt::AlignLeft, false},
    };
    return def;
}

class DatasetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = dir.filePath(u"Cars.DB"_s);
        SqliteStore::create(path, carsDef());
        data.setFileName(path);
        data.open();
    }

    void add(const QString &name, bool mark = false)
    {
        data.append();
        data.setValue(u"NAME", name);
        data.setValue(u"MARK", mark);
        data.post();
    }

    // The store refuses the updates the condition picks, as a full disk would.
    bool refuseUpdates(const char *when)
    {
        sqlite3 *other = nullptr;
        const QByteArray sql = QByteArray("CREATE TRIGGER refuse BEFORE UPDATE ON Cars ") + when
                               + " BEGIN SELECT RAISE(ABORT, 'refused'); END";
        const bool created = sqlite3_open(QFile::encodeName(path).constData(), &other) == SQLITE_OK
                             && sqlite3_exec(other, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(other);
        return created;
    }

    QStringList names()
    {
        QStringList out;
        for (int r = 0; r < data.recordCount(); ++r)
            out.append(data.valueAt(r, 1).toString());
        return out;
    }

    QTemporaryDir dir;
    QString path;
    Dataset data{carsDef()};
};

} // namespace

TEST_F(DatasetTest, AppendNumbersRecordsAndNavigationSetsBofEof)
{
    EXPECT_TRUE(data.bof());
    EXPECT_TRUE(data.eof());
    add(u"a"_s);
    add(u"b"_s);
    add(u"c"_s);
    EXPECT_EQ(data.text(u"ID"), u"3"_s);
    data.first();
    EXPECT_TRUE(data.bof());
    EXPECT_FALSE(data.eof());
    EXPECT_EQ(data.text(u"NAME"), u"a"_s);
    data.prior();
    EXPECT_TRUE(data.bof());
    data.last();
    EXPECT_TRUE(data.eof());
    EXPECT_EQ(data.text(u"NAME"), u"c"_s);
    data.next();
    EXPECT_TRUE(data.eof());
    EXPECT_EQ(data.text(u"NAME"), u"c"_s);
    data.prior();
    EXPECT_EQ(data.text(u"name"), u"b"_s);
    EXPECT_EQ(data.recNo(), 1);
}

TEST_F(DatasetTest, TextIsCutToTheFieldWidthAndEmptyTextIsNull)
{
    add(u"Škoda Octavia Combi"_s);
    EXPECT_EQ(data.text(u"NAME"), u"Škoda Octa"_s);
    data.edit();
    data.setValue(u"NOTE", QString(5000, u'x'));
    data.setValue(u"NAME", QString());
    data.post();
    EXPECT_EQ(data.text(u"NOTE").size(), 5000);
    EXPECT_TRUE(data.value(u"NAME").isNull());
    EXPECT_THROW(data.setValue(u"NAME", u"x"_s), ModuleError); // not in edit state
    data.edit();
    EXPECT_THROW(data.setValue(u"ID", 7), ModuleError);
    EXPECT_THROW(data.setValue(u"NIC", 7), ModuleError);
}

TEST_F(DatasetTest, RecordsPersistAcrossCloseAndOpen)
{
    add(u"první"_s, true);
    add(u"druhý"_s);
    data.edit();
    data.setValue(u"NOTE", u"žluťoučký 🚗, řádek"_s);
    data.post();
    data.close();
    EXPECT_FALSE(data.isOpen());
    data.open();
    ASSERT_EQ(data.recordCount(), 2);
    EXPECT_EQ(data.recNo(), 0);
    EXPECT_EQ(data.text(u"NAME"), u"první"_s);
    EXPECT_TRUE(data.boolean(u"MARK"));
    EXPECT_EQ(data.text(u"MARK"), u"True"_s);
    EXPECT_TRUE(data.value(u"NOTE").isNull());
    data.next();
    EXPECT_FALSE(data.boolean(u"MARK"));
    EXPECT_EQ(data.value(u"NOTE"), QVariant(u"žluťoučký 🚗, řádek"_s));
    EXPECT_EQ(data.text(u"NAME"), u"druhý"_s);
}

// Loaded records are kept together in large blocks; records across the
// ends of blocks and one larger than a block must read back whole, also
// after others beside them were edited.
TEST_F(DatasetTest, MegabytesOfRecordsReadBackWhole)
{
    const auto note = [](int n) { return QString(1000 + n % 700, QChar(u'a' + n % 26)) + u"ř"_s + QString::number(n); };
    constexpr int kRecords = 3000;
    const QString huge = QString(700'000, u'ž') + u"konec"_s;
    {
        Dataset::Batch batch(data);
        for (int n = 0; n < kRecords; ++n) {
            add(QString::number(n), n % 3 == 0);
            data.edit();
            data.setValue(u"NOTE", n == 1234 ? huge : note(n));
            data.post();
        }
        batch.commit();
    }
    data.close();
    data.open();
    ASSERT_EQ(data.recordCount(), kRecords);
    data.setRecNo(2000);
    data.edit();
    data.setValue(u"NOTE", u"změněno"_s);
    data.post();
    for (int n = 0; n < kRecords; ++n) {
        data.setRecNo(n);
        ASSERT_EQ(data.text(u"NAME"), QString::number(n));
        EXPECT_EQ(data.boolean(u"MARK"), n % 3 == 0) << n;
        EXPECT_EQ(data.text(u"NOTE"), n == 1234 ? huge : n == 2000 ? u"změněno"_s : note(n)) << n;
    }
}

// A text cut at the field width can end in half a surrogate pair; the
// unpaired half has always been stored as "?".
TEST_F(DatasetTest, AnUnpairedHalfOfACharacterIsStoredAsAQuestionMark)
{
    add(u"123456789\U0001F697"_s); // the car is cut in half at width 10
    data.edit();
    data.setValue(u"NOTE", QString(u"a"_s + QChar(0xDC00) + u"b"_s));
    data.post();
    data.close();
    data.open();
    EXPECT_EQ(data.text(u"NAME"), u"123456789?"_s);
    EXPECT_EQ(data.text(u"NOTE"), u"a?b"_s);
}

TEST_F(DatasetTest, AnEditIsPostedWhenTheCursorMovesAndCancelDropsIt)
{
    add(u"a"_s);
    add(u"b"_s);
    data.first();
    data.edit();
    data.setValue(u"NAME", u"A"_s);
    data.next();
    EXPECT_EQ(data.state(), Dataset::State::Browse);
    data.edit();
    data.setValue(u"NAME", u"B"_s);
    data.cancel();
    data.close();
    data.open();
    EXPECT_EQ(names(), (QStringList{u"A"_s, u"b"_s}));
}

// A record posted as it stands is not written again; every real change
// still is, also one between values that read alike (an unset mark and a
// cleared one, letter case, the last character of a memo). One change per
// record, so that no later write of the record covers a change left out.
TEST_F(DatasetTest, APostStoresEveryChangeOfAValue)
{
    data.append();
    data.setValue(u"NAME", u"a"_s);
    data.post();
    add(u"b"_s, true);
    add(u"c"_s);
    data.append();
    data.setValue(u"NAME", u"d"_s);
    data.setValue(u"NOTE", u"poznámka 1"_s);
    data.post();
    QSignalSpy changed(&data, &Dataset::dataChanged);
    data.first();
    data.edit();
    data.post();
    EXPECT_EQ(changed.count(), 1);

    auto change = [this](int row, const char16_t *field, const QVariant &value) {
        data.setRecNo(row);
        data.edit();
        data.setValue(field, value);
        data.post();
    };
    change(0, u"MARK", false);
    change(1, u"MARK", QVariant());
    change(2, u"NAME", u"C"_s);
    change(3, u"NOTE", u"poznámka 2"_s);
    data.close();
    data.open();
    EXPECT_EQ(names(), (QStringList{u"a"_s, u"b"_s, u"C"_s, u"d"_s}));
    EXPECT_EQ(data.value(u"MARK"), QVariant(false));
    data.next();
    EXPECT_TRUE(data.value(u"MARK").isNull());
    data.last();
    EXPECT_EQ(data.text(u"NOTE"), u"poznámka 2"_s);
}

// Values changed and then set back to what the record held leave nothing to
// write; the store here refuses every write of a record.
TEST_F(DatasetTest, ValuesSetBackAreNoChange)
{
    add(u"a"_s, true);
    ASSERT_TRUE(refuseUpdates(""));
    data.edit();
    data.setValue(u"NAME", u"b"_s);
    data.setValue(u"MARK", false);
    EXPECT_EQ(data.text(u"NAME"), u"b"_s);
    data.setValue(u"NAME", u"a"_s);
    data.setValue(u"MARK", u"True"_s);
    EXPECT_NO_THROW(data.post());
    EXPECT_EQ(data.state(), Dataset::State::Browse);
    data.edit();
    data.setValue(u"NAME", u"c"_s);
    EXPECT_THROW(data.post(), ModuleError);
}

TEST_F(DatasetTest, DeleteLeavesTheCursorOnTheFollowingRecord)
{
    for (const QString &n : {u"a"_s, u"b"_s, u"c"_s})
        add(n);
    data.first();
    data.next();
    data.remove();
    EXPECT_EQ(data.text(u"NAME"), u"c"_s);
    data.remove();
    EXPECT_EQ(data.text(u"NAME"), u"a"_s);
    data.close();
    data.open();
    EXPECT_EQ(names(), QStringList{u"a"_s});
}

TEST_F(DatasetTest, TheFilterDecidesWhichRecordsCount)
{
    add(u"a"_s, true);
    add(u"b"_s, false);
    add(u"c"_s, true);
    data.setFilter([](const DatasetRecord &r) { return r.boolean(u"MARK"); });
    data.setFiltered(true);
    EXPECT_EQ(names(), (QStringList{u"a"_s, u"c"_s}));
    // A posted record that no longer passes leaves the view.
    data.first();
    data.edit();
    data.setValue(u"MARK", false);
    data.post();
    EXPECT_EQ(names(), QStringList{u"c"_s});
    EXPECT_EQ(data.text(u"NAME"), u"c"_s);
    data.setFiltered(false);
    EXPECT_EQ(data.recordCount(), 3);
    EXPECT_EQ(data.text(u"NAME"), u"c"_s);

    // A switch posts the edit in progress; when that post is refused, the
    // filter stays as the view still shows it.
    data.setFiltered(true);
    ASSERT_TRUE(refuseUpdates("WHEN NEW.NAME = 'x'"));
    data.edit();
    data.setValue(u"NAME", u"x"_s);
    EXPECT_THROW(data.setFiltered(false), ModuleError);
    EXPECT_TRUE(data.isFiltered());
    data.cancel();
    data.refresh();
    EXPECT_EQ(names(), QStringList{u"c"_s});
}

TEST_F(DatasetTest, SuspendedDisplayUpdatesGiveOneRefreshWhenResumed)
{
    QSignalSpy scrolled(&data, &Dataset::afterScroll);
    QSignalSpy changed(&data, &Dataset::dataChanged);
    {
        const Dataset::DisplaySuspended outer(data);
        {
            const Dataset::DisplaySuspended inner(data);
            add(u"a"_s);
        }
        add(u"b"_s);
        data.first();
        data.next();
        EXPECT_EQ(scrolled.count(), 0);
        EXPECT_EQ(changed.count(), 0);
    }
    EXPECT_EQ(scrolled.count(), 1);
    EXPECT_EQ(changed.count(), 1);
    data.prior();
    EXPECT_EQ(scrolled.count(), 2);

    // Work that fails leaves the display on, too.
    try {
        const Dataset::DisplaySuspended display(data);
        throw std::runtime_error("the work failed");
    } catch (const std::runtime_error &) {
    }
    EXPECT_FALSE(data.controlsDisabled());
}

// A failed batch keeps what it posted, as single posts would; the record
// whose post failed is not tried a second time, and no transaction stays
// open for later posts to be lost with.
TEST_F(DatasetTest, AFailedBatchKeepsWhatItPostedAndEndsItsTransaction)
{
    add(u"a"_s);
    ASSERT_TRUE(refuseUpdates("WHEN NEW.NAME = 'x'"));
    try {
        Dataset::Batch batch(data);
        add(u"b"_s);
        data.first();
        data.edit();
        data.setValue(u"NAME", u"x"_s);
        data.next();
        batch.commit();
        ADD_FAILURE() << "the refused write went through";
    } catch (const ModuleError &) {
    }
    add(u"c"_s);
    data.close(); // rolls back a transaction left open
    data.open();
    EXPECT_EQ(names(), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
}

TEST_F(DatasetTest, ABatchWhoseCommitIsRefusedIsRolledBack)
{
    add(u"a"_s);
    // Another reader's lock refuses the commit.
    sqlite3 *reader = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &reader), SQLITE_OK);
    sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM Cars;", nullptr, nullptr, nullptr);
    try {
        Dataset::Batch batch(data);
        add(u"b"_s);
        batch.commit();
        ADD_FAILURE() << "the commit went through";
    } catch (const ModuleError &) {
    }
    sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(reader);
    EXPECT_EQ(names(), QStringList{u"a"_s});

    add(u"c"_s);
    data.close();
    data.open();
    EXPECT_EQ(names(), (QStringList{u"a"_s, u"c"_s}));
}

TEST_F(DatasetTest, RollbackDropsChangesFromMemoryToo)
{
    add(u"a"_s);
    data.startTransaction();
    add(u"b"_s);
    data.first();
    data.edit();
    data.setValue(u"NAME", u"x"_s);
    data.post();
    data.rollback();
    EXPECT_EQ(names(), QStringList{u"a"_s});
    data.startTransaction();
    add(u"c"_s);
    data.commit();
    data.close();
    data.open();
    EXPECT_EQ(names(), (QStringList{u"a"_s, u"c"_s}));
}

// A full disk can make the database drop the whole transaction by itself;
// rolling back must still bring the records in memory back to what is stored.
TEST_F(DatasetTest, RollbackAfterTheDatabaseDroppedTheTransaction)
{
    add(u"a"_s);
    const auto editOnAFullDisk = [this] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit full{1000, 1000}; // room for this test's own output only
        setrlimit(RLIMIT_FSIZE, &full);
        data.startTransaction();
        data.first();
        data.edit();
        data.setValue(u"NAME", u"x"_s);
        try {
            data.post();
        } catch (const ModuleError &) {
        }
        try {
            data.rollback();
        } catch (const ModuleError &e) {
            std::fputs(e.text().toUtf8().constData(), stderr);
            std::_Exit(1);
        }
        std::_Exit(names() == QStringList{u"a"_s} ? 0 : 2);
    };
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(editOnAFullDisk(), ::testing::ExitedWithCode(0), "");
}
