#include "SearchStatement.h"

#include <cmath>

namespace lumo
{

namespace
{

// Numbers typed into the range boxes compare as numbers; text that is not
// a number counts as 0, as the engine would read it.
double asNumber(const QString& text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? v : 0;
}

// Whole-number rounding of the spin values, halves away from zero.
QString roundedText(double v)
{
    return QString::number(qint64(std::llround(v)));
}

} // namespace

QString quoteSqlText(const QString& text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return t;
}

QStringList buildSearchStatement(const SearchFilter& f)
{
    QStringList lines;
    const QString intention = f.saleRentCaption.left(1);
    lines << QStringLiteral("select * from fcxx where ") + QStringLiteral("sb='") +
                 quoteSqlText(intention) + QStringLiteral("'");

    auto inList = [&lines](const QString& field, const QString& values, const QString& caption,
                           const QString& all) {
        if (!values.isEmpty() && values != caption && values != all)
            lines << QStringLiteral("and ") + field + QStringLiteral(" in ('") + values +
                         QStringLiteral("')");
    };
    inList(QStringLiteral("区域"), f.districtValues, QStringLiteral("区域"),
           QStringLiteral("所有区"));
    inList(QStringLiteral("朝向"), f.orientationValues, QStringLiteral("朝向"),
           QStringLiteral("所有"));
    inList(QStringLiteral("户型"), f.layoutValues, QStringLiteral("户型"), QStringLiteral("所有"));

    if (f.ownershipCaption != QStringLiteral("无权属") &&
        f.ownershipCaption != QStringLiteral("全部"))
        lines << QStringLiteral("and 权属 in ('") + quoteSqlText(f.ownershipCaption) +
                     QStringLiteral("')");

    auto range = [](const QString& low, const QString& high, const QString& open) {
        const QString h = asNumber(low) >= asNumber(high) ? open : high;
        return low + QStringLiteral(" ") + QStringLiteral("and") + QStringLiteral(" ") + h;
    };
    lines << QStringLiteral("and 楼层 between ") +
                 range(f.floorLow, f.floorHigh, QStringLiteral("999"));
    lines << (f.rangeCaption == QStringLiteral("面积") ? QStringLiteral("and 面积 between ")
                                                       : QStringLiteral("and 价格 between ")) +
                 range(f.rangeLow, f.rangeHigh, QStringLiteral("99999"));

    const QString first = roundedText(f.firstSerial);
    QString last = roundedText(f.lastSerial);
    if (std::llround(f.firstSerial) >= std::llround(f.lastSerial))
        last = QStringLiteral("2999999");
    lines << QStringLiteral("and 序号 between ") + first + QStringLiteral(" ") +
                 QStringLiteral("and") + QStringLiteral(" ") + last;
    lines << QStringLiteral("ORDER BY 序号");
    return lines;
}

} // namespace lumo
