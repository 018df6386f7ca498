#include "import/InterchangeFile.h"

#include "platform/ModuleError.h"
#include "platform/TextFile.h"
#include "platform/Win1250.h"
#include "platform/WinPath.h"

#include <QFile>

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

} // namespace

InterchangeWriter::InterchangeWriter(const QString &path)
    : m_file(path)
{
    m_chunk.reserve(kChunkSize);
}

void InterchangeWriter::add(InterchangeRecord record)
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
    for (QString &value : record) {
        // The record is positional: a line break inside a host text would
        // shift every following line, so each break becomes one blank.
        const qsizetype start = m_chunk.size();
        if (!Win1250::appendEncodedLine(m_chunk, value))
            value = Win1250::decode(std::string_view(m_chunk.constData() + start, size_t(m_chunk.size() - start)));
        m_chunk += "\r\n";
    }
    Win1250::appendEncoded(m_chunk, InterchangeSeparator());
    m_chunk += "\r\n";
    m_records.push_back(std::move(record));
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

std::vector<InterchangeRecord> ReadInterchangeFile(const QString &path)
{
    QFile file(WinPath::resolve(path));
    if (!file.open(QIODevice::ReadOnly))
        throw ModuleError(u"Soubor \"%1\" nelze otevřít"_s.arg(path));
    const QByteArray bytes = file.readAll();
    const QByteArray separator = Win1250::encode(InterchangeSeparator());

    // Values are decoded straight into records.
    std::vector<InterchangeRecord> records;
    records.reserve(size_t(bytes.count('\n') / kInterchangeLines + 1));
    InterchangeRecord record;
    int lineInRecord = 0;
    const bool whole = TextFile::forEachLine(bytes, [&](std::string_view line) {
        if (lineInRecord < kInterchangeValues) {
            record[size_t(lineInRecord++)] = Win1250::decode(line);
            return true;
        }
        if (line != std::string_view(separator.constData(), size_t(separator.size())))
            return false;
        records.push_back(std::move(record));
        record = InterchangeRecord();
        lineInRecord = 0;
        return true;
    });
    if (!whole || lineInRecord != 0)
        throw ModuleError(u"Soubor \"%1\" je poškozený: záznam na řádku %2 nemá 43 řádků zakončených oddělovačem"_s
                              .arg(path)
                              .arg(qsizetype(records.size()) * kInterchangeLines + 1));
    return records;
}

} // namespace korvex
