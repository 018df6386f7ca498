#include "export/MultipartUpload.h"

#include "platform/FileErrorText.h"
#include "platform/ModuleError.h"
#include "platform/Win1250.h"

#include <QDir>

#include <cstring>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

QByteArray textPart(const QByteArray &boundary, const char *name, const QByteArray &value)
{
    return "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value + "\r\n";
}

} // namespace

QByteArray MultipartUpload::boundaryFor(const QDateTime &now)
{
    return "--------" + now.toString(u"MMddyyHHmmsszzz"_s).toLatin1();
}

MultipartUpload::MultipartUpload(const QString &archivePath, const QString &user, const QString &password,
                                 const QDateTime &now)
    : m_boundary(boundaryFor(now))
    , m_file(archivePath)
{
    if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw ModuleError(u"Soubor \"%1\" nelze otevřít: %2"_s.arg(archivePath, FileErrorText(m_file)));
    m_fileSize = m_file.size();
    m_head = textPart(m_boundary, "action", "upload_cars") + textPart(m_boundary, "upload", "1")
        + textPart(m_boundary, "up_user", Win1250::encode(user))
        + textPart(m_boundary, "up_passwd", Win1250::encode(password)) + textPart(m_boundary, "delete_way", "3")
        + "--" + m_boundary + "\r\nContent-Disposition: form-data; name=\"xfile\"; filename=\""
        + Win1250::encode(QDir::toNativeSeparators(archivePath))
        + "\"\r\nContent-Type: application/octet-stream\r\n\r\n";
    m_tail = "\r\n--" + m_boundary + "--\r\n";
}

RequestBody MultipartUpload::body()
{
    m_position = 0;
    m_file.seek(0);
    return RequestBody{"multipart/form-data; boundary=" + m_boundary,
                       std::int64_t(m_head.size()) + m_fileSize + std::int64_t(m_tail.size()),
                       [this](char *buffer, std::int64_t capacity) { return read(buffer, capacity); }};
}

std::int64_t MultipartUpload::read(char *buffer, std::int64_t capacity)
{
    std::int64_t given = 0;
    auto copy = [&](const QByteArray &part, std::int64_t partStart) {
        const std::int64_t offset = m_position - partStart;
        if (offset < 0 || offset >= part.size() || given >= capacity)
            return;
        const std::int64_t n = std::min<std::int64_t>(part.size() - offset, capacity - given);
        std::memcpy(buffer + given, part.constData() + offset, size_t(n));
        given += n;
        m_position += n;
    };
    copy(m_head, 0);
    const std::int64_t fileStart = m_head.size();
    if (m_position >= fileStart && m_position < fileStart + m_fileSize && given < capacity) {
        const qint64 n = m_file.read(buffer + given, std::min(capacity - given, fileStart + m_fileSize - m_position));
        if (n <= 0)
            return -1; // the archive shrank or cannot be read any more
        given += n;
        m_position += n;
    }
    copy(m_tail, fileStart + m_fileSize);
    return given;
}

} // namespace korvex
