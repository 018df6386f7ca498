#include "ErrorText.h"
#include "GatewayFixture.h"
#include "PortalStub.h"
#include "ScriptedDialogs.h"
#include "export/GatewayClient.h"
#include "export/HttpClient.h"
#include "export/MultipartUpload.h"
#include "platform/ModuleError.h"
#include "platform/Win1250.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;
using korvex::test::errorOf;

namespace {

class GatewayTest : public test::GatewayFixture
{
protected:
    void SetUp() override { prepare(stub.address()); }

    stub::PortalStub stub;
};

} // namespace

TEST_F(GatewayTest, ListingSendsEncodedCredentialsWithTheFixedHeaders)
{
    stub.addPictures(Win1250::encode(settings.stored.uzivJmeno), {u"A_1_WEB.jpg"_s});
    ListPortalPictures(client, settings, exe);
    const auto requests = stub.requests();
    ASSERT_EQ(requests.size(), 1);
    const stub::RecordedRequest &r = requests[0];
    EXPECT_EQ(r.method, "GET");
    EXPECT_EQ(r.version, "HTTP/1.1");
    EXPECT_EQ(r.target, "/iec/Upload-upload?action=get_cars&up_user=autobazar&up_passwd=tajn%E9%26%23%25%20heslo");
    EXPECT_EQ(r.headers.value("accept"), "text/html, */*");
    EXPECT_EQ(r.headers.value("user-agent"), "Mozilla/3.0 (compatible; Indy Library)");
    EXPECT_EQ(r.headers.value("content-type"), "text/html");

    QFile list(exe + u"Obr_FTP_List.txt"_s);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll(), QByteArray("a_1_web.jpg\r\n"));
    EXPECT_TRUE(QFile::exists(exe + u"Korvex_Foto.txt"_s));
}

TEST_F(GatewayTest, CookiesOfTheFirstReplyReturnOnTheNextRequest)
{
    ListPortalPictures(client, settings, exe);
    ListPortalPictures(client, settings, exe);
    const auto requests = stub.requests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_FALSE(requests[0].headers.contains("cookie"));
    EXPECT_EQ(requests[1].headers.value("cookie"), "KORVEXSESSION=s3ss10n");
}

TEST_F(GatewayTest, StatusesOutside200AndRedirectsFail)
{
    stub.setFault({404});
    EXPECT_EQ(errorOf([&] { ListPortalPictures(client, settings, exe); }), u"HTTP/1.1 404 Not Found"_s);
    stub.setFault({500});
    EXPECT_EQ(errorOf([&] { ListPortalPictures(client, settings, exe); }), u"HTTP/1.1 500 Internal Server Error"_s);
    stub::Fault redirect;
    redirect.redirect = true;
    stub.setFault(redirect);
    EXPECT_EQ(errorOf([&] { ListPortalPictures(client, settings, exe); }), u"HTTP/1.1 302 Found"_s);
    EXPECT_EQ(stub.requests().size(), 3); // the redirect was not followed
}

TEST_F(GatewayTest, AReplyWithoutLengthAnnouncesZero)
{
    stub::Fault noLength;
    noLength.noLength = true;
    stub.setFault(noLength);
    std::vector<std::pair<WorkDirection, std::int64_t>> begins;
    client.onWorkBegin = [&](WorkDirection d, std::int64_t n) { begins.emplace_back(d, n); };
    ListPortalPictures(client, settings, exe);
    const std::vector<std::pair<WorkDirection, std::int64_t>> unknown{{WorkDirection::Sending, 0},
                                                                      {WorkDirection::Receiving, 0}};
    EXPECT_EQ(begins, unknown);
    stub.setFault({});
    begins.clear();
    ListPortalPictures(client, settings, exe);
    ASSERT_EQ(begins.size(), 2u);
    EXPECT_EQ(begins[1].first, WorkDirection::Receiving);
    EXPECT_GT(begins[1].second, 0);
}

TEST_F(GatewayTest, AStalledServerEndsInTheLowSpeedTimeout)
{
    stub::Fault stall;
    stall.stall = true;
    stub.setFault(stall);
    client.setLowSpeedTimeout(1);
    int idles = 0;
    client.onIdle = [&] { ++idles; };
    EXPECT_FALSE(errorOf([&] { ListPortalPictures(client, settings, exe); }).isEmpty());
    EXPECT_GT(idles, 20); // the window was served about every 10 ms
    stub.setFault({});
}

TEST_F(GatewayTest, TheProxyGetsTheRequestWithCredentials)
{
    stub::ProxyStub proxy;
    client.setProxy(ProxySettings{u"127.0.0.1"_s, u"proxyuser"_s, u"proxyheslo"_s, proxy.port()}, true);
    ListPortalPictures(client, settings, exe);
    const auto seen = proxy.requests();
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen[0].target.startsWith(stub.address() + "/iec/Upload-upload?action=get_cars"));
    EXPECT_EQ(seen[0].headers.value("proxy-authorization"), "Basic " + QByteArray("proxyuser:proxyheslo").toBase64());
    EXPECT_EQ(stub.requests().size(), 1);
}

TEST_F(GatewayTest, TheUploadFormIsExactByteForByte)
{
    static const char raw[] = "PK\x03\x04\0 archive bytes \r\n--------";
    const QByteArray zip(raw, sizeof raw - 1);
    const QString archive = writeArchive(zip);
    UploadArchive(client, settings, context(archive));

    const QByteArray b = "--------120926080507042";
    const QByteArray expected = "--" + b + "\r\nContent-Disposition: form-data; name=\"action\"\r\n\r\nupload_cars\r\n"
        + "--" + b + "\r\nContent-Disposition: form-data; name=\"upload\"\r\n\r\n1\r\n"
        + "--" + b + "\r\nContent-Disposition: form-data; name=\"up_user\"\r\n\r\nautobazar\r\n"
        + "--" + b + "\r\nContent-Disposition: form-data; name=\"up_passwd\"\r\n\r\ntajn\xE9&#% heslo\r\n"
        + "--" + b + "\r\nContent-Disposition: form-data; name=\"delete_way\"\r\n\r\n3\r\n"
        + "--" + b + "\r\nContent-Disposition: form-data; name=\"xfile\"; filename=\""
        + QFile::encodeName(QDir::toNativeSeparators(archive)) + "\"\r\nContent-Type: application/octet-stream\r\n\r\n"
        + zip + "\r\n--" + b + "--\r\n";
    const auto requests = stub.requests();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].version, "HTTP/1.0");
    EXPECT_EQ(requests[0].headers.value("content-type"), "multipart/form-data; boundary=" + b);
    EXPECT_EQ(requests[0].body, expected);
    EXPECT_EQ(stub.lastUploadError(), QByteArray());
    EXPECT_EQ(stub.archive("autobazar"), zip);

    QFile reply(working + u"/Response.htm"_s);
    ASSERT_TRUE(reply.open(QIODevice::ReadOnly));
    EXPECT_TRUE(reply.readAll().contains("Inzerce"));
    ASSERT_EQ(dialogs.calls.size(), 1);
    EXPECT_EQ(dialogs.calls[0].caption, Caption::Information);
    EXPECT_EQ(dialogs.calls[0].text, u"Inzerce byla úspěšně odeslána."_s);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(shown, 1);
}

TEST_F(GatewayTest, AutomaticModeClosesWithoutAMessage)
{
    UploadContext c = context(writeArchive("zip"));
    c.automaticMode = true;
    UploadArchive(client, settings, c);
    EXPECT_TRUE(dialogs.calls.isEmpty());
    EXPECT_EQ(closed, 1);
}

TEST_F(GatewayTest, AFailedUploadWarnsFirstThenTheErrorGoesOn)
{
    stub.setFault({500});
    UploadContext c = context(writeArchive("zip"));
    c.automaticMode = true;
    const QString error = errorOf([&] { UploadArchive(client, settings, c); });
    EXPECT_EQ(error, u"HTTP/1.1 500 Internal Server Error"_s);
    ASSERT_EQ(dialogs.calls.size(), 1);
    EXPECT_EQ(dialogs.calls[0].caption, Caption::Warning);
    EXPECT_EQ(dialogs.calls[0].text, u"Došlo k chybě při komunikaci se serverem Korvex"_s);
    EXPECT_EQ(closed, 0);
    EXPECT_FALSE(error.contains(settings.stored.uzivHeslo));
}

TEST_F(GatewayTest, AMissingArchiveRaisesWithoutTheWarning)
{
    const QString error = errorOf([&] { UploadArchive(client, settings, context(working + u"/chybi.zip"_s)); });
    EXPECT_TRUE(error.contains(u"chybi.zip"_s));
    EXPECT_TRUE(dialogs.calls.isEmpty());
    EXPECT_TRUE(stub.requests().isEmpty());
}

TEST_F(GatewayTest, AConnectionDroppedDuringTheUploadFails)
{
    stub::Fault drop;
    drop.dropAfter = 100000;
    stub.setFault(drop);
    const QString error = errorOf([&] { UploadArchive(client, settings, context(writeArchive(QByteArray(3 << 20, 'z')))); });
    EXPECT_FALSE(error.isEmpty());
    ASSERT_EQ(dialogs.calls.size(), 1);
    EXPECT_EQ(dialogs.calls[0].caption, Caption::Warning);
    EXPECT_EQ(closed, 0);
}

TEST_F(GatewayTest, StopWhileTheBodyIsSentEndsTheUpload)
{
    stub::Fault slow;
    slow.slowReadMs = 20;
    stub.setFault(slow);
    std::int64_t lastBegin = -1;
    std::int64_t sent = 0;
    client.onWorkBegin = [&](WorkDirection, std::int64_t n) { lastBegin = n; };
    client.onWork = [&](WorkDirection, std::int64_t done) { sent = done; };
    client.onIdle = [&] {
        if (sent > 0)
            client.abort();
    };
    const QString error = errorOf([&] { UploadArchive(client, settings, context(writeArchive(QByteArray(8 << 20, 'z')))); });
    EXPECT_EQ(error, u"Přenos dat byl přerušen."_s);
    EXPECT_GT(lastBegin, 8 << 20);
    EXPECT_LT(sent, 8 << 20);
    EXPECT_EQ(dialogs.calls.size(), 1);
    EXPECT_EQ(closed, 0);
    stub.setFault(stub::Fault());
}

// The long answer wait must not take STOP away: the dealer can still give up
// on a portal that does not answer.
TEST_F(GatewayTest, StopWhileThePortalWorksOnTheArchiveEndsTheUpload)
{
    stub::Fault busy;
    busy.replyDelayMs = 10000;
    stub.setFault(busy);
    std::int64_t total = -1;
    std::int64_t sent = 0;
    client.onWorkBegin = [&](WorkDirection direction, std::int64_t n) {
        if (direction == WorkDirection::Sending)
            total = n;
    };
    client.onWork = [&](WorkDirection direction, std::int64_t done) {
        if (direction == WorkDirection::Sending)
            sent = done;
    };
    client.onIdle = [&] {
        if (sent == total)
            client.abort();
    };
    QElapsedTimer took;
    took.start();
    const QString error = errorOf([&] { UploadArchive(client, settings, context(writeArchive(QByteArray(1 << 20, 'z')))); });
    EXPECT_EQ(error, u"Přenos dat byl přerušen."_s);
    EXPECT_EQ(sent, total);
    EXPECT_LT(took.elapsed(), 8000);
    EXPECT_EQ(closed, 0);
    stub.setFault({});
}

// A portal that imports a big stock before it answers, and a line that
// stalls while the archive is still on its way: only the second is a failure.
TEST_F(GatewayTest, APortalWorkingLongOnAReceivedArchiveIsNoFailure)
{
    stub::Fault busy;
    busy.replyDelayMs = 2500;
    stub.setFault(busy);
    client.setLowSpeedTimeout(1);
    client.setAnswerTimeout(30);
    UploadArchive(client, settings, context(writeArchive(QByteArray(1 << 20, 'z'))));
    EXPECT_EQ(stub.archive("autobazar").size(), 1 << 20);
    ASSERT_EQ(dialogs.calls.size(), 1);
    EXPECT_EQ(dialogs.calls[0].text, u"Inzerce byla úspěšně odeslána."_s);
    EXPECT_EQ(closed, 1);
}

TEST_F(GatewayTest, APortalSilentPastTheAnswerWaitFails)
{
    stub::Fault busy;
    busy.replyDelayMs = 5000;
    stub.setFault(busy);
    client.setLowSpeedTimeout(30);
    client.setAnswerTimeout(1);
    QElapsedTimer took;
    took.start();
    const QString error = errorOf([&] { UploadArchive(client, settings, context(writeArchive("zip"))); });
    EXPECT_EQ(error, u"Server neodpověděl do 1 s od převzetí odeslaných dat."_s);
    EXPECT_LT(took.elapsed(), 4000);
    EXPECT_EQ(closed, 0);
    stub.setFault({});
}

TEST_F(GatewayTest, ABodyThatStopsMovingStillEndsInTheLowSpeedTimeout)
{
    stub::Fault stalled;
    stalled.slowReadMs = 4000;
    stub.setFault(stalled);
    client.setLowSpeedTimeout(1);
    client.setAnswerTimeout(30);
    // The standing count is reported again, so that the panel can show the stall.
    std::vector<std::int64_t> reported;
    client.onWork = [&](WorkDirection, std::int64_t done) { reported.push_back(done); };
    QElapsedTimer took;
    took.start();
    const QString error = errorOf([&] { UploadArchive(client, settings, context(writeArchive(QByteArray(16 << 20, 'z')))); });
    EXPECT_EQ(error, u"Server neodpověděl včas, spojení bylo ukončeno. (Operation too slow. Less than 1 bytes/sec "
                     u"transferred the last 1 seconds)"_s);
    EXPECT_LT(took.elapsed(), 10000);
    EXPECT_EQ(dialogs.calls.size(), 1);
    ASSERT_GE(reported.size(), 2u);
    EXPECT_EQ(reported[reported.size() - 1], reported[reported.size() - 2]);
    EXPECT_LT(reported.back(), 16 << 20);
    stub.setFault({});
}

// The socket's buffers take megabytes at once; the progress must count what
// the portal has, or the bar shows 100 % while most of the archive is still
// on the machine.
TEST_F(GatewayTest, ProgressCountsTheBytesThePortalHasReceived)
{
    stub::Fault slow;
    slow.readRate = 4 << 20;
    stub.setFault(slow);
    std::int64_t ahead = 0;
    std::int64_t last = 0;
    client.onWork = [&](WorkDirection direction, std::int64_t done) {
        if (direction != WorkDirection::Sending)
            return;
        ahead = std::max<std::int64_t>(ahead, done - stub.uploadBytesRead());
        last = done;
    };
    UploadArchive(client, settings, context(writeArchive(QByteArray(8 << 20, 'z'))));
    EXPECT_LT(ahead, 1 << 20);
    EXPECT_GT(last, 8 << 20);
    stub.setFault({});
}

// The client closes the sockets itself (to follow the one in use); each must
// be closed, or a run of many sends runs out of descriptors.
TEST_F(GatewayTest, EverySocketIsClosedAgain)
{
    const auto open = [] { return QDir(u"/proc/self/fd"_s).entryList(QDir::Files | QDir::System).size(); };
    UploadArchive(client, settings, context(writeArchive("zip")));
    const qsizetype before = open();
    for (int i = 0; i < 3; ++i) {
        ListPortalPictures(client, settings, exe);
        UploadArchive(client, settings, context(writeArchive("zip")));
    }
    // The stub in this process closes its ends on its own threads.
    QElapsedTimer settle;
    settle.start();
    while (open() > before && settle.elapsed() < 3000)
        QThread::msleep(10);
    EXPECT_LE(open(), before);
}

TEST(MultipartUpload, TheBoundaryIsEightHyphensAndTheLocalTime)
{
    EXPECT_EQ(MultipartUpload::boundaryFor(QDateTime(QDate(2027, 1, 2), QTime(23, 4, 5, 6))),
              QByteArray("--------010227230405006"));
}

TEST(HttpClient, PercentEncodesEverythingButUnreservedCharacters)
{
    EXPECT_EQ(PercentEncode("aZ09-._~"), QByteArray("aZ09-._~"));
    EXPECT_EQ(PercentEncode("a b&c=d#e%f+/\xE9"), QByteArray("a%20b%26c%3Dd%23e%25f%2B%2F%E9"));
}
