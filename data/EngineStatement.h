#pragma once
// Direct access to the SQLite engine behind a Qt connection, for the few
// places where reading through QVariant per value would cost most of the
// time (a search's row ids, the import's duplicate test).
#include <QString>

class QSqlDatabase;
struct sqlite3;
struct sqlite3_stmt;

namespace lumo
{

// The engine's handle of an open SQLite connection, or nullptr.
sqlite3* engineOf(const QSqlDatabase& db);

// A prepared statement, finalised on every path. Errors throw DataError
// with the engine's text.
class EngineStatement
{
public:
    EngineStatement(sqlite3* db, const QString& sql);
    ~EngineStatement();
    EngineStatement(const EngineStatement&) = delete;
    EngineStatement& operator=(const EngineStatement&) = delete;

    sqlite3_stmt* get() const { return m_stmt; }
    // True while there is a row.
    bool step();
    void reset();
    [[noreturn]] void fail() const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace lumo
