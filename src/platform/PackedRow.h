#pragma once

#include "platform/FieldDef.h"

#include <QString>
#include <QStringDecoder>
#include <QVariant>

#include <vector>

namespace korvex {

// The values of one stored record in one block: the texts of all its fields
// one after the other in a single string, with the end of each beside it. A
// table of ten thousand vehicles then costs two allocations a record rather
// than one a value, which is what loading and importing it is made of.
// Booleans are held as "0" or "1"; an empty text and a missing value are
// both null, as the store keeps them. The auto-increment field is the key,
// held apart. A row without fields reads as null everywhere.
class PackedRow
{
public:
    PackedRow() = default;

    // Builds a row field by field, in field order.
    class Builder;

    qint64 key() const { return m_key; }
    void setKey(qint64 key) { m_key = key; }

    // The stored text of a field: the text, "0"/"1" for a boolean, empty for
    // null and for the key.
    QStringView text(int field) const;
    qsizetype textSize() const { return m_text.size(); }
    // The value as the dataset hands it out: QString, bool or the key as a
    // qint64; null when unset.
    QVariant value(const TableDef &def, int field) const;

private:
    QString m_text;
    std::vector<quint32> m_ends;
    qint64 m_key = -1;
};

class PackedRow::Builder
{
public:
    explicit Builder(qsizetype fields, qsizetype textSizeHint = 0);
    void appendText(QStringView text) { m_row.m_text += text; close(); }
    void appendNull() { close(); }
    void appendBoolean(bool value) { m_row.m_text += value ? u'1' : u'0'; close(); }
    // A value of the field as the dataset holds it: null, text or boolean.
    void appendValue(const FieldDef &field, const QVariant &value);
    // UTF-8 as the store keeps it.
    void appendUtf8(QByteArrayView bytes);
    PackedRow take() { return std::move(m_row); }

private:
    void close() { m_row.m_ends.push_back(quint32(m_row.m_text.size())); }
    PackedRow m_row;
    QStringDecoder m_utf8{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
};

} // namespace korvex
