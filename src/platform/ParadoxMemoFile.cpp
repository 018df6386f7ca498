#include "platform/ParadoxMemoFile.h"

#include "platform/ModuleError.h"

#include <cstdint>

namespace korvex {
namespace {

constexpr int kPointerSize = 10;
constexpr int kSubEntries = 64;

std::uint32_t le32(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return std::uint32_t(u[0]) | std::uint32_t(u[1]) << 8 | std::uint32_t(u[2]) << 16 | std::uint32_t(u[3]) << 24;
}

} // namespace

std::optional<std::string_view> inRecordBlob(std::string_view field)
{
    if (field.size() < size_t(kPointerSize))
        return std::string_view();
    const size_t leader = field.size() - kPointerSize;
    const std::uint32_t length = le32(field.data() + leader + 4);
    if (length <= leader)
        return field.substr(0, length);
    return std::nullopt;
}

ParadoxMemoFile::ParadoxMemoFile(QByteArray data, QString displayName)
    : m_data(std::move(data))
    , m_name(std::move(displayName))
{
}

void ParadoxMemoFile::fail(const QString &what) const
{
    throw ModuleError(QStringLiteral("Poškozený soubor poznámek \"%1\": %2").arg(m_name, what));
}

std::string_view ParadoxMemoFile::blob(std::string_view field) const
{
    if (const auto inRecord = inRecordBlob(field))
        return *inRecord;

    const char *pointer = field.data() + field.size() - kPointerSize;
    const std::uint32_t offset = le32(pointer);
    const std::uint32_t length = le32(pointer + 4);
    const std::uint32_t index = offset & 0xFF;
    const std::uint64_t block = offset & 0xFFFFFF00u;
    const auto size = std::uint64_t(m_data.size());
    const char *base = m_data.constData();

    if (block + 12 > size)
        fail(QStringLiteral("odkaz na blok %1 leží mimo soubor").arg(block));
    const auto type = static_cast<unsigned char>(base[block]);

    std::uint64_t start = 0;
    if (index == 0xFF) {
        // A block of its own: type 2, length at +3, data from +9.
        if (type != 2)
            fail(QStringLiteral("blok %1 není blokem jedné poznámky").arg(block));
        if (le32(base + block + 3) != length)
            fail(QStringLiteral("délka poznámky v bloku %1 nesouhlasí").arg(block));
        start = block + 9;
    } else {
        // A shared block: type 3 with 64 five-byte entries from +12; an
        // entry holds the data offset and the length in 16-byte units
        // (rounded up), the modification number and the length modulo 16
        // (some writers put 16 there for a multiple of 16).
        if (type != 3 || index >= kSubEntries)
            fail(QStringLiteral("blok %1 není blokem sdílených poznámek").arg(block));
        const std::uint64_t entry = block + 12 + std::uint64_t(index) * 5;
        if (entry + 5 > size)
            fail(QStringLiteral("položka %1 bloku %2 leží mimo soubor").arg(index).arg(block));
        const auto *e = reinterpret_cast<const unsigned char *>(base + entry);
        const bool rest = e[4] == length % 16 || (length % 16 == 0 && e[4] == 16);
        if (e[0] == 0 || e[1] != (length + 15) / 16 || !rest)
            fail(QStringLiteral("položka %1 bloku %2 nesouhlasí s odkazem").arg(index).arg(block));
        start = block + std::uint64_t(e[0]) * 16;
    }
    if (start + length > size)
        fail(QStringLiteral("poznámka v bloku %1 přesahuje konec souboru").arg(block));
    return std::string_view(base + start, size_t(length));
}

} // namespace korvex
