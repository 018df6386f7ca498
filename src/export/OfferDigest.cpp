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

QStringList DigestFiles(const QStringList &paths)
{
    auto digestOne = [](const QString &path) {
        QFile file(path);
        QCryptographicHash hash(QCryptographicHash::Blake2b_256);
        if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
            throw ModuleError(u"Obrázek \"%1\" nelze přečíst: %2"_s.arg(file.fileName(), file.errorString()));
        return QString::fromLatin1(hash.result().toHex());
    };
    // Hashing is most of the time a send's record takes; the files are
    // independent, so every core takes its share.
    std::vector<QString> digested(size_t(paths.size()));
    const qsizetype parts = std::clamp<qsizetype>(std::thread::hardware_concurrency(), 1, 8);
    std::vector<std::future<void>> jobs;
    for (qsizetype part = 0; part < std::min(parts, paths.size()); ++part)
        jobs.push_back(std::async(std::launch::async, [&, part] {
            for (qsizetype i = part; i < paths.size(); i += parts)
                digested[size_t(i)] = digestOne(paths[i]);
        }));
    for (auto &job : jobs)
        job.get();
    return QStringList(digested.begin(), digested.end());
}

QList<SentPicture> DigestPictures(const QString &folder, const QStringList &names)
{
    QStringList paths;
    paths.reserve(names.size());
    for (const QString &name : names)
        paths.append(QDir(folder).filePath(name));
    const QStringList digests = DigestFiles(paths);
    QList<SentPicture> pictures;
    pictures.reserve(names.size());
    for (qsizetype i = 0; i < names.size(); ++i)
        pictures.append({names[i], QFileInfo(paths[i]).size(), digests[i]});
    return pictures;
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
