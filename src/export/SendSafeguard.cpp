#include "export/SendSafeguard.h"

#include "export/ChangedPhotos.h"
#include "export/GuardSettings.h"
#include "export/OfferComparison.h"
#include "export/OfferDigest.h"
#include "export/SendHistory.h"
#include "export/SendLog.h"
#include "export/WithdrawalGuard.h"
#include "platform/ModuleFolders.h"
#include "platform/UserDialogs.h"

using namespace Qt::StringLiterals;

namespace korvex {

SendSafeguard::SendSafeguard(QString executableFolder)
    : m_executableFolder(std::move(executableFolder))
{
}

SendSafeguard::~SendSafeguard() = default;

ChangedPhotos *SendSafeguard::changedPhotos()
{
    if (!LoadGuardSettings(m_executableFolder).resendChangedPhotos)
        return nullptr;
    QHash<QString, SentPhotoFile> sent;
    try {
        sent = SendHistory(ModuleFolders::path(ModuleFile::SendHistory, m_executableFolder), SendHistory::Mode::Read)
                   .photoFiles();
    } catch (const std::exception &) {
        // The upload's record says why the history cannot be used.
    }
    m_changes = std::make_unique<ChangedPhotos>(std::move(sent));
    return m_changes.get();
}

void SendSafeguard::take(const OfferListResult &written, const QString &workingFolder)
{
    m_written = written;
    m_workingFolder = workingFolder;
    m_digested = false;
}

const QList<SentOffer> &SendSafeguard::offers()
{
    if (!m_digested)
        m_offers = DigestOffers(m_written);
    m_digested = true;
    return m_offers;
}

bool SendSafeguard::allowsUpload(bool automaticMode, UserDialogs &dialogs, const SendLogEntry &entry,
                                 const std::function<void(const QString &)> &writeOutcome)
{
    const GuardSettings settings = LoadGuardSettings(m_executableFolder);
    if (!settings.enabled)
        return true;
    std::optional<SendRecord> last;
    try {
        last = SendHistory(ModuleFolders::path(ModuleFile::SendHistory, m_executableFolder), SendHistory::Mode::Read)
                   .lastSend();
    } catch (const std::exception &e) {
        // Judged as a first send: an empty list is still stopped.
        SendLogEntry note = entry;
        note.outcome = u"historii odeslání nelze přečíst: "_s + QString::fromUtf8(e.what());
        AppendSendLog(m_executableFolder, note, {});
    }
    const int withdrawn = last ? int(CompareOffers(offers(), last->offers).withdrawn.size()) : 0;
    const WithdrawalVerdict verdict = JudgeWithdrawal(
        int(m_written.blocks.size()), last ? std::optional<int>(int(last->offers.size())) : std::nullopt, withdrawn,
        settings);
    if (!verdict.stop)
        return true;

    const QString counts = u"nabídek %1, minule %2"_s.arg(verdict.offers).arg(verdict.lastOffers);
    if (automaticMode) {
        writeOutcome(u"zastaveno ochranou: "_s + counts);
        dialogs.notify(Caption::Warning,
                       u"Odeslání bylo zastaveno: nabídek %1, při minulém odeslání %2. Zkontrolujte výběr vozidel."_s
                           .arg(verdict.offers)
                           .arg(verdict.lastOffers));
        return false;
    }
    const QString question =
        u"Odesláním bude z portálu staženo %1 z %2 nabídek. Opravdu odeslat?"_s.arg(verdict.withdrawn).arg(verdict.lastOffers);
    if (dialogs.askDefaultNo(Caption::Question, question))
        return true;
    writeOutcome(u"odeslání odmítnuto uživatelem po varování ochrany: "_s + counts);
    return false;
}

QString SendSafeguard::recordSuccess(bool automaticMode, int httpStatus, const SendLogEntry &entry)
{
    try {
        SendRecord record;
        record.when = entry.when;
        record.automatic = automaticMode;
        record.archiveBytes = entry.archiveBytes;
        record.httpStatus = httpStatus;
        record.offers = offers();
        record.pictures = DigestPictures(m_workingFolder, m_written.copiedPictures);
        if (m_changes)
            record.photoFiles = m_changes->filesToRecord(m_written.namedPhotos, record.pictures);
        SendHistory(ModuleFolders::path(ModuleFile::SendHistory, m_executableFolder), SendHistory::Mode::Write)
            .record(record);
    } catch (const std::exception &e) {
        return u"; historii odeslání nelze zapsat: "_s + QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace korvex
