#include "export/OfferList.h"

#include "export/OfferLayout.h"
#include "platform/Dataset.h"
#include "platform/DisabledControls.h"
#include "platform/FileErrorText.h"
#include "platform/ModuleError.h"
#include "export/PhotoStaging.h"

#include <QBuffer>
#include <QSaveFile>

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
                         settings.onlyFirstPhoto);
    const DisabledControls display(query);
    query.startTransaction();
    try {
        // Moving on posts the emptied REZERVA4 of the record before.
        for (query.first(); !query.eof(); query.next())
            if (query.boolean(u"OZNACENO")) {
                OfferBlock block{query.text(u"CJ"), query.text(u"ZNACKA"), out.pos(), 0};
                WriteOffer(out, query, staging.stage(query));
                block.length = out.pos() - block.begin;
                result.blocks.append(block);
                ++result.offers;
                if (settings.clearResendFlags) {
                    query.edit();
                    query.setValue(u"REZERVA4", QString());
                }
            }
        WriteOfferListTail(out);
        writeDocument(settings.workingFolder + u"/Data.xml"_s, result.document);
        // The resend requests are spent only once the offer list is on disk.
        query.commit();
    } catch (...) {
        query.rollback();
        throw;
    }
    result.pictures = staging.copiedCount();
    result.copiedPictures = staging.copiedNames();
    return result;
}

} // namespace korvex
