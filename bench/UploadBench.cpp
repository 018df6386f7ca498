// Uploading a 200 MB archive to the portal stub (a separate process on
// loopback) against the curl command-line tool streaming the very same bytes
// from a file (-X POST -T), over plain HTTP and over HTTPS (a throw-away
// certificate, trusted through KORVEX_CA_FILE and curl's --cacert), and the
// module's peak memory during its uploads above its idle size.
#include "BenchReport.h"
#include "TestCertificates.h"
#include "export/GatewayClient.h"
#include "export/HttpClient.h"
#include "export/MultipartUpload.h"
#include "platform/UserDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kArchiveSize = 200LL * 1024 * 1024;

class SilentDialogs : public UserDialogs
{
public:
    void notify(const QString &, const QString &, Alignment) override {}
    void notifyAside(const QString &, const QString &) override {}
    bool ask(const QString &, const QString &) override { return true; }
    void showError(const QString &) override {}
};

long statusKilobytes(const char *field)
{
    QFile status(u"/proc/self/status"_s);
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').value(0).toLong();
    return 0;
}

// Starts the stub command; returns its port, empty when it did not start.
QByteArray startStub(QProcess &stub, const QStringList &arguments)
{
    stub.start(QCoreApplication::applicationDirPath() + u"/../tools/portalstub/korvex_portal_stub"_s, arguments);
    stub.waitForReadyRead(10000);
    return stub.readLine().trimmed().split(' ').value(1);
}

void writeArchive(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    QByteArray chunk(1 << 20, '\0');
    for (int i = 0; i < chunk.size(); ++i)
        chunk[i] = char((i * 7919) >> 3);
    for (qint64 written = 0; written < kArchiveSize; written += chunk.size())
        f.write(chunk);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString working = dir.path() + u"/Korvex_zip"_s;
    QDir().mkpath(working);
    const QString archive = working + u"/data.zip"_s;
    writeArchive(archive);

    const stub::TestCertificates certificates(dir.path());
    QProcess stub;
    const QByteArray address = "http://127.0.0.1:" + startStub(stub, {u"--data"_s, dir.path() + u"/stub"_s});
    QProcess secureStub;
    const QByteArray secureAddress = "https://127.0.0.1:"
        + startStub(secureStub, {u"--data"_s, dir.path() + u"/stub"_s, u"--cert"_s, certificates.certificate(),
                                 u"--key"_s, certificates.key()});
    qputenv("KORVEX_GATEWAY_URL", address);

    ModuleSettings settings;
    settings.stored.uzivJmeno = u"bench"_s;
    settings.stored.uzivHeslo = u"heslo"_s;
    const QDateTime now = QDateTime::currentDateTime();

    // The same bytes for curl: the form written out whole.
    const QString bodyFile = dir.path() + u"/body.bin"_s;
    MultipartUpload form(archive, settings.stored.uzivJmeno, settings.stored.uzivHeslo, now);
    {
        RequestBody body = form.body();
        QFile out(bodyFile);
        out.open(QIODevice::WriteOnly);
        QByteArray buffer(1 << 20, '\0');
        for (std::int64_t n; (n = body.read(buffer.data(), buffer.size())) > 0;)
            out.write(buffer.constData(), n);
    }

    SilentDialogs dialogs;
    HttpClient client;
    UploadContext context;
    context.archivePath = archive;
    context.workingFolder = working;
    context.automaticMode = true;
    context.dialogs = &dialogs;
    context.now = [now] { return now; };

    QFile clear(u"/proc/self/clear_refs"_s);
    const long idle = statusKilobytes("VmRSS:");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    clear.close();
    const double ours = bench::bestOf(3, [&] { UploadArchive(client, settings, context); });
    qputenv("KORVEX_GATEWAY_URL", secureAddress);
    qputenv("KORVEX_CA_FILE", QFile::encodeName(certificates.authority()));
    const double oursSecure = bench::bestOf(3, [&] { UploadArchive(client, settings, context); });
    const long peak = statusKilobytes("VmHWM:");

    const auto curlTo = [&](const QByteArray &gateway) {
        return bench::bestOf(3, [&] {
            QProcess p;
            p.start(u"curl"_s, {u"-s"_s, u"-0"_s, u"--cacert"_s, certificates.authority(), u"-o"_s, u"/dev/null"_s,
                                u"-H"_s,
                                QString::fromLatin1("Content-Type: multipart/form-data; boundary=" + form.boundary()),
                                u"-H"_s, u"Expect:"_s, u"-X"_s, u"POST"_s, u"-T"_s, bodyFile,
                                QString::fromLatin1(gateway + "/iec/Upload-upload")});
            p.waitForFinished(600000);
        });
    };
    const double curl = curlTo(address);
    const double curlSecure = curlTo(secureAddress);
    for (QProcess *p : {&stub, &secureStub}) {
        p->terminate();
        p->waitForFinished(5000);
    }

    // Throughput ratios: the module's against curl's, at least 0.9 over
    // HTTP and 0.8 over HTTPS.
    const auto throughputRow = [](const char *name, const char *baseline, double module, double tool, double target) {
        const bool met = tool / module >= target;
        std::printf("%-44s %9.2f    | %-28s %9.2f    | ratio %6.2f (target >= %.2f) %s\n", name,
                    double(kArchiveSize) / module / 1e6, baseline, double(kArchiveSize) / tool / 1e6, tool / module,
                    target, met ? "MET" : "MISSED");
        return met;
    };
    const bool met = throughputRow("upload throughput, module", "curl (MB/s)", ours, curl, 0.9)
        & throughputRow("upload throughput over HTTPS, module", "curl over HTTPS (MB/s)", oursSecure, curlSecure, 0.8);
    const double extraMb = double(peak - idle) / 1024.0;
    std::printf("%-44s %9.2f MB | %-28s %9.2f MB | ratio %6.2f (target <= 1.00) %s\n",
                "upload peak memory above idle", extraMb, "limit", 50.0, extraMb / 50.0,
                extraMb <= 50.0 ? "MET" : "MISSED");
    return met && extraMb <= 50.0 ? 0 : 1;
}
