#pragma once
#include "Dataset.h"

#include <QObject>
#include <QPointer>

namespace lumo
{

class Dataset;

// Connects views to a dataset; a data source can be switched to another
// dataset, and every view bound to it follows.
class DataSource : public QObject
{
    Q_OBJECT
public:
    explicit DataSource(Dataset* dataset = nullptr, QObject* parent = nullptr);
    Dataset* dataset() const { return m_dataset; }
    void setDataset(Dataset* dataset);

signals:
    void datasetChanged(lumo::Dataset* dataset);

private:
    QPointer<Dataset> m_dataset;
};

} // namespace lumo
