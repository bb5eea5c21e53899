#include "DataGrid.h"

#include "DataError.h"
#include "DataSource.h"
#include "Dataset.h"
#include "Dialogs.h"

#include <QHeaderView>

namespace lumo
{

DataGrid::DataGrid(DataSource* source, QWidget* parent, Dialogs* dialogs)
    : QTableView(parent), m_model(new DatasetModel(source, this)), m_dialogs(dialogs)
{
    setModel(m_model);
    verticalHeader()->setDefaultSectionSize(22);
    connect(m_model, &DatasetModel::editFailed, this, [this](const QString& text) {
        if (m_dialogs)
            m_dialogs->message(this, text, Dialogs::Icon::Error);
    });
    connect(source, &DataSource::datasetChanged, this, [this](Dataset* d) { attach(d); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { followDataset(); });
    attach(source->dataset());
}

void DataGrid::attach(Dataset* dataset)
{
    disconnect(m_currentConnection);
    if (dataset)
        m_currentConnection =
            connect(dataset, &Dataset::currentRowChanged, this, [this] { followDataset(); });
    followDataset();
}

void DataGrid::setColumns(const QList<DatasetModel::Column>& columns)
{
    m_model->setColumns(columns);
}

void DataGrid::followDataset()
{
    Dataset* d = m_model->dataset();
    if (m_syncing || !d || !d->active())
        return;
    const int row = d->recNo();
    if (row < 0 || row >= m_model->rowCount())
        return;
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    m_syncing = true;
    setCurrentIndex(m_model->index(row, column));
    m_syncing = false;
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    Dataset* d = m_model->dataset();
    if (m_syncing || !d || !d->active() || !current.isValid() || current.row() == d->recNo())
        return;
    m_syncing = true;
    try {
        d->moveTo(current.row());
    } catch (const DataError& e) {
        if (m_dialogs)
            m_dialogs->message(this, e.text(), Dialogs::Icon::Error);
    }
    m_syncing = false;
}

} // namespace lumo
