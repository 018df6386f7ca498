#include "import/EquipmentVocabulary.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

void expectLists(const QString &text, const QString &keys, const QString &labels, const QString &other)
{
    const EquipmentLists out = TranslateEquipment(text);
    EXPECT_EQ(out.keys, keys) << text.toStdString();
    EXPECT_EQ(out.labels, labels) << text.toStdString();
    EXPECT_EQ(out.other, other) << text.toStdString();
}

} // namespace

TEST(EquipmentVocabulary, HoldsTheWholeVocabularyLetterForLetter)
{
    EXPECT_EQ(EquipmentVocabularySize(), 140);
    EXPECT_EQ(EquipmentKey(u"imobilizér"_s), u"eq_alarm"_s);
    EXPECT_EQ(EquipmentKey(u"zámek řadící páky"_s), u"eq_immobilizer"_s);
    EXPECT_EQ(EquipmentKey(u"mikrovlná trouba"_s), u"eq_microwave_owen"_s);
    EXPECT_EQ(EquipmentKey(u"plní 'EURO III'"_s), u"eq_euro3"_s);
    EXPECT_EQ(EquipmentKey(u"centrální mazání"_s), u"eq_central_lubrication"_s);
    EXPECT_EQ(EquipmentKey(u"Rádio"_s), QString());
}

TEST(EquipmentVocabulary, SplitsOnSemicolonsOnly)
{
    expectLists(u"rádio; alarm; ABS; "_s, u"eq_radio;eq_alarm;eq_abs;"_s, u"rádio;alarm;ABS;"_s, QString());
    expectLists(u"spoiler, křídlo; plní 'EURO III'"_s, u"eq_spoilers;eq_euro3;"_s,
                u"spoiler, křídlo;plní 'EURO III';"_s, QString());
    expectLists(u"alarm;imobilizér;zámek řadící páky"_s, u"eq_alarm;eq_alarm;eq_immobilizer;"_s,
                u"alarm;imobilizér;zámek řadící páky;"_s, QString());
    expectLists(u"alarm;alarm;"_s, u"eq_alarm;eq_alarm;"_s, u"alarm;alarm;"_s, QString());
}

TEST(EquipmentVocabulary, ComparesExactly)
{
    expectLists(u"tažné zařízení;Tažné zařízení"_s, u"eq_tow_coupling;"_s, u"tažné zařízení;"_s,
                u"Tažné zařízení, "_s);
    expectLists(u"rádio ;video"_s, u"eq_video;"_s, u"video;"_s, u"rádio , "_s);
}

TEST(EquipmentVocabulary, BlanksAndEmptyItems)
{
    expectLists(QString(), QString(), QString(), u", "_s);
    expectLists(u"rádio;;video"_s, u"eq_radio;eq_video;"_s, u"rádio;video;"_s, u", "_s);
    expectLists(u"  rádio"_s, QString(), QString(), u" rádio, "_s);
    expectLists(u"rádio  "_s, QString(), QString(), u"rádio , "_s);
    expectLists(u"klimatizace;masážní křesla vzadu"_s, u"eq_man_aircon;"_s, u"klimatizace;"_s,
                u"masážní křesla vzadu, "_s);
}

TEST(EquipmentVocabulary, ProcessesMoreThanAHundredItems)
{
    QStringList items;
    for (int i = 0; i < 250; ++i)
        items.append(i % 2 ? u"rádio"_s : QStringLiteral("věc %1").arg(i));
    const EquipmentLists out = TranslateEquipment(items.join(u';'));
    EXPECT_EQ(out.keys, u"eq_radio;"_s.repeated(125));
    EXPECT_EQ(out.other.count(u", "_s), 125);
    EXPECT_TRUE(out.other.endsWith(u"věc 248, "_s));
}
