#pragma once

#include "platform/FieldDef.h"

#include <QByteArray>
#include <QStringEncoder>
#include <QVariant>

#include <memory>
#include <vector>

namespace korvex {

// The values of one stored record in one block: the UTF-8 of all its fields
// one after the other, as the store keeps them, with the end of each beside
// it. Ten thousand vehicles then cost a few large blocks rather than one
// allocation a value, half the memory of UTF-16, and nothing to convert
// between the store and memory. A row never changes once built; an edit
// builds a new one. Booleans are held as "0" or "1"; an empty text and a
// missing value are both null, as the store keeps them. The auto-increment
// field is the key, held apart. A row without fields reads as null
// everywhere.
class PackedRow
{
public:
    // Builds a row field by field, in field order.
    class Builder;
    // Large blocks that the rows of one load share.
    class Arena;

    qint64 key() const { return m_key; }
    void setKey(qint64 key) { m_key = key; }

    // The stored bytes of a field: "0"/"1" for a boolean, empty for null and
    // for the key.
    QByteArrayView utf8(int field) const;
    qsizetype size() const { return m_size; }
    // Whether the field holds exactly this text ("0"/"1" for a boolean, empty
    // for null).
    bool holds(int field, QStringView text) const;
    // The value as the dataset hands it out: QString, bool or the key as a
    // qint64; null when unset.
    QVariant value(const TableDef &def, int field) const;

private:
    std::shared_ptr<const void> m_storage; // holds the ends and the bytes
    const quint32 *m_ends = nullptr;
    const char *m_bytes = nullptr;
    quint32 m_fields = 0;
    quint32 m_size = 0;
    qint64 m_key = -1;
};

class PackedRow::Arena
{
public:
    // Room for bytes that stay in place for as long as a row uses them.
    struct Place
    {
        std::shared_ptr<const void> block;
        char *at;
    };
    Place place(size_t bytes);

private:
    std::shared_ptr<char[]> m_block;
    size_t m_used = 0;
};

class PackedRow::Builder
{
public:
    // Rows taken are kept in the arena when one is given, else each in a
    // block of its own.
    explicit Builder(qsizetype fields, Arena *arena = nullptr);
    void appendUtf8(QByteArrayView bytes);
    void appendText(QStringView text);
    void appendNull() { close(); }
    void appendBoolean(bool value);
    // A value of the field as the dataset holds it: null, text or boolean.
    void appendValue(const FieldDef &field, const QVariant &value);
    // The row built; the builder is then empty for the next one.
    PackedRow take();

private:
    void close() { m_ends.push_back(quint32(m_bytes.size())); }
    Arena *m_arena;
    QByteArray m_bytes;
    std::vector<quint32> m_ends;
    QStringEncoder m_utf8{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};

} // namespace korvex
