#include "export/OfferList.h"

#include "export/OfferLayout.h"
#include "export/PhotoStaging.h"
#include "import/NestaFields.h"
#include "platform/Dataset.h"
#include "platform/FileErrorText.h"
#include "platform/ModuleError.h"
#include "platform/ModuleFolders.h"

#include <QBuffer>
#include <QSaveFile>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

void writeDocument(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw ModuleError(u"Soubor \"%1\" nelze vytvořit: %2"_s.arg(path, FileErrorText(file)));
}

} // namespace

OfferListResult WriteOfferList(Dataset &query, const OfferListSettings &settings)
{
    OfferListResult result;
    QBuffer out(&result.document);
    out.open(QIODevice::WriteOnly);
    WriteOfferListHead(out);
    PhotoStaging staging(settings.workingFolder, LoadPortalPictureList(settings.executableFolder),
                         settings.onlyFirstPhoto, settings.changedPhotos, settings.linkPhotos);
    VehicleChecker checker(settings.onlyFirstPhoto, settings.changedPhotos);
    QSet<VehicleProblem> kinds;
    const Dataset::DisplaySuspended display(query);
    query.startTransaction();
    try {
        // Moving on posts the emptied REZERVA4 of the record before.
        for (query.first(); !query.eof(); query.next())
            if (query.boolean(nesta::Oznaceno)) {
                OfferBlock block{query.text(nesta::Cj), query.text(nesta::Znacka), out.pos(), 0};
                WriteOffer(out, query, staging.stage(query));
                block.length = out.pos() - block.begin;
                result.blocks.append(block);
                ++result.offers;
                const QList<VehicleFinding> findings =
                    settings.checkVehicles ? checker.check(query) : QList<VehicleFinding>();
                if (!findings.isEmpty()) {
                    VehicleCheck check{block.cj, block.make, {}};
                    for (const VehicleFinding &f : findings) {
                        check.problems.append(FindingText(f));
                        kinds.insert(f.problem);
                    }
                    result.checks.append(check);
                }
                if (settings.clearResendFlags) {
                    query.edit();
                    query.setValue(nesta::Rezerva4, QString());
                }
            }
        WriteOfferListTail(out);
        writeDocument(ModuleFolders::path(ModuleFile::OfferList, settings.workingFolder), result.document);
        // The resend requests are spent only once the offer list is on disk.
        query.commit();
    } catch (...) {
        query.rollback();
        throw;
    }
    result.pictures = staging.copiedCount();
    result.copiedPictures = staging.copiedNames();
    result.changedPictures = staging.changedNames();
    result.namedPhotos = staging.namedPhotos();
    result.problemKinds = QList<VehicleProblem>(kinds.begin(), kinds.end());
    std::sort(result.problemKinds.begin(), result.problemKinds.end());
    return result;
}

} // namespace korvex
