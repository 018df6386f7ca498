#include "Files.h"
#include "HostRun.h"
#include "import/InterchangeFile.h"
#include "platform/ModuleError.h"
#include "platform/Win1250.h"

#include <QDir>
#include <QTemporaryDir>

using namespace korvex;
using namespace korvex::fixture;
using namespace Qt::StringLiterals;

namespace {

QString technicalData(std::initializer_list<std::pair<int, QString>> fields)
{
    QStringList f(27);
    for (const auto &[n, v] : fields)
        f[n] = v;
    return f.join(u'*');
}

FixtureVehicle fullVehicle(const QString &cis)
{
    FixtureVehicle v;
    v.cisZak = cis;
    v.prodejCena = u"250000"_s;
    v.vykon = u"77"_s;
    v.photos = {{u"FOTO\\%1_1.JPG"_s.arg(cis), u"_WEB"_s},
                {u"FOTO\\%1_2.JPG"_s.arg(cis), u"_MAX"_s},
                {u"FOTO\\%1_3.JPG"_s.arg(cis), QString()}};
    FixtureIntake in;
    in.znacka = u"Škoda"_s;
    in.technicalData = technicalData({{1, u"Octavia"_s}, {2, u"1.9 TDI"_s}, {4, u"B"_s}, {5, u"5"_s},
                                      {11, u"20000"_s}, {16, u"A"_s}, {18, u"A"_s}, {19, u"R12"_s},
                                      {20, u"3500"_s}, {21, u"48"_s}, {26, u"CZ"_s}});
    in.note = u"Pěkný vůz"_s;
    in.barva = u"modrá"_s;
    in.metaliza = true;
    in.palivo = u"nafta"_s;
    in.stavTachom = u"123456"_s;
    in.provozOd = u"15.03.2005"_s;
    in.stkDo = u"05/2009"_s;
    in.pocetMajitelu = u"1"_s;
    in.obsahMotoru = u"1896"_s;
    v.intake = in;
    v.equipment = u"rádio; alarm; tažné zařízení; klimatizace; masážní křesla"_s;
    return v;
}

FixtureHost hostWith(std::vector<FixtureVehicle> vehicles, int branch = 1)
{
    FixtureHost host;
    host.route = {false, false, false, false, false};
    host.route[size_t(branch - 1)] = true;
    host.branches = {FixtureBranch{branch, std::move(vehicles)}};
    return host;
}

QStringList record(const QStringList &lines, int n)
{
    return lines.mid(n * 43, 43);
}

} // namespace

TEST(HostExtraction, WritesTheWholeRecordByteForByte)
{
    test::HostRun run(hostWith({fullVehicle(u"4711"_s)}));
    EXPECT_EQ(run.extract(), 1);
    const QString photo = QDir(run.dataFolder(1)).filePath(u"FOTO/4711_1_WEB.JPG"_s);
    const QString photo2 = QDir(run.dataFolder(1)).filePath(u"FOTO/4711_2_MAX.JPG"_s);
    const QStringList expected{
        u"4711"_s, u"BAZAR1"_s, u"osobni"_s, u"Škoda"_s, u"Octavia"_s, u"1.9 TDI"_s, u"modrá"_s, u"modrá"_s,
        u"CR"_s, u"CZ"_s, u"inz_nafta"_s, u"nafta"_s, u"km"_s, u"123456"_s, u"2005-03-15"_s, u"15.03.2005"_s,
        u"1"_s, u"1"_s, u"0"_s, u"1"_s, u"2009-05-01"_s, u"05/2009"_s, u"inz_used"_s, u"ojeté"_s,
        u"250000"_s, u"CZK"_s, u"Pěkný vůz"_s, u"eq_radio;eq_alarm;eq_tow_coupling;eq_man_aircon;"_s,
        u"rádio;alarm;tažné zařízení;klimatizace;"_s, u"masážní křesla, "_s, photo + u',' + photo2 + u',',
        u"77"_s, u"1896"_s, QString(), u"kombi"_s, u"5"_s, u"R12"_s, QString(), u"20000"_s, u"3500"_s,
        u"48"_s, u"A"_s, QString(70, u'-')};
    QByteArray bytes;
    for (const QString &line : expected)
        bytes += Win1250::encode(line) + "\r\n";
    EXPECT_EQ(run.interchangeBytes(), bytes);
}

TEST(HostExtraction, SelectionRules)
{
    auto vehicle = [](const QString &cis, auto change) {
        FixtureVehicle v = fullVehicle(cis);
        change(v);
        return v;
    };
    std::vector<FixtureVehicle> vehicles{
        vehicle(u"01"_s, [](FixtureVehicle &) {}),
        vehicle(u"02"_s, [](FixtureVehicle &v) { v.stav = u"Nabízeno"_s; }),
        vehicle(u"03"_s, [](FixtureVehicle &v) { v.stav = u"nabizeno"_s; }),
        vehicle(u"04"_s, [](FixtureVehicle &v) { v.rezJmeno = u"Novák"_s; }),
        vehicle(u"05"_s, [](FixtureVehicle &v) { v.rezPrehl5 = u"#########*#*N*#x"_s; }),
        vehicle(u"06"_s, [](FixtureVehicle &v) { v.rezPrehl5 = u"##########*n*"_s; }),
        vehicle(u"07"_s, [](FixtureVehicle &v) { v.rezPrehl5 = u"##########*N*"_s; }),
        vehicle(u"08"_s, [](FixtureVehicle &v) { v.prodejCena = u"0"_s; }),
        vehicle(u"09"_s, [](FixtureVehicle &v) { v.prodejCena = QString(); }),
        vehicle(u"10"_s, [](FixtureVehicle &v) { v.prodejCena = u"00"_s; }),
        vehicle(u"11"_s, [](FixtureVehicle &v) { v.photos.clear(); }),
        vehicle(u"12"_s, [](FixtureVehicle &v) { v.photos = {{u"FOTO\\nic.JPG"_s, QString()}}; }),
    };
    FixtureHost host = hostWith(vehicles);
    host.priceField = FixtureHost::PriceField::Alpha;

    test::HostRun all(host);
    all.extract();
    EXPECT_EQ(all.vehicleNumbers(), (QStringList{u"01"_s, u"04"_s, u"06"_s, u"08"_s, u"09"_s, u"10"_s, u"11"_s,
                                                 u"12"_s}));

    host.reservationsMarker = true;
    test::HostRun strict(host);
    strict.settings.onlyWithPhotos = true;
    strict.settings.onlyWithPrice = true;
    strict.extract();
    EXPECT_EQ(strict.vehicleNumbers(), (QStringList{u"01"_s, u"06"_s, u"10"_s, u"12"_s}));
}

TEST(HostExtraction, PrefixLettersFollowTheNumberOfSwitchedOnRoutes)
{
    FixtureHost host;
    host.branches = {FixtureBranch{1, {fullVehicle(u"1"_s)}}, FixtureBranch{3, {fullVehicle(u"3"_s)}}};
    auto numbers = [&](std::array<bool, 5> route) {
        host.route = route;
        test::HostRun run(host);
        run.extract();
        return run.vehicleNumbers();
    };
    EXPECT_EQ(numbers({true, false, false, false, false}), QStringList{u"1"_s});
    EXPECT_EQ(numbers({true, false, true, false, false}), (QStringList{u"A1"_s, u"C3"_s}));
    EXPECT_EQ(numbers({true, false, false, false, true}), QStringList{u"A1"_s});
    EXPECT_EQ(numbers({true, true, true, true, true}), (QStringList{u"A1"_s, u"C3"_s}));
    EXPECT_EQ(numbers({false, false, false, false, false}), QStringList());
}

TEST(HostExtraction, RouteLinesMustReadTrueExactly)
{
    FixtureHost host = hostWith({fullVehicle(u"1"_s)});
    test::HostRun run(host);
    QFile route(run.settings.executableFolder + u"Route_Seznam_Zobraz.ddd"_s);
    route.open(QIODevice::WriteOnly);
    route.write("true\r\nFALSE\r\n");
    route.close();
    EXPECT_EQ(run.extract(), 0);
    EXPECT_EQ(run.interchangeBytes(), QByteArray());
}

TEST(HostExtraction, PriceWithoutVatIntakeLessAndShortTechnicalData)
{
    FixtureVehicle net = fullVehicle(u"1"_s);
    net.prodejCena = u"500"_s;
    net.intake->technicalData = technicalData({{1, u"Fabia"_s}, {23, u"A"_s}, {25, u"havarované"_s}, {13, u"x"_s}});
    FixtureVehicle bare = fullVehicle(u"2"_s);
    bare.intake.reset();
    bare.equipment.reset();
    FixtureVehicle shortTech = fullVehicle(u"3"_s);
    shortTech.intake->technicalData = u"A*"_s;
    shortTech.prodejCena = u"500"_s;

    FixtureHost host = hostWith({net, bare, shortTech});
    host.vatRate = 19;
    test::HostRun run(host);
    run.extract();
    const QStringList lines = run.interchangeLines();

    const QStringList first = record(lines, 0);
    EXPECT_EQ(first[24], u"420"_s);
    EXPECT_EQ(first[26], u"CENA BEZ DPH, Pěkný vůz"_s);
    EXPECT_EQ(first[22], u"inz_crash"_s);
    EXPECT_EQ(first[23], u"havarované"_s);
    EXPECT_EQ(first[37], u"A"_s);

    const QStringList second = record(lines, 1);
    for (int i = 2; i < 42; ++i) {
        if (i == 24 || i == 30 || i == 31)
            continue;
        EXPECT_EQ(second[i], QString()) << "line " << i + 1;
    }
    EXPECT_EQ(second[24], u"250000"_s);
    EXPECT_FALSE(second[30].isEmpty());
    EXPECT_EQ(second[31], u"77"_s);

    const QStringList third = record(lines, 2);
    EXPECT_EQ(third[24], u"500"_s);
    EXPECT_EQ(third[26], u"Pěkný vůz"_s);
    for (const int line : {5, 6, 10, 35, 36, 37, 38, 39, 40, 41, 42})
        EXPECT_EQ(third[line - 1], QString()) << "line " << line;
    EXPECT_EQ(third[8], u"other"_s);
    EXPECT_EQ(third[17], u"0"_s);
}

TEST(HostExtraction, NumberFieldsReadWithoutBinaryNoise)
{
    // Host sums such as 50097.99999999999 must not reach the portal as
    // 50097,9999, nor a mileage like that be dropped as not whole.
    FixtureVehicle gross = fullVehicle(u"1"_s);
    gross.prodejCena = u"50097.99999999999"_s;
    gross.intake->stavTachom = u"123456.00000000001"_s;
    FixtureVehicle fraction = fullVehicle(u"2"_s);
    fraction.prodejCena = u"1234.5"_s;
    fraction.intake->stavTachom = u"1234.5"_s;

    for (const auto field : {FixtureHost::PriceField::Number, FixtureHost::PriceField::Currency}) {
        FixtureHost host = hostWith({gross, fraction});
        host.priceField = field;
        host.numericMileage = true;
        test::HostRun run(host);
        run.extract();
        const QStringList lines = run.interchangeLines();
        EXPECT_EQ(record(lines, 0)[24], u"50098"_s);
        EXPECT_EQ(record(lines, 0)[13], u"123456"_s);
        EXPECT_EQ(record(lines, 1)[24], u"1234,5"_s);
        EXPECT_EQ(record(lines, 1)[13], QString());
    }
}

TEST(HostExtraction, DealerTablesWithColumnsOfEveryTypeReadTheSame)
{
    // A dealer's tables are keyed, carry index files and many columns the
    // module does not read, BCD ones among them.
    FixtureVehicle second = fullVehicle(u"12"_s);
    second.prodejCena = u"99990.5"_s;
    FixtureHost host = hostWith({fullVehicle(u"4711"_s), second, fullVehicle(u"3"_s)});
    const auto interchange = [](const test::HostRun &run) {
        return Win1250::decode(run.interchangeBytes()).replace(run.host.layout().root, u"/"_s);
    };
    test::HostRun plain(host);
    plain.extract();
    host.engineTables = true;
    test::HostRun engine(host);
    EXPECT_EQ(engine.extract(), 3);
    EXPECT_TRUE(QFile::exists(engine.dataFolder(1) + u"Prehledy.X02"_s));
    EXPECT_EQ(interchange(engine), interchange(plain));
    EXPECT_FALSE(interchange(plain).isEmpty());
}

TEST(HostExtraction, VatRateDefaultsTo19)
{
    FixtureVehicle net = fullVehicle(u"1"_s);
    net.prodejCena = u"121"_s;
    net.intake->technicalData = technicalData({{23, u"A"_s}});
    FixtureHost host = hostWith({net});
    host.vatRate = 21;
    test::HostRun with(host);
    with.extract();
    EXPECT_EQ(with.interchangeLines()[24], u"100"_s);
    host.vatRate.reset();
    test::HostRun without(host);
    without.extract();
    EXPECT_EQ(without.interchangeLines()[24], u"101"_s); // 121 - 19.4
}

TEST(HostExtraction, EquipmentIsFoundAfterAVehicleWithoutOne)
{
    FixtureVehicle none = fullVehicle(u"1"_s);
    none.equipment.reset();
    FixtureVehicle check = fullVehicle(u"2"_s);
    check.intake->variantaTs = u"1"_s;
    check.equipment = u"video"_s;
    FixtureHost host;
    host.route = {true, true, false, false, false};
    host.branches = {FixtureBranch{1, {none}}, FixtureBranch{2, {fullVehicle(u"5"_s), check}}};
    test::HostRun run(host);
    run.extract();
    const QStringList lines = run.interchangeLines();
    EXPECT_EQ(record(lines, 0)[27], QString());
    // Branch 2 in key order: "2" (from TScheck.DB), then "5" (from TSvyb.DB).
    EXPECT_EQ(record(lines, 1)[27], u"eq_video;"_s);
    EXPECT_EQ(record(lines, 1)[29], QString());
    EXPECT_EQ(record(lines, 2)[27], u"eq_radio;eq_alarm;eq_tow_coupling;eq_man_aircon;"_s);
}

TEST(HostExtraction, LineBreaksInHostTextsBecomeBlanks)
{
    FixtureVehicle v = fullVehicle(u"1"_s);
    v.intake->note = u"první\r\ndruhý\ntřetí\rčtvrtý"_s;
    v.equipment = u"rádio;dvě\r\nslova"_s;
    test::HostRun run(hostWith({v, fullVehicle(u"2"_s)}));
    run.extract();
    const QStringList lines = run.interchangeLines();
    ASSERT_EQ(lines.size(), 86);
    EXPECT_EQ(lines[26], u"první druhý třetí čtvrtý"_s);
    EXPECT_EQ(lines[29], u"dvě slova, "_s);
    EXPECT_EQ(lines[42], InterchangeSeparator());
    EXPECT_EQ(lines[43], u"2"_s);
}

// The import takes the writer's records instead of reading the file back;
// they must be what a reader of the file gets, value for value.
TEST(InterchangeWriter, KeepsEachRecordAsTheFileHoldsIt)
{
    InterchangeRecord odd;
    odd[0] = u"7"_s;
    odd[1] = u"a\r\nb\n\rc\r\r\nd\n"_s;
    odd[2] = u"\u00C5ngstr\u00F6m \u212A \u20AC \u0160koda \U0001F697"_s; // Å, Kelvin sign, € and a car
    odd[3] = InterchangeSeparator();
    odd[4] = u"\u02DD\u02DE\u0081\u0080"_s;
    odd[kInterchangeValues - 2] = u"\r"_s;
    InterchangeRecord plain;
    plain[0] = u"8"_s;
    plain[1] = u"\u017Elu\u0165ou\u010Dk\u00FD k\u016F\u0148"_s;

    QTemporaryDir dir;
    const QString path = dir.filePath(u"interchange.txt"_s);
    InterchangeWriter writer(path);
    InterchangeRecords written;
    written.append(writer.add(odd).toByteArray());
    written.append(writer.add(plain).toByteArray());
    writer.commit();
    const InterchangeRecords read = ReadInterchangeFile(path);
    ASSERT_EQ(written.size(), 2u);
    ASSERT_EQ(read.size(), 2u);
    for (size_t r = 0; r < read.size(); ++r)
        for (size_t n = 0; n < size_t(kInterchangeValues); ++n)
            EXPECT_EQ(written.at(r)[n], read.at(r)[n]) << "record " << r << ", line " << n + 1;
    EXPECT_EQ(written.at(0)[1], u"a b  c  d "_s);
    EXPECT_EQ(written.at(0)[2], u"?ngstr\u00F6m ? \u20AC \u0160koda ??"_s);
    EXPECT_EQ(written.at(0)[kInterchangeValues - 2], u" "_s);
    EXPECT_EQ(written.at(1)[1], plain[1]);
}

// The file goes to disk piece by piece; until the commit the old one stays
// whole and a dropped writer leaves nothing of the new one beside it.
TEST(InterchangeWriter, ReplacesTheFileOnlyOnCommit)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"ASCII_Nesta.TXT"_s);
    const QByteArray old = "stary\r\n";
    test::writeFile(path, old);
    InterchangeRecord big;
    big[0] = QString(300'000, u'x'); // more than one piece of the file
    big[1] = u"č"_s;
    {
        InterchangeWriter dropped(path);
        dropped.add(big);
        dropped.add(big);
        EXPECT_EQ(test::readFile(path), old);
    }
    EXPECT_EQ(test::readFile(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"ASCII_Nesta.TXT"_s});

    InterchangeWriter writer(path);
    for (int i = 0; i < 3; ++i)
        writer.add(big);
    EXPECT_EQ(test::readFile(path), old);
    writer.commit();
    const InterchangeRecords read = ReadInterchangeFile(path);
    ASSERT_EQ(read.size(), 3u);
    for (size_t r = 0; r < read.size(); ++r)
        EXPECT_TRUE(read.at(r) == big);
}

TEST(HostExtraction, AnUnknownAliasOrMissingTableStopsAndKeepsTheOldFile)
{
    FixtureHost host = hostWith({fullVehicle(u"1"_s)});
    test::HostRun run(host);
    run.extract();
    const QByteArray before = run.interchangeBytes();

    QFile::remove(run.dataFolder(1) + u"Prijeti.DB"_s);
    EXPECT_THROW(run.extract(), ModuleError);
    EXPECT_EQ(run.interchangeBytes(), before);

    run.session = DatabaseSession::fromText(u"[BAZAR]\nPATH=/nikde\n"_s);
    try {
        run.extract();
        FAIL();
    } catch (const ModuleError &e) {
        EXPECT_TRUE(e.text().contains(u"BAZAR1"_s));
    }
    EXPECT_EQ(run.interchangeBytes(), before);
}
