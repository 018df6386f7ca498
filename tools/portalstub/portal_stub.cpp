// The portal stub as a command, for the demo, the benchmarks and trying the
// module against a slow portal by hand; --help lists the options. Prints
// "port N" once it listens and serves until it is terminated.
#include "PortalStub.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <cstdlib>
#include <thread>

namespace {

volatile std::sig_atomic_t g_stop = 0;

// A whole number of at least 0, or a message and exit status 2.
qint64 count(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    bool ok = false;
    const qint64 value = parser.value(option).toLongLong(&ok);
    if (!ok || value < 0) {
        QTextStream(stderr) << "--" << option.names().constFirst() << ": not a whole number of at least 0: "
                            << parser.value(option) << '\n';
        std::exit(2);
    }
    return value;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stand-in for the portal's dealer gateway and the maker's web server on 127.0.0.1."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Listen on port N (default: any free port)."),
                                  QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption data(QStringLiteral("data"),
                                  QStringLiteral("Keep the uploaded archives in FOLDER (default: a temporary folder)."),
                                  QStringLiteral("FOLDER"));
    const QCommandLineOption date(QStringLiteral("date"), QStringLiteral("First line of /Datum.txt."),
                                  QStringLiteral("TEXT"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("Account that --pictures belong to."),
                                  QStringLiteral("NAME"));
    const QCommandLineOption pictures(QStringLiteral("pictures"),
                                      QStringLiteral("Comma-separated pictures the portal already holds for --user."),
                                      QStringLiteral("LIST"));
    const QCommandLineOption replyDelay(QStringLiteral("reply-delay"),
                                        QStringLiteral("Work SECONDS on a received upload before answering it."),
                                        QStringLiteral("SECONDS"), QStringLiteral("0"));
    const QCommandLineOption readRate(QStringLiteral("read-rate"),
                                      QStringLiteral("Read an upload at most N bytes a second (0: no limit)."),
                                      QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption certificate(QStringLiteral("cert"),
                                         QStringLiteral("Serve HTTPS with the certificate in FILE (PEM); needs --key."),
                                         QStringLiteral("FILE"));
    const QCommandLineOption key(QStringLiteral("key"), QStringLiteral("Private key of --cert (PEM)."),
                                 QStringLiteral("FILE"));
    parser.addOptions({port, data, date, user, pictures, replyDelay, readRate, certificate, key});
    parser.process(app);
    if (parser.isSet(certificate) != parser.isSet(key)) {
        QTextStream(stderr) << "--cert and --key go together\n";
        return 2;
    }

    korvex::stub::Fault fault;
    fault.replyDelayMs = int(std::min<qint64>(count(parser, replyDelay), 24 * 3600) * 1000);
    fault.readRate = count(parser, readRate);
    korvex::stub::PortalStub stub(int(count(parser, port)), parser.value(data),
                                  {parser.value(certificate), parser.value(key)});
    if (stub.port() <= 0) {
        QTextStream(stderr) << "cannot listen\n";
        return 1;
    }
    stub.setFault(fault);
    if (!parser.value(date).isEmpty())
        stub.setDateFile(parser.value(date).toUtf8());
    if (!parser.value(user).isEmpty())
        stub.addPictures(parser.value(user).toUtf8(), parser.value(pictures).split(u',', Qt::SkipEmptyParts));
    std::signal(SIGTERM, [](int) { g_stop = 1; });
    std::signal(SIGINT, [](int) { g_stop = 1; });
    QTextStream(stdout) << "port " << stub.port() << Qt::endl;
    while (!g_stop)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return 0;
}
