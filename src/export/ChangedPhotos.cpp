#include "export/ChangedPhotos.h"

#include "export/JpegHeader.h"
#include "export/OfferDigest.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvex {
namespace {

template<typename Stamp>
bool sameStamp(const SentPhotoFile &file, const Stamp &stamp)
{
    return file.size == stamp.size && file.modified == stamp.modified;
}

} // namespace

ChangedPhotos::~ChangedPhotos()
{
    for (const int folder : std::as_const(m_folders))
        if (folder >= 0)
            ::close(folder);
}

// stat() itself, relative to the photo's open folder: a QFileInfo costs
// several times more, and a large stock asks for tens of thousands of
// files in a few folders.
std::optional<ChangedPhotos::Stamp> ChangedPhotos::stampOf(const QString &path)
{
    const auto known = m_stamps.constFind(path);
    if (known != m_stamps.cend())
        return *known;
    const qsizetype cut = path.lastIndexOf(u'/');
    const QString folderPath = cut < 0 ? QString() : path.first(cut + 1);
    auto folder = m_folders.find(folderPath);
    if (folder == m_folders.end())
        folder = m_folders.insert(
            folderPath, ::open(folderPath.isEmpty() ? "." : QFile::encodeName(folderPath).constData(),
                               O_PATH | O_DIRECTORY | O_CLOEXEC));
    struct stat st;
    std::optional<Stamp> stamp;
    if (*folder >= 0 && ::fstatat(*folder, QFile::encodeName(path.sliced(cut + 1)).constData(), &st, 0) == 0
        && S_ISREG(st.st_mode))
        stamp = Stamp{qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000};
    m_stamps.insert(path, stamp);
    return stamp;
}

std::optional<bool> ChangedPhotos::knownJpeg(const QString &name, const QString &path)
{
    const auto sent = m_sent.constFind(name);
    if (sent == m_sent.cend() || sent->jpeg < 0)
        return std::nullopt;
    const std::optional<Stamp> stamp = stampOf(path);
    if (!stamp || !sameStamp(*sent, *stamp))
        return std::nullopt;
    return sent->jpeg == 1;
}

ChangedPhotos::ChangedPhotos(QHash<QString, SentPhotoFile> sent)
    : m_sent(std::move(sent))
{
}

bool ChangedPhotos::changed(const QString &name, const QString &path)
{
    const auto sent = m_sent.constFind(name);
    if (sent == m_sent.cend())
        return false;
    const std::optional<Stamp> stamp = stampOf(path);
    if (!stamp || sameStamp(*sent, *stamp))
        return false;
    const auto found = m_found.constFind(name);
    if (found != m_found.cend() && sameStamp(*found, *stamp))
        return found->digest != sent->digest;
    QString digest;
    try {
        digest = DigestFiles({path}).value(0);
    } catch (const std::exception &) {
        return false;
    }
    ++m_digests;
    m_found.insert(name, SentPhotoFile{name, stamp->size, stamp->modified, digest});
    return digest != sent->digest;
}

QList<SentPhotoFile> ChangedPhotos::filesToRecord(const QHash<QString, QString> &named,
                                                  const QList<SentPicture> &uploaded)
{
    QHash<QString, QString> uploadedDigests;
    for (const SentPicture &picture : uploaded)
        uploadedDigests.insert(picture.name, picture.digest);

    QList<SentPhotoFile> files;
    QList<SentPhotoFile> unknown;
    QStringList unknownPaths;
    for (auto it = named.cbegin(); it != named.cend(); ++it) {
        const std::optional<Stamp> stamp = stampOf(it.value());
        if (!stamp)
            continue;
        SentPhotoFile file{it.key(), stamp->size, stamp->modified, {}, -1};
        const auto sent = m_sent.constFind(file.name);
        const auto found = m_found.constFind(file.name);
        if (uploadedDigests.contains(file.name)) {
            file.digest = uploadedDigests.value(file.name);
            file.jpeg = HasJpegHeader(it.value()) ? 1 : 0;
            files.append(file);
        } else if (found != m_found.cend() && sameStamp(*found, *stamp)) {
            // Not sent again, so its content is what the history holds.
            if (sent != m_sent.cend() && found->digest == sent->digest) {
                SentPhotoFile refreshed = *found;
                refreshed.jpeg = sent->jpeg >= 0 ? sent->jpeg : (HasJpegHeader(it.value()) ? 1 : 0);
                files.append(refreshed);
            }
        } else if (sent == m_sent.cend()) {
            file.jpeg = HasJpegHeader(it.value()) ? 1 : 0;
            unknown.append(file);
            unknownPaths.append(it.value());
        }
    }
    QStringList digests;
    try {
        digests = DigestFiles(unknownPaths);
    } catch (const std::exception &) {
        // A photo gone since it was named: these wait for the next send,
        // and the send itself is still recorded.
        return files;
    }
    m_digests += int(digests.size());
    for (qsizetype i = 0; i < unknown.size(); ++i) {
        unknown[i].digest = digests[i];
        files.append(unknown[i]);
    }
    return files;
}

} // namespace korvex
