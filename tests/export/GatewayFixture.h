#pragma once

#include "ScriptedDialogs.h"
#include "export/GatewayClient.h"
#include "export/HttpClient.h"
#include "platform/ModuleSettings.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace korvex::test {

// An installation that talks to a portal stub: its folders, the dealer's
// account and a client with short timeouts. The fixture owns its stub and
// calls prepare() with the stub's address.
class GatewayFixture : public ::testing::Test
{
protected:
    void prepare(const QByteArray &gatewayAddress)
    {
        qputenv("KORVEX_GATEWAY_URL", gatewayAddress);
        exe = dir.path() + u'/';
        working = exe + QStringLiteral("Korvex_zip");
        QDir().mkpath(working);
        settings.stored.uzivJmeno = QStringLiteral("autobazar");
        settings.stored.uzivHeslo = QStringLiteral("tajné&#% heslo");
        client.setLowSpeedTimeout(2);
        client.setConnectTimeout(2);
    }

    QString writeArchive(const QByteArray &bytes)
    {
        const QString path = working + QStringLiteral("/data.zip");
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

    UploadContext context(const QString &archive)
    {
        UploadContext c;
        c.archivePath = archive;
        c.workingFolder = working;
        c.dialogs = &dialogs;
        c.closeWindow = [this] { ++closed; };
        c.showProgress = [this] { ++shown; };
        c.now = [] { return QDateTime(QDate(2026, 12, 9), QTime(8, 5, 7, 42)); };
        return c;
    }

    QTemporaryDir dir;
    QString exe;
    QString working;
    ModuleSettings settings;
    HttpClient client;
    ScriptedDialogs dialogs;
    int closed = 0;
    int shown = 0;
};

} // namespace korvex::test
