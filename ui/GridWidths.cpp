#include "GridWidths.h"

#include "SettingsStore.h"

#include <QAbstractItemModel>
#include <QTableView>

namespace lumo
{

void restoreColumnWidths(const SettingsStore& store, const QString& section, QTableView* grid,
                         int count)
{
    if (!grid->model() || store.ReadSectionValue(section, QStringLiteral("序号")).isEmpty())
        return;
    const int n = qMin(count, grid->model()->columnCount());
    for (int c = 0; c < n; ++c) {
        const QString title = grid->model()->headerData(c, Qt::Horizontal).toString();
        bool ok = false;
        const int width = store.ReadSectionValue(section, title).toInt(&ok);
        if (ok && width >= 0)
            grid->setColumnWidth(c, width);
    }
}

void saveColumnWidths(const SettingsStore& store, const QString& section, QTableView* grid,
                      int count)
{
    if (!grid->model())
        return;
    const int n = qMin(count, grid->model()->columnCount());
    for (int c = 0; c < n; ++c) {
        const QString title = grid->model()->headerData(c, Qt::Horizontal).toString();
        const QString width = QString::number(grid->columnWidth(c));
        store.WriteSectionValue(section, title, width);
    }
}

} // namespace lumo
