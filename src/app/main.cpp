#include "DatabaseSession.h"
#include "Dataset.h"
#include "InterchangeImport.h"
#include "ListCounters.h"
#include "ModuleError.h"
#include "ModuleFolders.h"
#include "ModuleSettings.h"
#include "WinPath.h"
#include "WorkingTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

// The start-up of the module up to the import: settings, the working table
// and the vehicles of the host. Reports the counters on standard output.
void startUp(const QString &exeFolder)
{
    const QString hostRoot = ModuleFolders::hostRoot(exeFolder);
    ModuleSettings settings;
    LoadFtpMode(settings, hostRoot);
    LoadHostProxy(settings, exeFolder);
    LoadExtractionFlags(settings, hostRoot + u"WWW_Export\\"_s);
    LoadModuleSettings(settings, exeFolder);

    const DatabaseSession session = DatabaseSession::load(exeFolder);
    QString path = exeFolder;
    WorkingTablePath(session, u"BAZAR"_s, path);
    Dataset query(NestaTableDef());
    if (!WinPath::isFile(path + u"Nesta.db"_s))
        CreateWorkingTable(query, session);
    else
        OpenWorkingQuery(query, session);

    ExtractionSettings extraction;
    extraction.executableFolder = exeFolder;
    extraction.hostRoot = hostRoot;
    extraction.onlyWithPhotos = settings.onlyWithPhotos;
    extraction.onlyWithPrice = settings.onlyWithPrice;
    ImportInterchangeFile(query, session, extraction);

    int marked = 0;
    const int mark = query.fieldIndex(u"OZNACENO");
    for (int row = 0; row < query.recordCount(); ++row)
        marked += query.valueAt(row, mark).toBool() ? 1 : 0;
    QTextStream out(stdout);
    out << u"Pracovní tabulka: "_s << query.fileName() << u'\n';
    out << UpdateTotalLabel(query.recordCount()) << u'\n' << UpdateMarkedLabel(marked) << u'\n';
    out << settings.labelProxy << u'\n';
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString first = QCoreApplication::arguments().value(1);
    const QString exeFolder = ModuleFolders::executableFolder();

    // An existing or uncreatable working folder is not reported.
    QDir().mkdir(WinPath::resolve(ModuleFolders::workingFolder(exeFolder)));

    if (first == u"---------CAR-EXP")
        return 0;
    try {
        startUp(exeFolder);
    } catch (const ModuleError &e) {
        QTextStream(stderr) << e.text() << u'\n';
        return 1;
    }
    return 0;
}
