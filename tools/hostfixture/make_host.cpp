// Builds a host installation for the demo, tests and benchmarks:
//   korvex_make_host <folder> --demo
//   korvex_make_host <folder> --vehicles N [--branches B] [--seed S]
#include "HostFixture.h"

#include <QCoreApplication>
#include <QTextStream>

#include <exception>

using namespace korvex::fixture;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTextStream err(stderr);
    if (args.size() < 3) {
        err << "usage: korvex_make_host <folder> --demo | --vehicles N [--branches B] [--seed S]\n";
        return 2;
    }
    auto option = [&](const char *name, int fallback) {
        const qsizetype i = args.indexOf(QString::fromLatin1(name));
        return i >= 0 && i + 1 < args.size() ? args[i + 1].toInt() : fallback;
    };
    try {
        const FixtureHost host = args.contains(QStringLiteral("--demo"))
            ? demoDealer()
            : generatedDealer(option("--vehicles", 40), option("--branches", 1), unsigned(option("--seed", 1)));
        const HostLayout layout = writeHost(args[1], host);
        QTextStream(stdout) << layout.programFolder << '\n';
    } catch (const std::exception &e) {
        err << e.what() << '\n';
        return 1;
    }
    return 0;
}
