#include "ErrorText.h"
#include "export/OfferLayout.h"
#include "export/OfferList.h"
#include "export/PhotoStaging.h"
#include "import/WorkingTable.h"
#include "platform/DatabaseSession.h"
#include "platform/Dataset.h"
#include "platform/ModuleError.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <sqlite3.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

class OfferListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        exe = dir.path() + u"/PRG/"_s;
        working = exe + u"Korvex_zip"_s;
        photos = dir.path() + u"/Data/FOTO/"_s;
        QDir().mkpath(working);
        QDir().mkpath(photos);
        CreateWorkingTable(query, DatabaseSession::fromText(u"[BAZAR]\nPATH="_s + dir.path() + u"/Data\n"_s));
    }

    void add(const std::vector<std::pair<const char16_t *, QVariant>> &fields)
    {
        query.append();
        for (const auto &[name, value] : fields)
            query.setValue(QStringView(name), value);
        query.post();
    }

    QString photo(const QString &name, const QByteArray &bytes = "jpeg")
    {
        QFile f(photos + name);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return photos + name;
    }

    // Without linking, every picture is copied, as across file systems.
    QByteArray write(bool onlyFirst = false, bool link = true)
    {
        OfferListSettings settings{exe, working, onlyFirst};
        settings.linkPhotos = link;
        WriteOfferList(query, settings);
        QFile f(working + u"/Data.xml"_s);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

    // REZERVA4 of every vehicle as the file holds it.
    QStringList storedResendFlags() const
    {
        Dataset stored{NestaTableDef()};
        stored.setFileName(query.fileName());
        stored.open();
        QStringList flags;
        for (stored.first(); !stored.eof(); stored.next())
            flags.append(stored.text(u"REZERVA4"));
        return flags;
    }

    QStringList staged() const
    {
        QStringList names = QDir(working).entryList(QDir::Files, QDir::Name);
        names.removeAll(u"Data.xml"_s);
        return names;
    }

    QTemporaryDir dir;
    QString exe, working, photos;
    Dataset query{NestaTableDef()};
};

QByteArray lines(std::initializer_list<const char *> text)
{
    QByteArray out;
    for (const char *line : text)
        out += QByteArray(line) + "\r\n";
    return out;
}

} // namespace

TEST_F(OfferListTest, NoMarkedVehicleGivesTheEmptyRoot)
{
    add({{u"CJ", u"1"_s}});
    EXPECT_EQ(write(), lines({"<?xml version=\"1.0\"?>", "<offer-list>", "</offer-list>"}));
}

TEST_F(OfferListTest, WritesEveryRowOfTheOfferBlock)
{
    add({{u"CJ", u"A1"_s}, {u"DRUH_VOZIDLA", u"osobni"_s}, {u"REZERVA1", u"kombi"_s}, {u"BARVA_XML", u"modrá"_s},
         {u"PALIVO", u"nafta"_s}, {u"ZNACKA", u"Škoda"_s}, {u"MODEL", u"Octavia"_s}, {u"TYP", u"-"_s},
         {u"DATUM_VYROBY", u"2005"_s}, {u"NAJETO", u"123456"_s}, {u"VYKON", u"77"_s}, {u"STK_DO", u"05/2009"_s},
         {u"REZERVA2", u"5"_s}, {u"CENA_VOZIDLA", u"250000"_s}, {u"POZNAMKA", u"Tažné & <hák> &amp;"_s},
         {u"STAV_VOZIDLA_XML", u"inz_leasing"_s}, {u"REZERVA5", u"*10000*2500*24*A"_s},
         {u"VYBAVA", u"rádio;;alarm;"_s}, {u"VYBAVA_DO_POZNAMKY", u"další výbava: x, "_s},
         {u"PRV_MAJITEL", u"1"_s}, {u"SERVIS_KN", u"1"_s}, {u"METALIZA", u"1"_s}, {u"STAT", u"CZ"_s},
         {u"REZERVA6", u"1"_s}, {u"REZERVA4", u"1"_s}, {u"OZNACENO", true}});
    add({{u"CJ", u"B2"_s}, {u"OZNACENO", false}});
    add({{u"CJ", u"C3"_s}, {u"DRUH_VOZIDLA", u"ostatni"_s}, {u"TYP", u"--"_s}, {u"MODEL", u" -"_s},
         {u"POZNAMKA", u"a\"b'c\x01\r\nd"_s}, {u"VYBAVA", u"a;b"_s}, {u"REZERVA5", u"N*1"_s},
         {u"REZERVA6", u"11"_s}, {u"OZNACENO", true}});

    EXPECT_EQ(write(), lines({
        "<?xml version=\"1.0\"?>",
        "<offer-list>",
        "    <offer>",
        "      <id>A1</id>",
        "      <category>osobní vozy</category>",
        "      <constr>kombi</constr>",
        "      <color>modrá</color>",
        "      <fuel>nafta</fuel>",
        "      <producer>\xC5\xA0koda</producer>",
        "      <type>Octavia</type>",
        "      <model-supplement></model-supplement>",
        "      <constr-year>2005</constr-year>",
        "      <model-year>2005</model-year>",
        "      <km>123456</km>",
        "      <kw>77</kw>",
        "      <stk>05/2009</stk>",
        "      <doors-number>5</doors-number>",
        "      <new-flag>ne</new-flag>",
        "      <sales-price>250000</sales-price>",
        "      <etc>další výbava: x, ; Tažné &amp; &lt;hák&gt; &amp;amp; FINANCOVÁNÍ - akontace: 10000Kč + splátky: 24 x "
        "2500Kč  NEHAVAROVÁNO</etc>",
        "      <extra>rádio</extra>",
        "      <extra></extra>",
        "      <extra>alarm</extra>",
        "      <remark>První majitel</remark>",
        "      <remark>Servisní knížka</remark>",
        "      <remark>Metalíza</remark>",
        "      <remark>Země původu: CZ</remark>",
        "      <to-print>true</to-print>",
        "    </offer>",
        "    <offer>",
        "      <id>C3</id>",
        "      <category></category>",
        "      <constr></constr>",
        "      <color></color>",
        "      <fuel></fuel>",
        "      <producer></producer>",
        "      <type> -</type>",
        "      <model-supplement>--</model-supplement>",
        "      <constr-year></constr-year>",
        "      <model-year></model-year>",
        "      <km></km>",
        "      <kw></kw>",
        "      <stk></stk>",
        "      <doors-number></doors-number>",
        "      <new-flag>ne</new-flag>",
        "      <sales-price></sales-price>",
        "      <etc>a&quot;b&apos;c  d </etc>",
        "      <extra>a</extra>",
        "      <to-print>false</to-print>",
        "    </offer>",
        "</offer-list>",
    }));
    // The resend flag holds for one send only.
    query.first();
    EXPECT_EQ(query.text(u"REZERVA4"), QString());
    EXPECT_TRUE(query.boolean(u"OZNACENO"));
}

// The layout alone: the same bytes as the list's block, and nothing else
// touched, neither the record nor the working folder.
TEST_F(OfferListTest, TheOfferLayoutWritesOneBlockIntoADevice)
{
    add({{u"CJ", u"A&1"_s}, {u"ZNACKA", u"Škoda"_s}, {u"VYBAVA", u"rádio;"_s}, {u"REZERVA4", u"1"_s},
         {u"FOTO1", photo(u"a_1_web.jpg"_s)}, {u"ZOB_FOTO1", true}, {u"OZNACENO", true}});
    query.first();
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteOffer(out, query, {u"x<1>.jpg"_s, u"b.jpg"_s}));
    EXPECT_TRUE(bytes.startsWith("    <offer>\r\n      <id>A&amp;1</id>\r\n")) << bytes.constData();
    EXPECT_TRUE(bytes.endsWith("      <to-print>false</to-print>\r\n      <picture>x&lt;1&gt;.jpg</picture>\r\n"
                               "      <picture>b.jpg</picture>\r\n    </offer>\r\n"))
        << bytes.constData();
    EXPECT_TRUE(bytes.contains("      <producer>\xC5\xA0koda</producer>\r\n      <type></type>\r\n"));
    EXPECT_EQ(query.text(u"REZERVA4"), u"1"_s);
    EXPECT_EQ(staged(), QStringList());

    // Inside the list the block is byte for byte the same, with the staged names.
    QByteArray alone;
    QBuffer single(&alone);
    single.open(QIODevice::WriteOnly);
    WriteOffer(single, query, {u"a_1_web.jpg"_s});
    EXPECT_EQ(write(), "<?xml version=\"1.0\"?>\r\n<offer-list>\r\n" + alone + "</offer-list>\r\n");

    // A device that refuses the bytes says so.
    QBuffer closed;
    EXPECT_FALSE(WriteOffer(closed, query, {}));
}

TEST_F(OfferListTest, StagesChosenAndExtraPhotosThePortalLacks)
{
    const QString first = photo(u"12345_1_MAX.jpg"_s, "first");
    const QString second = photo(u"12345_2_WEB.jpg"_s);
    photo(u"12345_7_web.jpg"_s, "seven");
    photo(u"12345_9_web.jpg"_s);
    add({{u"CJ", u"1"_s}, {u"FOTO1", first}, {u"ZOB_FOTO1", true}, {u"FOTO2", second}, {u"ZOB_FOTO2", false},
         {u"FOTO3", photos + u"chybi_3_web.jpg"_s}, {u"ZOB_FOTO3", true}, {u"OZNACENO", true}});
    QFile list(exe + u"Obr_FTP_List.txt"_s);
    list.open(QIODevice::WriteOnly);
    list.write("12345_9_web.jpg\r\n");
    list.close();

    const QByteArray xml = write();
    EXPECT_TRUE(xml.contains("      <to-print>false</to-print>\r\n      <picture>12345_1_max.jpg</picture>\r\n"
                             "      <picture>12345_7_web.jpg</picture>\r\n      <picture>12345_9_web.jpg</picture>\r\n"
                             "    </offer>"))
        << xml.constData();
    EXPECT_EQ(staged(), (QStringList{u"12345_1_max.jpg"_s, u"12345_7_web.jpg"_s}));
    QFile copy(working + u"/12345_7_web.jpg"_s);
    copy.open(QIODevice::ReadOnly);
    EXPECT_EQ(copy.readAll(), QByteArray("seven"));

    // Resend: everything named is copied again, once.
    QDir(working).removeRecursively();
    QDir().mkpath(working);
    query.first();
    query.edit();
    query.setValue(u"REZERVA4", u"1"_s);
    query.post();
    write();
    EXPECT_EQ(staged(), (QStringList{u"12345_1_max.jpg"_s, u"12345_7_web.jpg"_s, u"12345_9_web.jpg"_s}));
}

TEST_F(OfferListTest, OnlyTheFirstPhotoButStillTheExtras)
{
    add({{u"CJ", u"1"_s}, {u"FOTO1", photo(u"7_1_WEB.JPG"_s)}, {u"ZOB_FOTO1", false},
         {u"FOTO2", photo(u"7_2_WEB.JPG"_s)}, {u"ZOB_FOTO2", true}, {u"OZNACENO", true}});
    photo(u"7_8_web.jpg"_s);
    const QByteArray xml = write(true);
    EXPECT_FALSE(xml.contains("7_2_web.jpg"));
    EXPECT_FALSE(xml.contains("7_1_web.jpg"));
    EXPECT_TRUE(xml.contains("<picture>7_8_web.jpg</picture>"));
    EXPECT_EQ(staged(), QStringList{u"7_8_web.jpg"_s});
}

TEST_F(OfferListTest, APhotoOutsideTheHostNamingHasNoExtras)
{
    add({{u"CJ", u"1"_s}, {u"FOTO1", photo(u"auto.jpg"_s)}, {u"ZOB_FOTO1", true}, {u"OZNACENO", true}});
    EXPECT_EQ(write().count("<picture>auto.jpg</picture>"), 1);
}

TEST_F(OfferListTest, PictureNamesNeverLeaveTheWorkingFolder)
{
    EXPECT_EQ(PictureName(u"C:\\Host\\Data\\FOTO\\AB_1_WEB.JPG"_s), u"ab_1_web.jpg"_s);
    EXPECT_EQ(PictureName(u"/srv/x/../ŽLUTÁ_1_web.jpg"_s), u"žlutá_1_web.jpg"_s);
    EXPECT_EQ(PictureName(u"D:..\\..\\x.jpg"_s), u"x.jpg"_s);
    EXPECT_EQ(PictureName(u"a/"_s), QString());
}

TEST_F(OfferListTest, AnUnreadablePhotoEndsTheSend)
{
    const QString folder = photo(u"k_1_web.jpg"_s);
    QFile::remove(folder);
    QDir().mkpath(folder); // a folder where the photo should be: it exists but cannot be read
    add({{u"CJ", u"1"_s}, {u"FOTO1", folder}, {u"ZOB_FOTO1", true}, {u"OZNACENO", true}});
    EXPECT_NO_THROW(write()); // a folder is no photo: left out
    add({{u"CJ", u"2"_s}, {u"FOTO1", photo(u"m_1_web.jpg"_s)}, {u"ZOB_FOTO1", true}, {u"OZNACENO", true}});
    QDir().mkpath(working + u"/m_1_web.jpg/x"_s); // the copy cannot be created
    try {
        write();
        FAIL();
    } catch (const ModuleError &e) {
        EXPECT_TRUE(e.text().contains(u"m_1_web.jpg"_s)) << e.what();
    }
}

TEST_F(OfferListTest, AnOfferListThatCannotBeWrittenStopsTheSend)
{
    QDir(working).removeRecursively();
    try {
        write();
        FAIL();
    } catch (const ModuleError &e) {
        EXPECT_TRUE(e.text().contains(u"Data.xml"_s));
    }
}

TEST_F(OfferListTest, APictureThatCannotBeStagedStopsBeforeTheOfferList)
{
    add({{u"CJ", u"A0"_s}, {u"OZNACENO", true}, {u"REZERVA4", u"1"_s}});
    add({{u"CJ", u"A1"_s}, {u"OZNACENO", true}, {u"FOTO1", photo(u"A1_1_max.jpg"_s)}, {u"ZOB_FOTO1", true}});
    // The copy's place is taken by a folder: the write fails as on a full or
    // read-only disk.
    QDir().mkpath(working + u"/a1_1_max.jpg"_s);
    const QString error = test::errorOf([&] { write(); });
    EXPECT_TRUE(error.contains(u"a1_1_max.jpg"_s)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(working + u"/Data.xml"_s));
    // The first vehicle's offer was complete, but no offer list went out.
    EXPECT_EQ(storedResendFlags(), (QStringList{u"1"_s, QString()}));
}

// A failed offer list keeps the dealer's "send photos again" requests, and
// the list is drawn again however the failure came.
TEST_F(OfferListTest, AFailedOfferListKeepsTheResendRequests)
{
    add({{u"CJ", u"1"_s}, {u"OZNACENO", true}, {u"REZERVA4", u"1"_s}});
    add({{u"CJ", u"2"_s}, {u"OZNACENO", false}, {u"REZERVA4", u"1"_s}});
    add({{u"CJ", u"3"_s}, {u"OZNACENO", true}, {u"REZERVA4", u"1"_s}});

    // Data.xml cannot be written: its place is a folder that is not empty.
    QDir().mkpath(working + u"/Data.xml/x"_s);
    const QString error = test::errorOf([&] { write(); });
    EXPECT_TRUE(error.contains(u"Data.xml"_s)) << error.toStdString();
    EXPECT_EQ(storedResendFlags(), (QStringList{u"1"_s, u"1"_s, u"1"_s}));
    EXPECT_FALSE(query.controlsDisabled());
    QDir(working + u"/Data.xml"_s).removeRecursively();

    // The working table cannot be saved: another reader holds the file.
    sqlite3 *reader = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(query.fileName()).constData(), &reader), SQLITE_OK);
    sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM Nesta;", nullptr, nullptr, nullptr);
    EXPECT_FALSE(test::errorOf([&] { write(); }).isEmpty());
    EXPECT_FALSE(query.controlsDisabled());
    sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(reader);
    EXPECT_EQ(storedResendFlags(), (QStringList{u"1"_s, u"1"_s, u"1"_s}));

    // Once the list is written, the marked vehicles' requests are spent.
    write();
    EXPECT_EQ(storedResendFlags(), (QStringList{QString(), u"1"_s, QString()}));
}

TEST_F(OfferListTest, PictureNamesAreEncodedLikeEveryValue)
{
    add({{u"CJ", u"1"_s}, {u"FOTO1", photo(u"R&D <nový>_1_web.jpg"_s)}, {u"ZOB_FOTO1", true}, {u"OZNACENO", true}});
    const QByteArray xml = write();
    EXPECT_TRUE(xml.contains("      <picture>r&amp;d &lt;nový&gt;_1_web.jpg</picture>\r\n")) << xml.constData();
    QXmlStreamReader reader(xml);
    QStringList pictures;
    while (reader.readNext() != QXmlStreamReader::Invalid && !reader.atEnd())
        if (reader.isStartElement() && reader.name() == u"picture")
            pictures.append(reader.readElementText());
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_EQ(pictures, QStringList{u"r&d <nový>_1_web.jpg"_s});
    EXPECT_EQ(staged(), QStringList{u"r&d <nový>_1_web.jpg"_s});
}

TEST_F(OfferListTest, AnEmptyFirstPhotoNamesOnlyTheOthers)
{
    photo(u"_7_web.jpg"_s);
    add({{u"CJ", u"1"_s}, {u"FOTO1", QString()}, {u"ZOB_FOTO1", true}, {u"FOTO2", photo(u"5_2_web.jpg"_s)},
         {u"ZOB_FOTO2", true}, {u"OZNACENO", true}});
    const QByteArray xml = write();
    EXPECT_EQ(xml.count("<picture>"), 1) << xml.constData();
    EXPECT_TRUE(xml.contains("      <picture>5_2_web.jpg</picture>\r\n    </offer>"));
    EXPECT_EQ(staged(), QStringList{u"5_2_web.jpg"_s});
}

TEST_F(OfferListTest, AFullDiskWhileStagingSaysSoInCzech)
{
    if (!QFileInfo(u"/dev/full"_s).exists())
        GTEST_SKIP() << "no /dev/full";
    // Every write to /dev/full fails as on a full disk, also the one write
    // of a small photo.
    add({{u"CJ", u"1"_s}, {u"FOTO1", photo(u"F_1_web.jpg"_s, QByteArray(100, 'j'))}, {u"ZOB_FOTO1", true},
         {u"OZNACENO", true}});
    ASSERT_TRUE(QFile::link(u"/dev/full"_s, working + u"/f_1_web.jpg"_s));
    const QString error = test::errorOf([&] { write(); });
    EXPECT_EQ(error, u"Soubor \""_s + working + u"/f_1_web.jpg\" nelze zapsat: na disku není dost místa (No space "
                                                 u"left on device)"_s);
    EXPECT_FALSE(QFile::exists(working + u"/Data.xml"_s));
}

TEST_F(OfferListTest, ADiskThatFillsWithinAPhotoSaysWhy)
{
    // Under a file-size limit the system takes part of a write and refuses
    // the rest, as a disk that fills up does. The limit is set in a child.
    // The limit falls in the middle of the photo, then in its last small piece.
    add({{u"CJ", u"1"_s}, {u"FOTO1", photo(u"G_1_web.jpg"_s, QByteArray(70000, 'j'))}, {u"ZOB_FOTO1", true},
         {u"OZNACENO", true}});
    const auto writeUnderLimit = [this](rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::fputs(test::errorOf([this] { write(false, false); }).toUtf8().constData(), stderr);
        // The child ends without destructors; its own folder goes first.
        dir.remove();
        std::_Exit(0);
    };
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const rlim_t limit : {rlim_t(40000), rlim_t(69000)})
        EXPECT_EXIT(writeUnderLimit(limit), ::testing::ExitedWithCode(0),
                    "g_1_web.jpg\" nelze zapsat: soubor je příliš velký \\(File too large\\)$")
            << limit;
}
