#pragma once

#include "import/WorkingTable.h"
#include "platform/DatabaseSession.h"
#include "platform/Dataset.h"

#include <QHash>
#include <QTemporaryDir>

namespace korvex::test {

// A working table in a temporary folder, filled with vehicles whose fields
// the test names; the rest stay empty.
class VehicleTable
{
public:
    VehicleTable()
    {
        CreateWorkingTable(query, DatabaseSession::fromText(QStringLiteral("[BAZAR]\nPATH=") + dir.path() + u'\n'));
    }

    void add(const QHash<QString, QVariant> &fields)
    {
        query.append();
        query.setValue(u"CJ", QStringLiteral("A%1").arg(query.recordCount() + 100));
        for (auto it = fields.begin(); it != fields.end(); ++it)
            query.setValue(it.key(), it.value());
        query.post();
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    Dataset query{NestaTableDef()};
};

} // namespace korvex::test
