// Conversion of an old Paradox working table of 10,000 records into the
// SQLite working table, against an absolute limit of 2 s and, for scale,
// against the module's bare read of the same old table.
#include "BenchReport.h"
#include "OldWorkingTable.h"
#include "import/ParadoxWorkingTableUpgrade.h"
#include "import/WorkingTable.h"
#include "platform/ParadoxTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

std::vector<std::vector<fixture::PxValue>> oldRecords(int count)
{
    std::vector<std::vector<fixture::PxValue>> records;
    for (int r = 1; r <= count; ++r) {
        std::vector<fixture::PxValue> record;
        for (const FieldDef &f : NestaTableDef().fields) {
            switch (f.kind) {
            case FieldKind::AutoInc:
                record.emplace_back(qint64(r));
                break;
            case FieldKind::Text:
                record.emplace_back(u"%1 %2 žluťoučký"_s.arg(f.name).arg(r).left(f.width));
                break;
            case FieldKind::Memo:
                record.emplace_back(u"rádio; klimatizace; ABS; tempomat; tažné zařízení; výhřev sedadel"_s);
                break;
            case FieldKind::Boolean:
                record.emplace_back(r % 3 == 0);
                break;
            }
        }
        records.push_back(std::move(record));
    }
    return records;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString source = dir.path() + u"/old.DB"_s;
    fixture::writeOldWorkingTable(source, NestaTableDef(), oldRecords(10000));
    QFile::copy(source, dir.path() + u"/Nesta.DB"_s);
    QFile::copy(dir.path() + u"/old.MB"_s, dir.path() + u"/Nesta.MB"_s);

    const QString file = dir.path() + u"/Nesta.DB"_s;
    const double convert = bench::bestOf(3, [&] {
        QFile::remove(file);
        QFile::copy(source, file);
        UpgradeParadoxWorkingTable(file);
    });
    const double bare = bench::bestOf(3, [&] {
        const ParadoxTable table = ParadoxTable::open(source);
        qsizetype chars = 0;
        for (int r = 0; r < table.recordCount(); ++r)
            for (int f = 0; f < int(table.fields().size()); ++f)
                chars += table.text(r, f).size();
        if (chars == 0)
            std::abort();
    });
    const bool met = bench::reportLimit("old Paradox Nesta.DB upgrade, 10,000 rows", convert, 2.0);
    bench::reportInfo("old Paradox Nesta.DB upgrade, 10,000 rows", convert, "module's bare read of the table", bare);
    return met ? 0 : 1;
}
