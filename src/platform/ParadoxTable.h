#pragma once

#include "platform/ParadoxMemoFile.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace korvex {

// One field of a Paradox table as its header describes it.
struct ParadoxField
{
    QString name;
    std::uint8_t type = 0;
    int size = 0;
    int offset = 0;   // within the record
    int decimals = 0; // BCD fields: digits after the point
};

// A Paradox data file (.DB) read whole into memory and checked before use:
// header, field descriptors and names, the chain of data blocks. Records are
// in the order of the block chain. Never writes; every offset is checked, so
// damaged files raise ModuleError naming the file instead of reading out of
// bounds. Memo and BLOb fields are read from the memo file (.MB) beside it.
class ParadoxTable
{
public:
    // Memory for the bytes of a table and of its memo file, to be read into
    // again: a table opened after another of its kind then reuses the room.
    struct Room
    {
        QByteArray data;
        QByteArray memo;
    };

    // Opens path read-only (a native path), and its .MB file when the table
    // has memo or BLOb fields, reading them into the room given.
    static ParadoxTable open(const QString &path, Room room = {});
    // Gives the table's memory back for another open; the table is then
    // empty and must not be used.
    Room release();

    // Parses file contents; memo is the memo file's contents, if any.
    // displayName names the file in error texts.
    static ParadoxTable parse(QByteArray data, std::optional<QByteArray> memo, const QString &displayName);

    const QString &displayName() const { return m_name; }
    const std::vector<ParadoxField> &fields() const { return m_fields; }
    int recordCount() const { return int(m_records.size()); }

    // Field names are matched without regard to case; -1 when absent.
    int fieldIndex(QStringView name) const;

    // The field's text by the fixed rules of the reader (see ParadoxFormat).
    QString text(int record, int field) const;
    std::optional<bool> logical(int record, int field) const;

    // The field's bytes within the record.
    std::string_view raw(int record, int field) const;

private:
    ParadoxTable() = default;

    void parseHeader();
    bool needsMemo() const;
    void walkBlocks();
    [[noreturn]] void fail(const QString &what) const;

    QString m_name;
    QByteArray m_data;
    std::optional<ParadoxMemoFile> m_memo;
    std::vector<ParadoxField> m_fields;
    std::vector<std::uint32_t> m_records; // offsets of the records in m_data
    int m_recordSize = 0;
    int m_headerSize = 0;
    int m_blockSize = 0;
    std::uint16_t m_firstBlock = 0;
    std::int32_t m_headerRecords = 0;
};

} // namespace korvex
