#include "DataSource.h"

#include "Dataset.h"

namespace lumo
{

DataSource::DataSource(Dataset* dataset, QObject* parent) : QObject(parent), m_dataset(dataset) {}

void DataSource::setDataset(Dataset* dataset)
{
    if (m_dataset == dataset)
        return;
    m_dataset = dataset;
    emit datasetChanged(dataset);
}

} // namespace lumo
