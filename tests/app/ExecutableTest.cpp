#include "HostFixture.h"
#include "PortalStub.h"
#include "TempHost.h"
#include "import/WorkingTable.h"
#include "platform/DatabaseSession.h"
#include "platform/Dataset.h"
#include "platform/Win1250.h"
#include "platform/ZipDirectory.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

// The module's executable copied alone into the host's program folder, as an
// installation places it.
QString install(const test::TempHost &host)
{
    const QString target = host.layout().programFolder + u"Korvex_Export"_s;
    QFile::copy(QStringLiteral(KORVEX_EXPORT_EXE), target);
    return target;
}

int run(const QString &exe, const QStringList &args, QString *output = nullptr,
        const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(QDir::tempPath());
    p.start(exe, args);
    p.waitForFinished(60000);
    if (output)
        *output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return p.exitCode();
}

} // namespace

TEST(Executable, CarExpOnlyMakesTheWorkingFolder)
{
    test::TempHost host(fixture::generatedDealer(3, 1));
    const QString exe = install(host);
    EXPECT_EQ(run(exe, {u"---------CAR-EXP"_s}), 0);
    EXPECT_TRUE(QDir(host.layout().programFolder + u"Korvex_zip"_s).exists());
    EXPECT_FALSE(QFile::exists(host.layout().dataFolder(1) + u"Nesta.DB"_s));
}

TEST(Executable, AutomaticModePublishesTheHostAndExits)
{
    fixture::FixtureHost description = fixture::generatedDealer(3, 1);
    for (auto &v : description.branches[0].vehicles)
        v.rezPrehl5.clear();
    test::TempHost host(description);
    const QString exe = install(host);
    QFile settings(host.layout().programFolder + u"Korvex.ddd"_s);
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("1\r\n0\r\n150\r\nautobazar\r\nheslo\r\n\r\n\r\n\r\n\r\n");
    settings.close();
    // The first run's empty list would stop at the withdrawal guard's
    // warning, which waits for a click; switched off, the send is as ever.
    QFile guard(host.layout().programFolder + u"Korvex_ochrana.ddd"_s);
    ASSERT_TRUE(guard.open(QIODevice::WriteOnly));
    guard.write("0\r\n30\r\n5\r\n");
    guard.close();
    stub::PortalStub stub;
    stub.setDateFile(QDate::currentDate().toString(u"d.M.yyyy"_s).toUtf8());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"KORVEX_GATEWAY_URL"_s, QString::fromLatin1(stub.address()));
    env.insert(u"KORVEX_MAKER_URL"_s, QString::fromLatin1(stub.address()));

    // The first run finds nothing marked and marks everything afterwards;
    // the second publishes all three.
    for (int run = 0; run < 2; ++run) {
        QString output;
        EXPECT_EQ(::run(exe, {u"RYCHLE"_s}, &output, env), 0) << output.toStdString();
    }
    EXPECT_TRUE(QFile::exists(host.layout().dataFolder(1) + u"Nesta.DB"_s));
    EXPECT_TRUE(QFile::exists(host.layout().programFolder + u"Korvex_zip/Response.htm"_s));
    const QByteArray archive = stub.archive("autobazar");
    ASSERT_FALSE(archive.isEmpty());
    QString names;
    for (const auto &entry : ZipDirectory::read(archive, u"data.zip"_s).entries)
        names += entry.name + u' ';
    EXPECT_TRUE(names.contains(u"Data.xml"_s)) << names.toStdString();
}

TEST(Executable, HelpAndVersionNeedNoWindow)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"QT_QPA_PLATFORM"_s);
    env.remove(u"DISPLAY"_s);
    QString help, version;
    EXPECT_EQ(run(QStringLiteral(KORVEX_EXPORT_EXE), {u"--help"_s}, &help, env), 0);
    EXPECT_TRUE(help.contains(u"RYCHLE"_s) && help.contains(u"KORVEX_GATEWAY_URL"_s)) << help.toStdString();
    EXPECT_EQ(run(QStringLiteral(KORVEX_EXPORT_EXE), {u"--version"_s}, &version, env), 0);
    EXPECT_TRUE(version.startsWith(u"Korvex_Export "_s)) << version.toStdString();
}

namespace {

// A dealer installation with the module, a portal account and the stub as
// its portal, run as a scheduler runs it: offscreen, nobody at the screen.
class UnattendedRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        exe = install(host);
        writeSettings("autobazar");
        stub.setDateFile(QDate::currentDate().toString(u"d.M.yyyy"_s).toUtf8());
        env.insert(u"KORVEX_GATEWAY_URL"_s, QString::fromLatin1(stub.address()));
        env.insert(u"KORVEX_MAKER_URL"_s, QString::fromLatin1(stub.address()));
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    }

    void writeSettings(const QByteArray &user)
    {
        QFile settings(host.layout().programFolder + u"Korvex.ddd"_s);
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("1\r\n0\r\n150\r\n" + user + "\r\ntajneheslo\r\n\r\n\r\n\r\n\r\n");
    }

    // Runs the module; it must end on its own within 30 s of the stub's last
    // answer (or of its start, when it never reaches the stub).
    int runModule(const QStringList &args = {u"RYCHLE"_s})
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(QDir::tempPath());
        p.start(exe, args);
        EXPECT_TRUE(p.waitForStarted());
        QElapsedTimer sinceAnswer;
        sinceAnswer.start();
        qsizetype seen = stub.requests().size();
        while (!p.waitForFinished(100)) {
            if (stub.requests().size() != seen) {
                seen = stub.requests().size();
                sinceAnswer.restart();
            }
            if (sinceAnswer.elapsed() > 30000) {
                p.kill();
                p.waitForFinished();
                ADD_FAILURE() << "still running 30 s after the stub's last answer";
                return -1;
            }
        }
        errors = QString::fromLocal8Bit(p.readAllStandardError());
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        return p.exitCode();
    }

    QStringList logLines() const
    {
        QFile f(host.layout().programFolder + u"Korvex_log.txt"_s);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return Win1250::decode(f.readAll()).split(u"\r\n"_s, Qt::SkipEmptyParts);
    }

    test::TempHost host{fixture::generatedDealer(3, 1)};
    QString exe;
    stub::PortalStub stub;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString errors;
};

} // namespace

TEST_F(UnattendedRun, EveryOutcomeEndsTheRunWithItsStatusAndLogLine)
{
    // The first run finds nothing marked: the withdrawal guard holds back
    // the empty list, and "Vyber vše" marks every vehicle for the later runs.
    EXPECT_EQ(runModule(), 5) << errors.toStdString();
    EXPECT_TRUE(logLines().last().contains(u";bez obsluhy;Varování ... Odeslání bylo zastaveno: nabídek 0"_s));
    EXPECT_TRUE(logLines()[logLines().size() - 2].endsWith(u";zastaveno ochranou: nabídek 0, minule 0"_s));

    stub.setDateFile("1.1.2020");
    EXPECT_EQ(runModule(), 3) << errors.toStdString();
    EXPECT_TRUE(logLines().last().contains(u";bez obsluhy;Varování ... Datum ve Vašem počítači"_s));
    EXPECT_TRUE(logLines()[logLines().size() - 2].endsWith(u";zastaveno kontrolou data v počítači"_s));
    EXPECT_TRUE(errors.contains(u"Varování ... Datum ve Vašem počítači"_s)) << errors.toStdString();
    stub.setDateFile(QDate::currentDate().toString(u"d.M.yyyy"_s).toUtf8());

    writeSettings("DEMO");
    EXPECT_EQ(runModule(), 4) << errors.toStdString();
    EXPECT_TRUE(logLines().last().contains(u"Není zadán registrovaný uživatel"_s));
    EXPECT_TRUE(logLines()[logLines().size() - 2].endsWith(u";zastaveno: uživatel DEMO"_s));
    writeSettings("autobazar");

    stub::Fault refused;
    refused.status = 500;
    stub.setFault(refused);
    EXPECT_EQ(runModule(), 1) << errors.toStdString();
    const QStringList lines = logLines();
    EXPECT_TRUE(lines.last().contains(u";bez obsluhy;Chyba: "_s)) << lines.last().toStdString();
    EXPECT_TRUE(lines[lines.size() - 2].contains(u";automaticky;nabídek 0;obrázků 0;problémů -;archiv -;chyba: "_s))
        << lines[lines.size() - 2].toStdString();
    stub.setFault({});

    EXPECT_EQ(runModule(), 0) << errors.toStdString();
    EXPECT_TRUE(logLines().last().endsWith(u";odesláno, HTTP 200"_s));
    EXPECT_FALSE(logLines().join(u'\n').contains(u"tajneheslo"_s));
    EXPECT_FALSE(errors.contains(u"tajneheslo"_s));
}

TEST_F(UnattendedRun, AFailedStartUpEndsWithItsStatus)
{
    QFile::remove(host.layout().dataFolder(1) + u"Prehledy.DB"_s);
    EXPECT_EQ(runModule(), 2) << errors.toStdString();
    ASSERT_FALSE(logLines().isEmpty());
    EXPECT_TRUE(logLines().last().contains(u";bez obsluhy;Chyba: "_s)) << logLines().last().toStdString();
    EXPECT_TRUE(errors.contains(u"Prehledy"_s, Qt::CaseInsensitive)) << errors.toStdString();
}

TEST_F(UnattendedRun, InteractiveUseWithoutAScreenOpensNothing)
{
    EXPECT_EQ(runModule({}), 7);
    EXPECT_EQ(errors.count(u"Korvex_Export: "_s), 1) << errors.toStdString();
    EXPECT_TRUE(errors.contains(u"RYCHLE"_s));
    EXPECT_EQ(logLines().size(), 1);
    EXPECT_FALSE(QFile::exists(host.layout().dataFolder(1) + u"Nesta.DB"_s));

    // The variable says the same on a machine with a screen.
    env.insert(u"QT_QPA_PLATFORM"_s, u"minimal"_s);
    EXPECT_EQ(runModule({u"jine"_s}), 7);
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"KORVEX_UNATTENDED"_s, u"1"_s);
    EXPECT_EQ(runModule({u"---------CAR-EXP"_s}), 0);
}

TEST(Executable, ThePreviewNeedsNoWindowAndChangesNothing)
{
    test::TempHost host(fixture::generatedDealer(3, 1));
    const QString exe = install(host);
    {
        Dataset query{NestaTableDef()};
        CreateWorkingTable(query, DatabaseSession::load(host.layout().programFolder));
        for (int i = 1; i <= 3; ++i) {
            query.append();
            query.setValue(u"CJ", u"A%1"_s.arg(i));
            query.setValue(u"ZNACKA", u"Škoda"_s);
            query.setValue(u"OZNACENO", i != 2);
            query.post();
        }
        query.close();
    }
    auto files = [&] {
        QStringList list;
        QDirIterator it(host.layout().root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            f.open(QIODevice::ReadOnly);
            list.append(f.fileName() + u' ' + QString::fromLatin1(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1).toHex()));
        }
        list.sort();
        return list;
    };
    const QStringList before = files();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"QT_QPA_PLATFORM"_s);
    env.remove(u"DISPLAY"_s);
    env.remove(u"WAYLAND_DISPLAY"_s);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(exe, {u"--nahled"_s, u"--json"_s});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(p.readAllStandardOutput(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_EQ(root[u"offers"_s].toInt(), 2);
    const QJsonArray added = root[u"new"_s].toArray();
    ASSERT_EQ(added.size(), 2);
    EXPECT_EQ(added[1].toObject()[u"cj"_s].toString(), u"A3"_s);
    EXPECT_GT(root[u"archive_bytes"_s].toInteger(), 0);
    EXPECT_TRUE(root[u"last_send"_s].isNull());

    QString text;
    EXPECT_EQ(run(exe, {u"--nahled"_s}, &text, env), 0);
    EXPECT_TRUE(text.contains(u"Nabídek k odeslání: 2\n"_s)) << text.toStdString();
    EXPECT_EQ(files(), before);

    // Without the working table there is nothing to preview.
    QFile::remove(host.layout().dataFolder(1) + u"Nesta.DB"_s);
    QProcess failing;
    failing.setProcessEnvironment(env);
    failing.start(exe, {u"--nahled"_s});
    ASSERT_TRUE(failing.waitForFinished(60000));
    EXPECT_EQ(failing.exitCode(), 1);
    EXPECT_TRUE(failing.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(QString::fromUtf8(failing.readAllStandardError()).contains(u"Nesta.DB"_s));
}
