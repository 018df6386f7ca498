#include "import/InterchangeFile.h"

#include "platform/AtomicWrite.h"
#include "platform/ModuleError.h"
#include "platform/TextFile.h"
#include "platform/Win1250.h"
#include "platform/WinPath.h"

#include <QFile>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace korvex {

const QString &InterchangeSeparator()
{
    static const QString separator(70, u'-');
    return separator;
}

void InterchangeWriter::add(InterchangeRecord record)
{
    // The file grows to megabytes; growing it by doubling keeps the copies
    // few.
    qsizetype need = m_bytes.size() + 2 * kInterchangeLines + InterchangeSeparator().size();
    for (const QString &value : record)
        need += value.size();
    if (need > m_bytes.capacity())
        m_bytes.reserve(std::max(need, 2 * m_bytes.capacity()));
    for (QString &value : record) {
        // The record is positional: a line break inside a host text would
        // shift every following line, so each break becomes one blank.
        if (value.contains(u'\r') || value.contains(u'\n')) {
            value.replace(u"\r\n"_s, u" "_s);
            value.replace(u'\r', u' ');
            value.replace(u'\n', u' ');
        }
        const qsizetype start = m_bytes.size();
        if (!Win1250::appendEncoded(m_bytes, value))
            value = Win1250::decode(std::string_view(m_bytes.constData() + start, size_t(m_bytes.size() - start)));
        m_bytes += "\r\n";
    }
    Win1250::appendEncoded(m_bytes, InterchangeSeparator());
    m_bytes += "\r\n";
    m_records.push_back(std::move(record));
}

void InterchangeWriter::write(const QString &path) const
{
    WriteFileAtomically(path, m_bytes);
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
