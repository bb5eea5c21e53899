#include "PricePerMetre.h"

#include <cmath>

namespace lumo
{

QString pricePerSquareMetre(const QVariant& price, const QVariant& area)
{
    bool priceOk = false;
    bool areaOk = false;
    const double p = price.isNull() ? 0 : price.toDouble(&priceOk);
    const double a = area.isNull() ? 0 : area.toDouble(&areaOk);
    if (!priceOk || !(p > 0) || !areaOk || a == 0 || !std::isfinite(a))
        return QStringLiteral("0");
    const double value = std::trunc(p * 10000 / a);
    if (!std::isfinite(value) || value == 0)
        return QStringLiteral("0");
    return QString::number(value, 'f', 0);
}

} // namespace lumo
