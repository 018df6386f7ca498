#include "SafeSendFixture.h"

#include "export/GuardSettings.h"
#include "export/WithdrawalGuard.h"
#include "platform/Win1250.h"

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

using GuardTest = test::SafeSendTest;

QString stopText(int offers, int last)
{
    return u"Odeslání bylo zastaveno: nabídek %1, při minulém odeslání %2. Zkontrolujte výběr vozidel."_s.arg(offers)
        .arg(last);
}

} // namespace

TEST(WithdrawalGuard, StepsInOnlyWhereTheListShrinksTooMuch)
{
    const GuardSettings on;
    // More than 30 % and at least 5 vehicles.
    EXPECT_TRUE(JudgeWithdrawal(12, 20, 7, on).stop);
    EXPECT_FALSE(JudgeWithdrawal(14, 20, 6, on).stop);   // exactly 30 %
    EXPECT_FALSE(JudgeWithdrawal(6, 10, 4, on).stop);    // 40 %, but only 4
    EXPECT_TRUE(JudgeWithdrawal(5, 10, 5, on).stop);
    // Empty after a non-empty send, however few were sent.
    EXPECT_TRUE(JudgeWithdrawal(0, 1, 1, on).stop);
    EXPECT_FALSE(JudgeWithdrawal(0, 0, 0, on).stop);
    // Empty with no history; anything else with no history goes.
    EXPECT_TRUE(JudgeWithdrawal(0, std::nullopt, 0, on).stop);
    EXPECT_FALSE(JudgeWithdrawal(1, std::nullopt, 0, on).stop);
    // New vehicles do not make up for withdrawn ones.
    EXPECT_TRUE(JudgeWithdrawal(100, 10, 10, on).stop);

    GuardSettings strict;
    strict.percent = 10;
    strict.minimum = 1;
    EXPECT_TRUE(JudgeWithdrawal(9, 10, 2, strict).stop);
    GuardSettings off;
    off.enabled = false;
    EXPECT_FALSE(JudgeWithdrawal(0, std::nullopt, 0, off).stop);
    EXPECT_FALSE(JudgeWithdrawal(0, 50, 50, off).stop);
}

TEST(GuardSettings, MissingOrDamagedFileKeepsTheGuardOn)
{
    QTemporaryDir dir;
    const QString exe = dir.path() + u"/"_s;
    GuardSettings read = LoadGuardSettings(exe);
    EXPECT_TRUE(read.enabled);
    EXPECT_EQ(read.percent, 30);
    EXPECT_EQ(read.minimum, 5);
    EXPECT_TRUE(read.resendChangedPhotos);

    SaveGuardSettings({false, 45, 2, false}, exe);
    EXPECT_EQ(test::readFile(exe + u"Korvex_ochrana.ddd"_s), "0\r\n45\r\n2\r\n0\r\n");
    read = LoadGuardSettings(exe);
    EXPECT_FALSE(read.enabled);
    EXPECT_EQ(read.percent, 45);
    EXPECT_EQ(read.minimum, 2);
    EXPECT_FALSE(read.resendChangedPhotos);

    // A file of the three guard lines predates the photo switch: it is on.
    test::writeFile(exe + u"Korvex_ochrana.ddd"_s, "0\r\n45\r\n2\r\n");
    read = LoadGuardSettings(exe);
    EXPECT_FALSE(read.enabled);
    EXPECT_TRUE(read.resendChangedPhotos);

    test::writeFile(exe + u"Korvex_ochrana.ddd"_s, "ne\r\n150\r\n-3\r\n");
    read = LoadGuardSettings(exe);
    EXPECT_TRUE(read.enabled);
    EXPECT_EQ(read.percent, 30);
    EXPECT_EQ(read.minimum, 5);
}

TEST_F(GuardTest, AnAutomaticSendOfAnEmptyListOnAFreshInstallationIsStopped)
{
    markOnly({});
    context.automaticMode = true;
    Send(context);
    EXPECT_EQ(uploads(), 0);
    ASSERT_EQ(dialogs.calls.size(), 1);
    EXPECT_EQ(dialogs.calls[0].caption, Caption::Warning);
    EXPECT_EQ(dialogs.calls[0].text, stopText(0, 0));
    EXPECT_TRUE(QFile::exists(exe + u"Korvex_zip/data.zip"_s));
    const QString log = Win1250::decode(test::readFile(exe + u"Korvex_log.txt"_s));
    EXPECT_TRUE(log.endsWith(u";zastaveno ochranou: nabídek 0, minule 0\r\n"_s)) << log.toStdString();
    EXPECT_FALSE(QFile::exists(history));
}

TEST_F(GuardTest, AnAutomaticSendThatWithdrawsTooMuchIsStopped)
{
    recordSend(10);
    context.automaticMode = true;
    Send(context); // vehicles 1 and 3 of the ten
    EXPECT_EQ(uploads(), 0);
    ASSERT_EQ(dialogs.calls.size(), 1);
    EXPECT_EQ(dialogs.calls[0].text, stopText(2, 10));

    // An emptied list after a send of one vehicle.
    recordSend(1);
    markOnly({});
    dialogs.calls.clear();
    Send(context);
    EXPECT_EQ(uploads(), 0);
    ASSERT_EQ(dialogs.calls.size(), 1);
    EXPECT_EQ(dialogs.calls[0].text, stopText(0, 1));
    EXPECT_EQ(SendHistory(history, SendHistory::Mode::Read).sendCount(), 2);
}

TEST_F(GuardTest, AWithdrawalBelowTheThresholdSendsAsBefore)
{
    recordSend(3); // vehicle 2 goes: one of three, under the five vehicles
    context.automaticMode = true;
    Send(context);
    EXPECT_EQ(uploads(), 1);
    EXPECT_TRUE(dialogs.calls.isEmpty());
    const auto last = SendHistory(history, SendHistory::Mode::Read).lastSend();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->offers.size(), 2);
}

TEST_F(GuardTest, InteractivelyTheDealerIsAskedWithNoAsTheDefault)
{
    recordSend(10);
    dialogs.queueAnswer(false);
    Send(context);
    EXPECT_EQ(uploads(), 0);
    ASSERT_EQ(dialogs.calls.size(), 2);
    EXPECT_EQ(dialogs.calls[1].caption, Caption::Question);
    EXPECT_EQ(dialogs.calls[1].text, u"Odesláním bude z portálu staženo 8 z 10 nabídek. Opravdu odeslat?"_s);
    EXPECT_TRUE(dialogs.calls[1].defaultNo);
    EXPECT_TRUE(QFile::exists(exe + u"Korvex_zip/data.zip"_s));

    // Yes leads to the usual question, whose Yes uploads.
    dialogs.calls.clear();
    dialogs.queueAnswer(true);
    dialogs.queueAnswer(true);
    Send(context);
    ASSERT_EQ(dialogs.calls.size(), 4);
    EXPECT_TRUE(dialogs.calls[2].text.startsWith(u"Inzerce je připravena k odeslání"_s));
    EXPECT_FALSE(dialogs.calls[2].defaultNo);
    EXPECT_EQ(uploads(), 1);
    EXPECT_EQ(SendHistory(history, SendHistory::Mode::Read).lastSend()->offers.size(), 2);
}

TEST_F(GuardTest, SwitchedOffItLetsEveryListThroughInBothModes)
{
    SaveGuardSettings({false, 30, 5}, exe);
    markOnly({});
    context.automaticMode = true;
    Send(context);
    EXPECT_EQ(uploads(), 1);
    EXPECT_TRUE(dialogs.calls.isEmpty());

    recordSend(10);
    markOnly({u"1"_s});
    context.automaticMode = false;
    dialogs.queueAnswer(true);
    Send(context);
    EXPECT_EQ(uploads(), 2);
    ASSERT_EQ(dialogs.calls.size(), 3);
    EXPECT_TRUE(dialogs.calls[1].text.startsWith(u"Inzerce je připravena k odeslání"_s));
}
