#include "Colors.h"

namespace lumo
{

QColor colorFromValue(qint64 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

qint64 colorToValue(const QColor& color)
{
    return qint64(color.red()) | (qint64(color.green()) << 8) | (qint64(color.blue()) << 16);
}

bool colorFromText(const QString& text, QColor* color)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok)
        return false;
    *color = colorFromValue(v);
    return true;
}

} // namespace lumo
