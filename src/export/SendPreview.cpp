#include "export/SendPreview.h"

#include "export/ChangedPhotos.h"
#include "export/GuardSettings.h"
#include "export/OfferDigest.h"
#include "export/OfferList.h"
#include "export/SendHistory.h"
#include "platform/Dataset.h"
#include "platform/ModuleError.h"
#include "platform/ModuleFolders.h"
#include "platform/ZipPacker.h"

#include <QFileInfo>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace korvex {

SendPreview PreviewSend(Dataset &query, const QString &executableFolder, bool onlyFirstPhoto)
{
    QTemporaryDir folder;
    if (!folder.isValid())
        throw ModuleError(u"Dočasnou složku pro náhled nelze vytvořit: %1"_s.arg(folder.errorString()));

    const GuardSettings guard = LoadGuardSettings(executableFolder);
    std::optional<ChangedPhotos> changes;
    if (guard.resendChangedPhotos) {
        try {
            changes.emplace(
                SendHistory(ModuleFolders::path(ModuleFile::SendHistory, executableFolder), SendHistory::Mode::Read)
                    .photoFiles());
        } catch (const std::exception &) {
            // Told below, where the history is read for the last send.
            changes.emplace(QHash<QString, SentPhotoFile>());
        }
    }

    OfferListResult written;
    {
        // The views see only the record they stood on: the list's flag boxes
        // write what they show, so a glimpse of the walk's last record would
        // post to it.
        const Dataset::DisplaySuspended display(query);
        const int row = query.recNo();
        try {
            OfferListSettings settings{executableFolder, folder.path(), onlyFirstPhoto, false};
            settings.changedPhotos = changes ? &*changes : nullptr;
            written = WriteOfferList(query, settings);
        } catch (...) {
            query.setRecNo(row);
            throw;
        }
        query.setRecNo(row);
    }

    const QString archive = ModuleFolders::path(ModuleFile::Archive, folder.path());
    PackFolder(archive, folder.path(), {u"*.*"_s});

    SendPreview preview;
    preview.archiveBytes = QFileInfo(archive).size();
    preview.offers = DigestOffers(written);
    preview.pictures = SizePictures(folder.path(), written.copiedPictures);
    preview.changedPictures = written.changedPictures;
    preview.checks = written.checks;
    try {
        preview.lastSend
            = SendHistory(ModuleFolders::path(ModuleFile::SendHistory, executableFolder), SendHistory::Mode::Read)
                  .lastSend();
    } catch (const std::exception &e) {
        preview.historyProblem = QString::fromUtf8(e.what());
    }
    preview.changes = CompareOffers(preview.offers, preview.lastSend ? preview.lastSend->offers : QList<SentOffer>());

    preview.guardEnabled = guard.enabled;
    preview.guard = JudgeWithdrawal(
        int(preview.offers.size()),
        preview.lastSend ? std::optional<int>(int(preview.lastSend->offers.size())) : std::nullopt,
        int(preview.changes.withdrawn.size()), guard);
    return preview;
}

} // namespace korvex
