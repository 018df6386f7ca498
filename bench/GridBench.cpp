// The checkable grid with 1,000 and 10,000 rows: checking every row one by
// one and a full repaint with every row checked, and the ratio of the two
// sizes (linear growth at most: 12).
#include "BenchReport.h"
#include "import/WorkingTable.h"
#include "platform/DatabaseSession.h"
#include "platform/Dataset.h"
#include "widgets/TDbGridTarvo.h"

#include <QApplication>
#include <QHeaderView>
#include <QTemporaryDir>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

struct Figures
{
    double checking;
    double repaint;
};

Figures measure(int rows)
{
    QTemporaryDir dir;
    Dataset query(NestaTableDef());
    CreateWorkingTable(query, DatabaseSession::fromText(u"[BAZAR]\nPATH="_s + dir.path() + u'\n'));
    query.startTransaction();
    for (int i = 0; i < rows; ++i) {
        query.append();
        query.setValue(u"CJ", QString::number(i));
        query.post();
    }
    query.commit();
    std::vector<DatasetColumn> columns;
    for (const FieldDef &f : NestaTableDef().fields)
        columns.push_back({f.name, f.name, 80, f.alignment, f.displayFormat});
    TDbGridTarvo grid;
    grid.setDataset(&query);
    grid.setColumns(columns);
    grid.setKeyField(u"PORADI"_s);
    grid.setCheckEnabled(true);
    grid.resize(800, 600);
    grid.show();

    Figures f{};
    f.checking = bench::bestOf(1, [&] {
        for (int r = 0; r < rows; ++r) {
            query.setRecNo(r);
            grid.ToggleCheck();
        }
    });
    // Rendering the whole widget paints every visible cell and indicator.
    f.repaint = bench::bestOf(5, [&] { grid.grab(); });
    return f;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const Figures small = measure(1000);
    const Figures large = measure(10000);
    bool met = bench::reportRatio("grid: check every row, 10,000 rows", large.checking, "the same, 1,000 rows",
                                  small.checking, 12.0);
    met = bench::reportRatio("grid: full repaint, 10,000 rows checked", large.repaint, "the same, 1,000 rows",
                             small.repaint, 12.0)
        && met;
    return met ? 0 : 1;
}
