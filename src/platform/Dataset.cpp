#include "platform/Dataset.h"

#include "platform/ModuleError.h"

#include <algorithm>
#include <exception>

namespace korvex {
namespace {

QString textOf(const QVariant &v)
{
    if (v.isNull())
        return QString();
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return v.toString();
}

bool boolOf(const QVariant &v)
{
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString();
        return s == u"1" || s.compare(u"True", Qt::CaseInsensitive) == 0;
    }
    return v.toBool();
}

} // namespace

QVariant DatasetRecord::value(QStringView field) const
{
    const int i = m_def.indexOf(field);
    if (i < 0)
        throw ModuleError(QStringLiteral("Pole \"%1\" neexistuje").arg(field.toString()));
    return m_values.value(i);
}

QString DatasetRecord::text(QStringView field) const
{
    return textOf(value(field));
}

bool DatasetRecord::boolean(QStringView field) const
{
    return boolOf(value(field));
}

Dataset::Dataset(TableDef def, QObject *parent)
    : QObject(parent)
    , m_def(std::move(def))
{
    for (size_t i = 0; i < m_def.fields.size(); ++i)
        if (m_def.fields[i].kind == FieldKind::AutoInc)
            m_keyField = int(i);
}

Dataset::~Dataset() = default;

void Dataset::open()
{
    if (isOpen())
        return;
    m_store = std::make_unique<SqliteStore>(m_path, m_def);
    try {
        load();
    } catch (...) {
        m_store.reset();
        throw;
    }
    m_state = State::Browse;
    rebuildVisible(-1);
    settleCursor(0);
    m_bof = true;
    notifyData();
    notifyScroll();
}

void Dataset::close()
{
    if (!isOpen())
        return;
    // A pending edit that cannot be posted is reported, but the table is
    // closed all the same: a window must be able to close.
    std::exception_ptr postError;
    try {
        checkBrowseMode();
    } catch (...) {
        postError = std::current_exception();
        m_buffer = Row();
    }
    m_store.reset();
    m_rows.clear();
    m_visible.clear();
    m_cursor = -1;
    m_bof = m_eof = true;
    m_state = State::Inactive;
    notifyData();
    if (postError)
        std::rethrow_exception(postError);
}

void Dataset::load()
{
    auto stored = m_store->loadAll();
    m_rows.clear();
    m_rows.reserve(stored.size());
    for (auto &row : stored)
        m_rows.push_back(std::move(row.values));
}

bool Dataset::passes(const Row &values) const
{
    return !m_filtered || !m_filter || m_filter(DatasetRecord(m_def, values));
}

void Dataset::rebuildVisible(qint64 keepKey)
{
    m_visible.clear();
    m_visible.reserve(m_rows.size());
    int keep = -1;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (!passes(m_rows[i]))
            continue;
        if (keepKey >= 0 && m_rows[i].value(m_keyField).toLongLong() == keepKey)
            keep = int(m_visible.size());
        m_visible.push_back(int(i));
    }
    settleCursor(keep >= 0 ? keep : 0);
}

void Dataset::settleCursor(int position)
{
    const int count = recordCount();
    m_cursor = count == 0 ? -1 : std::clamp(position, 0, count - 1);
    m_bof = count == 0;
    m_eof = count == 0;
}

void Dataset::requireOpen() const
{
    if (!isOpen())
        throw ModuleError(QStringLiteral("Pracovní tabulka není otevřena"));
}

int Dataset::requireField(QStringView name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw ModuleError(QStringLiteral("Pole \"%1\" neexistuje").arg(name.toString()));
    return i;
}

void Dataset::checkBrowseMode()
{
    if (m_state == State::Edit || m_state == State::Insert)
        post();
}

int Dataset::recNo() const
{
    return m_cursor;
}

void Dataset::first()
{
    requireOpen();
    checkBrowseMode();
    settleCursor(0);
    m_bof = true;
    notifyScroll();
}

void Dataset::last()
{
    requireOpen();
    checkBrowseMode();
    settleCursor(recordCount() - 1);
    m_eof = true;
    notifyScroll();
}

void Dataset::next()
{
    requireOpen();
    checkBrowseMode();
    if (m_cursor + 1 < recordCount()) {
        ++m_cursor;
        m_bof = m_eof = false;
    } else {
        m_eof = true;
    }
    notifyScroll();
}

void Dataset::prior()
{
    requireOpen();
    checkBrowseMode();
    if (m_cursor > 0) {
        --m_cursor;
        m_bof = m_eof = false;
    } else {
        m_bof = true;
    }
    notifyScroll();
}

void Dataset::setRecNo(int row)
{
    requireOpen();
    checkBrowseMode();
    settleCursor(row);
    m_bof = m_eof = recordCount() == 0;
    notifyScroll();
}

const Row &Dataset::currentValues() const
{
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer;
    if (m_cursor < 0)
        throw ModuleError(QStringLiteral("Pracovní tabulka nestojí na žádném záznamu"));
    return m_rows[size_t(m_visible[size_t(m_cursor)])];
}

QVariant Dataset::value(int field) const
{
    requireOpen();
    return currentValues().value(field);
}

QVariant Dataset::value(QStringView field) const
{
    return value(requireField(field));
}

QString Dataset::text(QStringView field) const
{
    return textOf(value(field));
}

bool Dataset::boolean(QStringView field) const
{
    return boolOf(value(field));
}

QVariant Dataset::valueAt(int row, int field) const
{
    if (row < 0 || row >= recordCount())
        return QVariant();
    if (row == m_cursor && (m_state == State::Edit || m_state == State::Insert))
        return m_buffer.value(field);
    return m_rows[size_t(m_visible[size_t(row)])].value(field);
}

void Dataset::setValue(QStringView field, const QVariant &value)
{
    setValue(requireField(field), value);
}

void Dataset::setValue(int field, const QVariant &value)
{
    if (m_state != State::Edit && m_state != State::Insert)
        throw ModuleError(QStringLiteral("Pracovní tabulka není ve stavu úprav"));
    const FieldDef &def = m_def.fields[size_t(field)];
    if (def.readOnly || def.kind == FieldKind::AutoInc)
        throw ModuleError(QStringLiteral("Pole \"%1\" nelze měnit").arg(def.name));

    QVariant stored;
    if (def.kind == FieldKind::Boolean) {
        if (!value.isNull() && !(value.typeId() == QMetaType::QString && value.toString().isEmpty()))
            stored = QVariant(boolOf(value));
    } else {
        QString text = textOf(value);
        if (def.assignWidth > 0 && text.size() > def.assignWidth)
            text.truncate(def.assignWidth);
        if (!text.isEmpty())
            stored = QVariant(text);
    }
    m_buffer[field] = stored;
}

void Dataset::edit()
{
    requireOpen();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (m_cursor < 0)
        throw ModuleError(QStringLiteral("Pracovní tabulka nestojí na žádném záznamu"));
    m_buffer = m_rows[size_t(m_visible[size_t(m_cursor)])];
    m_state = State::Edit;
}

void Dataset::append()
{
    requireOpen();
    checkBrowseMode();
    m_buffer = Row(qsizetype(m_def.fields.size()));
    m_state = State::Insert;
}

void Dataset::post()
{
    if (m_state == State::Edit) {
        const int row = m_visible[size_t(m_cursor)];
        // A record posted as it stands is not written again: a re-import
        // posts every vehicle, and most of them have not changed.
        if (m_buffer != m_rows[size_t(row)])
            m_store->update(m_rows[size_t(row)].value(m_keyField).toLongLong(), m_buffer);
        m_rows[size_t(row)] = std::move(m_buffer);
        m_state = State::Browse;
        if (!passes(m_rows[size_t(row)])) {
            m_visible.erase(m_visible.begin() + m_cursor);
            settleCursor(m_cursor);
        }
    } else if (m_state == State::Insert) {
        const qint64 key = m_store->insert(m_buffer);
        m_buffer[m_keyField] = QVariant(key);
        m_rows.push_back(std::move(m_buffer));
        m_state = State::Browse;
        if (passes(m_rows.back())) {
            m_visible.push_back(int(m_rows.size()) - 1);
            settleCursor(recordCount() - 1);
        } else {
            settleCursor(m_cursor);
        }
    } else {
        return;
    }
    m_buffer = Row();
    notifyData();
}

void Dataset::cancel()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    m_buffer = Row();
    m_state = State::Browse;
    notifyData();
}

void Dataset::remove()
{
    requireOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    if (m_cursor < 0)
        throw ModuleError(QStringLiteral("Pracovní tabulka nestojí na žádném záznamu"));
    const int row = m_visible[size_t(m_cursor)];
    m_store->remove(m_rows[size_t(row)].value(m_keyField).toLongLong());
    m_rows.erase(m_rows.begin() + row);
    m_visible.erase(m_visible.begin() + m_cursor);
    for (int &index : m_visible)
        if (index > row)
            --index;
    settleCursor(m_cursor);
    notifyData();
    notifyScroll();
}

void Dataset::setFilter(RecordFilter filter)
{
    m_filter = std::move(filter);
}

void Dataset::setFiltered(bool on)
{
    m_filtered = on;
    if (isOpen())
        refresh();
}

void Dataset::refresh()
{
    requireOpen();
    checkBrowseMode();
    const qint64 key = m_cursor >= 0 ? m_rows[size_t(m_visible[size_t(m_cursor)])].value(m_keyField).toLongLong() : -1;
    rebuildVisible(key);
    notifyData();
    notifyScroll();
}

void Dataset::startTransaction()
{
    requireOpen();
    m_store->begin();
}

void Dataset::commit()
{
    requireOpen();
    checkBrowseMode();
    m_store->commit();
}

void Dataset::rollback()
{
    requireOpen();
    m_buffer = Row();
    m_state = State::Browse;
    // A full disk or an I/O error can make the database drop the transaction
    // by itself; the records in memory must still be reloaded.
    if (m_store->inTransaction())
        m_store->rollback();
    // The records in memory may hold changes the store has just dropped.
    const qint64 key = m_cursor >= 0 ? m_rows[size_t(m_visible[size_t(m_cursor)])].value(m_keyField).toLongLong() : -1;
    load();
    rebuildVisible(key);
    notifyData();
    notifyScroll();
}

void Dataset::disableControls()
{
    ++m_disabled;
}

void Dataset::enableControls()
{
    if (m_disabled == 0 || --m_disabled > 0)
        return;
    if (m_pendingData || m_pendingScroll) {
        m_pendingData = m_pendingScroll = false;
        Q_EMIT dataChanged();
        Q_EMIT afterScroll();
    }
}

Dataset::DisplaySuspended::DisplaySuspended(Dataset &query)
    : m_query(query)
{
    m_query.disableControls();
}

Dataset::DisplaySuspended::~DisplaySuspended()
{
    m_query.enableControls();
}

Dataset::Batch::Batch(Dataset &query)
    : m_query(query)
{
    m_query.startTransaction();
}

Dataset::Batch::~Batch()
{
    if (!m_open)
        return;
    try {
        m_query.cancel();
        m_query.commit();
    } catch (...) {
        try {
            m_query.rollback();
        } catch (...) {
        }
    }
}

void Dataset::Batch::commit()
{
    m_query.commit();
    m_open = false;
}

void Dataset::notifyScroll()
{
    if (controlsDisabled())
        m_pendingScroll = true;
    else
        Q_EMIT afterScroll();
}

void Dataset::notifyData()
{
    if (controlsDisabled())
        m_pendingData = true;
    else
        Q_EMIT dataChanged();
}

} // namespace korvex
