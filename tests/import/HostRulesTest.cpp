#include "import/HostRules.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

TEST(HostRules, ManufactureDate)
{
    auto check = [](const QString &provoz, const QString &mesic, const QString &rok, const QString &ymd,
                    const QString &display) {
        const DatePair d = ManufactureDate(provoz, mesic, rok);
        EXPECT_EQ(d.ymd, ymd) << provoz.toStdString() << "/" << mesic.toStdString() << "/" << rok.toStdString();
        EXPECT_EQ(d.display, display);
    };
    check(u"15.03.2005"_s, u"7"_s, u"1999"_s, u"2005-03-15"_s, u"15.03.2005"_s);
    check(QString(), u"0"_s, u"1999"_s, u"1999-01-01"_s, u"01/01/1999"_s);
    check(QString(), u"3"_s, u"2004"_s, u"2004-03-01"_s, u"01/03/2004"_s);
    check(QString(), u"11"_s, u"2004"_s, u"2004-11-01"_s, u"01/11/2004"_s);
    check(QString(), QString(), QString(), u"0000-00-00"_s, QString());
    check(QString(), u"5"_s, u"20x4"_s, u"0000-00-00"_s, u"01/05/20x4"_s);
    check(u"xx.yy.zzzz"_s, QString(), QString(), u"0000-00-00"_s, u"xx.yy.zzzz"_s);
}

TEST(HostRules, InspectionDate)
{
    auto check = [](const QString &stk, const QString &ymd, const QString &display) {
        const DatePair d = InspectionDate(stk);
        EXPECT_EQ(d.ymd, ymd) << stk.toStdString();
        EXPECT_EQ(d.display, display) << stk.toStdString();
    };
    check(u"05/2009"_s, u"2009-05-01"_s, u"05/2009"_s);
    check(u"__/____"_s, u"0000-01-01"_s, u"__/____"_s);
    check(u"_5/2009"_s, u"2009-05-01"_s, u"_5/2009"_s);
    check(u"05.2009"_s, u"0000-00-00"_s, QString());
    check(QString(), u"0000-00-00"_s, QString());
    check(u"05/20__"_s, u"0000-00-00"_s, u"05/20__"_s);
}

TEST(HostRules, WholeNumbersAndLines)
{
    EXPECT_TRUE(ReadsAsWholeNumber(u"012345"_s));
    EXPECT_TRUE(ReadsAsWholeNumber(u"  -12"_s));
    EXPECT_FALSE(ReadsAsWholeNumber(u"12 345"_s));
    EXPECT_FALSE(ReadsAsWholeNumber(u"12 "_s));
    EXPECT_FALSE(ReadsAsWholeNumber(QString()));
    EXPECT_FALSE(ReadsAsWholeNumber(u"-"_s));
    EXPECT_FALSE(ReadsAsWholeNumber(u"99999999999"_s));
    EXPECT_EQ(HostLines(QString()), QStringList());
    EXPECT_EQ(HostLines(u"a\r\nb\rc\n"_s), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    EXPECT_EQ(HostLines(u"\r\n"_s), QStringList{QString()});
    EXPECT_EQ(HostLines(u"a\n\nb"_s), (QStringList{u"a"_s, QString(), u"b"_s}));
}

TEST(HostRules, ExportMarkRootAndTechnicalData)
{
    EXPECT_EQ(ReadExportMark(u"0#1#2#3#4#5#6#7#8#9#*N*#11"_s), u"*N*"_s);
    EXPECT_EQ(ReadExportMark(u"#########"_s), QString());
    EXPECT_EQ(ReadExportMark(u"##########"_s + QString(30, u'x')), QString(20, u'x'));
    EXPECT_EQ(HostDataRootFrom(u"C:\\HOST\\PRG\\"_s), u"C:\\HOST\\"_s);
    EXPECT_EQ(HostDataRootFrom(u"C:\\HOST\\PRG"_s), u"C:\\"_s);
    EXPECT_EQ(HostDataRootFrom(u"/srv/host/PRG/"_s), u"/srv/host/"_s);
    EXPECT_EQ(HostDataRootFrom(u"PRG\\"_s), u"PRG\\"_s);
    const TechnicalData tech(u"0*1*2*3*kombi-dlouhe-slovo"_s);
    EXPECT_EQ(tech.field(1), u"1"_s);
    EXPECT_EQ(tech.field(4, 10), u"kombi-dlou"_s);
    EXPECT_EQ(tech.field(26), QString());
    EXPECT_EQ(TechnicalData(u"*a"_s).field(1), QString());
}

TEST(HostRules, YearAndWholePart)
{
    EXPECT_EQ(YearOfDisplayDate(u"15.03.2005"_s), u"2005"_s);
    EXPECT_EQ(YearOfDisplayDate(u"01/01/1999"_s), u"1999"_s);
    EXPECT_EQ(YearOfDisplayDate(u"1.2.3.4"_s), u"3"_s);
    EXPECT_EQ(YearOfDisplayDate(u"2005"_s), QString());
    EXPECT_EQ(WholePartOf(u"420,10"_s), u"420"_s);
    EXPECT_EQ(WholePartOf(u"-3,50"_s), u"-3"_s);
    EXPECT_EQ(WholePartOf(u"-0,50"_s), u"0"_s);
}
