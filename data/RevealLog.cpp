#include "RevealLog.h"

#include "DataError.h"

#include <QSqlError>
#include <QSqlQuery>

namespace lumo
{

namespace
{

[[noreturn]] void fail(const QSqlQuery& q)
{
    const QSqlError e = q.lastError();
    throw DataError(e.databaseText().isEmpty() ? e.text() : e.databaseText());
}

QString text(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString();
}

} // namespace

void recordReveal(const QSqlDatabase& db, const Reveal& reveal)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO fzck (序号, 用户, 姓名, 登录用户, 登录姓名, 时间) "
                             "VALUES (?, ?, ?, ?, ?, ?)"));
    q.addBindValue(reveal.serial);
    q.addBindValue(reveal.user);
    q.addBindValue(reveal.name);
    q.addBindValue(reveal.loginUser);
    q.addBindValue(reveal.loginName);
    q.addBindValue(reveal.time);
    if (!q.exec())
        fail(q);
}

QList<Reveal> readReveals(const QSqlDatabase& db, const RevealFilter& filter)
{
    QStringList where;
    QVariantList values;
    const QString serialText = filter.serial.trimmed();
    if (!serialText.isEmpty()) {
        bool number = false;
        const qlonglong serial = serialText.toLongLong(&number);
        if (!number)
            return {};
        where << QStringLiteral("序号 = ?");
        values << serial;
    }
    if (!filter.user.isEmpty()) {
        where << QStringLiteral("(instr(ifnull(用户, ''), ?) > 0 OR instr(ifnull(姓名, ''), ?) > 0 "
                                "OR instr(ifnull(登录用户, ''), ?) > 0 "
                                "OR instr(ifnull(登录姓名, ''), ?) > 0)");
        for (int i = 0; i < 4; ++i)
            values << filter.user;
    }
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT 序号, 用户, 姓名, 登录用户, 登录姓名, 时间 FROM fzck%1 "
                             "ORDER BY 时间 DESC, rowid DESC")
                  .arg(where.isEmpty()
                           ? QString()
                           : QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "))));
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        fail(q);
    QList<Reveal> rows;
    while (q.next())
        rows.append({q.value(0).isNull() ? QVariant() : QVariant(q.value(0).toLongLong()),
                     text(q.value(1)), text(q.value(2)), text(q.value(3)), text(q.value(4)),
                     text(q.value(5))});
    return rows;
}

} // namespace lumo
