#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace korvex {

// One record of a ZIP archive's central directory.
struct ZipEntryInfo
{
    QString name;               // "/" written as "\"
    std::uint16_t madeBy = 0;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t localHeaderOffset = 0;
};

// The directory of a ZIP archive: the end record, its comment and the
// central-directory records. Any bytes may come in; a damaged archive gives
// ModuleError with the archiver's texts, never a read out of bounds.
struct ZipDirectory
{
    QByteArray endRecord;   // the 22 bytes
    QString comment;
    bool oemNames = false;  // names and comment are in the OEM code page
    std::vector<ZipEntryInfo> entries;

    // The 22-byte end record of an empty archive.
    static QByteArray emptyArchive();

    // displayName names the archive in error texts.
    static ZipDirectory read(const QByteArray &archive, const QString &displayName);

    // Reads only the end of the file and its central directory.
    static ZipDirectory readFile(const QString &path);

private:
    // archive holds the file's bytes from offset base on.
    static ZipDirectory parse(const QByteArray &archive, qint64 base, const QString &displayName);
};

} // namespace korvex
