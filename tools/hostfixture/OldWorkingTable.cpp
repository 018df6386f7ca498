#include "OldWorkingTable.h"

#include "platform/ParadoxFormat.h"

#include <algorithm>

namespace korvex::fixture {

void writeOldWorkingTable(const QString &path, const TableDef &def, const std::vector<std::vector<PxValue>> &records)
{
    std::vector<PxColumn> columns;
    for (const FieldDef &f : def.fields) {
        const QByteArray name = f.name.toLatin1();
        switch (f.kind) {
        case FieldKind::AutoInc:
            columns.push_back({name, Paradox::AutoInc, 4});
            break;
        case FieldKind::Text:
            columns.push_back({name, Paradox::Alpha, std::min(f.width, 255)});
            break;
        case FieldKind::Memo:
            columns.push_back({name, Paradox::Memo, 30});
            break;
        case FieldKind::Boolean:
            columns.push_back({name, Paradox::Logical, 1});
            break;
        }
    }
    ParadoxWriter writer(path, std::move(columns));
    for (const auto &record : records)
        writer.addRecord(record);
    writer.close();
}

} // namespace korvex::fixture
