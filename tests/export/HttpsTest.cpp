// The gateway and the maker's server over TLS: the same requests as over
// plain HTTP, certificates checked against the system's store plus
// $KORVEX_CA_FILE, and a certificate that does not verify stops the request.
#include "ErrorText.h"
#include "GatewayFixture.h"
#include "PortalStub.h"
#include "TestCertificates.h"
#include "export/ClockCheck.h"
#include "export/GatewayAddress.h"
#include "export/GatewayClient.h"
#include "export/HttpClient.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace korvex;
using namespace Qt::StringLiterals;
using korvex::test::errorOf;

namespace {

const QString kUnverified = u"Certifikát serveru 127.0.0.1 nelze ověřit. ("_s;

class Https : public test::GatewayFixture
{
protected:
    static void SetUpTestSuite()
    {
        s_folder = std::make_unique<QTemporaryDir>();
        s_certificates = std::make_unique<stub::TestCertificates>(s_folder->path());
    }
    static void TearDownTestSuite()
    {
        s_certificates.reset();
        s_folder.reset();
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_certificates->isValid());
        ASSERT_GT(stub.port(), 0);
        prepare(stub.address());
        qputenv("KORVEX_MAKER_URL", stub.address());
        qputenv("KORVEX_CA_FILE", QFile::encodeName(s_certificates->authority()));
    }

    void TearDown() override
    {
        qunsetenv("KORVEX_GATEWAY_URL");
        qunsetenv("KORVEX_MAKER_URL");
        qunsetenv("KORVEX_CA_FILE");
    }

    static stub::TlsFiles serverFiles() { return {s_certificates->certificate(), s_certificates->key()}; }

    UploadContext context()
    {
        UploadContext c = GatewayFixture::context(working + u"/data.zip"_s);
        c.automaticMode = true;
        return c;
    }

    QString listingError() { return errorOf([&] { ListPortalPictures(client, settings, exe); }); }

    static std::unique_ptr<QTemporaryDir> s_folder;
    static std::unique_ptr<stub::TestCertificates> s_certificates;
    stub::PortalStub stub{0, QString(), serverFiles()};
};

std::unique_ptr<QTemporaryDir> Https::s_folder;
std::unique_ptr<stub::TestCertificates> Https::s_certificates;

// What must not differ between the two transports; the Host header names
// the stub's port.
QList<stub::RecordedRequest> withoutHost(QList<stub::RecordedRequest> requests)
{
    for (stub::RecordedRequest &r : requests)
        r.headers.remove("host");
    return requests;
}

bool operator==(const stub::RecordedRequest &a, const stub::RecordedRequest &b)
{
    return a.method == b.method && a.target == b.target && a.version == b.version && a.headers == b.headers
        && a.body == b.body;
}

} // namespace

TEST(GatewayAddresses, TheBuiltInAddressesUseHttps)
{
    qunsetenv("KORVEX_GATEWAY_URL");
    qunsetenv("KORVEX_MAKER_URL");
    EXPECT_TRUE(GatewayAddress().startsWith("https://")) << GatewayAddress().toStdString();
    EXPECT_TRUE(MakerAddress().startsWith("https://")) << MakerAddress().toStdString();
}

TEST_F(Https, ListingUploadAndClockCheckWork)
{
    stub.addPictures("autobazar", {u"A_1_WEB.jpg"_s});
    ListPortalPictures(client, settings, exe);
    QFile list(exe + u"Obr_FTP_List.txt"_s);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll(), QByteArray("a_1_web.jpg\r\n"));

    writeArchive(QByteArray(3 << 20, 'z'));
    UploadArchive(client, settings, context());
    EXPECT_EQ(stub.archive("autobazar"), QByteArray(3 << 20, 'z'));
    EXPECT_TRUE(QFile::exists(working + u"/Response.htm"_s));
    EXPECT_EQ(closed, 1);

    ClockCheckContext clock;
    clock.executableFolder = exe;
    clock.dialogs = &dialogs;
    clock.timeoutSeconds = 2;
    stub.setDateFile("1.12.2026");
    clock.today = [] { return QDate(2026, 12, 8); };
    EXPECT_TRUE(CheckClock(clock));
    // The refusal shows that the date arrived: a failed download passes.
    clock.today = [] { return QDate(2026, 12, 9); };
    EXPECT_FALSE(CheckClock(clock));
    EXPECT_EQ(dialogs.calls.size(), 1);
}

TEST_F(Https, TheRequestsInsideTlsAreThePlainOnes)
{
    const auto exchange = [&] {
        ListPortalPictures(client, settings, exe);
        ListPortalPictures(client, settings, exe); // with the cookie of the first
        UploadArchive(client, settings, context());
    };
    writeArchive("PK\x03\x04 archive \r\n--------");
    exchange();
    stub::PortalStub plain;
    qputenv("KORVEX_GATEWAY_URL", plain.address());
    HttpClient plainClient;
    ListPortalPictures(plainClient, settings, exe);
    ListPortalPictures(plainClient, settings, exe);
    UploadArchive(plainClient, settings, context());

    const auto secure = withoutHost(stub.requests());
    const auto clear = withoutHost(plain.requests());
    ASSERT_EQ(secure.size(), 3);
    ASSERT_EQ(clear.size(), 3);
    EXPECT_EQ(secure[1].headers.value("cookie"), "KORVEXSESSION=s3ss10n");
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(secure[i] == clear[i]) << "request " << i << ": " << secure[i].method.constData();
    EXPECT_EQ(stub.lastUploadError(), QByteArray());
}

TEST_F(Https, AnUnknownAuthorityStopsTheRequestAndNothingIsUploaded)
{
    qunsetenv("KORVEX_CA_FILE");
    const QString error = listingError();
    EXPECT_TRUE(error.startsWith(kUnverified)) << error.toStdString();
    EXPECT_TRUE(error.endsWith(u')') && error.size() > kUnverified.size() + 1) << error.toStdString();
    EXPECT_FALSE(QFile::exists(exe + u"Korvex_Foto.txt"_s));

    writeArchive("zip");
    const QString uploadError = errorOf([&] { UploadArchive(client, settings, context()); });
    EXPECT_TRUE(uploadError.startsWith(kUnverified)) << uploadError.toStdString();
    ASSERT_EQ(dialogs.calls.size(), 1);
    EXPECT_EQ(dialogs.calls[0].text, u"Došlo k chybě při komunikaci se serverem Korvex"_s);
    EXPECT_EQ(closed, 0);
    EXPECT_FALSE(QFile::exists(working + u"/Response.htm"_s));
    EXPECT_TRUE(stub.requests().isEmpty());
    EXPECT_FALSE(uploadError.contains(settings.stored.uzivHeslo));
}

TEST_F(Https, AWrongHostNameIsRefusedEvenFromAKnownAuthority)
{
    stub::PortalStub elsewhere(0, QString(), {s_certificates->wrongHostCertificate(), s_certificates->key()});
    qputenv("KORVEX_GATEWAY_URL", elsewhere.address());
    const QString error = listingError();
    EXPECT_TRUE(error.startsWith(kUnverified)) << error.toStdString();
    EXPECT_TRUE(elsewhere.requests().isEmpty());
}

TEST_F(Https, APlainServerAtAnHttpsAddressIsNamed)
{
    stub::PortalStub plain;
    qputenv("KORVEX_GATEWAY_URL", "https://127.0.0.1:" + QByteArray::number(plain.port()));
    const QString error = listingError();
    EXPECT_TRUE(error.startsWith(u"Zabezpečené spojení se serverem 127.0.0.1 nelze navázat. ("_s))
        << error.toStdString();
    EXPECT_TRUE(plain.requests().isEmpty());
}

TEST_F(Https, TheAuthorityFileMustHoldACertificate)
{
    const QString missing = exe + u"chybi.pem"_s;
    qputenv("KORVEX_CA_FILE", QFile::encodeName(missing));
    EXPECT_EQ(listingError(),
        u"Soubor certifikační autority \"%1\" (KORVEX_CA_FILE) nelze přečíst: soubor nebo "
        u"složka neexistuje (No such file or directory)"_s.arg(missing));
    const QString key = s_certificates->key();
    qputenv("KORVEX_CA_FILE", QFile::encodeName(key));
    EXPECT_EQ(listingError(),
        u"Soubor certifikační autority \"%1\" (KORVEX_CA_FILE) neobsahuje žádný certifikát ve "
        u"formátu PEM."_s.arg(key));
    EXPECT_TRUE(stub.requests().isEmpty());
}

TEST_F(Https, TheHostsProxyTunnelsTheRequests)
{
    stub::ProxyStub proxy;
    client.setProxy(ProxySettings{u"127.0.0.1"_s, u"proxyuser"_s, u"proxyheslo"_s, proxy.port()}, true);
    ListPortalPictures(client, settings, exe);
    writeArchive(QByteArray(1 << 20, 'z'));
    UploadArchive(client, settings, context());
    EXPECT_EQ(stub.archive("autobazar"), QByteArray(1 << 20, 'z'));

    const auto seen = proxy.requests();
    ASSERT_GE(seen.size(), 1);
    for (const stub::RecordedRequest &r : seen) {
        EXPECT_EQ(r.method, "CONNECT");
        EXPECT_EQ(r.target, "127.0.0.1:" + QByteArray::number(stub.port()));
        EXPECT_EQ(r.headers.value("proxy-authorization"), "Basic " + QByteArray("proxyuser:proxyheslo").toBase64());
    }
    EXPECT_EQ(stub.requests().size(), 2);
}
