#pragma once

#include "export/HttpClient.h"

#include <QDateTime>
#include <QFile>

#include <memory>

namespace korvex {

// The upload form of the gateway, built byte for byte: six parts in a fixed
// order, the archive streamed from its file rather than read into memory.
class MultipartUpload
{
public:
    // Opens the archive; throws ModuleError naming it when it cannot be read.
    MultipartUpload(const QString &archivePath, const QString &user, const QString &password, const QDateTime &now);

    // "--------" + the local time as mmddyyhhnnsszzz.
    static QByteArray boundaryFor(const QDateTime &now);

    const QByteArray &boundary() const { return m_boundary; }
    // Valid while this object lives.
    RequestBody body();

private:
    std::int64_t read(char *buffer, std::int64_t capacity);

    QByteArray m_boundary;
    QByteArray m_head;
    QByteArray m_tail;
    QFile m_file;
    std::int64_t m_fileSize = 0;
    std::int64_t m_position = 0;
};

} // namespace korvex
