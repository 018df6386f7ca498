#include "platform/HostTable.h"

#include "platform/DatabaseSession.h"
#include "platform/ModuleError.h"
#include "platform/ParadoxFormat.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace korvex {
namespace {

QString indexFieldName(const QString &indexName)
{
    static const QString prefix = QStringLiteral("Index_");
    return indexName.startsWith(prefix, Qt::CaseInsensitive) ? indexName.mid(prefix.size()) : indexName;
}

bool isNumeric(std::uint8_t type)
{
    switch (type) {
    case Paradox::Short: case Paradox::Long: case Paradox::AutoInc:
    case Paradox::Number: case Paradox::Currency: case Paradox::Date:
    case Paradox::Time: case Paradox::Timestamp:
        return true;
    default:
        return false;
    }
}

// Sort key of a numeric field: NULL first, then by value.
double numericKey(std::uint8_t type, std::string_view bytes)
{
    if (type == Paradox::Number || type == Paradox::Currency || type == Paradox::Timestamp)
        return Paradox::numberValue(bytes).value_or(-1e308);
    const auto v = Paradox::integerValue(bytes);
    return v ? double(*v) : -1e308;
}

} // namespace

HostTable::HostTable(const DatabaseSession &session)
    : m_session(session)
{
}

void HostTable::open(const QString &alias, const QString &fileName, const QString &indexName)
{
    close();
    ParadoxTable table = ParadoxTable::open(m_session.aliasFolder(alias) + fileName, std::move(m_room));

    std::vector<int> order(size_t(table.recordCount()));
    std::iota(order.begin(), order.end(), 0);
    int keyField = -1;
    if (!indexName.isEmpty()) {
        const int field = table.fieldIndex(indexFieldName(indexName));
        if (field < 0)
            throw ModuleError(QStringLiteral("Tabulka \"%1\" nemá index \"%2\"").arg(fileName, indexName));
        const std::uint8_t type = table.fields()[size_t(field)].type;
        if (isNumeric(type)) {
            std::vector<double> values(order.size());
            for (int r : order)
                values[size_t(r)] = numericKey(type, table.raw(r, field));
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return values[size_t(a)] < values[size_t(b)]; });
        } else {
            // Text keys sort by their code-page bytes, as the host's index does.
            std::stable_sort(order.begin(), order.end(),
                             [&](int a, int b) { return table.raw(a, field) < table.raw(b, field); });
        }
        keyField = field;
    }
    m_table.emplace(std::move(table));
    m_order = std::move(order);
    m_keyField = keyField;
    m_position = 0;
}

void HostTable::close()
{
    if (m_table)
        m_room = m_table->release();
    m_table.reset();
    m_order.clear();
    m_keyField = -1;
    m_keys.clear();
    m_position = 0;
}

int HostTable::recordCount() const
{
    return m_table ? m_table->recordCount() : 0;
}

void HostTable::first()
{
    m_position = 0;
}

void HostTable::next()
{
    if (m_position < int(m_order.size()))
        ++m_position;
}

bool HostTable::eof() const
{
    return m_position >= int(m_order.size());
}

bool HostTable::findKey(const QString &key)
{
    // Made on the first look-up: a table that is only walked never needs it.
    // Kept only once whole, so that a key that cannot be read fails the next
    // look-up too rather than leaving an index of some keys.
    if (m_keys.isEmpty() && m_keyField >= 0) {
        QHash<QString, int> keys;
        keys.reserve(qsizetype(m_order.size()));
        for (size_t pos = m_order.size(); pos-- > 0;)
            keys.insert(m_table->text(m_order[pos], m_keyField), int(pos));
        m_keys = std::move(keys);
    }
    const auto it = m_keys.constFind(key);
    if (it == m_keys.constEnd())
        return false;
    m_position = it.value();
    return true;
}

int HostTable::fieldIndex(QStringView name) const
{
    return m_table ? m_table->fieldIndex(name) : -1;
}

int HostTable::requireField(QStringView name) const
{
    const int field = fieldIndex(name);
    if (field < 0)
        throw ModuleError(QStringLiteral("Tabulka \"%1\" nemá pole \"%2\"")
                              .arg(m_table ? m_table->displayName() : QString(), name.toString()));
    return field;
}

int HostTable::currentRecord() const
{
    if (!m_table || eof())
        throw ModuleError(QStringLiteral("Tabulka není otevřena nebo nestojí na záznamu"));
    return m_order[size_t(m_position)];
}

QString HostTable::text(QStringView field) const
{
    return text(requireField(field));
}

QString HostTable::text(int field) const
{
    return m_table->text(currentRecord(), field);
}

bool HostTable::boolean(QStringView field) const
{
    return boolean(requireField(field));
}

bool HostTable::boolean(int field) const
{
    return m_table->logical(currentRecord(), field).value_or(false);
}

} // namespace korvex
