#pragma once
#include "DatasetModel.h"

#include <QTableView>

namespace lumo
{

class DataSource;
class Dialogs;

// A grid over a data source. Its current row is the dataset's current row:
// moving in the grid moves the dataset and moving the dataset (in any
// window) moves the grid. Rows are read as the grid scrolls.
class DataGrid : public QTableView
{
    Q_OBJECT
public:
    DataGrid(DataSource* source, QWidget* parent = nullptr, Dialogs* dialogs = nullptr);

    DatasetModel* datasetModel() const { return m_model; }
    void setColumns(const QList<DatasetModel::Column>& columns);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void followDataset();
    void attach(Dataset* dataset);

    DatasetModel* m_model;
    Dialogs* m_dialogs;
    QMetaObject::Connection m_currentConnection;
    bool m_syncing = false;
};

} // namespace lumo
