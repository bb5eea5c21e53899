#include "TmpSearch.h"

namespace lumo
{

namespace
{

QString quotedLike(QString text)
{
    text.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("'%") + text + QStringLiteral("%'");
}

} // namespace

QStringList cardSearchStatement(const QString& name, const QString& address,
                                const QString& telephone)
{
    QStringList lines{QStringLiteral("select * from dh where 序号>0 ")};
    if (!name.isEmpty())
        lines << QStringLiteral("and 名称 like ") + quotedLike(name);
    if (!address.isEmpty())
        lines << QStringLiteral("and 地址 like ") + quotedLike(address);
    if (!telephone.isEmpty())
        lines << QStringLiteral("and 电话 like ") + quotedLike(telephone);
    return lines;
}

} // namespace lumo
