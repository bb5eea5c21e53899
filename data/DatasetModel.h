#pragma once
#include "DataSource.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

namespace lumo
{

class Dataset;
class DataSource;

// An item model over the dataset of a data source, for grids. Rows are
// read from the dataset as the view scrolls (canFetchMore / fetchMore).
// Columns are the dataset's fields, or a chosen list of fields with titles.
class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Column {
        QString field;
        QString title;
    };

    explicit DatasetModel(DataSource* source, QObject* parent = nullptr);

    // Chooses the columns shown; an empty list shows every field under its
    // own name.
    void setColumns(const QList<Column>& columns);
    QList<Column> columns() const;
    void setColumnTitle(int column, const QString& title);
    QString columnTitle(int column) const;
    QString columnField(int column) const;
    int columnOfField(const QString& field) const;

    void setEditable(bool editable) { m_editable = editable; }
    bool editable() const { return m_editable; }
    // Yes/no fields are shown as check boxes.
    void setBooleanCheckBoxes(bool on) { m_checkBoxes = on; }

    Dataset* dataset() const;
    DataSource* dataSource() const { return m_source; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // An edit was refused by the database; the text is the engine's.
    void editFailed(const QString& text);

private:
    void attach(Dataset* dataset);
    void reset();
    int fieldColumn(int column) const;
    bool isBoolColumn(int column) const;

    QPointer<DataSource> m_source;
    QPointer<Dataset> m_dataset;
    QList<Column> m_columns;
    QList<QMetaObject::Connection> m_connections;
    int m_rows = 0;
    bool m_editable = false;
    bool m_checkBoxes = false;
};

} // namespace lumo
