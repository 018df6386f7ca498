#include "HostFixture.h"
#include "TempHost.h"

#include <QDir>
#include <QFile>
#include <QProcess>

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

int run(const QString &exe, const QStringList &args, QString *output = nullptr)
{
    QProcess p;
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

TEST(Executable, ImportsTheHostIntoTheWorkingTableOfAliasBazar)
{
    fixture::FixtureHost description = fixture::generatedDealer(3, 1);
    for (auto &v : description.branches[0].vehicles)
        v.rezPrehl5.clear();
    test::TempHost host(description);
    const QString exe = install(host);
    QString output;
    EXPECT_EQ(run(exe, {}, &output), 0) << output.toStdString();
    EXPECT_TRUE(QFile::exists(host.layout().dataFolder(1) + u"Nesta.DB"_s)) << output.toStdString();
    EXPECT_TRUE(output.contains(u"3    celkem "_s)) << output.toStdString();
    EXPECT_TRUE(QFile::exists(host.layout().programFolder + u"ASCII_Nesta.TXT"_s));
    EXPECT_TRUE(QDir(host.layout().programFolder + u"Korvex_zip"_s).exists());
}

TEST(Executable, ADamagedWorkingTableStopsTheStartWithItsName)
{
    test::TempHost host(fixture::generatedDealer(1, 1));
    const QString exe = install(host);
    const QString nesta = host.layout().dataFolder(1) + u"Nesta.DB"_s;
    QFile f(nesta);
    f.open(QIODevice::WriteOnly);
    f.write(QByteArray(2048, 'P'));
    f.close();
    QString output;
    EXPECT_NE(run(exe, {u"RYCHLE"_s}, &output), 0);
    EXPECT_TRUE(output.contains(u"Nesta.DB"_s)) << output.toStdString();
    EXPECT_EQ(QFileInfo(nesta).size(), 2048);
}
