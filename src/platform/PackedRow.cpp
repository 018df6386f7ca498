#include "platform/PackedRow.h"

#include <QAnyStringView>

#include <algorithm>

namespace korvex {

QByteArrayView PackedRow::utf8(int field) const
{
    if (field < 0 || size_t(field) >= m_ends.size())
        return {};
    const quint32 start = field == 0 ? 0 : m_ends[size_t(field) - 1];
    return QByteArrayView(m_bytes).sliced(start, m_ends[size_t(field)] - start);
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

PackedRow::Builder::Builder(qsizetype fields, qsizetype sizeHint)
{
    m_row.m_ends.reserve(size_t(fields));
    m_row.m_bytes.reserve(sizeHint);
}

PackedRow PackedRow::Builder::take()
{
    // Room made for the worst case of UTF-8, or by growing, is given back:
    // the row is kept for as long as the table is open.
    QByteArray &bytes = m_row.m_bytes;
    if (bytes.capacity() > bytes.size() + bytes.size() / 4 + 64)
        bytes.squeeze();
    return std::move(m_row);
}

void PackedRow::Builder::appendUtf8(QByteArrayView bytes)
{
    m_row.m_bytes.append(bytes);
    close();
}

void PackedRow::Builder::appendText(QStringView text)
{
    // Half a surrogate pair (a text cut at its field's width) has always
    // been stored as "?", which the encoder would write as U+FFFD.
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); })) {
        m_row.m_bytes.append(text.toUtf8());
        close();
        return;
    }
    // Never more than three bytes a UTF-16 unit.
    const qsizetype start = m_row.m_bytes.size();
    m_row.m_bytes.resize(start + 3 * text.size());
    char *begin = m_row.m_bytes.data();
    const char *end = m_utf8.appendToBuffer(begin + start, text);
    m_row.m_bytes.truncate(end - begin);
    close();
}

void PackedRow::Builder::appendBoolean(bool value)
{
    m_row.m_bytes.append(value ? '1' : '0');
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
