#include "InterchangeFile.h"

#include "ModuleError.h"
#include "TextFile.h"
#include "Win1250.h"
#include "WinPath.h"

#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace korvex {

const QString &InterchangeSeparator()
{
    static const QString separator(70, u'-');
    return separator;
}

void InterchangeWriter::add(const InterchangeRecord &record)
{
    for (QString value : record) {
        // The record is positional: a line break inside a host text would
        // shift every following line, so each break becomes one blank.
        value.replace(u"\r\n"_s, u" "_s);
        value.replace(u'\r', u' ');
        value.replace(u'\n', u' ');
        m_bytes += Win1250::encode(value);
        m_bytes += "\r\n";
    }
    m_bytes += Win1250::encode(InterchangeSeparator());
    m_bytes += "\r\n";
    ++m_count;
}

void InterchangeWriter::write(const QString &path) const
{
    QSaveFile file(WinPath::resolve(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(m_bytes) != m_bytes.size() || !file.commit())
        throw ModuleError(u"Soubor \"%1\" nelze zapsat: %2"_s.arg(path, file.errorString()));
}

std::vector<InterchangeRecord> ReadInterchangeFile(const QString &path)
{
    const auto lines = TextFile::readLines(path);
    if (!lines)
        throw ModuleError(u"Soubor \"%1\" nelze otevřít"_s.arg(path));

    std::vector<InterchangeRecord> records;
    records.reserve(size_t(lines->size() / kInterchangeLines));
    for (qsizetype start = 0; start < lines->size(); start += kInterchangeLines) {
        const qsizetype separatorAt = start + kInterchangeValues;
        if (separatorAt >= lines->size() || lines->at(separatorAt) != InterchangeSeparator())
            throw ModuleError(u"Soubor \"%1\" je poškozený: záznam na řádku %2 nemá 43 řádků zakončených oddělovačem"_s
                                  .arg(path)
                                  .arg(start + 1));
        InterchangeRecord record;
        for (int i = 0; i < kInterchangeValues; ++i)
            record[size_t(i)] = lines->at(start + i);
        records.push_back(std::move(record));
    }
    return records;
}

} // namespace korvex
