#pragma once
#include <QString>
#include <QStringList>

namespace lumo
{

// The state of the filter bar that decides the property search. The value
// lists hold the chosen entries joined by "','" with every apostrophe of an
// entry already doubled (see quoteSqlText), so they can stand inside a
// quoted SQL list as they are.
struct SearchFilter {
    QString saleRentCaption = QStringLiteral("卖房");    // "卖房" or "租房"
    QString ownershipCaption = QStringLiteral("无权属"); // ownership or rent term
    double firstSerial = 1;
    double lastSerial = 1;
    QString districtValues;
    QString orientationValues;
    QString layoutValues;
    QString floorLow = QStringLiteral("0");
    QString floorHigh = QStringLiteral("0");
    QString rangeCaption = QStringLiteral("面积"); // "面积" or "价格"
    QString rangeLow = QStringLiteral("0");
    QString rangeHigh = QStringLiteral("0");
};

// Doubles apostrophes so that the text can stand inside '...' in SQL.
QString quoteSqlText(const QString& text);

// The SELECT statement over fcxx for a filter, line by line. With the
// initial filter it is the five lines
//   select * from fcxx where sb='卖' / and 楼层 between 0 and 999 /
//   and 面积 between 0 and 99999 / and 序号 between 1 and 2999999 /
//   ORDER BY 序号
QStringList buildSearchStatement(const SearchFilter& filter);

} // namespace lumo
