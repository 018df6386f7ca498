#include "platform/PackedRow.h"

#include <QAnyStringView>

#include <algorithm>
#include <cstring>
#include <new>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace korvex {
namespace {

// Arena blocks are the size and alignment of a large memory page, which the
// system may then give in one piece: ten megabytes of rows are a handful of
// page faults rather than thousands.
constexpr size_t kBlockSize = size_t(2) << 20;

std::shared_ptr<char[]> allocateBlock()
{
    constexpr std::align_val_t alignment{kBlockSize};
    char *block = static_cast<char *>(::operator new(kBlockSize, alignment));
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    madvise(block, kBlockSize, MADV_HUGEPAGE); // advice only: without it the block works the same
#endif
    return std::shared_ptr<char[]>(block, [](char *p) { ::operator delete(p, alignment); });
}

// Rows are placed at multiples of this, for their field ends.
constexpr size_t kEndAlignment = alignof(quint32);

// A block of a row's own, aligned for its field ends.
PackedRow::Arena::Place ownPlace(size_t bytes)
{
    std::shared_ptr<quint32[]> own = std::make_shared_for_overwrite<quint32[]>((bytes + 3) / 4);
    char *at = reinterpret_cast<char *>(own.get());
    return {std::move(own), at};
}

} // namespace

QByteArrayView PackedRow::utf8(int field) const
{
    if (field < 0 || quint32(field) >= m_fields)
        return {};
    const quint32 start = field == 0 ? 0 : m_ends[field - 1];
    return QByteArrayView(m_bytes + start, qsizetype(m_ends[field] - start));
}

bool PackedRow::holds(int field, QStringView text) const
{
    return QAnyStringView::equal(QUtf8StringView(utf8(field)), text);
}

QVariant PackedRow::value(const TableDef &def, int field) const
{
    const FieldKind kind = def.fields[size_t(field)].kind;
    if (kind == FieldKind::AutoInc)
        return m_key < 0 ? QVariant() : QVariant(m_key);
    const QByteArrayView stored = utf8(field);
    if (stored.isEmpty())
        return QVariant();
    if (kind == FieldKind::Boolean)
        return QVariant(stored.front() == '1');
    return QVariant(QString::fromUtf8(stored));
}

PackedRow::Arena::Place PackedRow::Arena::place(size_t bytes)
{
    bytes = (bytes + kEndAlignment - 1) / kEndAlignment * kEndAlignment;
    if (bytes > kBlockSize / 4)
        return ownPlace(bytes);
    if (!m_block || kBlockSize - m_used < bytes) {
        m_block = allocateBlock();
        m_used = 0;
    }
    char *at = m_block.get() + m_used;
    m_used += bytes;
    return {m_block, at};
}

PackedRow::Builder::Builder(qsizetype fields, Arena *arena)
    : m_arena(arena)
{
    m_ends.reserve(size_t(fields));
}

PackedRow PackedRow::Builder::take()
{
    const size_t endsSize = m_ends.size() * sizeof(quint32);
    const size_t total = endsSize + size_t(m_bytes.size());
    Arena::Place place = m_arena ? m_arena->place(total) : ownPlace(total);
    char *at = place.at;
    PackedRow row;
    row.m_storage = std::move(place.block);
    if (endsSize > 0)
        std::memcpy(at, m_ends.data(), endsSize);
    if (!m_bytes.isEmpty())
        std::memcpy(at + endsSize, m_bytes.constData(), size_t(m_bytes.size()));
    row.m_ends = reinterpret_cast<const quint32 *>(at);
    row.m_bytes = at + endsSize;
    row.m_fields = quint32(m_ends.size());
    row.m_size = quint32(m_bytes.size());
    m_ends.clear();
    m_bytes.truncate(0);
    return row;
}

void PackedRow::Builder::appendUtf8(QByteArrayView bytes)
{
    m_bytes.append(bytes);
    close();
}

void PackedRow::Builder::appendText(QStringView text)
{
    // Half a surrogate pair (a text cut at its field's width) has always
    // been stored as "?", which the encoder would write as U+FFFD.
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); })) {
        m_bytes.append(text.toUtf8());
        close();
        return;
    }
    // Never more than three bytes a UTF-16 unit.
    const qsizetype start = m_bytes.size();
    m_bytes.resize(start + 3 * text.size());
    char *begin = m_bytes.data();
    const char *end = m_utf8.appendToBuffer(begin + start, text);
    m_bytes.truncate(end - begin);
    close();
}

void PackedRow::Builder::appendBoolean(bool value)
{
    m_bytes.append(value ? '1' : '0');
    close();
}

void PackedRow::Builder::appendValue(const FieldDef &field, const QVariant &value)
{
    if (value.isNull())
        appendNull();
    else if (field.kind == FieldKind::Boolean)
        appendBoolean(value.toBool());
    else if (value.typeId() == QMetaType::QString)
        appendText(*static_cast<const QString *>(value.constData()));
    else
        appendText(value.toString());
}

} // namespace korvex
