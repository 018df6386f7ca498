// Tables as the host's database engine writes them: every field type, a key,
// index files beside the table, file version 0x0C and code page 1252.
#include "ParadoxWriter.h"
#include "platform/ModuleError.h"
#include "platform/ParadoxFormat.h"
#include "platform/ParadoxTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

extern "C" {
#include <paradox.h>
}

#include <gtest/gtest.h>

#include <cstring>

using namespace korvex;
using namespace korvex::fixture;
using namespace Qt::StringLiterals;

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

int le16(const QByteArray &b, int at)
{
    return (unsigned char)b[at] | (unsigned char)b[at + 1] << 8;
}

void putLe16(QByteArray &b, int at, int v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

// Record data is big-endian with the sign bit flipped, so that an all-zero
// field is NULL.
QByteArray dataLong(qint32 v)
{
    const quint32 u = quint32(v) ^ 0x80000000u;
    QByteArray out;
    for (int i = 3; i >= 0; --i)
        out += char(u >> (8 * i));
    return out;
}

QByteArray dataDouble(double v)
{
    quint64 u;
    std::memcpy(&u, &v, sizeof u);
    u = v >= 0 ? u | (quint64(1) << 63) : ~u;
    QByteArray out;
    for (int i = 7; i >= 0; --i)
        out += char(u >> (8 * i));
    return out;
}

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// A table of version 0x0C with 1 KiB blocks, laid out byte by byte from the
// published description of the format rather than by any writer: BCD fields
// take 17 bytes and carry their decimals in the descriptor's size byte.
QByteArray handBuiltTable(int sumDecimalsByte = 0)
{
    struct Field
    {
        const char *name;
        char type;
        char sizeByte;
        int size;
    };
    const Field fields[]
        = { { "Jmeno", 0x01, 8, 8 }, { "Suma", 0x17, char(sumDecimalsByte), 17 }, { "Podil", 0x17, 4, 17 },
              { "Cas", 0x14, 4, 4 }, { "Okamzik", 0x15, 8, 8 }, { "Poradi", 0x16, 4, 4 }, { "Kod", 0x18, 3, 3 } };
    const int count = int(std::size(fields));
    int recordSize = 0;
    for (const Field &f : fields)
        recordSize += f.size;

    QByteArray h(0x800, '\0');
    putLe16(h, 0x00, recordSize);
    putLe16(h, 0x02, 0x800);
    h[0x04] = 2; // not keyed
    h[0x05] = 1; // 1 KiB blocks
    h[0x06] = 2; // records
    for (const int at : { 0x0A, 0x0C, 0x0E, 0x10, 0x3A })
        putLe16(h, at, 1);
    putLe16(h, 0x21, count);
    h.replace(0x25, 4, hex("00ff00ff"));
    h[0x29] = char(0xB7);
    h[0x39] = 0x0C;
    putLe16(h, 0x3E, 0x0F1F);
    h[0x49] = 43; // next autoincrement value
    putLe16(h, 0x58, 0x010C);
    putLe16(h, 0x5A, 0x010C);
    putLe16(h, 0x64, count + 1);
    putLe16(h, 0x6A, 1252);
    int pos = 0x78;
    for (const Field &f : fields) {
        h[pos++] = f.type;
        h[pos++] = f.sizeByte;
    }
    pos += 4 + 4 * count; // pointers, valid only in memory
    h.replace(pos, 11, QByteArrayLiteral("RUCNE.DB\0\0\0")); // table name of version 0x0C: 261 bytes
    pos += 261;
    for (const Field &f : fields) {
        h.replace(pos, int(std::strlen(f.name)), f.name);
        pos += int(std::strlen(f.name)) + 1;
    }

    QByteArray record = QByteArrayLiteral("Auto\0\0\0\0");
    record += hex("c0") + QByteArray(12, '\0') + hex("01234567"); // 1234567
    record += hex("44") + QByteArray(14, char(0xFF)) + hex("f9da"); // -0.0625, digits inverted
    record += dataLong((13 * 3600 + 14 * 60 + 15) * 1000 + 500); // 13:14:15.5
    record += dataDouble(728783.0 * 86400000.0 + (8 * 3600 + 9 * 60 + 10) * 1000.0); // 4.5.1996 8:09:10
    record += dataLong(42);
    record += QByteArrayLiteral("K1\0");
    EXPECT_EQ(record.size(), recordSize);

    QByteArray block(0x400, '\0');
    putLe16(block, 4, recordSize); // offset of the last of two records
    block.replace(6, recordSize, record);
    return h + block;
}

QString errorOf(const QByteArray &db)
{
    try {
        ParadoxTable::parse(db, std::nullopt, u"Rucne.DB"_s);
    } catch (const ModuleError &e) {
        return e.text();
    }
    return QString();
}

} // namespace

TEST(ParadoxFieldTypes, HandBuiltEngineTableReadsAsTheHostShowsIt)
{
    const ParadoxTable t = ParadoxTable::parse(handBuiltTable(), std::nullopt, u"Rucne.DB"_s);
    ASSERT_EQ(t.recordCount(), 2);
    const QStringList expected { u"Auto"_s, u"1234567"_s, u"-0,0625"_s, u"13:14:15"_s, u"4.5.1996 8:09:10"_s, u"42"_s,
        u"K1"_s };
    ASSERT_EQ(t.fields().size(), size_t(expected.size()));
    for (int f = 0; f < expected.size(); ++f) {
        EXPECT_EQ(t.text(0, f), expected[f]) << "field " << f;
        EXPECT_EQ(t.text(1, f), QString()) << "NULL field " << f;
    }
    EXPECT_EQ(t.fields()[1].size, 17);
    EXPECT_EQ(t.fields()[2].offset, 8 + 17);
    EXPECT_EQ(t.fields()[2].decimals, 4);
}

TEST(ParadoxFieldTypes, BcdDecimalsBeyondThirtyTwoAreDamage)
{
    EXPECT_EQ(errorOf(handBuiltTable(32)), QString());
    const QString error = errorOf(handBuiltTable(33));
    EXPECT_TRUE(error.contains(u"Rucne.DB"_s) && error.contains(u"33"_s)) << error.toStdString();
}

TEST(ParadoxFieldTypes, BcdTextKeepsAtMostItsDecimals)
{
    const auto bcd = [](const char *digits, bool negative = false) {
        QByteArray b = hex(digits).rightJustified(16, '\0');
        if (negative)
            for (char &c : b)
                c = char(~c);
        return (negative ? hex("40") : hex("c0")) + b;
    };
    const auto text = [](const QByteArray &b, int decimals) {
        return Paradox::bcdText(std::string_view(b.constData(), size_t(b.size())), decimals);
    };
    EXPECT_EQ(text(bcd("1250"), 2), u"12,5"_s);
    EXPECT_EQ(text(bcd("1200"), 2), u"12"_s);
    EXPECT_EQ(text(bcd("05"), 2), u"0,05"_s);
    EXPECT_EQ(text(bcd("1250", true), 2), u"-12,5"_s);
    EXPECT_EQ(text(bcd("00", true), 2), u"0"_s);
    EXPECT_EQ(text(bcd("01"), 32), u"0,00000000000000000000000000000001"_s);
    EXPECT_EQ(text(bcd("99999999999999999999999999999999"), 0), u"99999999999999999999999999999999"_s);
    EXPECT_EQ(text(bcd("1a"), 0), QString()) << "a nibble that is no digit";
    EXPECT_EQ(text(QByteArray(17, '\0'), 2), QString()) << "NULL";
    EXPECT_EQ(text(bcd("12").left(16), 0), QString()) << "cut short";
}

TEST(ParadoxFieldTypes, TimesReadAsTheCzechRegionalSettingsShowThem)
{
    const auto time = [](qint32 ms) {
        const QByteArray b = dataLong(ms);
        return Paradox::timeText(std::string_view(b.constData(), 4));
    };
    EXPECT_EQ(time(0), u"0:00:00"_s);
    EXPECT_EQ(time(86399999), u"23:59:59"_s);
    EXPECT_EQ(time(86400000), QString());
    EXPECT_EQ(time(-1), QString());
    const QByteArray stamp = dataDouble(86400000.0 * 2 + 3723000); // 2.1.0001 1:02:03
    EXPECT_EQ(Paradox::timestampText(std::string_view(stamp.constData(), 8)), u"2.1.0001 1:02:03"_s);
}

TEST(ParadoxFieldTypes, FixtureWriterProducesEveryTypeAndTheIndexFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Vsechno.DB"_s);
    const QString longMemo = QString(u"dlouhá poznámka "_s).repeated(20);
    {
        ParadoxWriter w(path,
            { { "Cislo", pxfAutoInc, 4 }, { "Nazev", pxfAlpha, 20 }, { "Pocet", pxfNumber, 8 },
                { "Cena", pxfCurrency, 8 }, { "Kratke", pxfShort, 2 }, { "Dlouhe", pxfLong, 4 },
                { "Presne", pxfBCD, 17, 2 }, { "Cele", pxfBCD, 17, 0 }, { "Datum", pxfDate, 4 }, { "Cas", pxfTime, 4 },
                { "Okamzik", pxfTimestamp, 8 }, { "Poznamka", pxfMemoBLOb, 11 }, { "Platne", pxfLogical, 1 },
                { "Data", pxfBLOb, 10 }, { "Bajty", pxfBytes, 6 } },
            { 1252, 1, { 1 } });
        w.addRecord({ qint64(2), u"Skoda Octavia"_s, 50097.99999999999, 1234.5, qint64(-12), qint64(123456),
            u"-123.45"_s, u"7"_s, QDate(2026, 12, 9), QTime(7, 5, 3), QDateTime(QDate(2026, 12, 9), QTime(7, 5, 3)),
            u"krátká"_s, true, QByteArray("\x01\x02"), QByteArray("ab") });
        w.addRecord({ qint64(1), u"Tatra"_s, 0.1 + 0.2, 0.0, qint64(0), qint64(-7), u"0.5"_s, u"-1200"_s,
            QDate(2005, 3, 15), QTime(0, 0), QDateTime(QDate(1999, 1, 1), QTime(23, 59, 59)), longMemo, false,
            QByteArray(5000, 'x'), QByteArray("xyz123") });
        w.addRecord({ qint64(3) });
    }

    const QByteArray head = readFile(path);
    EXPECT_EQ(head[0x39], 0x0C);
    EXPECT_EQ(le16(head, 0x6A), 1252);
    EXPECT_EQ(head[0x04], 0) << "keyed";
    EXPECT_EQ(head[0x23], 1) << "key fields";
    EXPECT_EQ(head[0x49], 4) << "next autoincrement value";
    for (const auto &[file, type] :
        { std::pair { u"Vsechno.PX"_s, 1 }, { u"Vsechno.X02"_s, 3 }, { u"Vsechno.Y02"_s, 4 } }) {
        const QByteArray index = readFile(dir.filePath(file));
        ASSERT_GE(index.size(), 0x800) << file.toStdString();
        EXPECT_EQ(index[0x04], type) << file.toStdString();
    }

    const ParadoxTable t = ParadoxTable::open(path);
    ASSERT_EQ(t.recordCount(), 3);
    const QStringList tatra { u"1"_s, u"Tatra"_s, u"0,3"_s, u"0"_s, u"0"_s, u"-7"_s, u"0,5"_s, u"-1200"_s,
        u"15.03.2005"_s, u"0:00:00"_s, u"1.1.1999 23:59:59"_s, longMemo, u"False"_s, QString(), u"xyz123"_s };
    const QStringList skoda { u"2"_s, u"Skoda Octavia"_s, u"50098"_s, u"1234,5"_s, u"-12"_s, u"123456"_s, u"-123,45"_s,
        u"7"_s, u"09.12.2026"_s, u"7:05:03"_s, u"9.12.2026 7:05:03"_s, u"krátká"_s, u"True"_s, QString(), u"ab"_s };
    for (int f = 0; f < tatra.size(); ++f) {
        EXPECT_EQ(t.text(0, f), tatra[f]) << "field " << f;
        EXPECT_EQ(t.text(1, f), skoda[f]) << "field " << f;
        EXPECT_EQ(t.text(2, f), f == 0 ? u"3"_s : QString()) << "field " << f;
    }
}

TEST(ParadoxFieldTypes, BcdAgreesWithPxlibsReader)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Bcd.DB"_s);
    const QStringList values { u"0.01"_s, u"-0.01"_s, u"7.5"_s, u"-123.45"_s, u"100"_s, u"-100"_s,
        u"123456789012345678901234567890.12"_s };
    const QStringList wholes { u"0"_s, u"-1"_s, u"7"_s, u"-123"_s, u"100"_s, u"-100"_s,
        u"12345678901234567890123456789012"_s };
    {
        ParadoxWriter w(path, { { "Dve", pxfBCD, 17, 2 }, { "Zadne", pxfBCD, 17, 0 } });
        for (int i = 0; i < values.size(); ++i)
            w.addRecord({ values[i], wholes[i] });
    }
    const ParadoxTable ours = ParadoxTable::open(path);
    ASSERT_EQ(ours.recordCount(), values.size());

    pxdoc_t *doc = PX_new();
    ASSERT_EQ(PX_open_file(doc, QFile::encodeName(path).constData()), 0);
    std::vector<char> buf(size_t(PX_get_recordsize(doc)));
    // pxlib writes every decimal place; the host drops trailing zeros.
    const auto hostForm = [](QString text) {
        if (text.contains(u'.')) {
            while (text.endsWith(u'0'))
                text.chop(1);
            if (text.endsWith(u'.'))
                text.chop(1);
        }
        return text.replace(u'.', u',');
    };
    for (int r = 0; r < ours.recordCount(); ++r) {
        ASSERT_NE(PX_get_record(doc, r, buf.data()), nullptr);
        for (int f = 0; f < 2; ++f) {
            char *value = nullptr;
            ASSERT_EQ(
                PX_get_data_bcd(doc, reinterpret_cast<unsigned char *>(buf.data()) + 17 * f, 2 - 2 * f, &value), 1);
            EXPECT_EQ(ours.text(r, f), hostForm(QString::fromLatin1(value))) << "record " << r << " field " << f;
            doc->free(doc, value);
        }
    }
    PX_close(doc);
    PX_delete(doc);
}
