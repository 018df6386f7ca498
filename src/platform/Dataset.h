#pragma once

#include "platform/FieldDef.h"
#include "platform/PackedRow.h"
#include "platform/SqliteStore.h"

#include <QObject>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace korvex {

// Read access to one record, as the record filter sees it.
class DatasetRecord
{
public:
    DatasetRecord(const TableDef &def, const PackedRow &values)
        : m_def(def)
        , m_values(values)
    {
    }
    QVariant value(QStringView field) const;
    QString text(QStringView field) const;
    bool boolean(QStringView field) const;

private:
    const TableDef &m_def;
    const PackedRow &m_values;
};

// The live query over a working table: every record in key order, a cursor,
// an edit buffer and a record filter. Writers put the current record into
// edit state, assign fields and post; a record left in edit state is posted
// when the cursor moves. Views follow through afterScroll and dataChanged,
// which stay silent while display updates are suspended.
class Dataset : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using RecordFilter = std::function<bool(const DatasetRecord &)>;

    explicit Dataset(TableDef def, QObject *parent = nullptr);
    ~Dataset() override;

    const TableDef &definition() const { return m_def; }
    void setFileName(const QString &path) { m_path = path; }
    const QString &fileName() const { return m_path; }

    // Opens the store and stands on the first record. Throws ModuleError.
    void open();
    // Posts a pending edit and releases the store, even when that post fails
    // (its error then goes on); an open transaction is rolled back.
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    void first();
    void prior();
    void next();
    void last();
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    // Records that pass the filter.
    int recordCount() const { return int(m_visible.size()); }
    // Position among them, counted from 0; -1 when there is none.
    int recNo() const;
    void setRecNo(int row);

    void edit();
    void append();
    void post();
    void cancel();
    // Deletes the current record; the cursor then stands on the following one.
    void remove();

    // -1 when absent; names ignore case.
    int fieldIndex(QStringView name) const { return m_def.indexOf(name); }
    // The current record (the edit buffer while editing). Unknown fields throw.
    QVariant value(QStringView field) const;
    QVariant value(int field) const;
    QString text(QStringView field) const;
    bool boolean(QStringView field) const;
    // Text longer than the field object's width is cut. Needs edit state.
    void setValue(QStringView field, const QVariant &value);
    void setValue(int field, const QVariant &value);
    // The same for a text field; a text the record already holds costs no
    // copy, which is what a re-import of unchanged vehicles is made of.
    void setText(int field, QStringView text);

    // A record of the filtered view, without moving the cursor.
    QVariant valueAt(int row, int field) const;

    void setFilter(RecordFilter filter);
    void setFiltered(bool on);
    bool isFiltered() const { return m_filtered; }
    // Evaluates the filter again over all records, keeping the cursor on its
    // record when that still passes.
    void refresh();

    void startTransaction();
    void commit();
    void rollback();

    bool controlsDisabled() const { return m_disabled > 0; }

    // Display updates suspended for as long as the object lives; the views
    // catch up once however the work under it ends. Scopes nest.
    class DisplaySuspended
    {
    public:
        explicit DisplaySuspended(Dataset &query);
        ~DisplaySuspended();
        DisplaySuspended(const DisplaySuspended &) = delete;
        DisplaySuspended &operator=(const DisplaySuspended &) = delete;

    private:
        Dataset &m_query;
    };

    // One transaction for a batch of posts, as fast as one post. What was
    // posted stays also when the batch fails, as it would without the
    // transaction: a scope left without commit() drops the edit in progress
    // (the failing record is not posted a second time) and commits the rest.
    // Should that commit be refused, the transaction is rolled back, so that
    // later posts do not fall into it; the batch's own error is the one that
    // goes on.
    class Batch
    {
    public:
        // Posts an edit in progress first, outside the batch; throws
        // ModuleError.
        explicit Batch(Dataset &query);
        ~Batch();
        // Posts a pending edit and commits; throws ModuleError.
        void commit();
        // Drops the batch: the store and the records in memory are as they
        // were before it. Throws ModuleError.
        void rollback();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        Dataset &m_query;
        bool m_open = true;
    };

Q_SIGNALS:
    void afterScroll();
    void dataChanged();

private:
    void disableControls();
    void enableControls();
    void requireOpen() const;
    int requireField(QStringView name) const;
    void checkBrowseMode();
    void load();
    bool passes(const PackedRow &values) const;
    void rebuildVisible(qint64 keepKey);
    bool editing() const { return m_state == State::Edit || m_state == State::Insert; }
    // The stored record under the cursor, which must stand on one.
    const PackedRow &cursorRow() const;
    // The record being edited as it was before the edit (empty when new).
    const PackedRow &editBase() const;
    QVariant currentValue(int field) const;
    PackedRow editedRow() const;
    const FieldDef &writableField(int field) const;
    void assign(int field, bool unchanged, QVariant stored);
    bool hasChanges() const;
    void dropChanges();
    void notifyScroll();
    void notifyData();
    void settleCursor(int position);

    TableDef m_def;
    QString m_path;
    std::unique_ptr<SqliteStore> m_store;

    std::vector<PackedRow> m_rows; // every record, in key order
    std::vector<int> m_visible;  // indices into m_rows that pass the filter
    int m_cursor = -1;           // index into m_visible
    bool m_bof = true;
    bool m_eof = true;

    State m_state = State::Inactive;
    // The edit buffer: the values assigned that differ from the record as
    // it was, by field. An edit then costs nothing until a value changes,
    // and a post without a change writes nothing.
    std::vector<std::optional<QVariant>> m_changes;

    RecordFilter m_filter;
    bool m_filtered = false;

    int m_disabled = 0;
    bool m_pendingData = false;
    bool m_pendingScroll = false;
};

} // namespace korvex
