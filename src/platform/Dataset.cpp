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
    return m_values.value(m_def, i);
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
    , m_changes(m_def.fields.size())
{
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
        dropChanges();
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
    m_rows = m_store->loadAll();
}

bool Dataset::passes(const PackedRow &values) const
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
        if (keepKey >= 0 && m_rows[i].key() == keepKey)
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
    if (editing())
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

const PackedRow &Dataset::cursorRow() const
{
    return m_rows[size_t(m_visible[size_t(m_cursor)])];
}

const PackedRow &Dataset::editBase() const
{
    static const PackedRow none;
    return m_state == State::Edit ? cursorRow() : none;
}

QVariant Dataset::currentValue(int field) const
{
    if (editing()) {
        const std::optional<QVariant> &changed = m_changes[size_t(field)];
        return changed ? *changed : editBase().value(m_def, field);
    }
    if (m_cursor < 0)
        throw ModuleError(QStringLiteral("Pracovní tabulka nestojí na žádném záznamu"));
    return cursorRow().value(m_def, field);
}

PackedRow Dataset::editedRow() const
{
    const PackedRow &base = editBase();
    PackedRow::Builder row(qsizetype(m_def.fields.size()));
    for (size_t i = 0; i < m_def.fields.size(); ++i) {
        if (m_changes[i])
            row.appendValue(m_def.fields[i], *m_changes[i]);
        else
            row.appendUtf8(base.utf8(int(i)));
    }
    PackedRow edited = row.take();
    edited.setKey(base.key());
    return edited;
}

// Whether a field holds a value the record did not hold before the edit.
bool Dataset::hasChanges() const
{
    return std::any_of(m_changes.begin(), m_changes.end(), [](const auto &c) { return c.has_value(); });
}

void Dataset::dropChanges()
{
    for (auto &change : m_changes)
        change.reset();
}

QVariant Dataset::value(int field) const
{
    requireOpen();
    if (field < 0 || size_t(field) >= m_def.fields.size())
        return QVariant();
    return currentValue(field);
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
    if (row < 0 || row >= recordCount() || field < 0 || size_t(field) >= m_def.fields.size())
        return QVariant();
    if (row == m_cursor && editing())
        return currentValue(field);
    return m_rows[size_t(m_visible[size_t(row)])].value(m_def, field);
}

void Dataset::setValue(QStringView field, const QVariant &value)
{
    setValue(requireField(field), value);
}

const FieldDef &Dataset::writableField(int field) const
{
    if (!editing())
        throw ModuleError(QStringLiteral("Pracovní tabulka není ve stavu úprav"));
    const FieldDef &def = m_def.fields[size_t(field)];
    if (def.readOnly || def.kind == FieldKind::AutoInc)
        throw ModuleError(QStringLiteral("Pole \"%1\" nelze měnit").arg(def.name));
    return def;
}

void Dataset::setValue(int field, const QVariant &value)
{
    const FieldDef &def = writableField(field);
    if (def.kind == FieldKind::Boolean) {
        QVariant stored;
        if (!value.isNull() && !(value.typeId() == QMetaType::QString && value.toString().isEmpty()))
            stored = QVariant(boolOf(value));
        const bool unchanged = editBase().holds(field, stored.isNull() ? u"" : stored.toBool() ? u"1" : u"0");
        assign(field, unchanged, std::move(stored));
        return;
    }
    setText(field, textOf(value));
}

void Dataset::setText(int field, QStringView text)
{
    const FieldDef &def = writableField(field);
    if (def.kind == FieldKind::Boolean) {
        setValue(field, text.toString());
        return;
    }
    if (def.assignWidth > 0 && text.size() > def.assignWidth)
        text.truncate(def.assignWidth);
    if (editBase().holds(field, text))
        assign(field, true, QVariant());
    else
        assign(field, false, text.isEmpty() ? QVariant() : QVariant(text.toString()));
}

// A value the record already holds is no change; assigning it after another
// one takes that change back.
void Dataset::assign(int field, bool unchanged, QVariant stored)
{
    if (unchanged)
        m_changes[size_t(field)].reset();
    else
        m_changes[size_t(field)] = std::move(stored);
}

void Dataset::edit()
{
    requireOpen();
    if (editing())
        return;
    if (m_cursor < 0)
        throw ModuleError(QStringLiteral("Pracovní tabulka nestojí na žádném záznamu"));
    m_state = State::Edit;
}

void Dataset::append()
{
    requireOpen();
    checkBrowseMode();
    m_state = State::Insert;
}

void Dataset::post()
{
    if (m_state == State::Edit) {
        const int row = m_visible[size_t(m_cursor)];
        // A record posted as it stands is not written again: a re-import
        // posts every vehicle, and most of them have not changed.
        if (hasChanges()) {
            PackedRow edited = editedRow();
            m_store->update(edited);
            m_rows[size_t(row)] = std::move(edited);
        }
        m_state = State::Browse;
        if (!passes(m_rows[size_t(row)])) {
            m_visible.erase(m_visible.begin() + m_cursor);
            settleCursor(m_cursor);
        }
    } else if (m_state == State::Insert) {
        PackedRow inserted = editedRow();
        inserted.setKey(m_store->insert(inserted));
        m_rows.push_back(std::move(inserted));
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
    dropChanges();
    notifyData();
}

void Dataset::cancel()
{
    if (!editing())
        return;
    dropChanges();
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
    m_store->remove(m_rows[size_t(row)].key());
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
    const bool was = m_filtered;
    m_filtered = on;
    if (!isOpen())
        return;
    // The edit in progress is posted under the new setting, so that it stays
    // in view; a refused post leaves the old setting, which the view still
    // shows.
    try {
        refresh();
    } catch (...) {
        m_filtered = was;
        throw;
    }
}

void Dataset::refresh()
{
    requireOpen();
    checkBrowseMode();
    const qint64 key = m_cursor >= 0 ? cursorRow().key() : -1;
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
    dropChanges();
    m_state = State::Browse;
    // A full disk or an I/O error can make the database drop the transaction
    // by itself; the records in memory must still be reloaded.
    if (m_store->inTransaction())
        m_store->rollback();
    // The records in memory may hold changes the store has just dropped.
    const qint64 key = m_cursor >= 0 ? cursorRow().key() : -1;
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
    // An edit in progress is not the batch's: it is posted first, so that a
    // batch rolled back does not take it along.
    m_query.checkBrowseMode();
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

void Dataset::Batch::rollback()
{
    m_open = false;
    m_query.rollback();
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
