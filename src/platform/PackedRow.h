#pragma once

#include "platform/FieldDef.h"

#include <QByteArray>
#include <QStringEncoder>
#include <QVariant>

#include <vector>

namespace korvex {

// The values of one stored record in one block: the UTF-8 of all its fields
// one after the other, as the store keeps them, with the end of each beside
// it. Ten thousand vehicles then cost two allocations a record rather than
// one a value, half the memory of UTF-16, and nothing to convert between
// the store and memory. Booleans are held as "0" or "1"; an empty text and
// a missing value are both null, as the store keeps them. The
// auto-increment field is the key, held apart. A row without fields reads
// as null everywhere.
class PackedRow
{
public:
    // Builds a row field by field, in field order.
    class Builder;

    qint64 key() const { return m_key; }
    void setKey(qint64 key) { m_key = key; }

    // The stored bytes of a field: "0"/"1" for a boolean, empty for null and
    // for the key.
    QByteArrayView utf8(int field) const;
    qsizetype size() const { return m_bytes.size(); }
    // Whether the field holds exactly this text ("0"/"1" for a boolean, empty
    // for null).
    bool holds(int field, QStringView text) const;
    // The value as the dataset hands it out: QString, bool or the key as a
    // qint64; null when unset.
    QVariant value(const TableDef &def, int field) const;

private:
    QByteArray m_bytes;
    std::vector<quint32> m_ends;
    qint64 m_key = -1;
};

class PackedRow::Builder
{
public:
    explicit Builder(qsizetype fields, qsizetype sizeHint = 0);
    void appendUtf8(QByteArrayView bytes);
    void appendText(QStringView text);
    void appendNull() { close(); }
    void appendBoolean(bool value);
    // A value of the field as the dataset holds it: null, text or boolean.
    void appendValue(const FieldDef &field, const QVariant &value);
    PackedRow take();

private:
    void close() { m_row.m_ends.push_back(quint32(m_row.m_bytes.size())); }
    PackedRow m_row;
    QStringEncoder m_utf8{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};

} // namespace korvex
