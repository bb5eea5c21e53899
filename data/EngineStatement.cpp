#include "EngineStatement.h"

#include "DataError.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

namespace lumo
{

sqlite3* engineOf(const QSqlDatabase& db)
{
    const QVariant v = db.driver() ? db.driver()->handle() : QVariant();
    if (v.isValid() && qstrcmp(v.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3* const*>(v.constData());
    return nullptr;
}

EngineStatement::EngineStatement(sqlite3* db, const QString& sql) : m_db(db)
{
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_stmt, nullptr) != SQLITE_OK)
        fail();
}

EngineStatement::~EngineStatement()
{
    sqlite3_finalize(m_stmt);
}

bool EngineStatement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        fail();
    return false;
}

void EngineStatement::reset()
{
    sqlite3_reset(m_stmt);
}

void EngineStatement::fail() const
{
    throw DataError(QString::fromUtf8(sqlite3_errmsg(m_db)));
}

} // namespace lumo
