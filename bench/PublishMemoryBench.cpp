// Peak memory of the real executable publishing 10,000 vehicles in automatic
// mode to the portal stub, against the same executable that only starts and
// ends ("---------CAR-EXP").
#include "BenchReport.h"
#include "HostFixture.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

// The largest resident size of any child waited for so far, in MB.
double childrenPeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

bool runModule(const QString &exe, const QString &argument, const QProcessEnvironment &env)
{
    QProcess module;
    module.setProcessEnvironment(env);
    module.start(exe, {argument});
    return module.waitForFinished(600000) && module.exitStatus() == QProcess::NormalExit && module.exitCode() == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString tools = QCoreApplication::applicationDirPath() + u"/../"_s;
    QTemporaryDir dir;
    fixture::FixtureHost description = fixture::generatedDealer(10000, 4);
    description.emptyPhotoFiles = true;
    for (auto &branch : description.branches)
        for (auto &v : branch.vehicles)
            v.rezPrehl5.clear();
    const fixture::HostLayout host = fixture::writeHost(dir.path(), description);
    const QString exe = host.programFolder + u"Korvex_Export"_s;
    QFile::copy(tools + u"src/app/Korvex_Export"_s, exe);
    QFile settings(host.programFolder + u"Korvex.ddd"_s);
    settings.open(QIODevice::WriteOnly);
    settings.write("1\r\n0\r\n150\r\nautobazar\r\nheslo\r\n\r\n\r\n\r\n\r\n");
    settings.close();

    QProcess stub;
    stub.start(tools + u"tools/portalstub/korvex_portal_stub"_s,
               {u"--date"_s, QDate::currentDate().toString(u"d.M.yyyy"_s)});
    stub.waitForReadyRead(10000);
    const QByteArray port = stub.readLine().trimmed().split(' ').value(1);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"KORVEX_GATEWAY_URL"_s, u"http://127.0.0.1:"_s + QString::fromLatin1(port));
    env.insert(u"KORVEX_MAKER_URL"_s, u"http://127.0.0.1:"_s + QString::fromLatin1(port));

    bool ok = runModule(exe, u"---------CAR-EXP"_s, env);
    const double idle = childrenPeakMegabytes();
    // The first run imports and marks everything; the second publishes all.
    // The first run's list is empty, and the withdrawal guard would stop it
    // with a warning nobody answers here: it is off for that run only.
    const QString guard = host.programFolder + u"Korvex_ochrana.ddd"_s;
    QFile guardOff(guard);
    guardOff.open(QIODevice::WriteOnly);
    guardOff.write("0\r\n30\r\n5\r\n");
    guardOff.close();
    ok = runModule(exe, u"RYCHLE"_s, env) && ok;
    QFile::remove(guard);
    ok = runModule(exe, u"RYCHLE"_s, env) && ok;
    const double publish = childrenPeakMegabytes();
    stub.kill();
    stub.waitForFinished();
    if (!ok) {
        std::fprintf(stderr, "the automatic publish did not end with success\n");
        return 1;
    }
    const double ratio = publish / idle;
    const bool met = publish - idle <= 250.0;
    std::printf("%-44s %9.1f MB | %-28s %9.1f MB | ratio %6.2f (target: at most 250 MB above) %s\n",
                "peak memory, automatic publish of 10k", publish, "start and end (CAR-EXP)", idle, ratio,
                met ? "MET" : "MISSED");
    return met ? 0 : 1;
}
