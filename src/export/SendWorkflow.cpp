#include "SendWorkflow.h"

#include "ClockCheck.h"
#include "GatewayClient.h"
#include "ModuleError.h"
#include "ModuleFolders.h"
#include "ModuleSettings.h"
#include "OfferList.h"
#include "Packer.h"
#include "SendLog.h"
#include "SendSafeguard.h"
#include "UserDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

void emptyFolder(const QString &folder)
{
    // Ordinary files only; one that cannot be deleted stays without a word.
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files))
        QFile::remove(file.absoluteFilePath());
}

// Restores the normal cursor however the steps that run busy end.
class BusyCursor
{
public:
    explicit BusyCursor(const std::function<void(bool)> &busy)
        : m_busy(busy)
    {
        if (m_busy)
            m_busy(true);
    }
    ~BusyCursor() { done(); }
    void done()
    {
        if (m_busy && !m_done)
            m_busy(false);
        m_done = true;
    }

private:
    const std::function<void(bool)> &m_busy;
    bool m_done = false;
};

} // namespace

QString ArchiveSizeText(qint64 bytes)
{
    if (bytes >= 1048576)
        return QString::number(double(bytes) / 1048576.0, 'f', 1).replace(u'.', u',') + u" MB"_s;
    return QString::number(double(bytes) / 1024.0, 'f', 0) + u" kB"_s;
}

namespace {

// The send's steps; every way out tells the log how it ended.
void sendSteps(const SendContext &c, SendLogEntry &log)
{
    const QString working = ModuleFolders::workingFolder(c.executableFolder);
    const QString archive = working + u"/data.zip"_s;
    emptyFolder(working);
    SendSafeguard safeguard(c.executableFolder);

    if (!c.automaticMode)
        c.dialogs->notify(Caption::Information,
                          u"Pro přenos je vybráno: %1  vozidel.  Nemáte-li aktivní připojení k internetu, připojte se "
                          u"a pokračujte."_s.arg(c.markedCount),
                          UserDialogs::Alignment::Right);

    {
        BusyCursor busy(c.busy);
        ListPortalPictures(*c.client, *c.settings, c.executableFolder);
        const OfferListResult written =
            WriteOfferList(*c.query, OfferListSettings{c.executableFolder, working, c.settings->stored.jenPrvniFoto});
        log.offers = written.offers;
        log.pictures = written.pictures;
        safeguard.take(written, working);
        c.packer->packFolder(archive, working);
    }
    // A cancelled packing would offer an empty archive for upload.
    if (c.packer->lastRunCancelled()) {
        log.outcome = u"balení přerušeno"_s;
        c.dialogs->notify(Caption::Notice, u"Balení dat bylo přerušeno, inzerce nebude odeslána."_s,
                          UserDialogs::Alignment::Right);
        return;
    }
    const QFileInfo packed(archive);
    if (!packed.exists())
        throw ModuleError(u"Archiv \"%1\" neexistuje"_s.arg(archive));
    log.archiveBytes = packed.size();
    const QString size = ArchiveSizeText(packed.size());

    ClockCheckContext clock;
    clock.executableFolder = c.executableFolder;
    clock.dialogs = c.dialogs;
    clock.ping = c.ping;
    clock.today = c.today;
    clock.onIdle = c.onIdle;
    if (!CheckClock(clock)) {
        log.outcome = u"zastaveno kontrolou data v počítači"_s;
        return;
    }

    if (c.settings->stored.uzivJmeno == u"DEMO") {
        log.outcome = u"zastaveno: uživatel DEMO"_s;
        c.dialogs->notify(Caption::Information,
                          u"Není zadán registrovaný uživatel, přenos dat neproběhne. Pro registrační údaje kontaktujte "
                          u"Korvex"_s,
                          UserDialogs::Alignment::Right);
        return;
    }
    if (!safeguard.allowsUpload(c.automaticMode, *c.dialogs, log))
        return;
    if (!c.automaticMode
        && !c.dialogs->ask(Caption::Question, u"Inzerce je připravena k odeslání - soubor má velikost "_s + size
                                                   + u" , chcete jej okamžitě odeslat? "_s)) {
        log.outcome = u"odeslání odmítnuto uživatelem"_s;
        return;
    }

    UploadContext upload;
    upload.archivePath = archive;
    upload.workingFolder = working;
    upload.automaticMode = c.automaticMode;
    upload.dialogs = c.dialogs;
    upload.showProgress = c.showProgress;
    upload.closeWindow = [&] {
        // Logged before the window closes.
        log.outcome = u"odesláno, HTTP %1"_s.arg(c.client->lastStatus());
        if (c.closeWindow)
            c.closeWindow();
    };
    upload.now = c.now;
    UploadArchive(*c.client, *c.settings, upload);
    safeguard.recordSuccess(c.automaticMode, c.client->lastStatus(), log);
}

} // namespace

void Send(const SendContext &c)
{
    SendLogEntry log;
    log.when = c.now();
    log.automatic = c.automaticMode;
    const QStringList secrets{c.settings->stored.uzivHeslo, c.settings->proxy.password, c.settings->stored.ftpHeslo};
    try {
        sendSteps(c, log);
    } catch (const std::exception &e) {
        log.outcome = u"chyba: "_s + QString::fromUtf8(e.what());
        AppendSendLog(c.executableFolder, log, secrets);
        throw;
    }
    AppendSendLog(c.executableFolder, log, secrets);
}

} // namespace korvex
