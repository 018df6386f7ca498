#pragma once

#include "TempHost.h"
#include "import/HostExtraction.h"
#include "platform/DatabaseSession.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

namespace korvex::test {

// A host written by the fixture writer with the module installed in its
// program folder.
struct HostRun
{
    explicit HostRun(const fixture::FixtureHost &description)
        : host(description)
        , session(DatabaseSession::fromFile(host.layout().aliasFile))
    {
        settings.executableFolder = host.layout().programFolder;
        settings.hostRoot = host.layout().root;
    }

    int extract() { return ExtractHostVehicles(session, settings); }

    QByteArray interchangeBytes() const
    {
        QFile f(settings.executableFolder + QStringLiteral("ASCII_Nesta.TXT"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

    // The interchange file's lines, checked to end in CR LF.
    QStringList interchangeLines() const;

    // The vehicle numbers (line 1 of each record).
    QStringList vehicleNumbers() const
    {
        QStringList out;
        const QStringList lines = interchangeLines();
        for (qsizetype i = 0; i < lines.size(); i += 43)
            out.append(lines[i]);
        return out;
    }

    QString dataFolder(int n) const { return host.layout().dataFolder(n); }

    TempHost host;
    DatabaseSession session;
    ExtractionSettings settings;
};

} // namespace korvex::test
