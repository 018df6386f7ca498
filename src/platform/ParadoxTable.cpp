#include "platform/ParadoxTable.h"

#include "platform/FileErrorText.h"
#include "platform/ModuleError.h"
#include "platform/ParadoxFormat.h"
#include "platform/Win1250.h"
#include "platform/WinPath.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

constexpr int kFixedHeader = 0x58;
constexpr int kFieldInfoV4 = 0x78;
constexpr int kBlockHeader = 6;

std::uint16_t le16(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return std::uint16_t(u[0] | u[1] << 8);
}

std::int32_t le32s(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return std::int32_t(std::uint32_t(u[0]) | std::uint32_t(u[1]) << 8 | std::uint32_t(u[2]) << 16
                        | std::uint32_t(u[3]) << 24);
}

// The whole file, read into the room given where it is large enough.
QByteArray readWhole(const QString &nativePath, const QString &displayName, QByteArray room)
{
    QFile file(nativePath);
    if (!file.open(QIODevice::ReadOnly))
        throw ModuleError(QStringLiteral("Tabulku \"%1\" nelze otevřít: %2").arg(displayName, FileErrorText(file)));
    room.resize(qsizetype(file.size()));
    const qint64 read = file.read(room.data(), room.size());
    if (read >= 0) {
        room.truncate(qsizetype(read));
        // A file that grew meanwhile is read to its new end.
        if (!file.atEnd())
            room += file.readAll();
    }
    if (read < 0 || file.error() != QFileDevice::NoError)
        throw ModuleError(QStringLiteral("Tabulku \"%1\" nelze přečíst: %2").arg(displayName, FileErrorText(file)));
    return room;
}

} // namespace

ParadoxTable ParadoxTable::open(const QString &path, Room room)
{
    const QString native = WinPath::resolve(path);
    ParadoxTable table;
    table.m_name = path;
    table.m_data = readWhole(native, path, std::move(room.data));
    table.parseHeader();
    if (table.needsMemo()) {
        const QFileInfo info(native);
        const QString memoPath = info.path() + u'/' + info.completeBaseName() + u".MB"_s;
        const QString memoNative = WinPath::resolve(memoPath);
        if (!QFileInfo::exists(memoNative))
            throw ModuleError(QStringLiteral("K tabulce \"%1\" chybí soubor poznámek \"%2\"").arg(path, memoPath));
        table.m_memo.emplace(readWhole(memoNative, memoPath, std::move(room.memo)), memoPath);
    }
    table.walkBlocks();
    return table;
}

ParadoxTable::Room ParadoxTable::release()
{
    Room room{std::move(m_data), m_memo ? m_memo->release() : QByteArray()};
    m_memo.reset();
    m_records.clear();
    return room;
}

ParadoxTable ParadoxTable::parse(QByteArray data, std::optional<QByteArray> memo, const QString &displayName)
{
    ParadoxTable table;
    table.m_name = displayName;
    table.m_data = std::move(data);
    table.parseHeader();
    if (table.needsMemo()) {
        if (!memo)
            throw ModuleError(QStringLiteral("K tabulce \"%1\" chybí soubor poznámek").arg(displayName));
        table.m_memo.emplace(std::move(*memo), displayName + u" (MB)"_s);
    }
    table.walkBlocks();
    return table;
}

bool ParadoxTable::needsMemo() const
{
    for (const ParadoxField &f : m_fields)
        if (Paradox::isBlobType(f.type))
            return true;
    return false;
}

void ParadoxTable::fail(const QString &what) const
{
    throw ModuleError(QStringLiteral("Poškozená tabulka \"%1\": %2").arg(m_name, what));
}

void ParadoxTable::parseHeader()
{
    const qsizetype size = m_data.size();
    const char *d = m_data.constData();
    if (size < kFixedHeader)
        fail(QStringLiteral("soubor je kratší než hlavička tabulky"));

    m_recordSize = le16(d + 0x00);
    m_headerSize = le16(d + 0x02);
    const auto fileType = static_cast<unsigned char>(d[0x04]);
    const auto maxTableSize = static_cast<unsigned char>(d[0x05]);
    m_headerRecords = le32s(d + 0x06);
    m_firstBlock = le16(d + 0x0E);
    const int numFields = le16(d + 0x21);
    const auto version = static_cast<unsigned char>(d[0x39]);
    // Version 4 and later tables keep the real encryption word at 0x5C; the
    // old place then holds a fixed pattern.
    if (version >= 5 && size < kFieldInfoV4)
        fail(QStringLiteral("soubor je kratší než hlavička tabulky"));
    const std::int32_t encryption = le32s(d + (version >= 5 ? 0x5C : 0x25));

    if (fileType != 0 && fileType != 2)
        fail(QStringLiteral("soubor není datovou tabulkou (typ %1)").arg(fileType));
    if (version < 3 || version > 12)
        fail(QStringLiteral("neznámá verze formátu %1").arg(version));
    if (encryption != 0)
        fail(QStringLiteral("šifrované tabulky nejsou podporovány"));
    if (maxTableSize < 1 || maxTableSize > 32)
        fail(QStringLiteral("neplatná velikost bloku %1").arg(maxTableSize));
    m_blockSize = maxTableSize * 0x400;
    if (m_headerSize < kFixedHeader || m_headerSize > size)
        fail(QStringLiteral("neplatná délka hlavičky %1").arg(m_headerSize));
    if (numFields < 1 || numFields > 255)
        fail(QStringLiteral("neplatný počet polí %1").arg(numFields));
    if (m_recordSize < 1 || m_recordSize > m_blockSize - kBlockHeader)
        fail(QStringLiteral("neplatná délka záznamu %1").arg(m_recordSize));
    if (m_headerRecords < 0)
        fail(QStringLiteral("záporný počet záznamů"));

    // Version 4 and later tables carry 32 more header bytes before the
    // field descriptors.
    qsizetype pos = version >= 5 ? kFieldInfoV4 : kFixedHeader;
    const qsizetype tableNameSize = version >= 12 ? 261 : 79;
    const qsizetype namesStart = pos + 2 * numFields + 4 + 4 * qsizetype(numFields) + tableNameSize;
    if (namesStart > m_headerSize)
        fail(QStringLiteral("popis polí přesahuje hlavičku"));

    m_fields.resize(size_t(numFields));
    int offset = 0;
    for (ParadoxField &f : m_fields) {
        f.type = static_cast<std::uint8_t>(d[pos]);
        f.size = static_cast<unsigned char>(d[pos + 1]);
        pos += 2;
        if (!Paradox::isKnownType(f.type))
            fail(QStringLiteral("neznámý typ pole %1").arg(f.type));
        if (f.type == Paradox::Bcd) {
            f.decimals = f.size;
            f.size = Paradox::kBcdSize;
            if (f.decimals > Paradox::kBcdMaxDecimals)
                fail(QStringLiteral("neplatný počet desetinných míst %1").arg(f.decimals));
        }
        if (f.size == 0 || (Paradox::isBlobType(f.type) && f.size < 10))
            fail(QStringLiteral("neplatná délka pole %1").arg(f.size));
        f.offset = offset;
        offset += f.size;
    }
    if (offset != m_recordSize)
        fail(QStringLiteral("délky polí nesouhlasí s délkou záznamu"));

    pos = namesStart;
    for (ParadoxField &f : m_fields) {
        const qsizetype end = m_data.indexOf('\0', pos);
        if (end < 0 || end >= m_headerSize)
            fail(QStringLiteral("jména polí přesahují hlavičku"));
        f.name = Win1250::decode(std::string_view(d + pos, size_t(end - pos)));
        pos = end + 1;
    }
}

void ParadoxTable::walkBlocks()
{
    const qsizetype size = m_data.size();
    const char *d = m_data.constData();
    const qsizetype blockCount = (size - m_headerSize) / m_blockSize;
    std::vector<bool> visited(size_t(blockCount) + 1, false);

    m_records.reserve(size_t(m_headerRecords) <= size_t(size) ? size_t(m_headerRecords) : 0);
    std::uint32_t block = m_firstBlock;
    while (block != 0) {
        if (qsizetype(block) > blockCount)
            fail(QStringLiteral("blok %1 leží mimo soubor").arg(block));
        if (visited[block])
            fail(QStringLiteral("řetěz bloků se zacyklil v bloku %1").arg(block));
        visited[block] = true;

        const qsizetype start = m_headerSize + qsizetype(block - 1) * m_blockSize;
        const std::uint16_t next = le16(d + start);
        const auto lastOffset = static_cast<std::int16_t>(le16(d + start + 4));
        if (lastOffset >= 0) {
            if (lastOffset % m_recordSize != 0 || kBlockHeader + lastOffset + m_recordSize > m_blockSize)
                fail(QStringLiteral("neplatná obsazenost bloku %1").arg(block));
            for (qsizetype rec = 0; rec <= lastOffset; rec += m_recordSize)
                m_records.push_back(std::uint32_t(start + kBlockHeader + rec));
        }
        block = next;
    }
    if (qsizetype(m_records.size()) != m_headerRecords)
        fail(QStringLiteral("hlavička udává %1 záznamů, bloky jich obsahují %2")
                 .arg(m_headerRecords)
                 .arg(m_records.size()));
}

int ParadoxTable::fieldIndex(QStringView name) const
{
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

std::string_view ParadoxTable::raw(int record, int field) const
{
    const ParadoxField &f = m_fields[size_t(field)];
    return std::string_view(m_data.constData() + m_records[size_t(record)] + f.offset, size_t(f.size));
}

QString ParadoxTable::text(int record, int field) const
{
    const std::string_view bytes = raw(record, field);
    switch (m_fields[size_t(field)].type) {
    case Paradox::Alpha:
        return Paradox::alphaText(bytes);
    case Paradox::Short:
    case Paradox::Long:
    case Paradox::AutoInc:
        return Paradox::integerText(bytes);
    case Paradox::Number:
    case Paradox::Currency:
        return Paradox::numberText(bytes);
    case Paradox::Date:
        return Paradox::dateText(bytes);
    case Paradox::Time:
        return Paradox::timeText(bytes);
    case Paradox::Timestamp:
        return Paradox::timestampText(bytes);
    case Paradox::Logical:
        return Paradox::logicalText(bytes);
    case Paradox::Bcd:
        return Paradox::bcdText(bytes, m_fields[size_t(field)].decimals);
    case Paradox::Bytes:
        // The host shows a bytes field as the characters of its bytes.
        return Paradox::alphaText(bytes);
    case Paradox::Memo:
    case Paradox::FormattedMemo: {
        return m_memo ? Paradox::alphaText(m_memo->blob(bytes)) : QString();
    }
    default:
        // BLOb, graphic and OLE fields have no text form the module reads.
        return QString();
    }
}

std::optional<bool> ParadoxTable::logical(int record, int field) const
{
    return Paradox::logicalValue(raw(record, field));
}

} // namespace korvex
