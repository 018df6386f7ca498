// Packing a working folder of 300 JPEG pictures (about 200 MB) against
// Info-ZIP's "zip -9 -j" of the same files, the archive verified afterwards.
#include "BenchReport.h"
#include "JpegWriter.h"
#include "platform/ZipDirectory.h"
#include "platform/ZipPacker.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace korvex;
using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path() + u"/Korvex_zip"_s;
    QDir().mkpath(folder);
    qint64 total = 0;
    for (int i = 0; i < 300; ++i) {
        // Real JPEG data of about 0.7 MB each.
        const QString path = folder + u"/%1_1_web.jpg"_s.arg(10000 + i);
        fixture::writeJpeg(path, 2100, 1575, unsigned(i + 1), 98);
        total += QFileInfo(path).size();
    }

    const QString ours = dir.path() + u"/ours.zip"_s;
    const QString theirs = dir.path() + u"/theirs.zip"_s;
    const double module = bench::bestOf(3, [&] {
        QFile::remove(ours);
        PackFolder(ours, folder, {u"*.*"_s});
    });
    const double zip = bench::bestOf(3, [&] {
        QFile::remove(theirs);
        QProcess p;
        p.start(u"sh"_s, {u"-c"_s, u"zip -9 -j -q '%1' '%2'/*"_s.arg(theirs, folder)});
        p.waitForFinished(600000);
    });

    QFile archive(ours);
    archive.open(QIODevice::ReadOnly);
    const ZipDirectory check = ZipDirectory::read(archive.readAll(), ours);
    const bool verified = check.entries.size() == 300;
    std::printf("packing data: %d files, %.1f MB, archive verified: %s\n", 300, double(total) / 1048576.0,
                verified ? "yes" : "NO");
    const bool met = bench::reportRatio("pack 300 pictures", module, "zip -9 -j", zip, 0.6);
    return met && verified ? 0 : 1;
}
