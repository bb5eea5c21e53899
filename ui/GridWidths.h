#pragma once
#include <QString>

class QTableView;

namespace lumo
{

class SettingsStore;

// Grid column widths are kept in a registry section, one value per column
// named after the column's title. They are restored only when the section
// has the value "序号"; a value that is missing or not a whole number is
// skipped. At most `count` columns are handled (only those that exist).
void restoreColumnWidths(const SettingsStore& store, const QString& section, QTableView* grid,
                         int count);
void saveColumnWidths(const SettingsStore& store, const QString& section, QTableView* grid,
                      int count);

} // namespace lumo
