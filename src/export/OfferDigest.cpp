#include "OfferDigest.h"

#include "ModuleError.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace korvex {

QString OfferDigest(QByteArrayView bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QList<SentOffer> DigestOffers(const OfferListResult &written)
{
    QList<SentOffer> offers;
    offers.reserve(written.blocks.size());
    const QByteArrayView document(written.document);
    for (const OfferBlock &block : written.blocks)
        offers.append({block.cj, block.make, OfferDigest(document.sliced(block.begin, block.length))});
    return offers;
}

QList<SentPicture> DigestPictures(const QString &folder, const QStringList &names)
{
    QList<SentPicture> pictures;
    pictures.reserve(names.size());
    for (const QString &name : names) {
        QFile file(folder + u'/' + name);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
            throw ModuleError(u"Obrázek \"%1\" nelze přečíst: %2"_s.arg(file.fileName(), file.errorString()));
        pictures.append({name, file.size(), QString::fromLatin1(hash.result().toHex())});
    }
    return pictures;
}

QList<SentPicture> SizePictures(const QString &folder, const QStringList &names)
{
    QList<SentPicture> pictures;
    pictures.reserve(names.size());
    for (const QString &name : names)
        pictures.append({name, QFileInfo(folder + u'/' + name).size(), QString()});
    return pictures;
}

} // namespace korvex
