#include "DatasetModel.h"

#include "DataError.h"
#include "DataSource.h"
#include "Dataset.h"

namespace lumo
{

DatasetModel::DatasetModel(DataSource* source, QObject* parent)
    : QAbstractTableModel(parent), m_source(source)
{
    connect(source, &DataSource::datasetChanged, this, [this](Dataset* d) { attach(d); });
    attach(source->dataset());
}

Dataset* DatasetModel::dataset() const
{
    return m_dataset;
}

void DatasetModel::attach(Dataset* dataset)
{
    for (const auto& c : m_connections)
        disconnect(c);
    m_connections.clear();
    m_dataset = dataset;
    if (dataset) {
        m_connections << connect(dataset, &Dataset::rowsReset, this, [this] { reset(); });
        m_connections << connect(dataset, &Dataset::rowsAppended, this, [this](int, int last) {
            if (last < m_rows)
                return;
            beginInsertRows({}, m_rows, last);
            m_rows = last + 1;
            endInsertRows();
        });
        m_connections << connect(dataset, &Dataset::rowRemoved, this, [this](int row) {
            if (row >= m_rows)
                return;
            beginRemoveRows({}, row, row);
            --m_rows;
            endRemoveRows();
        });
        m_connections << connect(dataset, &Dataset::rowChanged, this, [this](int row) {
            if (row >= 0 && row < m_rows)
                emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        });
    }
    reset();
}

void DatasetModel::reset()
{
    beginResetModel();
    m_rows = m_dataset && m_dataset->active() ? m_dataset->loadedCount() : 0;
    endResetModel();
}

void DatasetModel::setColumns(const QList<Column>& columns)
{
    beginResetModel();
    m_columns = columns;
    m_rows = m_dataset && m_dataset->active() ? m_dataset->loadedCount() : 0;
    endResetModel();
}

QList<DatasetModel::Column> DatasetModel::columns() const
{
    if (!m_columns.isEmpty() || !m_dataset)
        return m_columns;
    QList<Column> all;
    for (const QString& f : m_dataset->fieldNames())
        all << Column{f, f};
    return all;
}

void DatasetModel::setColumnTitle(int column, const QString& title)
{
    if (m_columns.isEmpty())
        m_columns = columns();
    if (column < 0 || column >= m_columns.size())
        return;
    m_columns[column].title = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

QString DatasetModel::columnTitle(int column) const
{
    return columns().value(column).title;
}

QString DatasetModel::columnField(int column) const
{
    return columns().value(column).field;
}

int DatasetModel::columnOfField(const QString& field) const
{
    const auto cols = columns();
    for (int i = 0; i < cols.size(); ++i)
        if (cols[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int DatasetModel::fieldColumn(int column) const
{
    if (!m_dataset)
        return -1;
    if (m_columns.isEmpty())
        return column;
    return m_dataset->fieldIndex(m_columns.value(column).field);
}

bool DatasetModel::isBoolColumn(int column) const
{
    if (!m_dataset)
        return false;
    const QString t = m_dataset->declaredType(fieldColumn(column));
    return t.contains(QLatin1String("BOOL"));
}

int DatasetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int DatasetModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    if (!m_columns.isEmpty())
        return m_columns.size();
    return m_dataset ? m_dataset->fieldCount() : 0;
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    // Views ask for many roles per cell; only these carry data.
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::CheckStateRole)
        return {};
    if (!m_dataset || !m_dataset->active() || !index.isValid())
        return {};
    const int c = fieldColumn(index.column());
    if (c < 0)
        return {};
    try {
        if (m_checkBoxes && isBoolColumn(index.column())) {
            if (role == Qt::CheckStateRole)
                return m_dataset->valueAt(index.row(), c).toBool() ? Qt::Checked : Qt::Unchecked;
            return {};
        }
        if (role == Qt::DisplayRole)
            return m_dataset->displayTextAt(index.row(), c);
        if (role == Qt::EditRole)
            return m_dataset->displayTextAt(index.row(), c);
    } catch (const DataError&) {
        return {};
    }
    return {};
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!m_editable || !m_dataset || !index.isValid())
        return false;
    const int c = fieldColumn(index.column());
    QVariant v = value;
    if (role == Qt::CheckStateRole)
        v = value.toInt() == Qt::Checked;
    else if (role != Qt::EditRole)
        return false;
    try {
        m_dataset->setValueAt(index.row(), c, v);
    } catch (const DataError& e) {
        emit editFailed(e.text());
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return columnTitle(section);
    return {};
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (m_editable) {
        if (m_checkBoxes && isBoolColumn(index.column()))
            f |= Qt::ItemIsUserCheckable;
        else
            f |= Qt::ItemIsEditable;
    }
    return f;
}

bool DatasetModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_dataset && m_dataset->active() && !m_dataset->allLoaded();
}

void DatasetModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || !m_dataset)
        return;
    try {
        m_dataset->fetchMore(256);
    } catch (const DataError& e) {
        emit editFailed(e.text());
    }
}

} // namespace lumo
