#include "ErrorText.h"
#include "PortalStub.h"
#include "SafeSendFixture.h"
#include "ScriptedDialogs.h"
#include "export/ClockCheck.h"
#include "export/HttpClient.h"
#include "export/SendWorkflow.h"
#include "import/WorkingTable.h"
#include "platform/DatabaseSession.h"
#include "platform/Dataset.h"
#include "platform/ModuleError.h"
#include "platform/ModuleSettings.h"
#include "platform/Packer.h"
#include "platform/Win1250.h"
#include "platform/ZipDirectory.h"
#include "platform/ZipPacker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

// Packs with the platform engine; can play a user who cancels.
class TestPacker : public Packer
{
public:
    void packFolder(const QString &archive, const QString &folder) override
    {
        QFile::remove(archive);
        ZipProgress progress;
        progress.cancelled = [this] { return cancel; };
        cancelled = PackFolder(archive, folder, {u"*.*"_s}, progress) == 0 && cancel;
        if (!QFile::exists(archive)) {
            QFile empty(archive);
            empty.open(QIODevice::WriteOnly);
            empty.write(ZipDirectory::emptyArchive());
        }
    }
    bool lastRunCancelled() const override { return cancelled; }

    bool cancel = false;
    bool cancelled = false;
};

class SendTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("KORVEX_GATEWAY_URL", stub.address());
        qputenv("KORVEX_MAKER_URL", stub.address());
        stub.setDateFile("8.12.2026");
        exe = test::WriteSendInstallation(query, dir.path());
        settings.stored.uzivJmeno = u"autobazar"_s;
        settings.stored.uzivHeslo = u"heslo"_s;
        client.setLowSpeedTimeout(5);

        context.executableFolder = exe;
        context.query = &query;
        context.settings = &settings;
        context.dialogs = &dialogs;
        context.client = &client;
        context.packer = &packer;
        context.markedCount = 2;
        context.closeWindow = [this] { ++closed; };
        context.today = [] { return QDate(2026, 12, 9); };
    }

    int uploads() const
    {
        int n = 0;
        for (const auto &r : stub.requests())
            n += r.method == "POST" ? 1 : 0;
        return n;
    }

    QStringList texts() const
    {
        QStringList out;
        for (const auto &call : dialogs.calls)
            out.append(call.text);
        return out;
    }

    stub::PortalStub stub;
    QTemporaryDir dir;
    QString exe;
    Dataset query{NestaTableDef()};
    ModuleSettings settings;
    HttpClient client;
    test::ScriptedDialogs dialogs;
    TestPacker packer;
    SendContext context;
    int closed = 0;
};

} // namespace

TEST_F(SendTest, PublishesTheMarkedVehiclesEndToEnd)
{
    QFile stale(exe + u"Korvex_zip/stary.jpg"_s);
    stale.open(QIODevice::WriteOnly);
    stale.close();
    dialogs.queueAnswer(true);
    Send(context);

    ASSERT_EQ(dialogs.calls.size(), 3);
    EXPECT_EQ(dialogs.calls[0].text, u"Pro přenos je vybráno: 2  vozidel.  Nemáte-li aktivní připojení k internetu, "
                                     u"připojte se a pokračujte."_s);
    EXPECT_EQ(dialogs.calls[0].caption, Caption::Information);
    EXPECT_EQ(dialogs.calls[0].alignment, UserDialogs::Alignment::Right);
    EXPECT_EQ(dialogs.calls[1].kind, test::ScriptedDialogs::Kind::Question);
    EXPECT_TRUE(dialogs.calls[1].text.startsWith(u"Inzerce je připravena k odeslání - soubor má velikost "_s));
    EXPECT_TRUE(dialogs.calls[1].text.endsWith(u" kB , chcete jej okamžitě odeslat? "_s));
    EXPECT_EQ(dialogs.calls[2].text, u"Inzerce byla úspěšně odeslána."_s);
    EXPECT_EQ(closed, 1);

    const ZipDirectory sent = ZipDirectory::read(stub.archive("autobazar"), u"data.zip"_s);
    QStringList names;
    for (const auto &e : sent.entries)
        names.append(e.name);
    EXPECT_EQ(names, (QStringList{u"1_1_web.jpg"_s, u"3_1_web.jpg"_s, u"Data.xml"_s}));
    EXPECT_EQ(stub.pictures("autobazar"), (QStringList{u"1_1_web.jpg"_s, u"3_1_web.jpg"_s}));
    EXPECT_FALSE(QFile::exists(exe + u"Korvex_zip/stary.jpg"_s));

    // The next send finds both pictures on the portal and packs only the list.
    dialogs.calls.clear();
    dialogs.queueAnswer(true);
    Send(context);
    const ZipDirectory again = ZipDirectory::read(stub.archive("autobazar"), u"data.zip"_s);
    ASSERT_EQ(again.entries.size(), 1u);
    EXPECT_EQ(again.entries[0].name, u"Data.xml"_s);
}

TEST_F(SendTest, TheDemoUserIsRefusedEvenInAutomaticMode)
{
    settings.stored.uzivJmeno = u"DEMO"_s;
    context.automaticMode = true;
    Send(context);
    EXPECT_EQ(texts(), QStringList{u"Není zadán registrovaný uživatel, přenos dat neproběhne. Pro registrační údaje "
                                   u"kontaktujte Korvex"_s});
    EXPECT_EQ(uploads(), 0);
    EXPECT_TRUE(QFile::exists(exe + u"Korvex_zip/data.zip"_s));
}

TEST_F(SendTest, DecliningKeepsTheArchiveAndUploadsNothing)
{
    dialogs.queueAnswer(false);
    Send(context);
    EXPECT_EQ(dialogs.calls.size(), 2);
    EXPECT_EQ(uploads(), 0);
    EXPECT_EQ(closed, 0);
    EXPECT_TRUE(QFile::exists(exe + u"Korvex_zip/data.zip"_s));
    query.first();
    EXPECT_TRUE(query.boolean(u"OZNACENO"));
}

TEST_F(SendTest, AWrongClockStopsBeforeTheQuestion)
{
    stub.setDateFile("1.1.2020");
    context.automaticMode = true;
    Send(context);
    ASSERT_EQ(dialogs.calls.size(), 1);
    EXPECT_EQ(dialogs.calls[0].caption, Caption::Warning);
    EXPECT_EQ(uploads(), 0);
}

TEST_F(SendTest, ACancelledPackingEndsTheSend)
{
    packer.cancel = true;
    Send(context);
    ASSERT_EQ(dialogs.calls.size(), 2);
    EXPECT_EQ(dialogs.calls[1].text, u"Balení dat bylo přerušeno, inzerce nebude odeslána."_s);
    EXPECT_EQ(uploads(), 0);
    for (const auto &r : stub.requests())
        EXPECT_NE(r.target, "/Datum.txt");
}

TEST_F(SendTest, AFailedListingEndsTheSendWithItsError)
{
    stub.setFault({503});
    EXPECT_THROW(Send(context), ModuleError);
    EXPECT_EQ(dialogs.calls.size(), 1);
    EXPECT_FALSE(QFile::exists(exe + u"Korvex_zip/Data.xml"_s));
}

TEST(SendWorkflow, ArchiveSizeTexts)
{
    EXPECT_EQ(ArchiveSizeText(1048575), u"1024 kB"_s);
    EXPECT_EQ(ArchiveSizeText(1048576), u"1,0 MB"_s);
    EXPECT_EQ(ArchiveSizeText(1500), u"1 kB"_s);
    EXPECT_EQ(ArchiveSizeText(0), u"0 kB"_s);
    EXPECT_EQ(ArchiveSizeText(5 * 1048576 + 104858), u"5,1 MB"_s);
}

TEST_F(SendTest, EverySendLeavesOneLogLine)
{
    dialogs.queueAnswer(true);
    Send(context);
    dialogs.queueAnswer(false);
    Send(context);
    settings.stored.uzivJmeno = u"DEMO"_s;
    Send(context);
    settings.stored.uzivJmeno = u"autobazar"_s;
    stub::Fault refused;
    refused.status = 500;
    stub.setFault(refused);
    EXPECT_THROW(Send(context), ModuleError);

    QFile f(exe + u"Korvex_log.txt"_s);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString log = Win1250::decode(f.readAll());
    const QStringList lines = log.split(u"\r\n"_s, Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << log.toStdString();
    EXPECT_TRUE(lines[0].contains(u";ručně;nabídek 2;obrázků 2;problémů 0;archiv "_s)) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(u";odesláno, HTTP 200"_s)) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(u";odeslání odmítnuto uživatelem"_s));
    EXPECT_TRUE(lines[2].endsWith(u";zastaveno: uživatel DEMO"_s));
    EXPECT_TRUE(lines[3].contains(u";archiv -;chyba: "_s)) << lines[3].toStdString();
    EXPECT_FALSE(log.contains(settings.stored.uzivHeslo));
}

TEST_F(SendTest, WithNoMarkedVehicleTheListIsEmptyAndTheArchiveHoldsOnlyIt)
{
    for (query.first(); !query.eof(); query.next()) {
        query.edit();
        query.setValue(u"OZNACENO", false);
    }
    query.first();
    context.markedCount = 0;
    dialogs.queueAnswer(false);
    Send(context);
    ASSERT_EQ(dialogs.calls.size(), 2);
    EXPECT_TRUE(dialogs.calls[0].text.startsWith(u"Pro přenos je vybráno: 0  vozidel."_s));
    QFile xml(exe + u"Korvex_zip/Data.xml"_s);
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    EXPECT_EQ(xml.readAll(), QByteArray("<?xml version=\"1.0\"?>\r\n<offer-list>\r\n</offer-list>\r\n"));
    QFile zip(exe + u"Korvex_zip/data.zip"_s);
    ASSERT_TRUE(zip.open(QIODevice::ReadOnly));
    const ZipDirectory packed = ZipDirectory::read(zip.readAll(), u"data.zip"_s);
    ASSERT_EQ(packed.entries.size(), 1u);
    EXPECT_EQ(packed.entries[0].name, u"Data.xml"_s);
}

// Interactive sends: the clock check comes first, then the "DEMO" refusal,
// and only then the question.
TEST_F(SendTest, InteractiveOrderIsClockThenDemoThenQuestion)
{
    settings.stored.uzivJmeno = u"DEMO"_s;
    stub.setDateFile("1.1.2020");
    Send(context);
    ASSERT_EQ(dialogs.calls.size(), 2);
    EXPECT_EQ(dialogs.calls[0].caption, Caption::Information);
    EXPECT_TRUE(dialogs.calls[1].text.startsWith(u"Datum ve Vašem počítači"_s));

    dialogs.calls.clear();
    stub.setDateFile("8.12.2026");
    Send(context);
    ASSERT_EQ(dialogs.calls.size(), 2);
    EXPECT_EQ(dialogs.calls[1].text, u"Není zadán registrovaný uživatel, přenos dat neproběhne. Pro registrační údaje "
                                     u"kontaktujte Korvex"_s);
    EXPECT_EQ(dialogs.calls[1].kind, test::ScriptedDialogs::Kind::Notice);

    dialogs.calls.clear();
    settings.stored.uzivJmeno = u"autobazar"_s;
    dialogs.queueAnswer(false);
    Send(context);
    ASSERT_EQ(dialogs.calls.size(), 2);
    EXPECT_EQ(dialogs.calls[1].kind, test::ScriptedDialogs::Kind::Question);
    EXPECT_EQ(uploads(), 0);
}

TEST_F(SendTest, TheClockCheckGoesThroughTheGatewaysProxy)
{
    stub::ProxyStub proxy;
    client.setProxy(ProxySettings{u"127.0.0.1"_s, u"proxyuser"_s, u"proxyheslo"_s, proxy.port()}, true);
    dialogs.queueAnswer(false);
    Send(context);
    QList<QByteArray> targets;
    for (const auto &r : proxy.requests())
        targets.append(r.target);
    EXPECT_TRUE(targets.contains(stub.address() + "/Datum.txt")) << targets.join(' ').constData();
}

// The working folder is the module's own: a link to another folder is
// refused, and links inside it are removed, never followed.
TEST_F(SendTest, TheWorkingFolderIsNeverFollowedElsewhere)
{
    const QString other = dir.path() + u"/Doklady"_s;
    QDir().mkpath(other);
    QFile kept(other + u"/smlouva.pdf"_s);
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("smlouva");
    kept.close();

    const QString working = exe + u"Korvex_zip"_s;
    ASSERT_TRUE(QFile::link(other + u"/smlouva.pdf"_s, working + u"/odkaz.pdf"_s));
    dialogs.queueAnswer(false);
    Send(context);
    EXPECT_FALSE(QFileInfo(working + u"/odkaz.pdf"_s).isSymLink());
    EXPECT_TRUE(QFile::exists(other + u"/smlouva.pdf"_s));

    QDir(working).removeRecursively();
    ASSERT_TRUE(QFile::link(other, working));
    dialogs.calls.clear();
    const QString error = test::errorOf([&] { Send(context); });
    EXPECT_TRUE(error.contains(working)) << error.toStdString();
    EXPECT_TRUE(dialogs.calls.isEmpty());
    EXPECT_EQ(QDir(other).entryList(QDir::Files), QStringList{u"smlouva.pdf"_s});
}

namespace {

// Records, at every box, how many lines the send log held: a run killed
// while a box waits must already have left its line.
class LogWatchingDialogs : public test::ScriptedDialogs
{
public:
    explicit LogWatchingDialogs(QString log)
        : m_log(std::move(log))
    {
    }
    void notify(const QString &caption, const QString &text, Alignment alignment = Alignment::Left) override
    {
        QFile f(m_log);
        linesAtBox.append(f.open(QIODevice::ReadOnly) ? int(f.readAll().count("\r\n")) : 0);
        ScriptedDialogs::notify(caption, text, alignment);
    }
    QList<int> linesAtBox;

private:
    QString m_log;
};

} // namespace

TEST_F(SendTest, EachOutcomeIsLoggedBeforeItsBoxAndReturned)
{
    LogWatchingDialogs watching(exe + u"Korvex_log.txt"_s);
    context.dialogs = &watching;
    context.automaticMode = true;

    packer.cancel = true;
    EXPECT_EQ(Send(context), SendOutcome::PackingCancelled);
    packer.cancel = false;
    stub.setDateFile("1.1.2020");
    EXPECT_EQ(Send(context), SendOutcome::ClockRefused);
    stub.setDateFile("8.12.2026");
    settings.stored.uzivJmeno = u"DEMO"_s;
    EXPECT_EQ(Send(context), SendOutcome::DemoUser);
    settings.stored.uzivJmeno = u"autobazar"_s;
    stub::Fault broken;
    broken.dropAfter = 0;
    stub.setFault(broken);
    EXPECT_THROW(Send(context), ModuleError);
    stub.setFault({});
    context.automaticMode = false;
    watching.queueAnswer(true);
    EXPECT_EQ(Send(context), SendOutcome::Uploaded);

    // Boxes: cancelled, clock, DEMO, upload warning, then the manual send's
    // count notice (before any line of its own) and its success.
    EXPECT_EQ(watching.linesAtBox, (QList<int>{1, 2, 3, 4, 4, 5}));
    QFile f(exe + u"Korvex_log.txt"_s);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = Win1250::decode(f.readAll()).split(u"\r\n"_s, Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].endsWith(u";balení přerušeno"_s));
    EXPECT_TRUE(lines[1].endsWith(u";zastaveno kontrolou data v počítači"_s));
    EXPECT_TRUE(lines[3].contains(u";chyba: "_s)) << lines[3].toStdString();
    EXPECT_TRUE(lines[4].endsWith(u";odesláno, HTTP 200"_s));
}
