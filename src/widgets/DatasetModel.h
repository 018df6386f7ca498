#pragma once

#include "platform/Dataset.h"

#include <QAbstractTableModel>
#include <QPointer>

#include <vector>

namespace korvex {

// One column of a grid over a dataset.
struct DatasetColumn
{
    QString caption;
    QString field;
    int width = 64;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QString displayFormat; // an edit mask whose literals frame the text
    Qt::Alignment titleAlignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// A table model over the dataset's filtered records, read only. It follows
// the dataset's data-changed notifications (which stay silent while display
// updates are suspended) with one reset each.
class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DatasetModel(QObject *parent = nullptr);

    void setDataset(Dataset *dataset);
    Dataset *dataset() const { return m_dataset; }
    void setColumns(std::vector<DatasetColumn> columns);
    const std::vector<DatasetColumn> &columns() const { return m_columns; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The text of a value framed by the literals of an edit mask:
    // "!9999999\ \ \km;1;_" frames 123 as "123  km".
    static QString applyMask(const QString &text, const QString &mask);

private:
    void reset();

    QPointer<Dataset> m_dataset;
    std::vector<DatasetColumn> m_columns;
    std::vector<int> m_fields; // field index of each column, -1 when unknown
    int m_rows = 0;
};

} // namespace korvex
