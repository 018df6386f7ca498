#include "import/InterchangeFile.h"

#include "platform/ModuleError.h"
#include "platform/TextFile.h"
#include "platform/Win1250.h"
#include "platform/WinPath.h"

#include <QFile>

#include <utility>

using namespace Qt::StringLiterals;

namespace korvex {

const QString &InterchangeSeparator()
{
    static const QString separator(70, u'-');
    return separator;
}

namespace {

// The file reaches megabytes; it goes to disk in pieces of this size, so
// that its bytes are never all in memory.
constexpr qsizetype kChunkSize = 128 * 1024;

const QByteArray &separatorBytes()
{
    static const QByteArray bytes = Win1250::encode(InterchangeSeparator());
    return bytes;
}

} // namespace

InterchangeWriter::InterchangeWriter(const QString &path)
    : m_file(path)
{
    m_chunk.reserve(kChunkSize);
}

QByteArrayView InterchangeWriter::add(const InterchangeRecord &record)
{
    // An upper bound of the record's bytes: one per character at most.
    qsizetype need = 2 * kInterchangeLines + InterchangeSeparator().size();
    for (const QString &value : record)
        need += value.size();
    if (m_chunk.size() + need > m_chunk.capacity()) {
        writeChunk();
        if (need > m_chunk.capacity())
            m_chunk.reserve(need);
    }
    const qsizetype start = m_chunk.size();
    for (const QString &value : record) {
        // The record is positional: a line break inside a host text would
        // shift every following line, so each break becomes one blank.
        Win1250::appendEncodedLine(m_chunk, value);
        m_chunk += "\r\n";
    }
    const qsizetype end = m_chunk.size();
    m_chunk += separatorBytes();
    m_chunk += "\r\n";
    ++m_count;
    // The chunk has room for the whole record: its bytes stay in place.
    return QByteArrayView(m_chunk).sliced(start, end - start);
}

void InterchangeWriter::writeChunk()
{
    m_file.write(m_chunk);
    m_chunk.truncate(0);
}

void InterchangeWriter::commit()
{
    writeChunk();
    m_file.commit();
}

InterchangeRecords ReadInterchangeFile(const QString &path)
{
    QFile file(WinPath::resolve(path));
    if (!file.open(QIODevice::ReadOnly))
        throw ModuleError(u"Soubor \"%1\" nelze otevřít"_s.arg(path));
    const QByteArray bytes = file.readAll();
    const QByteArray &separator = separatorBytes();

    InterchangeRecords records;
    QByteArray record;
    int lineInRecord = 0;
    const bool whole = TextFile::forEachLine(bytes, [&](std::string_view line) {
        if (lineInRecord < kInterchangeValues) {
            record.append(line.data(), qsizetype(line.size()));
            record.append("\r\n");
            ++lineInRecord;
            return true;
        }
        if (line != std::string_view(separator.constData(), size_t(separator.size())))
            return false;
        records.append(std::exchange(record, QByteArray()));
        lineInRecord = 0;
        return true;
    });
    if (!whole || lineInRecord != 0)
        throw ModuleError(u"Soubor \"%1\" je poškozený: záznam na řádku %2 nemá 43 řádků zakončených oddělovačem"_s
                              .arg(path)
                              .arg(qsizetype(records.size()) * kInterchangeLines + 1));
    return records;
}

InterchangeRecord InterchangeRecords::at(size_t record) const
{
    InterchangeValues values;
    values.decode(m_records[record]);
    InterchangeRecord decoded;
    for (int n = 0; n < kInterchangeValues; ++n)
        decoded[size_t(n)] = values[InterchangeLine(n + 1)].toString();
    return decoded;
}

void InterchangeValues::decode(QByteArrayView record)
{
    // One character a byte: the line ends stay where the bytes had them.
    Win1250::decodeInto(m_text, std::string_view(record.data(), size_t(record.size())));
    qsizetype at = 0;
    m_start[0] = 0;
    for (size_t n = 1; n <= size_t(kInterchangeValues); ++n) {
        const qsizetype end = at < m_text.size() ? m_text.indexOf(u'\n', at) : -1;
        if (end < 0)
            throw ModuleError(u"Záznam výměnného souboru nemá %1 hodnot"_s.arg(kInterchangeValues));
        at = end + 1;
        m_start[n] = at;
    }
}

} // namespace korvex
