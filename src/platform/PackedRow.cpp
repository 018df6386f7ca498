#include "platform/PackedRow.h"

namespace korvex {

PackedRow::Builder::Builder(qsizetype fields, qsizetype textSizeHint)
{
    m_row.m_ends.reserve(size_t(fields));
    m_row.m_text.reserve(textSizeHint);
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

void PackedRow::Builder::appendUtf8(QByteArrayView bytes)
{
    // Never more UTF-16 units than UTF-8 bytes.
    const qsizetype start = m_row.m_text.size();
    m_row.m_text.resize(start + bytes.size());
    QChar *begin = m_row.m_text.data();
    const QChar *end = m_utf8.appendToBuffer(begin + start, bytes);
    m_row.m_text.truncate(end - begin);
    close();
}

QStringView PackedRow::text(int field) const
{
    if (field < 0 || size_t(field) >= m_ends.size())
        return {};
    const quint32 start = field == 0 ? 0 : m_ends[size_t(field) - 1];
    return QStringView(m_text).sliced(start, m_ends[size_t(field)] - start);
}

QVariant PackedRow::value(const TableDef &def, int field) const
{
    const FieldKind kind = def.fields[size_t(field)].kind;
    if (kind == FieldKind::AutoInc)
        return m_key < 0 ? QVariant() : QVariant(m_key);
    const QStringView stored = text(field);
    if (stored.isEmpty())
        return QVariant();
    if (kind == FieldKind::Boolean)
        return QVariant(stored.front() == u'1');
    return QVariant(stored.toString());
}

} // namespace korvex
