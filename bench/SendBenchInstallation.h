#pragma once

#include "import/WorkingTable.h"
#include "platform/DatabaseSession.h"
#include "platform/Dataset.h"

#include <QDir>
#include <QTemporaryDir>

namespace korvex::bench {

// A temporary installation for the send benchmarks: the program folder with
// its working folder, the host's photo folder and an empty working table.
struct SendBenchInstallation
{
    SendBenchInstallation()
    {
        QDir().mkpath(working);
        QDir().mkpath(photos);
        CreateWorkingTable(query, DatabaseSession::fromText(QStringLiteral("[BAZAR]\nPATH=") + dir.path()
                                                            + QStringLiteral("/Data\n")));
    }

    QTemporaryDir dir;
    QString exe = dir.path() + QStringLiteral("/PRG/");
    QString working = exe + QStringLiteral("Korvex_zip");
    QString photos = dir.path() + QStringLiteral("/Data/FOTO/");
    Dataset query{NestaTableDef()};
};

} // namespace korvex::bench
