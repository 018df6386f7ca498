// What the withdrawal guard and the send history add to a send of 10,000
// marked vehicles (one photo each, nine in ten already on the portal):
// the guard before the upload and the history record after it (digests,
// comparison with the last send of the same 10,000 offers, the record with
// its picture digests), timed on their own after the send's local steps
// (offer list, staging, packing), which are the baseline. Budget: 0.3 s.
// The preview, which runs the same steps in a temporary folder, is shown
// against the same baseline.
#include "BenchReport.h"
#include "SendBenchInstallation.h"
#include "export/OfferList.h"
#include "export/SendHistory.h"
#include "export/SendLog.h"
#include "export/SendPreview.h"
#include "export/SendSafeguard.h"
#include "import/WorkingTable.h"
#include "platform/DatabaseSession.h"
#include "platform/Dataset.h"
#include "platform/ModuleFolders.h"
#include "platform/TextFile.h"
#include "platform/UserDialogs.h"
#include "platform/ZipPacker.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

// The guard is not expected to ask; a question would show in the table.
class SilentDialogs : public UserDialogs
{
public:
    void notify(const QString &, const QString &, Alignment) override { ++m_calls; }
    void notifyAside(const QString &, const QString &) override { ++m_calls; }
    bool ask(const QString &, const QString &) override { return ++m_calls, true; }
    void showError(const QString &) override { ++m_calls; }
    int calls() const { return m_calls; }

private:
    int m_calls = 0;
};

constexpr int kVehicles = 10000;

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    bench::SendBenchInstallation installation;
    const QString &exe = installation.exe;
    const QString &working = installation.working;
    const QString &photos = installation.photos;
    Dataset &query = installation.query;

    QStringList portal;
    QByteArray picture(20000, 'j');
    query.startTransaction();
    for (int v = 0; v < kVehicles; ++v) {
        const QString name = u"%1_1_WEB.JPG"_s.arg(100000 + v);
        picture[0] = char(v);
        QFile f(photos + name);
        f.open(QIODevice::WriteOnly);
        f.write(picture);
        query.append();
        query.setValue(u"CJ", QString::number(100000 + v));
        query.setValue(u"ZNACKA", u"Škoda"_s);
        query.setValue(u"POZNAMKA", u"Vůz v dobrém stavu & servisován"_s);
        query.setValue(u"VYBAVA", u"rádio;alarm;el. okna;klimatizace;tempomat;"_s);
        query.setValue(u"FOTO1", photos + name);
        query.setValue(u"ZOB_FOTO1", true);
        query.setValue(u"OZNACENO", true);
        query.post();
        if (v % 10 != 0)
            portal.append(name.toLower());
    }
    query.commit();
    TextFile::writeLines(exe + u"Obr_FTP_List.txt"_s, portal);

    const QString archive = working + u"/data.zip"_s;
    auto localSteps = [&] {
        QDir(working).removeRecursively();
        QDir().mkpath(working);
        const OfferListResult written = WriteOfferList(query, OfferListSettings{exe, working, false});
        PackFolder(archive, working, {u"*.*"_s});
        return written;
    };
    SilentDialogs dialogs;
    // The guard before the upload and the record after it, on the list the
    // local steps just wrote; only their own time is returned.
    auto guardAndRecord = [&](const OfferListResult &written) {
        const auto start = std::chrono::steady_clock::now();
        SendSafeguard safeguard(exe);
        safeguard.take(written, working);
        SendLogEntry log;
        log.when = QDateTime::currentDateTime();
        log.archiveBytes = QFileInfo(archive).size();
        if (safeguard.allowsUpload(true, dialogs, log, [](const QString &) {}))
            safeguard.recordSuccess(true, 200, log);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    guardAndRecord(localSteps()); // the last send the next ones are compared with

    const double base = bench::bestOf(3, [&] { localSteps(); });
    double added = 1e300;
    for (int run = 0; run < 3; ++run)
        added = std::min(added, guardAndRecord(localSteps()));
    const double preview = bench::bestOf(3, [&] { PreviewSend(query, exe, false); });
    const int sends
        = SendHistory(ModuleFolders::path(ModuleFile::SendHistory, exe), SendHistory::Mode::Read).sendCount();
    if (dialogs.calls() != 0 || sends != 4) {
        std::printf("guard + history bench: unexpected run (%d messages, %d sends recorded)\n", dialogs.calls(), sends);
        return 1;
    }
    bench::reportInfo("send preview, 10,000", preview, "send steps, 10,000", base);
    bench::reportInfo("guard + history, 10,000", added, "send steps, 10,000", base);
    return bench::reportLimit("guard + history added, 10,000 vehicles", added, 0.3) ? 0 : 1;
}
