#pragma once

#include "Files.h"
#include "JpegWriter.h"
#include "PortalStub.h"
#include "ScriptedDialogs.h"
#include "export/HttpClient.h"
#include "export/SendHistory.h"
#include "export/SendWorkflow.h"
#include "import/WorkingTable.h"
#include "platform/DatabaseSession.h"
#include "platform/Dataset.h"
#include "platform/ModuleFolders.h"
#include "platform/ModuleSettings.h"
#include "platform/Packer.h"
#include "platform/ZipPacker.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace korvex::test {

using namespace Qt::StringLiterals;

class PlainPacker : public Packer
{
public:
    void packFolder(const QString &archive, const QString &folder) override
    {
        QFile::remove(archive);
        PackFolder(archive, folder, {u"*.*"_s});
    }
    bool lastRunCancelled() const override { return false; }
};

// A photo of exactly 2000 bytes: a small real JPEG, padded with fill.
inline QByteArray FixturePhoto(char fill)
{
    QTemporaryDir dir;
    fixture::writeJpeg(dir.path() + u"/p.jpg"_s, 8, 8, unsigned(fill));
    QByteArray bytes = readFile(dir.path() + u"/p.jpg"_s);
    return bytes + QByteArray(2000 - bytes.size(), fill);
}

// An installation under root for a send: the program folder with its
// working folder (returned), and a working table of three complete vehicles
// with one photo each, the first and the third marked.
inline QString WriteSendInstallation(Dataset &query, const QString &root)
{
    const QString exe = root + u"/PRG/"_s;
    QDir().mkpath(exe + u"Korvex_zip"_s);
    QDir().mkpath(root + u"/Data/FOTO"_s);
    CreateWorkingTable(query, DatabaseSession::fromText(u"[BAZAR]\nPATH="_s + root + u"/Data\n"_s));
    for (int i = 1; i <= 3; ++i) {
        const QString photo = root + u"/Data/FOTO/%1_1_WEB.JPG"_s.arg(i);
        writeFile(photo, FixturePhoto(char('0' + i)));
        query.append();
        query.setValue(u"CJ", QString::number(i));
        query.setValue(u"ZNACKA", u"Škoda"_s);
        query.setValue(u"MODEL", u"Octavia"_s);
        query.setValue(u"CENA_VOZIDLA", u"150000"_s);
        query.setValue(u"FOTO1", photo);
        query.setValue(u"ZOB_FOTO1", true);
        query.setValue(u"OZNACENO", i != 2);
        query.post();
    }
    return exe;
}

// A send against the portal stub with three vehicles, two of them marked.
class SafeSendTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("KORVEX_GATEWAY_URL", stub.address());
        qputenv("KORVEX_MAKER_URL", stub.address());
        stub.setDateFile("8.12.2026");
        exe = WriteSendInstallation(query, dir.path());
        settings.stored.uzivJmeno = u"autobazar"_s;
        settings.stored.uzivHeslo = u"Tajne-Heslo-77"_s;
        client.setLowSpeedTimeout(5);
        history = ModuleFolders::path(ModuleFile::SendHistory, exe);

        context.executableFolder = exe;
        context.query = &query;
        context.settings = &settings;
        context.dialogs = &dialogs;
        context.client = &client;
        context.packer = &packer;
        context.markedCount = 2;
        context.today = [] { return QDate(2026, 12, 9); };
        context.now = [] { return QDateTime(QDate(2026, 12, 9), QTime(14, 5, 31)); };
    }

    // Marks exactly the vehicles with these numbers.
    void markOnly(const QStringList &numbers)
    {
        context.markedCount = 0;
        for (query.first(); !query.eof(); query.next()) {
            const bool marked = numbers.contains(query.text(u"CJ"));
            query.edit();
            query.setValue(u"OZNACENO", marked);
            query.post();
            context.markedCount += marked ? 1 : 0;
        }
    }

    // A successful send of the vehicles 1 to count in the history.
    void recordSend(int count)
    {
        SendRecord send;
        send.when = QDateTime(QDate(2026, 12, 1), QTime(10, 0));
        send.httpStatus = 200;
        for (int i = 1; i <= count; ++i)
            send.offers.append({QString::number(i), u"Škoda"_s, QString::number(i)});
        SendHistory(history, SendHistory::Mode::Write).record(send);
    }

    int uploads() const
    {
        int n = 0;
        for (const auto &r : stub.requests())
            n += r.method == "POST" ? 1 : 0;
        return n;
    }

    stub::PortalStub stub;
    QTemporaryDir dir;
    QString exe;
    QString history;
    Dataset query{NestaTableDef()};
    ModuleSettings settings;
    HttpClient client;
    ScriptedDialogs dialogs;
    PlainPacker packer;
    SendContext context;
};

} // namespace korvex::test
