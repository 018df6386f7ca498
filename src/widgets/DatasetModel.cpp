#include "widgets/DatasetModel.h"

#include "platform/Dataset.h"

namespace korvex {
namespace {

bool isPlaceholder(QChar c)
{
    static const QString placeholders = QStringLiteral("90#LlAaCc");
    return placeholders.contains(c);
}

} // namespace

DatasetModel::DatasetModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void DatasetModel::setDataset(Dataset *dataset)
{
    if (m_dataset)
        disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = dataset;
    if (m_dataset)
        connect(m_dataset, &Dataset::dataChanged, this, &DatasetModel::reset);
    reset();
}

void DatasetModel::setColumns(std::vector<DatasetColumn> columns)
{
    beginResetModel();
    m_columns = std::move(columns);
    endResetModel();
    reset();
}

void DatasetModel::reset()
{
    beginResetModel();
    m_fields.clear();
    for (const DatasetColumn &c : m_columns)
        m_fields.push_back(m_dataset ? m_dataset->fieldIndex(c.field) : -1);
    m_rows = m_dataset && m_dataset->isOpen() ? m_dataset->recordCount() : 0;
    endResetModel();
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) || !m_dataset)
        return QVariant();
    const DatasetColumn &column = m_columns[size_t(index.column())];
    switch (role) {
    case Qt::DisplayRole: {
        const int field = m_fields[size_t(index.column())];
        if (field < 0)
            return QString();
        const QVariant value = m_dataset->valueAt(index.row(), field);
        QString text = value.typeId() == QMetaType::Bool ? (value.toBool() ? QStringLiteral("True") : QStringLiteral("False"))
                                                         : value.toString();
        return column.displayFormat.isEmpty() || text.isEmpty() ? text : applyMask(text, column.displayFormat);
    }
    case Qt::TextAlignmentRole:
        return QVariant(column.alignment);
    default:
        return QVariant();
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= int(m_columns.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_columns[size_t(section)].caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns[size_t(section)].titleAlignment);
    return QVariant();
}

QString DatasetModel::applyMask(const QString &text, const QString &mask)
{
    const QString pattern = mask.section(u';', 0, 0);
    QString prefix, suffix;
    bool seenPlaceholder = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        QChar c = pattern[i];
        if (c == u'!' || c == u'>' || c == u'<')
            continue;
        if (c == u'\\' && i + 1 < pattern.size()) {
            c = pattern[++i];
        } else if (isPlaceholder(c)) {
            seenPlaceholder = true;
            suffix.clear();
            continue;
        }
        (seenPlaceholder ? suffix : prefix) += c;
    }
    return prefix + text + suffix;
}

} // namespace korvex
