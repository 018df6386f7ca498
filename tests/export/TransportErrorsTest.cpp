// What the dealer reads when the connection fails: a Czech sentence first,
// libcurl's or the system's own text after it in parentheses.
#include "ErrorText.h"
#include "PortalStub.h"
#include "ScriptedDialogs.h"
#include "export/GatewayClient.h"
#include "export/HttpClient.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;
using korvex::test::errorOf;

namespace {

class TransportErrors : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("KORVEX_GATEWAY_URL", stub.address());
        exe = dir.path() + u'/';
        settings.stored.uzivJmeno = u"autobazar"_s;
        settings.stored.uzivHeslo = u"heslo"_s;
        client.setConnectTimeout(2);
        client.setLowSpeedTimeout(1);
    }

    QString listingError() { return errorOf([&] { ListPortalPictures(client, settings, exe); }); }

    stub::PortalStub stub;
    QTemporaryDir dir;
    QString exe;
    ModuleSettings settings;
    HttpClient client;
};

// "Sentence. (original)" with an original that is not empty.
void expectCzechThenOriginal(const QString &error, const QString &sentence)
{
    EXPECT_TRUE(error.startsWith(sentence + u" ("_s)) << error.toStdString();
    EXPECT_TRUE(error.endsWith(u')')) << error.toStdString();
    EXPECT_GT(error.size(), sentence.size() + 3) << error.toStdString();
}

} // namespace

TEST_F(TransportErrors, ConnectionFailuresAreNamedInCzech)
{
    qputenv("KORVEX_GATEWAY_URL", "http://127.0.0.1:1");
    expectCzechThenOriginal(listingError(), u"K serveru se nelze připojit, zkontrolujte připojení k internetu."_s);

    client.setProxy(ProxySettings{u"127.0.0.1"_s, QString(), QString(), 1}, true);
    expectCzechThenOriginal(listingError(), u"K proxy serveru se nelze připojit."_s);
    client.setProxy(ProxySettings(), false);

    qputenv("KORVEX_GATEWAY_URL", stub.address());
    stub::Fault stall;
    stall.stall = true;
    stub.setFault(stall);
    expectCzechThenOriginal(listingError(), u"Server neodpověděl včas, spojení bylo ukončeno."_s);

    stub::Fault refused;
    refused.status = 407;
    stub.setFault(refused);
    EXPECT_EQ(listingError(), u"Proxy server odmítl požadavek, zkontrolujte jméno a heslo pro proxy. (HTTP/1.1 407 "
                              u"Proxy Authentication Required)"_s);
    // Other statuses keep the server's own line.
    refused.status = 500;
    stub.setFault(refused);
    EXPECT_EQ(listingError(), u"HTTP/1.1 500 Internal Server Error"_s);
    stub.setFault({});
}

TEST_F(TransportErrors, AMissingArchiveSaysWhyInCzech)
{
    test::ScriptedDialogs dialogs;
    UploadContext context;
    context.archivePath = exe + u"chybi.zip"_s;
    context.workingFolder = exe;
    context.dialogs = &dialogs;
    EXPECT_EQ(errorOf([&] { UploadArchive(client, settings, context); }),
              u"Soubor \""_s + exe + u"chybi.zip\" nelze otevřít: soubor nebo složka neexistuje (No such file or "
                                     u"directory)"_s);
}

// libcurl takes no address over its input limit and said only "No URL set".
TEST_F(TransportErrors, AnAbsurdlyLongPasswordIsNamed)
{
    settings.stored.uzivHeslo = QString(8000000, u'x');
    const QString error = listingError();
    EXPECT_TRUE(error.startsWith(u"Uživatelské jméno nebo heslo pro portál je příliš dlouhé (8000009 znaků)"_s))
        << error.left(200).toStdString();
    EXPECT_TRUE(stub.requests().isEmpty());

    const QByteArray url = stub.address() + "/?" + QByteArray(8000000, 'x');
    EXPECT_EQ(errorOf([&] { client.get(url); }),
              u"Adresa požadavku je příliš dlouhá (%1 bajtů), požadavek nelze odeslat."_s.arg(url.size()));
}
