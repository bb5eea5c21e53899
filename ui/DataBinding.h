#pragma once
#include <QString>

class QWidget;

namespace lumo
{

class DataSource;

// Shows a field of the current row of a data source in a box (QLineEdit,
// QLabel, QPlainTextEdit, QTextEdit, QComboBox) and keeps it following the
// current row. The binding lives as long as the box.
void bindField(QWidget* box, DataSource* source, const QString& field);

} // namespace lumo
