#include "HostRun.h"
#include "import/InterchangeFile.h"
#include "import/InterchangeImport.h"
#include "import/ListCounters.h"
#include "import/WorkingTable.h"
#include "platform/Dataset.h"
#include "platform/ModuleError.h"
#include "platform/ModuleFolders.h"
#include "platform/TextFile.h"

#include <QTemporaryDir>

#include <sqlite3.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

InterchangeRecord vehicle(const QString &cj, const QString &photos = QString())
{
    InterchangeRecord r;
    r[0] = cj;
    r[1] = u"BAZAR1"_s;
    r[3] = u"Škoda"_s;
    r[4] = u"Octavia"_s;
    r[5] = u"1.9 TDI"_s;
    r[15] = u"15.03.2005"_s;
    r[19] = u"0"_s;
    r[24] = u"250000"_s;
    r[29] = u"tempomat u kola, "_s;
    r[30] = photos;
    r[35] = u"12345678901234"_s;
    r[37] = u"Aano!x"_s;
    r[38] = u"20000"_s;
    r[39] = u"3500"_s;
    r[40] = u"48"_s;
    r[41] = u"A"_s;
    return r;
}

QString photoList(int count, const QString &stem = u"/foto/p"_s)
{
    QString list;
    for (int i = 1; i <= count; ++i)
        list += stem + QString::number(i) + u".jpg,"_s;
    return list;
}

class ImportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session = DatabaseSession::fromText(u"[BAZAR]\nPATH="_s + dir.path() + u'\n');
        CreateWorkingTable(query, session);
    }

    void load(const std::vector<InterchangeRecord> &records)
    {
        InterchangeWriter writer(file());
        for (const auto &r : records)
            writer.add(r);
        writer.commit();
        LoadInterchangeFile(query, file());
    }

    QString file() const { return dir.filePath(u"ASCII_Nesta.TXT"_s); }

    bool locate(const QString &cj)
    {
        for (query.first(); !query.eof(); query.next()) {
            if (query.text(u"CJ") == cj)
                return true;
            if (query.recNo() + 1 == query.recordCount())
                break;
        }
        return false;
    }

    void setUserChoices(const QString &cj)
    {
        ASSERT_TRUE(locate(cj));
        query.edit();
        query.setValue(u"OZNACENO", true);
        query.setValue(u"ZOB_FOTO1", false);
        query.setValue(u"ODESLI_FOTO", u"1"_s);
        query.setValue(u"REZERVA4", u"1"_s);
        query.setValue(u"REZERVA6", u"1"_s);
        query.post();
    }

    QStringList column(QStringView field)
    {
        QStringList out;
        const int f = query.fieldIndex(field);
        for (int r = 0; r < query.recordCount(); ++r)
            out.append(query.valueAt(r, f).toString());
        return out;
    }

    QTemporaryDir dir;
    DatabaseSession session;
    Dataset query{NestaTableDef()};
};

} // namespace

TEST_F(ImportTest, ANewVehicleGetsEveryFieldOfTheMapping)
{
    InterchangeRecord r = vehicle(u"A1"_s, photoList(2));
    r[5].clear();
    load({r});
    ASSERT_EQ(query.recordCount(), 1);
    EXPECT_EQ(query.text(u"CJ"), u"A1"_s);
    EXPECT_EQ(query.text(u"ZNACKA_TYP"), u"Škoda Octavia "_s);
    EXPECT_EQ(query.text(u"DATUM_VYROBY"), u"2005"_s);
    EXPECT_EQ(query.text(u"VYBAVA_DO_POZNAMKY"), u"další výbava: tempomat u kola, "_s);
    EXPECT_EQ(query.text(u"REZERVA2"), u"1234567890"_s);
    EXPECT_EQ(query.text(u"REZERVA5"), u"Aano!*20000*3500*48*A"_s);
    EXPECT_EQ(query.text(u"FOTO1"), u"/foto/p1.jpg"_s);
    EXPECT_EQ(query.text(u"FOTO2"), u"/foto/p2.jpg"_s);
    EXPECT_TRUE(query.boolean(u"ZOB_FOTO1"));
    EXPECT_TRUE(query.boolean(u"ZOB_FOTO2"));
    EXPECT_TRUE(query.value(u"ZOB_FOTO3").isNull());
    EXPECT_EQ(query.text(u"ODESLI_FOTO"), u"2"_s);
    EXPECT_TRUE(query.value(u"OZNACENO").isNull());
    EXPECT_EQ(query.text(u"METALIZA"), u"0"_s);
}

TEST_F(ImportTest, EightPhotosFillSixFieldsAndCountEight)
{
    load({vehicle(u"1"_s, photoList(8)), vehicle(u"2"_s)});
    ASSERT_TRUE(locate(u"1"_s));
    EXPECT_EQ(query.text(u"FOTO6"), u"/foto/p6.jpg"_s);
    EXPECT_EQ(query.text(u"ODESLI_FOTO"), u"8"_s);
    ASSERT_TRUE(locate(u"2"_s));
    EXPECT_EQ(query.text(u"ODESLI_FOTO"), QString());
    EXPECT_EQ(query.text(u"FOTO1"), QString());
}

// Photos go by their place in the list: an empty place leaves its field
// empty and the next photo in the field after it.
TEST_F(ImportTest, EmptyPlacesInThePhotoListKeepTheOthersInTheirFields)
{
    load({vehicle(u"1"_s, u",/b.jpg,,/d.jpg,"_s)});
    ASSERT_TRUE(locate(u"1"_s));
    EXPECT_EQ(query.text(u"FOTO1"), QString());
    EXPECT_TRUE(query.value(u"ZOB_FOTO1").isNull());
    EXPECT_EQ(query.text(u"FOTO2"), u"/b.jpg"_s);
    EXPECT_TRUE(query.boolean(u"ZOB_FOTO2"));
    EXPECT_EQ(query.text(u"FOTO3"), QString());
    EXPECT_EQ(query.text(u"FOTO4"), u"/d.jpg"_s);
    EXPECT_EQ(query.text(u"ODESLI_FOTO"), u"4"_s);
}

TEST_F(ImportTest, AReImportKeepsWhatTheUserSet)
{
    load({vehicle(u"1"_s, photoList(5)), vehicle(u"2"_s, photoList(2))});
    const QStringList keys = column(u"PORADI");
    setUserChoices(u"1"_s);
    setUserChoices(u"2"_s);
    ASSERT_TRUE(locate(u"1"_s));
    query.edit();
    query.setValue(u"METALIZA", u"1"_s);
    query.post();

    InterchangeRecord shrunk = vehicle(u"1"_s, photoList(3, u"/nove/p"_s));
    shrunk[29].clear();
    shrunk[4] = u"Superb"_s;
    load({shrunk, vehicle(u"2"_s, photoList(3, u"/nove/p"_s))});

    EXPECT_EQ(column(u"PORADI"), keys);
    ASSERT_TRUE(locate(u"1"_s));
    EXPECT_TRUE(query.boolean(u"OZNACENO"));
    EXPECT_EQ(query.text(u"REZERVA4"), u"1"_s);
    EXPECT_EQ(query.text(u"REZERVA6"), u"1"_s);
    EXPECT_EQ(query.text(u"METALIZA"), u"0"_s);
    EXPECT_EQ(query.text(u"MODEL"), u"Superb"_s);
    EXPECT_EQ(query.text(u"ODESLI_FOTO"), u"1"_s);
    EXPECT_FALSE(query.boolean(u"ZOB_FOTO1"));
    EXPECT_EQ(query.text(u"FOTO3"), u"/nove/p3.jpg"_s);
    EXPECT_EQ(query.text(u"FOTO4"), u"/foto/p4.jpg"_s);
    EXPECT_TRUE(query.boolean(u"ZOB_FOTO5"));
    EXPECT_EQ(query.text(u"VYBAVA_DO_POZNAMKY"), u"další výbava: tempomat u kola, "_s);

    ASSERT_TRUE(locate(u"2"_s));
    EXPECT_EQ(query.text(u"FOTO1"), u"/nove/p1.jpg"_s);
    EXPECT_FALSE(query.boolean(u"ZOB_FOTO1"));
    EXPECT_EQ(query.text(u"FOTO3"), u"/nove/p3.jpg"_s);
    EXPECT_TRUE(query.boolean(u"ZOB_FOTO3"));
}

TEST_F(ImportTest, TwoRunsOverTheSameFileChangeNothing)
{
    load({vehicle(u"1"_s, photoList(2)), vehicle(u"2"_s), vehicle(u"3"_s, photoList(1))});
    setUserChoices(u"2"_s);
    QList<QStringList> before;
    for (const FieldDef &f : NestaTableDef().fields)
        before.append(column(f.name));
    LoadInterchangeFile(query, file());
    QList<QStringList> after;
    for (const FieldDef &f : NestaTableDef().fields)
        after.append(column(f.name));
    EXPECT_EQ(before, after);
}

TEST_F(ImportTest, VehiclesGoneFromTheFileAreDeletedIgnoringCase)
{
    load({vehicle(u"a1"_s), vehicle(u"B2"_s), vehicle(u"C3"_s), vehicle(u"D4"_s)});
    setUserChoices(u"C3"_s);
    load({vehicle(u"A1"_s), vehicle(u"D4"_s)});
    // "a1" stays (compared without case) and "A1" is new (looked up exactly).
    EXPECT_EQ(column(u"CJ"), (QStringList{u"a1"_s, u"D4"_s, u"A1"_s}));
    load({});
    EXPECT_EQ(query.recordCount(), 0);
}

TEST_F(ImportTest, TheListFilterDoesNotHideRecordsFromTheImport)
{
    load({vehicle(u"1"_s), vehicle(u"2"_s)});
    setUserChoices(u"2"_s);
    query.setFilter([](const DatasetRecord &r) { return r.boolean(u"OZNACENO"); });
    query.setFiltered(true);
    ASSERT_EQ(query.recordCount(), 1);
    load({vehicle(u"1"_s), vehicle(u"2"_s)});
    EXPECT_TRUE(query.isFiltered());
    EXPECT_EQ(query.recordCount(), 1);
    query.setFiltered(false);
    EXPECT_EQ(column(u"CJ"), (QStringList{u"1"_s, u"2"_s}));
}

TEST_F(ImportTest, AMalformedFileIsRefusedAndTheTableStaysAsItWas)
{
    load({vehicle(u"1"_s), vehicle(u"2"_s)});
    const QStringList before = column(u"CJ");
    InterchangeWriter writer(file());
    writer.add(vehicle(u"3"_s));
    writer.commit();
    QStringList lines = *TextFile::readLines(file());

    auto refused = [&](const QStringList &broken, int line) {
        TextFile::writeLines(file(), broken);
        try {
            LoadInterchangeFile(query, file());
            ADD_FAILURE() << "accepted";
        } catch (const ModuleError &e) {
            EXPECT_TRUE(e.text().contains(file())) << e.what();
            EXPECT_TRUE(e.text().contains(u"řádku %1"_s.arg(line))) << e.what();
        }
        EXPECT_EQ(column(u"CJ"), before);
    };
    QStringList shifted = lines;
    shifted.insert(27, u"zalomená poznámka"_s);
    refused(shifted, 1);
    refused(lines.mid(0, 40), 1);
    refused(lines + lines.mid(0, 42), 44);
    QStringList wrongSeparator = lines;
    wrongSeparator[42] = QString(69, u'-');
    refused(wrongSeparator, 1);
}

TEST_F(ImportTest, ADatabaseErrorKeepsWhatWasPostedAndTheTableClosable)
{
    load({vehicle(u"1"_s)});
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(query.fileName().toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TRIGGER odmitni BEFORE INSERT ON Nesta WHEN NEW.CJ = '3' "
                           "BEGIN SELECT RAISE(ABORT, 'vozidlo odmitnuto'); END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    try {
        load({vehicle(u"1"_s), vehicle(u"2"_s), vehicle(u"3"_s), vehicle(u"4"_s)});
        ADD_FAILURE() << "the refused vehicle went through";
    } catch (const ModuleError &e) {
        EXPECT_TRUE(e.text().contains(u"vozidlo odmitnuto"_s)) << e.what();
    }
    EXPECT_EQ(query.state(), Dataset::State::Browse);
    // Another reader sees what was posted: the import's transaction ended.
    Dataset other(NestaTableDef());
    other.setFileName(query.fileName());
    other.open();
    QStringList committed;
    for (int r = 0; r < other.recordCount(); ++r)
        committed.append(other.valueAt(r, other.fieldIndex(u"CJ")).toString());
    EXPECT_EQ(committed, (QStringList{u"1"_s, u"2"_s}));
    other.close();
    EXPECT_NO_THROW(query.close());
    query.open();
    EXPECT_EQ(column(u"CJ"), (QStringList{u"1"_s, u"2"_s}));
}

TEST_F(ImportTest, ACommitRefusedAfterADatabaseErrorLeavesNoTransactionOpen)
{
    load({vehicle(u"1"_s)});
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(query.fileName().toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TRIGGER odmitni BEFORE INSERT ON Nesta WHEN NEW.CJ = '3' "
                           "BEGIN SELECT RAISE(ABORT, 'vozidlo odmitnuto'); END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    // Another reader holds the file, so the commit after the error is refused.
    ASSERT_EQ(sqlite3_exec(db, "BEGIN; SELECT count(*) FROM Nesta", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_THROW(load({vehicle(u"1"_s), vehicle(u"2"_s), vehicle(u"3"_s)}), ModuleError);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);

    // What the table shows is what the file holds, and the next import runs.
    EXPECT_EQ(column(u"CJ"), QStringList{u"1"_s});
    EXPECT_NO_THROW(load({vehicle(u"1"_s), vehicle(u"2"_s)}));
    query.close();
    query.open();
    EXPECT_EQ(column(u"CJ"), (QStringList{u"1"_s, u"2"_s}));
}

TEST(Dataset, AnEditThatCannotBePostedStillLetsTheTableClose)
{
    QTemporaryDir dir;
    const DatabaseSession session = DatabaseSession::fromText(u"[BAZAR]\nPATH="_s + dir.path() + u'\n');
    Dataset query(NestaTableDef());
    CreateWorkingTable(query, session);
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(query.fileName().toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TRIGGER odmitni BEFORE INSERT ON Nesta BEGIN SELECT RAISE(ABORT, 'x'); END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    query.append();
    query.setValue(u"CJ", u"1"_s);
    EXPECT_THROW(query.close(), ModuleError);
    EXPECT_FALSE(query.isOpen());
}

namespace {

// Every stored record of a working table file, field by field.
QStringList storedRecords(const QString &path)
{
    Dataset table(NestaTableDef());
    table.setFileName(path);
    table.open();
    QStringList out;
    for (int r = 0; r < table.recordCount(); ++r) {
        QStringList values;
        for (size_t f = 0; f < NestaTableDef().fields.size(); ++f)
            values.append(NestaTableDef().fields[f].name + u'=' + table.valueAt(r, int(f)).toString());
        out.append(values.join(u'|'));
    }
    return out;
}

// What the dealer and a stale run leave on every seventh vehicle.
void touchRecords(Dataset &query)
{
    for (int r = 0; r < query.recordCount(); r += 7) {
        query.setRecNo(r);
        query.edit();
        query.setValue(u"OZNACENO", true);
        query.setValue(u"ZOB_FOTO1", false);
        query.setValue(u"FOTO6", u"/stara/foto.jpg"_s);
        query.setValue(u"POZNAMKA", u"zastaralá poznámka"_s);
        query.setValue(u"BARVA", QString());
        query.post();
    }
}

} // namespace

TEST(InterchangeImport, RunsTheExtractionAndStopsBeforeReadingWhenItFails)
{
    fixture::FixtureHost description = fixture::generatedDealer(12, 2, 7);
    test::HostRun run(description);
    Dataset query(NestaTableDef());
    CreateWorkingTable(query, run.session);
    int refreshed = 0;
    ImportInterchangeFile(query, run.session, run.settings, [&] { ++refreshed; });
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(query.recordCount(), run.vehicleNumbers().size());
    EXPECT_GT(query.recordCount(), 0);

    // Records the import would change and append before the second branch
    // fails: the first record is gone, the others carry a stale note.
    query.first();
    query.remove();
    for (int r = 0; r < query.recordCount(); ++r) {
        query.setRecNo(r);
        query.edit();
        query.setValue(u"POZNAMKA", u"stará"_s);
        query.post();
    }
    const QStringList stored = storedRecords(query.fileName());
    const QByteArray interchange = run.interchangeBytes();
    // The list as the user left it: filtered, on a record in the middle.
    const QString hidden = query.valueAt(1, query.fieldIndex(u"CJ")).toString();
    query.setFilter([&](const DatasetRecord &record) { return record.text(u"CJ") != hidden; });
    query.setFiltered(true);
    query.setRecNo(2);
    const QString current = query.text(u"CJ");

    QFile::remove(run.dataFolder(2) + u"Prehledy.DB"_s);
    EXPECT_THROW(ImportInterchangeFile(query, run.session, run.settings, [&] { ++refreshed; }), ModuleError);
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(storedRecords(query.fileName()), stored);
    EXPECT_EQ(run.interchangeBytes(), interchange);
    EXPECT_TRUE(query.isFiltered());
    EXPECT_EQ(query.recNo(), 2);
    EXPECT_EQ(query.text(u"CJ"), current);
    ASSERT_EQ(query.recordCount(), run.vehicleNumbers().size() - 2);
    for (int r = 0; r < query.recordCount(); ++r)
        EXPECT_EQ(query.valueAt(r, query.fieldIndex(u"POZNAMKA")).toString(), u"stará"_s) << r;
    EXPECT_EQ(query.state(), Dataset::State::Browse);
}

// The vehicles go into the table while the extraction reads them. When the
// database refuses one, the file is still written whole, and what was posted
// before the refusal stays.
TEST(InterchangeImport, ADatabaseErrorStillWritesTheFileAndKeepsWhatWasPosted)
{
    test::HostRun run(fixture::generatedDealer(12, 2, 7));
    Dataset query(NestaTableDef());
    CreateWorkingTable(query, run.session);
    run.extract();
    const QByteArray interchange = run.interchangeBytes();
    const QStringList numbers = run.vehicleNumbers();
    ASSERT_GT(numbers.size(), 4);
    QFile::remove(run.settings.executableFolder + u"ASCII_Nesta.TXT"_s);

    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(query.fileName().toUtf8().constData(), &db), SQLITE_OK);
    const QByteArray trigger = "CREATE TRIGGER odmitni BEFORE INSERT ON Nesta WHEN NEW.CJ = '" + numbers[3].toUtf8()
        + "' BEGIN SELECT RAISE(ABORT, 'vozidlo odmitnuto'); END";
    ASSERT_EQ(sqlite3_exec(db, trigger.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    try {
        ImportInterchangeFile(query, run.session, run.settings);
        ADD_FAILURE() << "the refused vehicle went through";
    } catch (const ModuleError &e) {
        EXPECT_TRUE(e.text().contains(u"vozidlo odmitnuto"_s)) << e.what();
    }
    EXPECT_EQ(run.interchangeBytes(), interchange);
    QStringList cjs;
    for (const QString &record : storedRecords(query.fileName()))
        cjs.append(record.section(u'|', 1, 1).section(u'=', 1));
    EXPECT_EQ(cjs, numbers.first(3));
    EXPECT_EQ(query.state(), Dataset::State::Browse);
}

// An edit the user has not posted yet is theirs: a failed extraction must
// not take it down with the records it drops.
TEST(InterchangeImport, AFailedExtractionKeepsAnEditInProgress)
{
    test::HostRun run(fixture::generatedDealer(12, 2, 7));
    Dataset query(NestaTableDef());
    CreateWorkingTable(query, run.session);
    ImportInterchangeFile(query, run.session, run.settings);
    ASSERT_GT(query.recordCount(), 2);
    query.setRecNo(1);
    const QString cj = query.text(u"CJ");
    query.edit();
    query.setValue(u"POZNAMKA", u"ruční poznámka"_s);

    QFile::remove(run.dataFolder(2) + u"Prehledy.DB"_s);
    EXPECT_THROW(ImportInterchangeFile(query, run.session, run.settings), ModuleError);
    EXPECT_EQ(query.recNo(), 1);
    EXPECT_EQ(query.text(u"CJ"), cj);
    EXPECT_EQ(query.text(u"POZNAMKA"), u"ruční poznámka"_s);
    query.close();
    query.open();
    query.setRecNo(1);
    EXPECT_EQ(query.text(u"POZNAMKA"), u"ruční poznámka"_s);

    // A record being added is posted as the last one, and the cursor stays
    // on it.
    query.append();
    query.setValue(u"CJ", u"RUCNE"_s);
    EXPECT_THROW(ImportInterchangeFile(query, run.session, run.settings), ModuleError);
    EXPECT_EQ(query.state(), Dataset::State::Browse);
    EXPECT_EQ(query.text(u"CJ"), u"RUCNE"_s);
    EXPECT_EQ(query.recNo(), query.recordCount() - 1);
}

TEST(InterchangeImport, AMissingRouteListIsAnErrorAndKeepsTheTable)
{
    test::HostRun run(fixture::generatedDealer(6, 1, 3));
    Dataset query(NestaTableDef());
    CreateWorkingTable(query, run.session);
    ImportInterchangeFile(query, run.session, run.settings);
    const int before = query.recordCount();
    ASSERT_GT(before, 0);
    const QByteArray interchange = run.interchangeBytes();

    const QString route = run.settings.executableFolder + u"Route_Seznam_Zobraz.ddd"_s;
    ASSERT_TRUE(QFile::remove(route));
    try {
        ImportInterchangeFile(query, run.session, run.settings);
        ADD_FAILURE() << "imported without a route list";
    } catch (const ModuleError &e) {
        EXPECT_TRUE(e.text().contains(route)) << e.what();
    }
    EXPECT_EQ(query.recordCount(), before);
    EXPECT_EQ(run.interchangeBytes(), interchange);

    // A list that switches nothing on still means no vehicle is offered.
    TextFile::writeLines(route, {u"FALSE"_s});
    ImportInterchangeFile(query, run.session, run.settings);
    EXPECT_EQ(query.recordCount(), 0);
}

TEST(InterchangeImport, ReadsTheFileTheExtractionWroteBesideAnOtherSpelling)
{
    test::HostRun run(fixture::generatedDealer(6, 1, 3));
    Dataset query(NestaTableDef());
    CreateWorkingTable(query, run.session);
    // A stale file of an earlier version beside the current one, on a disk
    // that tells the two spellings apart.
    InterchangeWriter stale(run.settings.executableFolder + u"ASCII_Nesta.txt"_s);
    stale.add(vehicle(u"STARY"_s));
    stale.commit();
    QFile current(run.settings.executableFolder + u"ASCII_Nesta.TXT"_s);
    ASSERT_TRUE(current.open(QIODevice::WriteOnly));
    current.close();

    ImportInterchangeFile(query, run.session, run.settings);
    QStringList imported;
    for (int r = 0; r < query.recordCount(); ++r)
        imported.append(query.valueAt(r, query.fieldIndex(u"CJ")).toString());
    EXPECT_EQ(imported, run.vehicleNumbers());
    EXPECT_FALSE(imported.contains(u"STARY"_s));
}


// The import takes the extraction's records without reading the file back;
// the stored table must be the one a load of the written file gives, on a
// new table and on a re-import over records that changed and that did not.
TEST(InterchangeImport, StoresWhatALoadOfTheWrittenFileStores)
{
    fixture::FixtureHost description = fixture::generatedDealer(300, 4, 5);
    int n = 0;
    for (auto &branch : description.branches)
        for (auto &v : branch.vehicles)
            if (n++ % 9 == 0 && v.intake)
                v.intake->note = u"první\r\ndruhý\ntřetí\rčtvrtý"_s;
    test::HostRun run(description);
    Dataset imported(NestaTableDef());
    CreateWorkingTable(imported, run.session);
    QTemporaryDir other;
    const QString loadedPath = other.filePath(u"Nesta.DB"_s);
    SqliteStore::create(loadedPath, NestaTableDef());
    Dataset loaded(NestaTableDef());
    loaded.setFileName(loadedPath);
    loaded.open();
    const QString file = ModuleFolders::path(ModuleFile::InterchangeFile, run.settings.executableFolder);

    ImportInterchangeFile(imported, run.session, run.settings);
    LoadInterchangeFile(loaded, file);
    const QStringList first = storedRecords(WorkingTableFile(run.session));
    ASSERT_EQ(first.size(), run.vehicleNumbers().size());
    ASSERT_GT(first.size(), 200);
    EXPECT_TRUE(first.join(u'\n').contains(u"první druhý třetí čtvrtý"_s));
    EXPECT_EQ(first, storedRecords(loadedPath));

    touchRecords(imported);
    touchRecords(loaded);
    ImportInterchangeFile(imported, run.session, run.settings);
    LoadInterchangeFile(loaded, file);
    const QStringList second = storedRecords(WorkingTableFile(run.session));
    EXPECT_EQ(second, storedRecords(loadedPath));
    // The dealer's marks stay, stored; the stale note is the host's again.
    EXPECT_EQ(second.filter(u"|OZNACENO=true|"_s).size(), (first.size() + 6) / 7);
    EXPECT_FALSE(second.join(u'\n').contains(u"zastaralá poznámka"_s));
}

TEST(ListCounters, Texts)
{
    EXPECT_EQ(UpdateMarkedLabel(12), u"12   vybráno "_s);
    EXPECT_EQ(UpdateTotalLabel(40), u"40    celkem "_s);
}
