#include "HostFixture.h"
#include "TempHost.h"
#include "platform/DatabaseSession.h"
#include "platform/HostTable.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

fixture::FixtureHost oneVehicleHost(bool dateTyped)
{
    fixture::FixtureVehicle v;
    v.cisZak = u"4711"_s;
    v.rezPrehl5 = u"a#b#c#d#e#f#g#h#i#j#*N*#"_s;
    v.prodejCena = u"189900"_s;
    v.vykon = u"77"_s;
    v.photos = {{u"FOTO\\4711_1.JPG"_s, u"_WEB"_s}, {u"FOTO\\4711_2.JPG"_s, u"_MAX"_s}, {u"FOTO\\4711_3.JPG"_s, {}}};
    fixture::FixtureIntake in;
    in.znacka = u"Škoda"_s;
    in.technicalData = u"x*Octavia*1.9 TDI"_s;
    in.barva = u"modrá"_s;
    in.metaliza = true;
    in.provozOd = u"15.03.2005"_s;
    in.stkDo = u"05/2009"_s;
    v.intake = in;
    v.equipment = u"rádio; alarm; tažné zařízení"_s;

    fixture::FixtureHost host;
    host.route = {false, true, false, false, false};
    host.provozOdAsDate = dateTyped;
    host.priceField = dateTyped ? fixture::FixtureHost::PriceField::Currency : fixture::FixtureHost::PriceField::Number;
    host.branches = {fixture::FixtureBranch{2, {v}}};
    return host;
}

} // namespace

TEST(HostFixture, WritesAHostTheReaderTakesBack)
{
    for (const bool dateTyped : {false, true}) {
        test::TempHost host(oneVehicleHost(dateTyped));
        const auto session = DatabaseSession::fromFile(host.layout().aliasFile);
        HostTable overview(session);
        overview.open(u"BAZAR2"_s, u"Prehledy.DB"_s, u"Index_CIS_ZAK"_s);
        ASSERT_EQ(overview.recordCount(), 1);
        overview.first();
        EXPECT_EQ(overview.text(u"CIS_ZAK"), u"4711"_s);
        EXPECT_EQ(overview.text(u"STAV_ZAKAZKY"), u"nabízeno"_s);
        EXPECT_EQ(overview.text(u"Prodej_Cena"), u"189900"_s);
        EXPECT_EQ(overview.text(u"Fotky"), u"FOTO\\4711_1.JPG\r\nFOTO\\4711_2.JPG\r\nFOTO\\4711_3.JPG"_s);
        EXPECT_EQ(overview.text(u"REZ_JMENO"), QString());

        HostTable intake(session);
        intake.open(u"BAZAR2"_s, u"Prijeti.DB"_s, u"Index_CIS_ZAK"_s);
        ASSERT_TRUE(intake.findKey(u"4711"_s));
        EXPECT_EQ(intake.text(u"ZNACKA_VOZIDLA"), u"Škoda"_s);
        EXPECT_EQ(intake.text(u"PROVOZ_OD"), u"15.03.2005"_s);
        EXPECT_TRUE(intake.boolean(u"METALIZA"));
        EXPECT_EQ(intake.text(u"VYKUP_REZERVA1"), u"x*Octavia*1.9 TDI"_s);

        HostTable equipment(session);
        equipment.open(u"BAZAR2"_s, u"TSvyb.DB"_s, u"Index_CIS_ZAK"_s);
        ASSERT_TRUE(equipment.findKey(u"4711"_s));
        EXPECT_EQ(equipment.text(u"VYBAVA"), u"rádio; alarm; tažné zařízení"_s);
    }
}

TEST(HostFixture, WritesTheRouteFilesAndOnlyThePhotosThatExist)
{
    test::TempHost host(oneVehicleHost(false));
    const QString prg = host.layout().programFolder;
    EXPECT_EQ(TextFile::readLines(prg + u"Route_Seznam_Zobraz.ddd"_s),
              (QStringList{u"FALSE"_s, u"TRUE"_s, u"FALSE"_s, u"FALSE"_s, u"FALSE"_s}));
    EXPECT_EQ(TextFile::readLines(prg + u"Route.ddd"_s)->value(0), prg);
    const QString data = host.layout().dataFolder(2);
    EXPECT_TRUE(WinPath::isFile(data + u"FOTO\\4711_1_WEB.JPG"_s));
    EXPECT_TRUE(WinPath::isFile(data + u"foto\\4711_2_max.jpg"_s));
    EXPECT_FALSE(WinPath::exists(data + u"FOTO\\4711_3_WEB.JPG"_s));
    EXPECT_GT(QFileInfo(WinPath::resolve(data + u"FOTO\\4711_1_WEB.JPG"_s)).size(), 500);
    EXPECT_EQ(TextFile::readLines(host.layout().root + u"Data/INI/parametry.ini"_s)->value(1), u"DPHZaklSaz=21"_s);
}
