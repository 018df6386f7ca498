#include "export/SendWorkflow.h"

#include "export/ClockCheck.h"
#include "export/EmptyWorkingFolder.h"
#include "export/GatewayClient.h"
#include "export/OfferList.h"
#include "export/SendLog.h"
#include "export/SendSafeguard.h"
#include "export/VehicleChecks.h"
#include "platform/ModuleError.h"
#include "platform/ModuleFolders.h"
#include "platform/ModuleSettings.h"
#include "platform/Packer.h"
#include "platform/UserDialogs.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

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
    void again()
    {
        if (m_busy && m_done)
            m_busy(true);
        m_done = false;
    }
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

// The send's line of "Korvex_log.txt", written once as soon as the outcome
// is known and before any box tells it: a run killed while a box waits (an
// automatic run nobody watches) still leaves its line.
class PendingLogLine
{
public:
    explicit PendingLogLine(const SendContext &c)
        : m_folder(c.executableFolder)
        , m_secrets{c.settings->stored.uzivHeslo, c.settings->proxy.password, c.settings->stored.ftpHeslo}
    {
        entry.when = c.now();
        entry.automatic = c.automaticMode;
    }
    void write(const QString &outcome)
    {
        if (m_written)
            return;
        m_written = true;
        entry.outcome = outcome;
        AppendSendLog(m_folder, entry, m_secrets);
    }

    SendLogEntry entry;

private:
    QString m_folder;
    QStringList m_secrets;
    bool m_written = false;
};

SendOutcome sendSteps(const SendContext &c, PendingLogLine &log)
{
    const QString working = ModuleFolders::workingFolder(c.executableFolder);
    const QString archive = ModuleFolders::path(ModuleFile::Archive, working);
    EmptyWorkingFolder(working);
    SendSafeguard safeguard(c.executableFolder);

    if (!c.automaticMode)
        c.dialogs->notify(Caption::Information,
                          u"Pro přenos je vybráno: %1  vozidel.  Nemáte-li aktivní připojení k internetu, připojte se "
                          u"a pokračujte."_s.arg(c.markedCount),
                          UserDialogs::Alignment::Right);

    {
        BusyCursor busy(c.busy);
        ListPortalPictures(*c.client, *c.settings, c.executableFolder);
        OfferListSettings offerList{c.executableFolder, working, c.settings->stored.jenPrvniFoto};
        offerList.changedPhotos = safeguard.changedPhotos();
        const OfferListResult written = WriteOfferList(*c.query, offerList);
        log.entry.offers = written.offers;
        log.entry.pictures = written.pictures;
        log.entry.problems = int(written.checks.size());
        safeguard.take(written, working);
        // The checks tell the dealer; what is sent stays as the offers say.
        if (!c.automaticMode && !written.checks.isEmpty()) {
            busy.done();
            if (!c.dialogs->ask(Caption::Question, ProblemQuestion(int(written.checks.size()), written.problemKinds))) {
                log.write(u"odeslání odmítnuto uživatelem: vozidla s problémem"_s);
                return SendOutcome::Declined;
            }
            busy.again();
        }
        c.packer->packFolder(archive, working);
    }
    // A cancelled packing would offer an empty archive for upload.
    if (c.packer->lastRunCancelled()) {
        log.write(u"balení přerušeno"_s);
        c.dialogs->notify(Caption::Notice, u"Balení dat bylo přerušeno, inzerce nebude odeslána."_s,
                          UserDialogs::Alignment::Right);
        return SendOutcome::PackingCancelled;
    }
    const QFileInfo packed(archive);
    if (!packed.exists())
        throw ModuleError(u"Archiv \"%1\" neexistuje"_s.arg(archive));
    log.entry.archiveBytes = packed.size();
    const QString size = ArchiveSizeText(packed.size());

    ClockCheckContext clock;
    clock.executableFolder = c.executableFolder;
    clock.dialogs = c.dialogs;
    clock.ping = c.ping;
    clock.today = c.today;
    clock.onIdle = c.onIdle;
    clock.proxy = c.client->proxy();
    clock.proxyEnabled = c.client->proxyEnabled();
    clock.onRefused = [&] { log.write(u"zastaveno kontrolou data v počítači"_s); };
    if (!CheckClock(clock))
        return SendOutcome::ClockRefused;

    if (c.settings->stored.uzivJmeno == u"DEMO") {
        log.write(u"zastaveno: uživatel DEMO"_s);
        c.dialogs->notify(Caption::Information,
                          u"Není zadán registrovaný uživatel, přenos dat neproběhne. Pro registrační údaje kontaktujte "
                          u"Korvex"_s,
                          UserDialogs::Alignment::Right);
        return SendOutcome::DemoUser;
    }
    if (!safeguard.allowsUpload(c.automaticMode, *c.dialogs, log.entry,
                                [&](const QString &outcome) { log.write(outcome); }))
        return c.automaticMode ? SendOutcome::StoppedByGuard : SendOutcome::Declined;
    if (!c.automaticMode
        && !c.dialogs->ask(Caption::Question, u"Inzerce je připravena k odeslání - soubor má velikost "_s + size
                                                   + u" , chcete jej okamžitě odeslat? "_s)) {
        log.write(u"odeslání odmítnuto uživatelem"_s);
        return SendOutcome::Declined;
    }

    UploadContext upload;
    upload.archivePath = archive;
    upload.workingFolder = working;
    upload.automaticMode = c.automaticMode;
    upload.dialogs = c.dialogs;
    upload.showProgress = c.showProgress;
    upload.closeWindow = c.closeWindow;
    upload.onUploaded = [&] {
        // The history first, so that the line can say when it failed.
        const QString historyNote = safeguard.recordSuccess(c.automaticMode, c.client->lastStatus(), log.entry);
        log.write(u"odesláno, HTTP %1"_s.arg(c.client->lastStatus()) + historyNote);
    };
    upload.onFailed = [&](const QString &error) { log.write(u"chyba: "_s + error); };
    upload.now = c.now;
    UploadArchive(*c.client, *c.settings, upload);
    return SendOutcome::Uploaded;
}

} // namespace

SendOutcome Send(const SendContext &c)
{
    PendingLogLine log(c);
    try {
        return sendSteps(c, log);
    } catch (const std::exception &e) {
        log.write(u"chyba: "_s + QString::fromUtf8(e.what()));
        throw;
    }
}

} // namespace korvex
