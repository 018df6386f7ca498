#include "OldWorkingTable.h"
#include "import/ParadoxWorkingTableUpgrade.h"
#include "import/WorkingTable.h"
#include "platform/ModuleError.h"
#include "platform/SqliteStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One record of the old table: every field set from its name and the record
// number, except those the case leaves NULL; memo texts long enough to live
// in the memo file.
std::vector<fixture::PxValue> oldRecord(qint64 key, const QStringList &nulls = {})
{
    std::vector<fixture::PxValue> record;
    for (const FieldDef &f : NestaTableDef().fields) {
        if (nulls.contains(f.name)) {
            record.emplace_back(std::monostate());
            continue;
        }
        switch (f.kind) {
        case FieldKind::AutoInc:
            record.emplace_back(key);
            break;
        case FieldKind::Text:
            record.emplace_back((f.name + u"-č%1-ř"_s.arg(key)).left(f.width));
            break;
        case FieldKind::Memo:
            record.emplace_back(u"výbava %1: "_s.arg(key) + u"klimatizace, "_s.repeated(40));
            break;
        case FieldKind::Boolean:
            record.emplace_back(key % 2 == 1);
            break;
        }
    }
    return record;
}

class OldWorkingTable : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString file = dir.path() + u"/Nesta.DB"_s;
    QStringList leftovers() const
    {
        return QDir(dir.path()).entryList({u"Nesta.DB.*"_s}, QDir::Files);
    }
};

} // namespace

TEST_F(OldWorkingTable, IsConvertedFieldByFieldOnce)
{
    // Written out of key order, with NULL texts, memos and booleans.
    const QStringList nulls{u"POZNAMKA"_s, u"VYBAVA"_s, u"ZOB_FOTO3"_s, u"REZERVA4"_s};
    fixture::writeOldWorkingTable(file, NestaTableDef(), {oldRecord(7), oldRecord(2, nulls), oldRecord(4)});
    const QByteArray old = bytesOf(file);

    ASSERT_TRUE(UpgradeParadoxWorkingTable(file));
    EXPECT_EQ(bytesOf(file + u".paradox"_s), old);
    EXPECT_EQ(leftovers(), QStringList{u"Nesta.DB.paradox"_s});

    const auto rows = SqliteStore(file, NestaTableDef()).loadAll();
    ASSERT_EQ(rows.size(), 3u);
    const std::vector<qint64> keys{2, 4, 7};
    const auto &fields = NestaTableDef().fields;
    for (size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(rows[r].key(), keys[r]);
        const auto expected = oldRecord(keys[r], r == 0 ? nulls : QStringList());
        for (size_t i = 1; i < fields.size(); ++i) {
            const QVariant got = rows[r].value(NestaTableDef(), int(i));
            const auto &want = expected[i];
            if (std::holds_alternative<std::monostate>(want))
                EXPECT_TRUE(got.isNull()) << fields[i].name.toStdString();
            else if (const auto *b = std::get_if<bool>(&want))
                EXPECT_EQ(got, QVariant(*b)) << fields[i].name.toStdString();
            else
                EXPECT_EQ(got.toString(), std::get<QString>(want)) << fields[i].name.toStdString();
        }
    }
    EXPECT_EQ(rows[0].value(NestaTableDef(), NestaTableDef().indexOf(u"CJ")).toString(), u"CJ-č2-ř"_s);

    // Now an SQLite file: nothing more to convert.
    const QByteArray converted = bytesOf(file);
    EXPECT_FALSE(UpgradeParadoxWorkingTable(file));
    EXPECT_EQ(bytesOf(file), converted);
}

TEST_F(OldWorkingTable, RecordsKeepTheirNumbers)
{
    // A gap stays; a repeated or a missing number (a damaged table) becomes
    // the next free one, and new records follow the highest.
    fixture::writeOldWorkingTable(file, NestaTableDef(),
                                  {oldRecord(9), oldRecord(3), oldRecord(3), oldRecord(0, {u"PORADI"_s})});
    ASSERT_TRUE(UpgradeParadoxWorkingTable(file));
    SqliteStore store(file, NestaTableDef());
    const auto rows = store.loadAll();
    const int cj = NestaTableDef().indexOf(u"CJ");
    std::vector<std::pair<qint64, QString>> got;
    for (const auto &row : rows)
        got.emplace_back(row.key(), row.value(NestaTableDef(), cj).toString());
    const std::vector<std::pair<qint64, QString>> want{
        {3, u"CJ-č3-ř"_s}, {9, u"CJ-č9-ř"_s}, {10, u"CJ-č0-ř"_s}, {11, u"CJ-č3-ř"_s}};
    EXPECT_EQ(got, want);
    EXPECT_EQ(store.insert(PackedRow()), 12);
}

TEST_F(OldWorkingTable, AFailedConversionLeavesTheOldFileAlone)
{
    // The third record's memo lies beyond the end of the damaged memo file,
    // so the conversion stops after two records.
    std::vector<std::vector<fixture::PxValue>> records{oldRecord(1), oldRecord(2), oldRecord(3)};
    for (const char16_t *memo : {u"VYBAVA_XML", u"VYBAVA"})
        for (int r : {0, 1})
            records[size_t(r)][size_t(NestaTableDef().indexOf(memo))] = u"krátká"_s;
    fixture::writeOldWorkingTable(file, NestaTableDef(), records);
    QFile memo(dir.path() + u"/Nesta.MB"_s);
    ASSERT_TRUE(memo.resize(4096));
    const QByteArray old = bytesOf(file);

    try {
        UpgradeParadoxWorkingTable(file);
        ADD_FAILURE() << "the conversion did not fail";
    } catch (const ModuleError &e) {
        EXPECT_TRUE(e.text().contains(file)) << e.text().toStdString();
    }
    EXPECT_EQ(bytesOf(file), old);
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(u' ').toStdString();
}

TEST_F(OldWorkingTable, OtherFilesAreLeftToTheUsualOpen)
{
    QFile garbage(file);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    EXPECT_FALSE(UpgradeParadoxWorkingTable(file));
    EXPECT_EQ(bytesOf(file), QByteArray(4096, 'x'));

    // A Paradox table that is not the working table is refused by name.
    TableDef other = NestaTableDef();
    other.fields.pop_back();
    std::vector<fixture::PxValue> record = oldRecord(1);
    record.pop_back();
    fixture::writeOldWorkingTable(file, other, {record});
    try {
        UpgradeParadoxWorkingTable(file);
        ADD_FAILURE() << "a table without REZERVA10 was converted";
    } catch (const ModuleError &e) {
        EXPECT_TRUE(e.text().contains(file) && e.text().contains(u"REZERVA10"_s)) << e.text().toStdString();
    }
    EXPECT_TRUE(leftovers().isEmpty());
}
