// The portal stub as a command, for the demo and the benchmarks:
//   korvex_portal_stub [--port N] [--data FOLDER] [--date TEXT]
//                      [--user NAME --pictures a.jpg,b.jpg]
// Prints "port N" once it listens and serves until it is terminated.
#include "PortalStub.h"

#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <thread>

namespace {
volatile std::sig_atomic_t g_stop = 0;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    auto option = [&](const char *name) {
        const qsizetype i = args.indexOf(QString::fromLatin1(name));
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : QString();
    };
    korvex::stub::PortalStub stub(option("--port").toInt(), option("--data"));
    if (stub.port() <= 0) {
        QTextStream(stderr) << "cannot listen\n";
        return 1;
    }
    if (!option("--date").isEmpty())
        stub.setDateFile(option("--date").toUtf8());
    if (!option("--user").isEmpty())
        stub.addPictures(option("--user").toUtf8(), option("--pictures").split(u',', Qt::SkipEmptyParts));
    std::signal(SIGTERM, [](int) { g_stop = 1; });
    std::signal(SIGINT, [](int) { g_stop = 1; });
    QTextStream(stdout) << "port " << stub.port() << Qt::endl;
    while (!g_stop)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return 0;
}
