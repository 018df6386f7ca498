#include "PortalStub.h"
#include "ScriptedDialogs.h"
#include "export/ClockCheck.h"
#include "platform/ModuleError.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

class ClockCheckTest : public ::testing::Test
{
protected:
    void SetUp() override { qputenv("KORVEX_MAKER_URL", stub.address()); }

    bool checkOn(const QDate &today)
    {
        ClockCheckContext c;
        c.executableFolder = dir.path() + u'/';
        c.dialogs = &dialogs;
        c.today = [today] { return today; };
        c.timeoutSeconds = 2;
        return CheckClock(c);
    }

    QString local() const { return dir.path() + u"/Datum_new.txt"_s; }

    stub::PortalStub stub;
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
};

} // namespace

TEST_F(ClockCheckTest, SevenDaysEitherWayPassInclusive)
{
    stub.setDateFile("1.12.2026\r\n");
    EXPECT_TRUE(checkOn(QDate(2026, 11, 24)));
    EXPECT_TRUE(checkOn(QDate(2026, 12, 1)));
    EXPECT_TRUE(checkOn(QDate(2026, 12, 8)));
    EXPECT_TRUE(dialogs.calls.isEmpty());
    EXPECT_FALSE(checkOn(QDate(2026, 11, 23)));
    EXPECT_FALSE(checkOn(QDate(2026, 12, 9)));
    ASSERT_EQ(dialogs.calls.size(), 2);
    EXPECT_EQ(dialogs.calls[0].caption, Caption::Warning);
    EXPECT_TRUE(dialogs.calls[0].text.startsWith(u"Datum ve Vašem počítači není zřejmě správně nastaven"_s));
    EXPECT_FALSE(QFile::exists(local()));
}

TEST_F(ClockCheckTest, TheSwitchOffWordMustBeExact)
{
    stub.setDateFile("NEKONTROLOVAT");
    EXPECT_TRUE(checkOn(QDate(1999, 1, 1)));
    stub.setDateFile("nekontrolovat");
    try {
        checkOn(QDate(1999, 1, 1));
        FAIL();
    } catch (const ModuleError &e) {
        EXPECT_EQ(e.text(), u"'nekontrolovat' is not a valid date"_s);
    }
    EXPECT_FALSE(QFile::exists(local()));
}

TEST_F(ClockCheckTest, AnHtmlPageInsteadOfADateIsAConversionError)
{
    stub.setDateFile("<html><body>Chyba</body></html>");
    EXPECT_THROW(checkOn(QDate(2026, 12, 1)), ModuleError);
}

TEST_F(ClockCheckTest, NoServerOrNoFilePasses)
{
    stub.setDateFile(QByteArray(), true);
    EXPECT_TRUE(checkOn(QDate(2026, 12, 1)));
    qputenv("KORVEX_MAKER_URL", "http://127.0.0.1:1");
    EXPECT_TRUE(checkOn(QDate(2026, 12, 1)));
    EXPECT_TRUE(dialogs.calls.isEmpty());
}

TEST_F(ClockCheckTest, AStaleLocalCopyIsNeverUsed)
{
    QFile stale(local());
    stale.open(QIODevice::WriteOnly);
    stale.write("1.1.2000\r\n");
    stale.close();
    stub.setDateFile(QByteArray(), true);
    EXPECT_TRUE(checkOn(QDate(2026, 12, 1)));
    EXPECT_FALSE(QFile::exists(local()));
}

TEST_F(ClockCheckTest, TheNotificationPageIsRequestedWithoutWaiting)
{
    stub.setDateFile("1.12.2026");
    NotificationPing ping;
    ClockCheckContext c;
    c.executableFolder = dir.path() + u'/';
    c.dialogs = &dialogs;
    c.ping = &ping;
    c.today = [] { return QDate(2026, 12, 1); };
    EXPECT_TRUE(CheckClock(c));
    bool seen = false;
    for (int i = 0; i < 200 && !seen; ++i) {
        for (const auto &r : stub.requests())
            seen = seen || r.target == "/akt_dat.php";
        if (!seen)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(seen);
}

TEST(ClockCheck, ShortDatesOfTheCzechLocale)
{
    EXPECT_EQ(ParseShortDate(u"8.12.2026"_s), QDate(2026, 12, 8));
    EXPECT_EQ(ParseShortDate(u"08.02.2026"_s), QDate(2026, 2, 8));
    for (const QString &bad : {u"31.2.2026"_s, u"1.12.26"_s, u"2026-12-01"_s, u" 1.12.2026"_s, QString()})
        EXPECT_THROW(ParseShortDate(bad), ModuleError) << bad.toStdString();
}

// Behind a proxy a direct request fails and the check would pass unseen.
TEST_F(ClockCheckTest, BothRequestsGoThroughTheProxy)
{
    stub.setDateFile("1.1.2020");
    stub::ProxyStub proxy;
    NotificationPing ping;
    ClockCheckContext c;
    c.executableFolder = dir.path() + u'/';
    c.dialogs = &dialogs;
    c.ping = &ping;
    c.today = [] { return QDate(2026, 12, 1); };
    c.proxy = ProxySettings{u"127.0.0.1"_s, u"proxyuser"_s, u"proxyheslo"_s, proxy.port()};
    c.proxyEnabled = true;
    EXPECT_FALSE(CheckClock(c));
    QList<QByteArray> targets;
    for (int i = 0; i < 200 && targets.size() < 2; ++i) {
        targets.clear();
        for (const auto &r : proxy.requests())
            targets.append(r.target);
        if (targets.size() < 2)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::sort(targets.begin(), targets.end());
    EXPECT_EQ(targets, (QList<QByteArray>{stub.address() + "/Datum.txt", stub.address() + "/akt_dat.php"}));
}
