// The portal stub as a command: its usage, and the slow portal it plays for
// trying the module by hand.
#include "ScriptedDialogs.h"
#include "TestCertificates.h"
#include "export/GatewayClient.h"
#include "export/HttpClient.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

const QString kStub = QString::fromUtf8(KORVEX_PORTAL_STUB_EXE);

} // namespace

TEST(PortalStubCommand, HelpAndBadValuesEndWithoutServing)
{
    QProcess help;
    help.start(kStub, {u"--help"_s});
    ASSERT_TRUE(help.waitForFinished(10000));
    EXPECT_EQ(help.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(help.exitCode(), 0);
    const QByteArray usage = help.readAllStandardOutput();
    EXPECT_TRUE(usage.contains("--reply-delay <SECONDS>")) << usage.toStdString();
    EXPECT_TRUE(usage.contains("--read-rate <N>")) << usage.toStdString();
    EXPECT_FALSE(usage.startsWith("port "));

    QProcess bad;
    bad.start(kStub, {u"--read-rate"_s, u"fast"_s});
    ASSERT_TRUE(bad.waitForFinished(10000));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_TRUE(bad.readAllStandardError().contains("--read-rate"));
}

TEST(PortalStubCommand, AThrottledPortalAnswersOnlyAfterItsDelay)
{
    QProcess stub;
    stub.start(kStub, {u"--reply-delay"_s, u"1"_s, u"--read-rate"_s, u"400000"_s});
    ASSERT_TRUE(stub.waitForReadyRead(10000));
    const QByteArray port = stub.readLine().trimmed().split(' ').value(1);
    ASSERT_FALSE(port.isEmpty());
    qputenv("KORVEX_GATEWAY_URL", "http://127.0.0.1:" + port);

    QTemporaryDir dir;
    const QString archive = dir.path() + u"/data.zip"_s;
    QFile f(archive);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(200000, 'z'));
    f.close();
    ModuleSettings settings;
    settings.stored.uzivJmeno = u"autobazar"_s;
    HttpClient client;
    test::ScriptedDialogs dialogs;
    UploadContext context;
    context.archivePath = archive;
    context.workingFolder = dir.path();
    context.dialogs = &dialogs;
    context.automaticMode = true;
    QElapsedTimer took;
    took.start();
    UploadArchive(client, settings, context);
    // Half a second to read the body, then a second's work on it.
    EXPECT_GE(took.elapsed(), 1400);
    EXPECT_TRUE(QFile::exists(dir.path() + u"/Response.htm"_s));
    qunsetenv("KORVEX_GATEWAY_URL");
    stub.terminate();
    EXPECT_TRUE(stub.waitForFinished(10000));
}

TEST(PortalStubCommand, ServesHttpsWithTheCertificateItIsGiven)
{
    QTemporaryDir dir;
    const stub::TestCertificates certificates(dir.path());
    ASSERT_TRUE(certificates.isValid());

    QProcess halfOfAPair;
    halfOfAPair.start(kStub, {u"--cert"_s, certificates.certificate()});
    ASSERT_TRUE(halfOfAPair.waitForFinished(10000));
    EXPECT_EQ(halfOfAPair.exitCode(), 2);
    QProcess wrongFile;
    wrongFile.start(kStub, {u"--cert"_s, certificates.key(), u"--key"_s, certificates.key()});
    ASSERT_TRUE(wrongFile.waitForFinished(10000));
    EXPECT_EQ(wrongFile.exitCode(), 1);

    QProcess stub;
    stub.start(kStub, {u"--cert"_s, certificates.certificate(), u"--key"_s, certificates.key()});
    ASSERT_TRUE(stub.waitForReadyRead(10000));
    const QByteArray port = stub.readLine().trimmed().split(' ').value(1);
    ASSERT_FALSE(port.isEmpty());
    qputenv("KORVEX_GATEWAY_URL", "https://127.0.0.1:" + port);
    qputenv("KORVEX_CA_FILE", QFile::encodeName(certificates.authority()));
    ModuleSettings settings;
    settings.stored.uzivJmeno = u"autobazar"_s;
    HttpClient client;
    ListPortalPictures(client, settings, dir.path() + u'/');
    EXPECT_TRUE(QFile::exists(dir.path() + u"/Korvex_Foto.txt"_s));
    qunsetenv("KORVEX_GATEWAY_URL");
    qunsetenv("KORVEX_CA_FILE");
    stub.terminate();
    EXPECT_TRUE(stub.waitForFinished(10000));
}
