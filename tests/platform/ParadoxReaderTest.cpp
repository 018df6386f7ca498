#include "ParadoxWriter.h"
#include "platform/DatabaseSession.h"
#include "platform/HostTable.h"
#include "platform/ModuleError.h"
#include "platform/ParadoxFormat.h"
#include "platform/ParadoxTable.h"
#include "platform/Win1250.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <limits>

extern "C" {
#include <paradox.h>
}

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::fixture;
using namespace Qt::StringLiterals;

namespace {

const QString kLongMemo = QString(u"Fotky: "_s).repeated(1) + QString(u"řádek s diakritikou; "_s).repeated(40);

// A table with one field of every type the reader decodes.
QString writeAllTypes(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(u"Vsechno.DB"_s);
    ParadoxWriter w(path, {{"Jmeno", pxfAlpha, 20},
                           {"Kratke", pxfShort, 2},
                           {"Dlouhe", pxfLong, 4},
                           {"Cislo", pxfNumber, 8},
                           {"Cena", pxfCurrency, 8},
                           {"Datum", pxfDate, 4},
                           {"Metaliza", pxfLogical, 1},
                           {"Poznamka", pxfMemoBLOb, 15}});
    w.addRecord({u"Škoda Octavia"_s, qint64(-12), qint64(123456), 1234.5, 250000.0, QDate(2005, 3, 15), true,
                 u"krátká"_s});
    w.addRecord({u"žluťoučký kůň"_s, qint64(32000), qint64(-7), -0.1, 0.0, QDate(1, 1, 1), false, kLongMemo});
    w.addRecord({});
    w.close();
    return path;
}

QString writeKeyed(const QTemporaryDir &dir, const QStringList &keys)
{
    QDir().mkpath(dir.filePath(u"Data"_s));
    ParadoxWriter w(dir.filePath(u"Data/Prijeti.DB"_s), {{"CIS_ZAK", pxfAlpha, 15}, {"ZNACKA", pxfAlpha, 20}});
    int n = 0;
    for (const QString &k : keys)
        w.addRecord({k, QStringLiteral("vůz %1").arg(++n)});
    w.close();
    return dir.filePath(u"Data/Prijeti.DB"_s);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void expectDamaged(const QByteArray &db, const std::optional<QByteArray> &mb)
{
    try {
        const ParadoxTable t = ParadoxTable::parse(db, mb, u"Prehledy.DB"_s);
        for (int r = 0; r < t.recordCount(); ++r)
            for (int f = 0; f < int(t.fields().size()); ++f)
                t.text(r, f);
        FAIL() << "damaged table was read without an error";
    } catch (const ModuleError &e) {
        EXPECT_TRUE(e.text().contains(u"Prehledy"_s)) << e.what();
    }
}

} // namespace

TEST(ParadoxReader, ReadsEveryFieldTypeAsItsText)
{
    QTemporaryDir dir;
    const ParadoxTable t = ParadoxTable::open(writeAllTypes(dir));
    ASSERT_EQ(t.recordCount(), 3);
    ASSERT_EQ(t.fields().size(), 8u);
    const QStringList first{u"Škoda Octavia"_s, u"-12"_s, u"123456"_s, u"1234,5"_s, u"250000"_s,
                            u"15.03.2005"_s, u"True"_s, u"krátká"_s};
    const QStringList second{u"žluťoučký kůň"_s, u"32000"_s, u"-7"_s, u"-0,1"_s, u"0"_s,
                             u"01.01.0001"_s, u"False"_s, kLongMemo};
    for (int f = 0; f < 8; ++f) {
        EXPECT_EQ(t.text(0, f), first[f]) << "field " << f;
        EXPECT_EQ(t.text(1, f), second[f]) << "field " << f;
        EXPECT_EQ(t.text(2, f), QString()) << "NULL field " << f;
    }
    EXPECT_EQ(t.logical(0, 6), true);
    EXPECT_EQ(t.logical(1, 6), false);
    EXPECT_EQ(t.logical(2, 6), std::nullopt);
}

TEST(ParadoxReader, MemosOfEveryLengthReadBack)
{
    // In the record, in shared blocks (multiples of 16 included) and in
    // blocks of their own.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Memo.DB"_s);
    std::vector<int> lengths;
    for (int n = 0; n <= 80; ++n)
        lengths.push_back(n);
    for (const int n : {255, 256, 257, 2047, 4096, 5000, 12345})
        lengths.push_back(n);
    {
        ParadoxWriter w(path, {{"N", pxfLong, 4}, {"M", pxfMemoBLOb, 15}});
        for (const int n : lengths)
            w.addRecord({qint64(n), n ? PxValue(QString(n, u'ž')) : PxValue()});
    }
    const ParadoxTable t = ParadoxTable::open(path);
    ASSERT_EQ(t.recordCount(), int(lengths.size()));
    for (int r = 0; r < t.recordCount(); ++r)
        EXPECT_EQ(t.text(r, 1), QString(lengths[size_t(r)], u'ž')) << "length " << lengths[size_t(r)];
}

TEST(ParadoxReader, AgreesWithPxlibOnEveryRecord)
{
    QTemporaryDir dir;
    const QString path = writeAllTypes(dir);
    const ParadoxTable ours = ParadoxTable::open(path);

    pxdoc_t *doc = PX_new();
    ASSERT_EQ(PX_open_file(doc, QFile::encodeName(path).constData()), 0);
    ASSERT_EQ(PX_get_num_records(doc), ours.recordCount());
    std::vector<char> buf(size_t(PX_get_recordsize(doc)));
    // The last record is all NULL, which pxlib does not read reliably.
    for (int r = 0; r + 1 < ours.recordCount(); ++r) {
        ASSERT_NE(PX_get_record(doc, r, buf.data()), nullptr);
        int offset = 0;
        for (int f = 0; f < PX_get_num_fields(doc); ++f) {
            const pxfield_t *field = PX_get_field(doc, f);
            char *data = buf.data() + offset;
            if (field->px_ftype == pxfAlpha) {
                char *value = nullptr;
                if (PX_get_data_alpha(doc, data, field->px_flen, &value) > 0) {
                    EXPECT_EQ(QByteArray(value), Win1250::encode(ours.text(r, f)));
                    doc->free(doc, value);
                }
            } else if (field->px_ftype == pxfLong) {
                long value = 0;
                if (PX_get_data_long(doc, data, field->px_flen, &value) > 0) {
                    EXPECT_EQ(QString::number(value), ours.text(r, f));
                }
            } else if (field->px_ftype == pxfNumber || field->px_ftype == pxfCurrency) {
                double value = 0;
                if (PX_get_data_double(doc, data, field->px_flen, &value) > 0) {
                    EXPECT_EQ(Paradox::formatNumber(value), ours.text(r, f));
                }
            }
            offset += field->px_flen;
        }
    }
    PX_close(doc);
    PX_delete(doc);
}

TEST(ParadoxReader, FormatsNumbersWithoutTheCLocale)
{
    EXPECT_EQ(Paradox::formatNumber(250000), u"250000"_s);
    EXPECT_EQ(Paradox::formatNumber(1234.5), u"1234,5"_s);
    EXPECT_EQ(Paradox::formatNumber(-0.0), u"0"_s);
    EXPECT_EQ(Paradox::formatNumber(1e21), u"1000000000000000000000"_s);
    EXPECT_EQ(Paradox::formatNumber(1e-7), u"0,0000001"_s);
}

TEST(ParadoxReader, NumbersKeepFifteenSignificantDigits)
{
    // Sums and prices typed into the host carry binary noise past the 15th
    // digit; the host never shows it.
    EXPECT_EQ(Paradox::formatNumber(50097.99999999999), u"50098"_s);
    EXPECT_EQ(Paradox::formatNumber(-50097.99999999999), u"-50098"_s);
    EXPECT_EQ(Paradox::formatNumber(0.1 + 0.2), u"0,3"_s);
    EXPECT_EQ(Paradox::formatNumber(123456.00000000001), u"123456"_s);
    EXPECT_EQ(Paradox::formatNumber(1234.56789012345678), u"1234,56789012346"_s);
    EXPECT_EQ(Paradox::formatNumber(123456789012345678.0), u"123456789012346000"_s);
    // Past 1e17 the nearest double of the rounded value has binary digits of its own.
    EXPECT_EQ(Paradox::formatNumber(1.23456789012347e17), u"123456789012347000"_s);
    EXPECT_EQ(Paradox::formatNumber(1e23), u"100000000000000000000000"_s);
    EXPECT_EQ(Paradox::formatNumber(-2.5e-7), u"-0,00000025"_s);
    EXPECT_EQ(Paradox::formatNumber(0.000123456789012345678), u"0,000123456789012346"_s);
    EXPECT_EQ(Paradox::formatNumber(std::numeric_limits<double>::max()).size(), 309);
    EXPECT_EQ(Paradox::formatNumber(std::numeric_limits<double>::denorm_min()).left(4), u"0,00"_s);
}

TEST(ParadoxReader, DatesOutOfRangeReadAsEmpty)
{
    // Days since 1.1.0001, big-endian with the sign bit flipped.
    EXPECT_EQ(Paradox::dateText(std::string_view("\x80\x00\x00\x01", 4)), u"01.01.0001"_s);
    EXPECT_EQ(Paradox::dateText(std::string_view("\x7F\xFF\xFF\xFF", 4)), QString());
    EXPECT_EQ(Paradox::dateText(std::string_view("\xFF\xFF\xFF\xFF", 4)), QString());
}

TEST(HostTable, WalksInKeyOrderAndFindsKeys)
{
    QTemporaryDir dir;
    writeKeyed(dir, {u"30"_s, u"10"_s, u"20"_s, u"10"_s, u"Ž1"_s});
    const auto session = DatabaseSession::fromText(u"[BAZAR1]\nPATH="_s + dir.filePath(u"Data"_s) + u'\n');
    HostTable table(session);
    table.open(u"BAZAR1"_s, u"prijeti.db"_s, u"Index_CIS_ZAK"_s);
    ASSERT_EQ(table.recordCount(), 5);

    QStringList walked;
    for (table.first(); !table.eof(); table.next())
        walked.append(table.text(u"cis_zak") + u'/' + table.text(u"ZNACKA"));
    EXPECT_EQ(walked, (QStringList{u"10/vůz 2"_s, u"10/vůz 4"_s, u"20/vůz 3"_s, u"30/vůz 1"_s, u"Ž1/vůz 5"_s}));

    ASSERT_TRUE(table.findKey(u"10"_s));
    EXPECT_EQ(table.text(u"ZNACKA"), u"vůz 2"_s);
    ASSERT_TRUE(table.findKey(u"Ž1"_s));
    EXPECT_EQ(table.text(u"ZNACKA"), u"vůz 5"_s);
    EXPECT_FALSE(table.findKey(u"1"_s));
    EXPECT_FALSE(table.findKey(u"10 "_s));
}

// A key that cannot be read fails every look-up alike, not only the first:
// the keys read before it are no index of the table.
TEST(HostTable, AnUnreadableKeyFailsEveryLookUp)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(u"Data"_s));
    const QString path = dir.filePath(u"Data/Prijeti.DB"_s);
    const QString first(300, u'a'), middle(300, u'm'), last(300, u'z');
    {
        ParadoxWriter w(path, {{"CIS_ZAK", pxfMemoBLOb, 15}, {"ZNACKA", pxfAlpha, 20}});
        w.addRecord({last, u"vůz 1"_s});
        w.addRecord({middle, u"vůz 2"_s});
        w.addRecord({first, u"vůz 3"_s});
        w.close();
    }
    // The middle key's note now points past the end of the notes file.
    QFile db(path);
    ASSERT_TRUE(db.open(QIODevice::ReadWrite));
    QByteArray bytes = db.readAll();
    const qsizetype leader = bytes.indexOf("mmmmm");
    ASSERT_GE(leader, 0);
    bytes[leader + 8] = char(0x7F);
    db.seek(0);
    db.write(bytes);
    db.close();

    const auto session = DatabaseSession::fromText(u"[BAZAR1]\nPATH="_s + dir.filePath(u"Data"_s) + u'\n');
    HostTable table(session);
    table.open(u"BAZAR1"_s, u"Prijeti.DB"_s, u"Index_CIS_ZAK"_s);
    EXPECT_THROW(table.findKey(first), ModuleError);
    EXPECT_THROW(table.findKey(first), ModuleError);
    EXPECT_THROW(table.findKey(last), ModuleError);
}

TEST(HostTable, ReportsUnknownAliasMissingTableIndexAndField)
{
    QTemporaryDir dir;
    writeKeyed(dir, {u"1"_s});
    const auto session = DatabaseSession::fromText(u"[BAZAR1]\nPATH="_s + dir.filePath(u"Data"_s) + u'\n');
    HostTable table(session);
    auto message = [&](auto action) {
        try {
            action();
        } catch (const ModuleError &e) {
            return e.text();
        }
        return QString();
    };
    EXPECT_TRUE(message([&] { table.open(u"BAZAR2"_s, u"Prijeti.DB"_s); }).contains(u"BAZAR2"_s));
    EXPECT_TRUE(message([&] { table.open(u"BAZAR1"_s, u"TSvyb.DB"_s); }).contains(u"TSvyb.DB"_s));
    const QString index = message([&] { table.open(u"BAZAR1"_s, u"Prijeti.DB"_s, u"Index_VIN"_s); });
    EXPECT_TRUE(index.contains(u"Prijeti.DB"_s) && index.contains(u"Index_VIN"_s)) << index.toStdString();
    table.open(u"BAZAR1"_s, u"Prijeti.DB"_s, u"Index_CIS_ZAK"_s);
    EXPECT_TRUE(message([&] { table.text(u"NOSNOST"); }).contains(u"NOSNOST"_s));
}

TEST(ParadoxReader, TruncatedAndGarbageFilesRaiseErrorsNamingTheFile)
{
    QTemporaryDir dir;
    const QString path = writeAllTypes(dir);
    const QByteArray db = readFile(path);
    QString memoPath = path;
    memoPath.replace(u".DB"_s, u".MB"_s);
    const QByteArray mb = readFile(memoPath);

    expectDamaged(QByteArray(), mb);
    expectDamaged(db.left(0x40), mb);
    expectDamaged(db.left(db.size() - 100), mb);
    expectDamaged(QByteArray(db.size(), 'x'), mb);

    QByteArray badHeader = db;
    badHeader[0x02] = char(0xFF); // header size beyond the file
    badHeader[0x03] = char(0x7F);
    expectDamaged(badHeader, mb);

    QByteArray badRecordSize = db;
    badRecordSize[0x00] = char(badRecordSize[0x00] + 1);
    expectDamaged(badRecordSize, mb);

    // The memo file is missing, cut short or of the wrong kind.
    expectDamaged(db, std::nullopt);
    expectDamaged(db, mb.left(mb.size() / 2));
    expectDamaged(db, QByteArray(mb.size(), '\0'));
}

TEST(ParadoxReader, ABlockChainThatLoopsOrLeavesTheFileEnds)
{
    QTemporaryDir dir;
    const QString path = writeAllTypes(dir);
    const QByteArray db = readFile(path);
    const int headerSize = (unsigned char)db[2] | (unsigned char)db[3] << 8;

    QByteArray loop = db;
    loop[headerSize] = 1; // block 1 names itself as its successor
    loop[headerSize + 1] = 0;
    expectDamaged(loop, readFile(QString(path).replace(u".DB"_s, u".MB"_s)));

    QByteArray away = db;
    away[0x0E] = char(0x40); // first block far beyond the end
    expectDamaged(away, std::nullopt);
}

TEST(ParadoxReader, AMissingMemoFileIsNamedWhenTheTableOpens)
{
    QTemporaryDir dir;
    const QString path = writeAllTypes(dir);
    QFile::remove(QString(path).replace(u".DB"_s, u".MB"_s));
    try {
        ParadoxTable::open(path);
        FAIL();
    } catch (const ModuleError &e) {
        EXPECT_TRUE(e.text().contains(u"Vsechno.MB"_s)) << e.what();
    }
}
