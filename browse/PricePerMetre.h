#pragma once
#include <QString>
#include <QVariant>

namespace lumo
{

// Price per square metre for a price in 万元 and an area in ㎡: the price
// × 10000 ÷ the area, cut to its whole part and written without decimals.
// "0" when the price is empty or not above 0, and when the area is empty
// or 0 (which would otherwise divide by zero).
QString pricePerSquareMetre(const QVariant& price, const QVariant& area);

} // namespace lumo
