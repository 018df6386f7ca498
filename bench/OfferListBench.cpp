// Writing the offer list and staging the photos of 1,000 marked vehicles
// (six photos each, a portal list of 3,000 names) against its one-second
// budget.
#include "BenchReport.h"
#include "SendBenchInstallation.h"
#include "export/OfferList.h"
#include "import/WorkingTable.h"
#include "platform/DatabaseSession.h"
#include "platform/Dataset.h"
#include "platform/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace korvex;
using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    bench::SendBenchInstallation installation;
    const QString &exe = installation.exe;
    const QString &working = installation.working;
    const QString &photos = installation.photos;
    Dataset &query = installation.query;

    QStringList portal;
    const QByteArray picture(60000, 'j');
    query.startTransaction();
    for (int v = 0; v < 1000; ++v) {
        query.append();
        query.setValue(u"CJ", QString::number(10000 + v));
        query.setValue(u"ZNACKA", u"Škoda"_s);
        query.setValue(u"POZNAMKA", u"Vůz v dobrém stavu & servisován"_s);
        query.setValue(u"VYBAVA", u"rádio;alarm;el. okna;klimatizace;tempomat;"_s);
        query.setValue(u"OZNACENO", true);
        for (int n = 1; n <= 6; ++n) {
            const QString name = u"%1_%2_WEB.JPG"_s.arg(10000 + v).arg(n);
            QFile f(photos + name);
            f.open(QIODevice::WriteOnly);
            f.write(picture);
            query.setValue(u"FOTO%1"_s.arg(n), photos + name);
            query.setValue(u"ZOB_FOTO%1"_s.arg(n), true);
            if (n <= 3)
                portal.append(name.toLower());
        }
        query.post();
    }
    query.commit();
    TextFile::writeLines(exe + u"Obr_FTP_List.txt"_s, portal);

    const double seconds = bench::bestOf(3, [&] {
        QDir(working).removeRecursively();
        QDir().mkpath(working);
        WriteOfferList(query, OfferListSettings{exe, working, false});
    });
    return bench::reportLimit("offer list + staging, 1,000 vehicles", seconds, 1.0) ? 0 : 1;
}
