#include "export/OfferDigest.h"

#include "platform/ModuleError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <future>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace korvex {

QString OfferDigest(QByteArrayView bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Blake2b_256).toHex());
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
    auto digestOne = [&folder](const QString &name) {
        QFile file(QDir(folder).filePath(name));
        QCryptographicHash hash(QCryptographicHash::Blake2b_256);
        if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
            throw ModuleError(u"Obrázek \"%1\" nelze přečíst: %2"_s.arg(file.fileName(), file.errorString()));
        return SentPicture{name, file.size(), QString::fromLatin1(hash.result().toHex())};
    };
    // Hashing is most of the time a send's record takes; the files are
    // independent, so every core takes its share.
    std::vector<SentPicture> digested(size_t(names.size()));
    const qsizetype parts = std::clamp<qsizetype>(std::thread::hardware_concurrency(), 1, 8);
    std::vector<std::future<void>> jobs;
    for (qsizetype part = 0; part < std::min(parts, names.size()); ++part)
        jobs.push_back(std::async(std::launch::async, [&, part] {
            for (qsizetype i = part; i < names.size(); i += parts)
                digested[size_t(i)] = digestOne(names[i]);
        }));
    for (auto &job : jobs)
        job.get();
    return QList<SentPicture>(digested.begin(), digested.end());
}

QList<SentPicture> SizePictures(const QString &folder, const QStringList &names)
{
    QList<SentPicture> pictures;
    pictures.reserve(names.size());
    for (const QString &name : names)
        pictures.append({name, QFileInfo(QDir(folder).filePath(name)).size(), QString()});
    return pictures;
}

} // namespace korvex
