#include "platform/ZipPacker.h"

#include "platform/FileErrorText.h"
#include "platform/ModuleError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <minizip/zip.h>
#include <zlib.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

struct Compressed
{
    QByteArray data;
    std::uint32_t crc = 0;
    std::int64_t size = 0;
    QString error;
};

Compressed deflateFile(const QString &path)
{
    Compressed out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.error = u"Soubor \"%1\" nelze přečíst: %2"_s.arg(path, FileErrorText(file));
        return out;
    }
    const QByteArray input = file.readAll();
    out.size = input.size();
    out.crc = std::uint32_t(crc32_z(0, reinterpret_cast<const Bytef *>(input.constData()), size_t(input.size())));
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        out.error = u"Soubor \"%1\" nelze zkomprimovat"_s.arg(path);
        return out;
    }
    out.data.resize(qsizetype(deflateBound(&z, uLong(input.size()))));
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(input.constData()));
    z.avail_in = uInt(input.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data.data());
    z.avail_out = uInt(out.data.size());
    const int rc = deflate(&z, Z_FINISH);
    out.data.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    if (rc != Z_STREAM_END)
        out.error = u"Soubor \"%1\" nelze zkomprimovat"_s.arg(path);
    return out;
}

// Compresses the files on worker threads, a few ahead of the writer, and
// hands the results out in order.
class CompressionPipeline
{
public:
    explicit CompressionPipeline(const QStringList &paths)
        : m_paths(paths)
        , m_results(size_t(paths.size()))
    {
        const unsigned workers = std::max(1u, std::min(std::thread::hardware_concurrency(), 8u));
        for (unsigned i = 0; i < workers; ++i)
            m_threads.emplace_back([this] { work(); });
    }

    ~CompressionPipeline()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        for (std::thread &t : m_threads)
            t.join();
    }

    Compressed take(qsizetype index)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_results[size_t(index)].has_value(); });
        Compressed result = std::move(*m_results[size_t(index)]);
        m_results[size_t(index)].reset();
        m_taken = index + 1;
        m_changed.notify_all();
        return result;
    }

private:
    void work()
    {
        for (;;) {
            qsizetype index;
            {
                std::unique_lock lock(m_mutex);
                // Stay at most a few files ahead, so memory stays bounded.
                m_changed.wait(lock, [&] {
                    return m_stop || (m_next < m_paths.size() && m_next < m_taken + qsizetype(m_threads.size()) + 2);
                });
                if (m_stop)
                    return;
                index = m_next++;
            }
            Compressed result = deflateFile(m_paths.at(index));
            {
                std::lock_guard lock(m_mutex);
                m_results[size_t(index)] = std::move(result);
            }
            m_changed.notify_all();
        }
    }

    const QStringList m_paths; // read by the workers: never detached
    std::vector<std::optional<Compressed>> m_results;
    std::vector<std::thread> m_threads;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    qsizetype m_next = 0;
    qsizetype m_taken = 0;
    bool m_stop = false;
};

void setTime(zip_fileinfo &info, const QDateTime &when)
{
    info.tmz_date.tm_sec = uInt(when.time().second());
    info.tmz_date.tm_min = uInt(when.time().minute());
    info.tmz_date.tm_hour = uInt(when.time().hour());
    info.tmz_date.tm_mday = uInt(when.date().day());
    info.tmz_date.tm_mon = uInt(when.date().month() - 1);
    info.tmz_date.tm_year = uInt(when.date().year());
}

// A name that shares its data with another file (a photo staged as a hard
// link) got that data when the link was made, which the status change time
// holds; the shared modification time is the other file's.
QDateTime entryTime(const QFileInfo &info)
{
    struct stat st;
    const bool linked = ::stat(QFile::encodeName(info.filePath()).constData(), &st) == 0 && st.st_nlink > 1;
    return linked ? info.metadataChangeTime() : info.lastModified();
}

} // namespace

bool MatchesWildcard(const QString &name, const QString &pattern)
{
    if (pattern == u"*.*" || pattern == u"*")
        return true;
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern),
                                QRegularExpression::CaseInsensitiveOption);
    return re.match(name).hasMatch();
}

int PackFolder(const QString &archivePath, const QString &folder, const QStringList &patterns,
               const ZipProgress &progress)
{
    const QFileInfo archiveInfo(archivePath);
    QStringList names;
    std::int64_t total = 0;
    for (const QFileInfo &info : QDir(folder).entryInfoList(QDir::Files, QDir::Name)) {
        if (info.absoluteFilePath() == archiveInfo.absoluteFilePath())
            continue;
        for (const QString &pattern : patterns) {
            if (MatchesWildcard(info.fileName(), pattern)) {
                names.append(info.fileName());
                total += info.size();
                break;
            }
        }
    }
    auto cancelled = [&] { return progress.cancelled && progress.cancelled(); };
    if (progress.batchCount)
        progress.batchCount(int(names.size()));
    if (progress.batchStart)
        progress.batchStart(total);

    // The new archive is written beside the old one and renamed over it.
    const QString temp = archivePath + u".part"_s;
    QFile::remove(temp);
    if (archiveInfo.exists() && !QFile::copy(archivePath, temp))
        throw ModuleError(u"Archiv \"%1\" nelze otevřít"_s.arg(archivePath));
    zipFile zip = zipOpen64(QFile::encodeName(temp).constData(), archiveInfo.exists() ? APPEND_STATUS_ADDINZIP
                                                                                       : APPEND_STATUS_CREATE);
    if (!zip) {
        QFile::remove(temp);
        throw ModuleError(u"Archiv \"%1\" nelze vytvořit"_s.arg(archivePath));
    }
    auto abandon = [&] {
        zipClose(zip, nullptr);
        QFile::remove(temp);
    };

    QStringList paths;
    for (const QString &name : names)
        paths.append(QDir(folder).filePath(name));
    int packed = 0;
    {
        CompressionPipeline pipeline(paths);
        for (qsizetype i = 0; i < names.size(); ++i) {
            if (cancelled()) {
                abandon();
                return 0;
            }
            const QFileInfo info(paths[i]);
            if (progress.fileBegin)
                progress.fileBegin(names[i], info.size());
            Compressed c = pipeline.take(i);
            if (!c.error.isEmpty()) {
                abandon();
                throw ModuleError(c.error);
            }
            zip_fileinfo zi{};
            setTime(zi, entryTime(info));
            const QByteArray name = names[i].toUtf8();
            // Version made by: UNIX host, so that readers take the names as
            // UTF-8 (general purpose flag 11) and not as an OEM code page.
            const int opened = zipOpenNewFileInZip4_64(zip, name.constData(), &zi, nullptr, 0, nullptr, 0, nullptr,
                                                       Z_DEFLATED, 9, 1, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY, nullptr,
                                                       0, 0x031E, 0x800, c.size >= 0xFFFFFFFFLL ? 1 : 0);
            if (opened != ZIP_OK || zipWriteInFileInZip(zip, c.data.constData(), unsigned(c.data.size())) != ZIP_OK
                || zipCloseFileInZipRaw64(zip, ZPOS64_T(c.size), uLong(c.crc)) != ZIP_OK) {
                abandon();
                throw ModuleError(u"Do archivu \"%1\" nelze zapsat soubor \"%2\""_s.arg(archivePath, names[i]));
            }
            ++packed;
            if (progress.bytesDone)
                progress.bytesDone(c.size);
            if (progress.fileDone)
                progress.fileDone(0);
        }
    }
    if (cancelled()) {
        abandon();
        return 0;
    }
    if (zipClose(zip, nullptr) != ZIP_OK) {
        QFile::remove(temp);
        throw ModuleError(u"Archiv \"%1\" nelze zapsat"_s.arg(archivePath));
    }
    QFile::remove(archivePath);
    if (!QFile::rename(temp, archivePath)) {
        QFile::remove(temp);
        throw ModuleError(u"Archiv \"%1\" nelze nahradit"_s.arg(archivePath));
    }
    if (progress.batchEnd)
        progress.batchEnd();
    return packed;
}

} // namespace korvex
