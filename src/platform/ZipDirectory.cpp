#include "platform/ZipDirectory.h"

#include "platform/ModuleError.h"

#include <QFile>

#include <array>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr std::uint32_t kCentralSignature = 0x02014B50;
constexpr qsizetype kEndSize = 22;
constexpr qsizetype kCentralSize = 46;

// Code page 852, the OEM code page of Czech systems.
constexpr std::array<char16_t, 128> kOem = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x016F, 0x0107, 0x00E7,
    0x0142, 0x00EB, 0x0150, 0x0151, 0x00EE, 0x0179, 0x00C4, 0x0106,
    0x00C9, 0x0139, 0x013A, 0x00F4, 0x00F6, 0x013D, 0x013E, 0x015A,
    0x015B, 0x00D6, 0x00DC, 0x0164, 0x0165, 0x0141, 0x00D7, 0x010D,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x0104, 0x0105, 0x017D, 0x017E,
    0x0118, 0x0119, 0x00AC, 0x017A, 0x010C, 0x015F, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x011A,
    0x015E, 0x2563, 0x2551, 0x2557, 0x255D, 0x017B, 0x017C, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x0102, 0x0103,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,
    0x0111, 0x0110, 0x010E, 0x00CB, 0x010F, 0x0147, 0x00CD, 0x00CE,
    0x011B, 0x2518, 0x250C, 0x2588, 0x2584, 0x0162, 0x016E, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x0143, 0x0144, 0x0148, 0x0160, 0x0161,
    0x0154, 0x00DA, 0x0155, 0x0170, 0x00FD, 0x00DD, 0x0163, 0x00B4,
    0x00AD, 0x02DD, 0x02DB, 0x02C7, 0x02D8, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x02D9, 0x0171, 0x0158, 0x0159, 0x25A0, 0x00A0,
};

std::uint16_t le16(const QByteArray &b, qsizetype at)
{
    return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

std::uint32_t le32(const QByteArray &b, qsizetype at)
{
    return std::uint32_t(le16(b, at)) | std::uint32_t(le16(b, at + 2)) << 16;
}

QString decodeName(const QByteArray &bytes, bool oem, bool utf8)
{
    if (utf8)
        return QString::fromUtf8(bytes);
    if (!oem)
        return QString::fromLatin1(bytes);
    QString out(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = std::uint8_t(bytes[i]);
        out[i] = QChar(c < 0x80 ? char16_t(c) : kOem[c - 0x80]);
    }
    return out;
}

} // namespace

QByteArray ZipDirectory::emptyArchive()
{
    QByteArray record(kEndSize, '\0');
    record[0] = 0x50;
    record[1] = 0x4B;
    record[2] = 0x05;
    record[3] = 0x06;
    return record;
}

ZipDirectory ZipDirectory::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ModuleError(u"\"%1\"\nis not a valid Zip file."_s.arg(path));
    const qint64 size = file.size();
    // The end record lies in the last 64 KiB; the directory usually too.
    const qint64 tailStart = std::max<qint64>(0, size - 65535 - kEndSize);
    file.seek(tailStart);
    const QByteArray tail = file.readAll();
    qint64 start = tailStart;
    for (qsizetype at = tail.size() - kEndSize; at >= 0; --at) {
        if (le32(tail, at) == kEndSignature) {
            start = std::min<qint64>(le32(tail, at + 16), tailStart);
            break;
        }
    }
    if (start == tailStart)
        return parse(tail, tailStart, path);
    file.seek(start);
    return parse(file.readAll(), start, path);
}

ZipDirectory ZipDirectory::read(const QByteArray &archive, const QString &displayName)
{
    return parse(archive, 0, displayName);
}

ZipDirectory ZipDirectory::parse(const QByteArray &archive, qint64 base, const QString &displayName)
{
    const QString notValid = u"\"%1\"\nis not a valid Zip file."_s.arg(displayName);
    const qsizetype size = archive.size();
    qsizetype end = -1;
    if (size >= kEndSize) {
        if (le32(archive, size - kEndSize) == kEndSignature) {
            end = size - kEndSize;
        } else {
            const qsizetype floor = std::max<qsizetype>(0, size - 65535);
            for (qsizetype at = size - kEndSize; at >= floor && end < 0; --at)
                if (le32(archive, at) == kEndSignature)
                    end = at;
        }
    }
    if (end < 0)
        throw ModuleError(notValid);

    ZipDirectory dir;
    dir.endRecord = archive.mid(end, kEndSize);
    if (le16(archive, end + 4) > 1000 || le16(archive, end + 6) > 1000)
        throw ModuleError(notValid);
    const std::uint16_t count = le16(archive, end + 10);
    const std::uint32_t start = le32(archive, end + 16);
    const qsizetype commentLength = le16(archive, end + 20);
    const QByteArray comment = archive.mid(end + kEndSize, commentLength);

    qint64 at = qint64(start) - base;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (at < 0 || at + kCentralSize > size || le32(archive, at) != kCentralSignature) {
            dir.entries.clear();
            throw ModuleError(u"Error reading CentralFileHeader."_s);
        }
        ZipEntryInfo e;
        e.madeBy = le16(archive, at + 4);
        e.flags = le16(archive, at + 8);
        e.method = le16(archive, at + 10);
        e.crc = le32(archive, at + 16);
        e.compressedSize = le32(archive, at + 20);
        e.size = le32(archive, at + 24);
        const qsizetype nameLength = le16(archive, at + 28);
        const qsizetype extraLength = le16(archive, at + 30);
        const qsizetype entryComment = le16(archive, at + 32);
        e.localHeaderOffset = le32(archive, at + 42);
        if (at + kCentralSize + nameLength + extraLength + entryComment > size) {
            dir.entries.clear();
            throw ModuleError(u"Error reading CentralFileHeader."_s);
        }
        if (i == 0) {
            const int host = e.madeBy >> 8;
            dir.oemNames = host == 0 || host == 6 || (host == 11 && (e.madeBy & 0xFF) == 50);
        }
        e.name = decodeName(archive.mid(at + kCentralSize, nameLength), dir.oemNames, e.flags & 0x800);
        e.name.replace(u'/', u'\\');
        dir.entries.push_back(std::move(e));
        at += kCentralSize + nameLength + extraLength + entryComment;
    }
    dir.comment = decodeName(comment, dir.oemNames, false);
    return dir;
}

} // namespace korvex
