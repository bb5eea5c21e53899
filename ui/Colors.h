#pragma once
#include <QColor>
#include <QString>

namespace lumo
{

// Colours are stored as a number with the blue, green and red bytes from
// high to low, written as decimal text.
QColor colorFromValue(qint64 value);
qint64 colorToValue(const QColor& color);
// Reads a stored colour; false for the empty text or a non-number.
bool colorFromText(const QString& text, QColor* color);

} // namespace lumo
