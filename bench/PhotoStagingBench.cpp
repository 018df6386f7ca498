// Staging photos as hard links against copying them, and the checks of the
// marked vehicles with the detection of retaken photos on a large stock.
//
// 1. The offer list with the staging of 1,000 vehicles, six photos of
//    250 kB each, none on the portal yet: linked, against the same run with
//    copying (baseline). Target: at most 0.1 of the baseline.
// 2. The checks and the change detection of 10,000 marked vehicles with
//    60,000 photos, every one on the portal and unchanged since the history
//    recorded it, as a send does them: the history read, each vehicle's
//    checks (the headers known from the history while a file's size and
//    time hold) and each photo's stamp. Budget 0.5 s.
#include "BenchReport.h"
#include "JpegWriter.h"
#include "SendBenchInstallation.h"
#include "export/ChangedPhotos.h"
#include "export/OfferList.h"
#include "export/PhotoStaging.h"
#include "export/SendHistory.h"
#include "export/VehicleChecks.h"
#include "platform/ModuleFolders.h"
#include "platform/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

void addVehicles(bench::SendBenchInstallation &at, int vehicles, const QByteArray &photo, QStringList &names)
{
    Dataset &query = at.query;
    query.startTransaction();
    for (int v = 0; v < vehicles; ++v) {
        query.append();
        query.setValue(u"CJ", QString::number(10000 + v));
        query.setValue(u"ZNACKA", u"Škoda"_s);
        query.setValue(u"MODEL", u"Octavia"_s);
        query.setValue(u"CENA_VOZIDLA", u"150000"_s);
        query.setValue(u"OZNACENO", true);
        for (int n = 1; n <= 6; ++n) {
            const QString name = u"%1_%2_WEB.JPG"_s.arg(10000 + v).arg(n);
            QFile f(at.photos + name);
            f.open(QIODevice::WriteOnly);
            f.write(photo);
            query.setValue(u"FOTO%1"_s.arg(n), at.photos + name);
            query.setValue(u"ZOB_FOTO%1"_s.arg(n), true);
            names.append(name.toLower());
        }
        query.post();
    }
    query.commit();
}

QByteArray jpegOf(qsizetype size)
{
    QTemporaryDir dir;
    fixture::writeJpeg(dir.path() + u"/p.jpg"_s, 16, 16, 7);
    QFile f(dir.path() + u"/p.jpg"_s);
    f.open(QIODevice::ReadOnly);
    QByteArray bytes = f.readAll();
    return bytes + QByteArray(std::max<qsizetype>(0, size - bytes.size()), 'j');
}

bool stagingFigure()
{
    bench::SendBenchInstallation at;
    QStringList names;
    addVehicles(at, 1000, jpegOf(250 * 1024), names);
    auto run = [&](bool link) {
        return bench::bestOf(3, [&] {
            QDir(at.working).removeRecursively();
            QDir().mkpath(at.working);
            OfferListSettings settings{at.exe, at.working, false};
            settings.linkPhotos = link;
            settings.checkVehicles = false; // timed on their own below
            WriteOfferList(at.query, settings);
        });
    };
    const double copied = run(false);
    const double linked = run(true);
    return bench::reportRatio("offer list + staging, 6,000 photos linked", linked, "the same, copied", copied, 0.1);
}

bool checksFigure()
{
    bench::SendBenchInstallation at;
    QStringList names;
    addVehicles(at, 10000, jpegOf(2000), names);
    TextFile::writeLines(at.exe + u"Obr_FTP_List.txt"_s, names);
    // The history knows every photo as it is now.
    QHash<QString, QString> named;
    for (const QString &name : names)
        named.insert(name, at.photos + QString(name).replace(u"_web.jpg"_s, u"_WEB.JPG"_s));
    SendRecord send;
    send.when = QDateTime::currentDateTime();
    send.photoFiles = ChangedPhotos({}).filesToRecord(named, {});
    const QString history = ModuleFolders::path(ModuleFile::SendHistory, at.exe);
    SendHistory(history, SendHistory::Mode::Write).record(send);

    int problems = 0;
    int changed = 0;
    const double seconds = bench::bestOf(3, [&] {
        ChangedPhotos changes(SendHistory(history, SendHistory::Mode::Read).photoFiles());
        VehicleChecker checker(false, &changes);
        problems = changed = 0;
        for (at.query.first(); !at.query.eof(); at.query.next()) {
            if (!at.query.boolean(u"OZNACENO"))
                continue;
            problems += checker.check(at.query).isEmpty() ? 0 : 1;
            for (int n = 1; n <= 6; ++n) {
                const QString photo = at.query.text(u"FOTO%1"_s.arg(n));
                changed += changes.changed(PictureName(photo), photo) ? 1 : 0;
            }
        }
    });
    if (problems != 0 || changed != 0)
        std::printf("unexpected: %d vehicles with a problem, %d photos changed\n", problems, changed);
    return bench::reportLimit("checks + change detection, 10,000 vehicles", seconds, 0.5) && problems == 0
        && changed == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const bool staging = stagingFigure();
    const bool checks = checksFigure();
    return staging && checks ? 0 : 1;
}
