#include "Dataset.h"

#include "DataError.h"
#include "DatasetDetail.h"
#include "EngineStatement.h"

#include <QDate>
#include <QRegularExpression>
#include <QSqlRecord>

#include <sqlite3.h>

#include <algorithm>
#include <limits>

namespace lumo
{

using namespace dataset_detail;

namespace
{

constexpr int kFirstFetch = 64;

} // namespace

Dataset::Dataset(QString connectionName, QObject* parent)
    : QObject(parent), m_connection(std::move(connectionName))
{
}

Dataset::~Dataset() = default;

void Dataset::setTableName(const QString& table)
{
    m_table = table;
    m_sql.clear();
}

void Dataset::clearSql()
{
    m_sql.clear();
}

void Dataset::addSql(const QString& line)
{
    m_sql << line;
}

void Dataset::setSql(const QStringList& lines)
{
    m_sql = lines;
}

QSqlDatabase Dataset::database() const
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isValid() || !db.isOpen())
        throw DataError(QStringLiteral("数据库连接 %1 未打开").arg(m_connection));
    return db;
}

void Dataset::fail(const QSqlQuery& q) const
{
    throw DataError(engineText(q.lastError()));
}

void Dataset::requireActive() const
{
    if (m_state == State::Inactive)
        throw DataError(QStringLiteral("数据集未打开，无法执行此操作"));
}

void Dataset::requireEditing(const char* op) const
{
    if (m_state != State::Edit && m_state != State::Insert)
        throw DataError(QStringLiteral("数据集不在编辑或插入状态（%1）").arg(QLatin1String(op)));
}

void Dataset::setState(State s)
{
    if (m_state == s)
        return;
    const bool wasActive = active();
    m_state = s;
    emit stateChanged();
    if (wasActive != active())
        emit activeChanged(active());
}

void Dataset::setCurrent(int row, bool notify)
{
    const bool changed = row != m_current;
    m_current = row;
    if (notify && changed)
        emit currentRowChanged(row);
}

void Dataset::resetRows()
{
    m_source.reset();
    m_paged = false;
    m_rowids.clear();
    m_cache.clear();
    m_current = -1;
    m_eof = true;
    m_bof = true;
}

void Dataset::readColumns(const QString& table)
{
    m_fields.clear();
    m_types.clear();
    QSqlQuery q(database());
    if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table))))
        fail(q);
    while (q.next()) {
        m_fields << q.value(1).toString();
        m_types << q.value(2).toString().toUpper();
    }
    if (m_fields.isEmpty())
        throw DataError(QStringLiteral("no such table: %1").arg(table));
}

void Dataset::readRowids(const QString& statement)
{
    const QSqlDatabase db = database();
    // Straight from the engine: a search of hundreds of thousands of rows
    // would otherwise spend most of its time making a QVariant per row id.
    if (sqlite3* engine = engineOf(db)) {
        EngineStatement stmt(engine, statement);
        while (stmt.step())
            m_rowids.push_back(sqlite3_column_int64(stmt.get(), 0));
        return;
    }
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(statement))
        fail(q);
    while (q.next())
        m_rowids.push_back(q.value(0).toLongLong());
    if (q.lastError().isValid())
        fail(q);
}

void Dataset::open()
{
    if (active())
        return;
    try {
        openRows();
    } catch (...) {
        // A statement that fails, at once or in its first rows, leaves the
        // dataset closed with no query left running.
        resetRows();
        if (!m_sql.isEmpty())
            m_table.clear();
        setState(State::Inactive);
        throw;
    }
    emit rowsReset();
    emit currentRowChanged(m_current);
}

void Dataset::openRows()
{
    resetRows();
    m_hasRowid = false;
    const bool tableMode = m_sql.isEmpty();
    if (tableMode) {
        if (m_table.isEmpty())
            throw DataError(QStringLiteral("没有指定表名"));
        readColumns(m_table);
        m_hasRowid = true;
        m_paged = true;
    } else {
        const QString text = sqlText();
        // "select * from <table> ..." is run with the rowid in front, so its
        // rows can be edited and deleted and read again by rowid.
        static const QRegularExpression selectAll(
            QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+\"?([^\\s\"(]+)\"?"),
            QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m = selectAll.match(text);
        if (m.hasMatch()) {
            m_table = m.captured(1);
            readColumns(m_table);
            m_hasRowid = true;
            // The whole result is known at once as the row ids of the
            // statement, in its order: cheap for the engine (often from an
            // index alone), and it gives the row count and lets any row be
            // read directly by its rowid, a page at a time.
            const int star = text.indexOf(QLatin1Char('*'));
            readRowids(text.left(star) + QStringLiteral("rowid") + text.mid(star + 1));
        } else {
            m_table.clear();
            auto q = std::make_unique<QSqlQuery>(database());
            q->setForwardOnly(true);
            if (!q->exec(text))
                fail(*q);
            if (!q->isSelect())
                throw DataError(QStringLiteral("CommandText does not return a result set"));
            const QSqlRecord rec = q->record();
            m_fields.clear();
            m_types.clear();
            for (int i = 0; i < rec.count(); ++i) {
                m_fields << rec.fieldName(i);
                m_types << QString();
            }
            m_source = std::move(q);
        }
    }
    setState(State::Browse);
    fetchMore(kFirstFetch);
    if (m_source == nullptr && !m_rowids.empty() && m_cache.isEmpty())
        loadBlock(0);
    m_bof = true;
    m_eof = m_rowids.empty();
    m_current = m_rowids.empty() ? -1 : 0;
}

void Dataset::close()
{
    if (!active())
        return;
    resetRows();
    m_buffer.clear();
    m_modified.clear();
    if (!m_sql.isEmpty())
        m_table.clear();
    setState(State::Inactive);
    emit rowsReset();
    emit currentRowChanged(-1);
}

void Dataset::setActive(bool a)
{
    if (a)
        open();
    else
        close();
}

void Dataset::refresh()
{
    requireActive();
    const qint64 rowid = m_current >= 0 ? m_rowids[size_t(m_current)] : -1;
    const int oldRow = m_current;
    const QString table = m_table;
    const bool wasQuery = !m_sql.isEmpty();
    resetRows();
    setState(State::Inactive);
    if (wasQuery)
        m_table.clear();
    else
        m_table = table;
    open();
    if (rowid < 0 || !m_hasRowid)
        return;
    for (int i = 0; ensureLoaded(i); ++i) {
        if (m_rowids[size_t(i)] == rowid) {
            moveTo(i);
            return;
        }
    }
    if (oldRow >= 0 && !m_rowids.empty())
        moveTo(std::min(oldRow, loadedCount() - 1));
}

void Dataset::dropCache()
{
    // Keep the current row; the others are read again when needed.
    Row current;
    qint64 currentId = -1;
    if (m_current >= 0 && size_t(m_current) < m_rowids.size()) {
        currentId = m_rowids[size_t(m_current)];
        current = m_cache.value(currentId);
    }
    m_cache.clear();
    if (currentId >= 0 && !current.isEmpty())
        m_cache.insert(currentId, current);
}

void Dataset::cacheRow(qint64 rowid, Row values)
{
    if (m_hasRowid && m_cache.size() >= kCacheLimit)
        dropCache();
    m_cache.insert(rowid, std::move(values));
}

void Dataset::fetchMore(int rows)
{
    if (m_paged) {
        fetchPage(rows);
        return;
    }
    if (!m_source)
        return;
    const int first = loadedCount();
    const int offset = m_hasRowid ? 1 : 0;
    for (int n = 0; n < rows; ++n) {
        if (!m_source->next()) {
            const QSqlError err = m_source->lastError();
            m_source.reset();
            if (err.isValid())
                throw DataError(engineText(err));
            break;
        }
        Row values(m_fields.size());
        for (int c = 0; c < m_fields.size(); ++c)
            values[c] = fromStorage(c, m_source->value(c + offset));
        const qint64 id = m_hasRowid ? m_source->value(0).toLongLong() : qint64(m_rowids.size());
        m_rowids.push_back(id);
        cacheRow(id, std::move(values));
    }
    if (loadedCount() > first)
        emit rowsAppended(first, loadedCount() - 1);
}

void Dataset::fetchPage(int rows)
{
    const int first = loadedCount();
    const qint64 after = m_rowids.empty() ? std::numeric_limits<qint64>::min() : m_rowids.back();
    QSqlQuery q(database());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT rowid, * FROM %1 WHERE rowid > ? ORDER BY rowid LIMIT ?")
                  .arg(quoted(m_table)));
    q.addBindValue(after);
    q.addBindValue(rows);
    if (!q.exec()) {
        m_paged = false;
        fail(q);
    }
    int read = 0;
    while (q.next()) {
        Row values(m_fields.size());
        for (int c = 0; c < m_fields.size(); ++c)
            values[c] = fromStorage(c, q.value(c + 1));
        const qint64 id = q.value(0).toLongLong();
        m_rowids.push_back(id);
        cacheRow(id, std::move(values));
        ++read;
    }
    const QSqlError err = q.lastError();
    q.finish();
    if (read < rows)
        m_paged = false;
    if (err.isValid() && err.type() != QSqlError::NoError) {
        m_paged = false;
        throw DataError(engineText(err));
    }
    if (loadedCount() > first)
        emit rowsAppended(first, loadedCount() - 1);
}

bool Dataset::ensureLoaded(int row)
{
    if (row < 0)
        return false;
    while (row >= loadedCount() && hasMore())
        fetchMore(std::max(256, row - loadedCount() + 1));
    return row < loadedCount();
}

int Dataset::recordCount()
{
    if (!active())
        return 0;
    if (hasMore() && m_hasRowid && !m_table.isEmpty() && m_sql.isEmpty())
        readRemainingRowids();
    while (hasMore())
        fetchMore(4096);
    return loadedCount();
}

void Dataset::readRemainingRowids()
{
    // The remaining rows by rowid alone: far cheaper than reading every
    // field of every row; their values are read by rowid when needed.
    const qint64 after = m_rowids.empty() ? std::numeric_limits<qint64>::min() : m_rowids.back();
    m_source.reset();
    m_paged = false;
    QSqlQuery q(database());
    q.setForwardOnly(true);
    q.prepare(
        QStringLiteral("SELECT rowid FROM %1 WHERE rowid > ? ORDER BY rowid").arg(quoted(m_table)));
    q.addBindValue(after);
    if (!q.exec())
        fail(q);
    const int first = loadedCount();
    while (q.next())
        m_rowids.push_back(q.value(0).toLongLong());
    q.finish();
    if (loadedCount() > first)
        emit rowsAppended(first, loadedCount() - 1);
}

bool Dataset::isEmpty()
{
    return !active() || !ensureLoaded(0);
}

void Dataset::checkBrowseMode()
{
    if (m_state == State::Browse || m_state == State::Inactive)
        return;
    // Leaving a row writes what was typed into it; a row left untouched is
    // dropped (a new row that nothing was entered into adds nothing).
    if (std::any_of(m_modified.cbegin(), m_modified.cend(), [](bool m) { return m; }))
        post();
    else
        cancel();
}

void Dataset::first()
{
    requireActive();
    checkBrowseMode();
    setCurrent(ensureLoaded(0) ? 0 : -1);
    m_bof = true;
    m_eof = m_current < 0;
}

void Dataset::next()
{
    requireActive();
    checkBrowseMode();
    if (m_current >= 0 && ensureLoaded(m_current + 1)) {
        setCurrent(m_current + 1);
        m_eof = false;
    } else {
        m_eof = true;
    }
    m_bof = false;
}

void Dataset::prior()
{
    requireActive();
    checkBrowseMode();
    if (m_current > 0) {
        setCurrent(m_current - 1);
        m_bof = false;
    } else {
        m_bof = true;
    }
    m_eof = m_current < 0;
}

void Dataset::last()
{
    requireActive();
    checkBrowseMode();
    const int n = recordCount();
    setCurrent(n - 1);
    // As after reaching the end by next(): the last row is current and the
    // end-of-data test is true.
    m_eof = true;
    m_bof = n == 0;
}

bool Dataset::moveTo(int row)
{
    requireActive();
    if (!ensureLoaded(row))
        return false;
    if (row != m_current)
        checkBrowseMode();
    setCurrent(row);
    m_eof = false;
    m_bof = false;
    return true;
}

int Dataset::fieldIndex(const QString& field) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString Dataset::declaredType(int column) const
{
    return column >= 0 && column < m_types.size() ? m_types[column] : QString();
}

} // namespace lumo
