#include "DatabaseSession.h"
#include "Dataset.h"
#include "ModuleError.h"
#include "ModuleFolders.h"
#include "WinPath.h"
#include "WorkingTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

using namespace Qt::StringLiterals;

using namespace korvex;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString first = args.value(1);
    const QString exeFolder = ModuleFolders::executableFolder();

    // An existing or uncreatable working folder is not reported.
    QDir().mkdir(WinPath::resolve(ModuleFolders::workingFolder(exeFolder)));

    if (first == u"---------CAR-EXP")
        return 0;

    QTextStream out(stdout);
    try {
        const DatabaseSession session = DatabaseSession::load(exeFolder);
        QString path = exeFolder;
        WorkingTablePath(session, QStringLiteral("BAZAR"), path);
        Dataset query(NestaTableDef());
        if (!WinPath::isFile(path + u"Nesta.db"_s))
            CreateWorkingTable(query, session);
        else
            OpenWorkingQuery(query, session);
        query.first();
        out << QStringLiteral("Pracovní tabulka %1: %2 vozidel\n").arg(query.fileName()).arg(query.recordCount());
    } catch (const ModuleError &e) {
        QTextStream(stderr) << e.text() << u'\n';
        return 1;
    }
    return 0;
}
