#include "ParadoxIndexWriter.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <stdexcept>

namespace korvex::fixture {
namespace {

constexpr int kHeaderSize = 0x800;
constexpr int kBlockHeader = 6;
constexpr int kIndexTail = 6; // block number, statistics, unused
constexpr int kTableNameSize = 261;

enum FileType : char {
    PrimaryIndex = 1,
    SecondaryTable = 3, // .Xnn, not incrementing
    SecondaryIndex = 4, // .Ynn
};

void putLe16(QByteArray &b, int at, int v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

void putLe32(QByteArray &b, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A short as record data: big-endian with the sign bit flipped.
QByteArray dataShort(int v)
{
    const int u = (v & 0xFFFF) ^ 0x8000;
    return QByteArray(1, char(u >> 8)) + char(u & 0xFF);
}

struct Layout
{
    std::vector<PxColumn> fields;
    int recordSize = 0;
    int blockSize = 0;
    int perBlock() const { return (blockSize - kBlockHeader) / recordSize; }
};

Layout layoutOf(std::vector<PxColumn> fields, int extra, int blockSizeCode)
{
    Layout l;
    l.fields = std::move(fields);
    for (const PxColumn &c : l.fields)
        l.recordSize += c.size;
    l.recordSize += extra;
    l.blockSize = blockSizeCode * 0x400;
    return l;
}

// The common part of the header (offsets 0x00 to 0x57) and the field
// descriptors, for a file of the given type.
QByteArray header(FileType type, const Layout &l, int blockSizeCode, int records, int keyFields, int version)
{
    QByteArray h(kHeaderSize, '\0');
    const int blocks = records ? (records + l.perBlock() - 1) / l.perBlock() : 0;
    putLe16(h, 0x00, l.recordSize);
    putLe16(h, 0x02, kHeaderSize);
    h[0x04] = type;
    h[0x05] = char(blockSizeCode);
    putLe32(h, 0x06, quint32(records));
    putLe16(h, 0x0A, blocks);
    putLe16(h, 0x0C, blocks);
    putLe16(h, 0x0E, blocks ? 1 : 0);
    putLe16(h, 0x10, blocks);
    putLe16(h, 0x21, int(l.fields.size()));
    putLe16(h, 0x23, keyFields);
    h[0x39] = char(version);
    putLe16(h, 0x3A, blocks);
    putLe16(h, 0x3E, 0x0F1F);

    // Index files keep their descriptors right after the common part; an
    // .Xnn file is laid out as a data table of version 4 and later.
    int pos = 0x58;
    if (type == SecondaryTable) {
        putLe32(h, 0x25, 0xFF00FF00u);
        putLe16(h, 0x58, 0x0100 | version);
        putLe16(h, 0x5A, 0x0100 | version);
        putLe16(h, 0x64, int(l.fields.size()) + 1);
        pos = 0x78;
    } else {
        putLe16(h, 0x1E, blocks ? 1 : 0); // root block
        h[0x20] = char(blocks ? 1 : 0); // index levels
    }
    for (const PxColumn &c : l.fields) {
        h[pos++] = char(c.type);
        h[pos++] = char(c.type == 0x17 ? c.decimals : c.size);
    }
    pos += 4; // table name pointer
    if (type == SecondaryTable)
        pos += 4 * int(l.fields.size());
    pos += kTableNameSize;
    if (type == SecondaryTable) {
        for (const PxColumn &c : l.fields) {
            h.replace(pos, int(c.name.size()), c.name);
            pos += int(c.name.size()) + 1;
        }
        for (int i = 0; i < int(l.fields.size()); ++i, pos += 2)
            putLe16(h, pos, i + 1);
    }
    return h;
}

// The records in data blocks, each block chained to its neighbours.
QByteArray blocks(const Layout &l, const std::vector<QByteArray> &records)
{
    QByteArray out;
    const int perBlock = l.perBlock();
    const int count = (int(records.size()) + perBlock - 1) / perBlock;
    for (int b = 0; b < count; ++b) {
        QByteArray block(l.blockSize, '\0');
        putLe16(block, 0, b + 1 < count ? b + 2 : 0);
        putLe16(block, 2, b);
        const int first = b * perBlock;
        const int n = std::min(perBlock, int(records.size()) - first);
        putLe16(block, 4, (n - 1) * l.recordSize);
        for (int r = 0; r < n; ++r)
            block.replace(kBlockHeader + r * l.recordSize, l.recordSize, records[size_t(first + r)]);
        out += block;
    }
    return out;
}

// One index entry per data block: the leading `keySize` bytes of its first
// record, its number and its record count.
std::vector<QByteArray> blockEntries(const std::vector<QByteArray> &records, int perBlock, int keySize)
{
    std::vector<QByteArray> entries;
    for (int first = 0, b = 1; first < int(records.size()); first += perBlock, ++b) {
        const int n = std::min(perBlock, int(records.size()) - first);
        entries.push_back(records[size_t(first)].left(keySize) + dataShort(b) + dataShort(n) + QByteArray(2, '\0'));
    }
    return entries;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QString besideTable(const QString &tablePath, const QString &extension)
{
    const QFileInfo info(tablePath);
    return info.path() + u'/' + info.completeBaseName() + extension;
}

// Writes an index over the blocks of `data` (records of `dataLayout`, keyed
// by its first `keyFields` fields).
void writeBlockIndex(const QString &path, FileType type, const Layout &dataLayout,
    const std::vector<QByteArray> &records, int keyFields, int blockSizeCode, int version)
{
    std::vector<PxColumn> key(dataLayout.fields.begin(), dataLayout.fields.begin() + keyFields);
    const Layout index = layoutOf(key, kIndexTail, blockSizeCode);
    const auto entries = blockEntries(records, dataLayout.perBlock(), index.recordSize - kIndexTail);
    writeFile(path, header(type, index, blockSizeCode, int(entries.size()), 0, version) + blocks(index, entries));
}

} // namespace

void writePrimaryIndex(const PxIndexSource &table)
{
    const Layout data = layoutOf(table.columns, 0, table.blockSizeCode);
    writeBlockIndex(besideTable(table.tablePath, QStringLiteral(".PX")), PrimaryIndex, data, table.records,
        table.keyFields, table.blockSizeCode, table.version);
}

void writeSecondaryIndex(const PxIndexSource &table, int field)
{
    std::vector<int> offsets;
    int offset = 0;
    for (const PxColumn &c : table.columns) {
        offsets.push_back(offset);
        offset += c.size;
    }
    // The field's value followed by the primary key, in that order.
    std::vector<PxColumn> fields { table.columns[size_t(field)] };
    fields.insert(fields.end(), table.columns.begin(), table.columns.begin() + table.keyFields);
    const int keySize = offsets.size() > size_t(table.keyFields) ? offsets[size_t(table.keyFields)] : offset;
    std::vector<QByteArray> records;
    for (const QByteArray &r : table.records)
        records.push_back(r.mid(offsets[size_t(field)], table.columns[size_t(field)].size) + r.left(keySize));
    std::stable_sort(records.begin(), records.end());

    const Layout x = layoutOf(fields, 0, table.blockSizeCode);
    QByteArray head
        = header(SecondaryTable, x, table.blockSizeCode, int(records.size()), int(fields.size()), table.version);
    head[0x15] = char(field + 1);
    const QString number = QStringLiteral("%1").arg(field + 1, 2, 16, QLatin1Char('0')).toUpper();
    writeFile(besideTable(table.tablePath, QStringLiteral(".X") + number), head + blocks(x, records));
    writeBlockIndex(besideTable(table.tablePath, QStringLiteral(".Y") + number), SecondaryIndex, x, records,
        int(fields.size()), table.blockSizeCode, table.version);
}

} // namespace korvex::fixture
