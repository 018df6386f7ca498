#include "import/PriceArithmetic.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

constexpr Millionths crowns(double v)
{
    return Millionths(v * 1'000'000 + (v < 0 ? -0.5 : 0.5));
}

} // namespace

TEST(PriceArithmetic, WorkedExampleAndWholeVat)
{
    EXPECT_EQ(SplitGrossPrice(u"500"_s, 19).netText, u"420,10"_s);
    EXPECT_EQ(SplitGrossPrice(u"500"_s, 19).vatText, u"79,90"_s);
    // 119 at 19 % holds exactly 19 of VAT: it must not become 19.1.
    EXPECT_EQ(SplitGrossPrice(u"119"_s, 19).vatText, u"19,00"_s);
    EXPECT_EQ(SplitGrossPrice(u"119"_s, 19).netText, u"100,00"_s);
    EXPECT_EQ(SplitGrossPrice(u"121000"_s, 21).netText, u"100000,00"_s);
    EXPECT_EQ(SplitGrossPrice(u"250000"_s, 0).netText, u"250000,00"_s);
    EXPECT_EQ(SplitGrossPrice(u"250000"_s, 0).vatText, u"0,00"_s);
}

TEST(PriceArithmetic, RoundsVatUpToTenths)
{
    EXPECT_EQ(RoundVatUp(crowns(12.40)), crowns(12.4));
    EXPECT_EQ(RoundVatUp(crowns(12.41)), crowns(12.5));
    EXPECT_EQ(RoundVatUp(crowns(12.409)), crowns(12.4));
    EXPECT_EQ(RoundVatUp(crowns(12.95)), crowns(13));
    EXPECT_EQ(RoundVatUp(crowns(12.90)), crowns(12.9));
    EXPECT_EQ(RoundVatUp(crowns(12.001)), crowns(12.1));
    EXPECT_EQ(RoundVatUp(crowns(79.8319)), crowns(79.9));
}

TEST(PriceArithmetic, FormatsHundredthsWithTiesToEven)
{
    EXPECT_EQ(FormatHundredths(crowns(1.23)), u"1,23"_s);
    EXPECT_EQ(FormatHundredths(crowns(0.05)), u"0,05"_s);
    EXPECT_EQ(FormatHundredths(crowns(420.1)), u"420,10"_s);
    EXPECT_EQ(FormatHundredths(crowns(0.125)), u"0,12"_s);
    EXPECT_EQ(FormatHundredths(crowns(0.135)), u"0,14"_s);
    EXPECT_EQ(FormatHundredths(crowns(-3.5)), u"-3,50"_s);
}

TEST(PriceArithmetic, ReadsTheNumberAtTheStartOfTheText)
{
    EXPECT_EQ(ReadDecimal(u"  250000 Kč"_s), crowns(250000));
    EXPECT_EQ(ReadDecimal(u"-12.5abc"_s), crowns(-12.5));
    EXPECT_EQ(ReadDecimal(u"1.5e3"_s), crowns(1500));
    EXPECT_EQ(ReadDecimal(u"2e"_s), crowns(2));
    EXPECT_EQ(ReadDecimal(u"12,50"_s), crowns(12));
    EXPECT_EQ(ReadDecimal(u"Kč 100"_s), 0);
    EXPECT_EQ(ReadDecimal(QString()), 0);
    EXPECT_EQ(SplitGrossPrice(u"cena dohodou"_s, 21).netText, u"0,00"_s);
    EXPECT_EQ(SplitGrossPrice(u"500 Kč"_s, 19).netText, u"420,10"_s);
}

TEST(PriceArithmetic, HugeNumbersAreClampedNotWrapped)
{
    EXPECT_EQ(ReadDecimal(QString(400, u'9')), kMaxAmount);
    EXPECT_EQ(ReadDecimal(u"-"_s + QString(400, u'9')), -kMaxAmount);
    EXPECT_EQ(ReadDecimal(u"1e999999999999999999999"_s), kMaxAmount);
    EXPECT_EQ(ReadDecimal(u"1e-999999999999999999999"_s), 0);
    EXPECT_EQ(ReadDecimal(u"0.0000001"_s), 0);
    const PriceSplit split = SplitGrossPrice(QString(50, u'9'), 21);
    EXPECT_FALSE(split.netText.startsWith(u'-'));
    EXPECT_EQ(SplitGrossPrice(u"500"_s, -150).netText, u"500,00"_s);
}
