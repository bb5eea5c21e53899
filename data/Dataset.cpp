#include "Dataset.h"

#include "DataError.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>

#include <algorithm>
#include <limits>

namespace lumo {

namespace {

// Rows whose values stay in memory; the rest are read again by rowid.
constexpr int kCacheLimit = 4096;
constexpr int kFirstFetch = 64;

QString quoted(const QString& name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

bool isDateType(const QString& t)
{
    return t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME"));
}
bool isBoolType(const QString& t)
{
    return t.contains(QLatin1String("BOOL")) || t == QLatin1String("BIT") ||
           t == QLatin1String("YESNO");
}
bool isIntType(const QString& t)
{
    return t.contains(QLatin1String("INT"));
}
bool isRealType(const QString& t)
{
    return t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) ||
           t.contains(QLatin1String("DOUB")) || t.contains(QLatin1String("NUM")) ||
           t.contains(QLatin1String("DEC")) || t.contains(QLatin1String("CURR"));
}

QString engineText(const QSqlError& e)
{
    QString text = e.databaseText();
    if (text.isEmpty())
        text = e.text();
    return text;
}

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

void Dataset::startSource(const QString& statement)
{
    auto q = std::make_unique<QSqlQuery>(database());
    q->setForwardOnly(true);
    if (!q->exec(statement))
        fail(*q);
    m_source = std::move(q);
}

void Dataset::open()
{
    if (active())
        return;
    resetRows();
    m_hasRowid = false;
    const bool tableMode = m_sql.isEmpty();
    if (tableMode) {
        if (m_table.isEmpty())
            throw DataError(QStringLiteral("没有指定表名"));
        readColumns(m_table);
        m_hasRowid = true;
        startSource(QStringLiteral("SELECT rowid, * FROM %1 ORDER BY rowid").arg(quoted(m_table)));
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
            const int star = text.indexOf(QLatin1Char('*'));
            startSource(text.left(star) + QStringLiteral("rowid, *") + text.mid(star + 1));
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
    m_bof = true;
    m_eof = m_rowids.empty();
    m_current = m_rowids.empty() ? -1 : 0;
    emit rowsReset();
    emit currentRowChanged(m_current);
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

void Dataset::cacheRow(qint64 rowid, Row values)
{
    if (m_hasRowid && m_cache.size() >= kCacheLimit) {
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
    m_cache.insert(rowid, std::move(values));
}

void Dataset::fetchMore(int rows)
{
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

bool Dataset::ensureLoaded(int row)
{
    if (row < 0)
        return false;
    while (row >= loadedCount() && m_source)
        fetchMore(std::max(256, row - loadedCount() + 1));
    return row < loadedCount();
}

int Dataset::recordCount()
{
    if (!active())
        return 0;
    if (m_source && m_hasRowid && !m_table.isEmpty() && m_sql.isEmpty()) {
        // A table's remaining rows by rowid alone: far cheaper than reading
        // every field of every row.
        const qint64 after = m_rowids.empty() ? std::numeric_limits<qint64>::min() : m_rowids.back();
        m_source.reset();
        QSqlQuery q(database());
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT rowid FROM %1 WHERE rowid > ? ORDER BY rowid")
                      .arg(quoted(m_table)));
        q.addBindValue(after);
        if (!q.exec())
            fail(q);
        const int first = loadedCount();
        while (q.next())
            m_rowids.push_back(q.value(0).toLongLong());
        if (loadedCount() > first)
            emit rowsAppended(first, loadedCount() - 1);
    }
    while (m_source)
        fetchMore(4096);
    return loadedCount();
}

bool Dataset::isEmpty()
{
    return !active() || !ensureLoaded(0);
}

void Dataset::first()
{
    requireActive();
    if (m_state != State::Browse)
        post();
    setCurrent(ensureLoaded(0) ? 0 : -1);
    m_bof = true;
    m_eof = m_current < 0;
}

void Dataset::next()
{
    requireActive();
    if (m_state != State::Browse)
        post();
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
    if (m_state != State::Browse)
        post();
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
    if (m_state != State::Browse)
        post();
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
    if (m_state != State::Browse && row != m_current)
        post();
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

QVariant Dataset::fromStorage(int column, const QVariant& v) const
{
    if (v.isNull())
        return QVariant();
    const QString t = declaredType(column);
    if (isDateType(t)) {
        const QString s = v.toString();
        if (s.isEmpty())
            return QVariant();
        QDate d = QDate::fromString(s.left(10), Qt::ISODate);
        return d.isValid() ? QVariant(d) : v;
    }
    if (isBoolType(t))
        return QVariant(v.toLongLong() != 0);
    return v;
}

QVariant Dataset::toStorage(int column, const QVariant& v) const
{
    if (v.isNull())
        return QVariant();
    const QString t = declaredType(column);
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate().toString(Qt::ISODate);
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().date().toString(Qt::ISODate);
    if (isBoolType(t))
        return QVariant(int(v.toBool()));
    if (isIntType(t) || isRealType(t) || isDateType(t)) {
        if (v.metaType().id() != QMetaType::QString)
            return v;
        const QString s = v.toString().trimmed();
        if (s.isEmpty())
            return QVariant();
        bool ok = false;
        if (isIntType(t)) {
            const qlonglong n = s.toLongLong(&ok);
            if (ok)
                return n;
            throw DataError(QStringLiteral("'%1' is 不是一个有效的整数值").arg(s));
        }
        if (isRealType(t)) {
            const double d = s.toDouble(&ok);
            if (ok)
                return d;
            throw DataError(QStringLiteral("'%1' is 不是一个有效的浮点值").arg(s));
        }
        const QDate d = QDate::fromString(s, Qt::ISODate);
        if (d.isValid())
            return d.toString(Qt::ISODate);
        throw DataError(QStringLiteral("'%1' is 不是一个有效的日期").arg(s));
    }
    return v;
}

const Dataset::Row& Dataset::rowValues(int row)
{
    static const Row empty;
    if (!ensureLoaded(row))
        return empty;
    const qint64 id = m_rowids[size_t(row)];
    auto it = m_cache.constFind(id);
    if (it != m_cache.constEnd())
        return *it;
    Row values(m_fields.size());
    if (m_hasRowid && !m_table.isEmpty()) {
        QSqlQuery q(database());
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(quoted(m_table)));
        q.addBindValue(id);
        if (!q.exec())
            fail(q);
        if (q.next())
            for (int c = 0; c < m_fields.size(); ++c)
                values[c] = fromStorage(c, q.value(c));
    }
    cacheRow(id, values);
    return *m_cache.constFind(id);
}

QVariant Dataset::value(const QString& field) const
{
    requireActive();
    const int c = fieldIndex(field);
    if (c < 0)
        throw DataError(QStringLiteral("%1: 找不到字段 '%2'").arg(objectName(), field));
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer.value(c);
    if (m_current < 0)
        return QVariant();
    return const_cast<Dataset*>(this)->rowValues(m_current).value(c);
}

QString Dataset::displayString(int column, const QVariant& v) const
{
    if (v.isNull() || !v.isValid())
        return QString();
    switch (v.metaType().id()) {
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyy/M/d"));
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        break;
    }
    Q_UNUSED(column);
    return v.toString();
}

QString Dataset::displayText(const QString& field) const
{
    const QVariant v = value(field);
    return displayString(fieldIndex(field), v);
}

QVariant Dataset::valueAt(int row, int column)
{
    if (!active() || column < 0 || column >= m_fields.size())
        return QVariant();
    if (row == m_current && (m_state == State::Edit))
        return m_buffer.value(column);
    return rowValues(row).value(column);
}

QString Dataset::displayTextAt(int row, int column)
{
    return displayString(column, valueAt(row, column));
}

void Dataset::setValue(const QString& field, const QVariant& v)
{
    requireEditing("setValue");
    const int c = fieldIndex(field);
    if (c < 0)
        throw DataError(QStringLiteral("%1: 找不到字段 '%2'").arg(objectName(), field));
    // Checked now so that a bad number is reported where it is typed.
    toStorage(c, v);
    m_buffer[c] = fromStorage(c, toStorage(c, v));
    m_modified[c] = true;
    if (m_state == State::Edit)
        emit rowChanged(m_current);
}

void Dataset::edit()
{
    requireActive();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (!m_hasRowid || m_table.isEmpty())
        throw DataError(QStringLiteral("数据集为只读，不能修改"));
    if (m_current < 0)
        throw DataError(QStringLiteral("数据集为空，不能执行此操作"));
    m_buffer = rowValues(m_current);
    m_modified = QVector<bool>(m_fields.size(), false);
    setState(State::Edit);
}

void Dataset::insert()
{
    requireActive();
    if (m_state != State::Browse)
        post();
    if (!m_hasRowid || m_table.isEmpty())
        throw DataError(QStringLiteral("数据集为只读，不能添加"));
    m_buffer = Row(m_fields.size());
    m_modified = QVector<bool>(m_fields.size(), false);
    setState(State::Insert);
    emit currentRowChanged(m_current);
}

void Dataset::append()
{
    insert();
}

void Dataset::cancel()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    const bool wasEdit = m_state == State::Edit;
    m_buffer.clear();
    m_modified.clear();
    setState(State::Browse);
    if (wasEdit)
        emit rowChanged(m_current);
    emit currentRowChanged(m_current);
}

void Dataset::post()
{
    requireActive();
    if (m_state == State::Browse)
        return;
    QStringList names;
    QVariantList values;
    for (int c = 0; c < m_fields.size(); ++c) {
        if (!m_modified.value(c))
            continue;
        names << quoted(m_fields[c]);
        values << toStorage(c, m_buffer[c]);
    }
    QSqlQuery q(database());
    if (m_state == State::Edit) {
        const qint64 id = m_rowids[size_t(m_current)];
        if (!names.isEmpty()) {
            q.prepare(QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?")
                          .arg(quoted(m_table), names.join(QStringLiteral(" = ?, "))));
            for (const QVariant& v : values)
                q.addBindValue(v);
            q.addBindValue(id);
            if (!q.exec())
                fail(q);
        }
        m_cache.remove(id);
        m_buffer.clear();
        m_modified.clear();
        setState(State::Browse);
        emit rowChanged(m_current);
        emit currentRowChanged(m_current);
        return;
    }

    if (names.isEmpty()) {
        q.prepare(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(m_table)));
    } else {
        QStringList marks;
        for (int i = 0; i < names.size(); ++i)
            marks << QStringLiteral("?");
        q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(quoted(m_table), names.join(QStringLiteral(", ")),
                           marks.join(QStringLiteral(", "))));
        for (const QVariant& v : values)
            q.addBindValue(v);
    }
    if (!q.exec())
        fail(q);
    const qint64 id = q.lastInsertId().toLongLong();
    m_buffer.clear();
    m_modified.clear();
    setState(State::Browse);
    // The new row goes to the end of the row list, as in the table's
    // natural order.
    recordCount();
    int row = -1;
    for (int i = loadedCount() - 1; i >= 0; --i) {
        if (m_rowids[size_t(i)] == id) {
            row = i;
            break;
        }
    }
    if (row < 0) {
        m_rowids.push_back(id);
        row = loadedCount() - 1;
        emit rowsAppended(row, row);
    }
    m_eof = false;
    m_bof = false;
    setCurrent(row);
    emit currentRowChanged(row);
}

void Dataset::remove()
{
    requireActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    if (m_current < 0)
        throw DataError(QStringLiteral("数据集为空，不能删除"));
    if (!m_hasRowid || m_table.isEmpty())
        throw DataError(QStringLiteral("数据集为只读，不能删除"));
    const int row = m_current;
    const qint64 id = m_rowids[size_t(row)];
    QSqlQuery q(database());
    q.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(m_table)));
    q.addBindValue(id);
    if (!q.exec())
        fail(q);
    m_rowids.erase(m_rowids.begin() + row);
    m_cache.remove(id);
    m_current = -1;
    emit rowRemoved(row);
    if (ensureLoaded(row)) {
        m_current = row;
    } else if (row > 0) {
        m_current = row - 1;
    }
    m_eof = m_current < 0;
    m_bof = m_current <= 0;
    emit currentRowChanged(m_current);
}

void Dataset::setValueAt(int row, int column, const QVariant& v)
{
    if (!moveTo(row))
        return;
    edit();
    try {
        setValue(m_fields.value(column), v);
        post();
    } catch (...) {
        cancel();
        throw;
    }
}

bool Dataset::locate(const QString& field, const QVariant& target)
{
    requireActive();
    if (m_state != State::Browse)
        post();
    const int c = fieldIndex(field);
    if (c < 0)
        throw DataError(QStringLiteral("%1: 找不到字段 '%2'").arg(objectName(), field));
    if (target.isNull())
        return false;
    const QString t = declaredType(c);
    auto matches = [&](const QVariant& v) {
        if (v.isNull())
            return false;
        if (v.metaType().id() == QMetaType::QString || target.metaType().id() == QMetaType::QString)
            return v.toString() == target.toString() ||
                   (isDateType(t) && v.toDate() == target.toDate() && v.toDate().isValid());
        if (v.metaType().id() == QMetaType::QDate)
            return v.toDate() == target.toDate();
        if (v.metaType().id() == QMetaType::Bool)
            return v.toBool() == target.toBool();
        return v.toDouble() == target.toDouble();
    };
    if (m_hasRowid && !m_table.isEmpty() && m_sql.isEmpty()) {
        // A table: let the engine find the first row, then find its place.
        QSqlQuery q(database());
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT rowid, %1 FROM %2 WHERE %1 = ? ORDER BY rowid")
                      .arg(quoted(m_fields[c]), quoted(m_table)));
        QVariant bind = target;
        if (!isIntType(t) && !isRealType(t) && !isBoolType(t) && !isDateType(t))
            bind = target.toString();
        else
            bind = toStorage(c, target);
        q.addBindValue(bind);
        if (!q.exec())
            fail(q);
        while (q.next()) {
            if (!matches(fromStorage(c, q.value(1))))
                continue;
            const qint64 id = q.value(0).toLongLong();
            // The row list of a table is in ascending rowid order.
            while ((m_rowids.empty() || m_rowids.back() < id) && m_source)
                fetchMore(4096);
            const auto it = std::lower_bound(m_rowids.begin(), m_rowids.end(), id);
            if (it != m_rowids.end() && *it == id)
                return moveTo(int(it - m_rowids.begin()));
        }
        return false;
    }
    for (int i = 0; ensureLoaded(i); ++i) {
        if (matches(rowValues(i).value(c)))
            return moveTo(i);
    }
    return false;
}

} // namespace lumo
