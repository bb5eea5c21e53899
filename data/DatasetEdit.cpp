// Row changes of a dataset (insert, edit, post, delete) and locate.
#include "Dataset.h"

#include "DataError.h"
#include "DatasetDetail.h"

#include <QDate>
#include <QSqlQuery>

#include <algorithm>

namespace lumo
{

using namespace dataset_detail;

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
        throw DataError(QStringLiteral("无法在空数据集上执行该操作"));
    m_buffer = rowValues(m_current);
    m_modified = QVector<bool>(m_fields.size(), false);
    setState(State::Edit);
}

void Dataset::insert()
{
    requireActive();
    checkBrowseMode();
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
        throw DataError(QStringLiteral("无法在空数据集上执行该操作"));
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
    checkBrowseMode();
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
            while ((m_rowids.empty() || m_rowids.back() < id) && hasMore())
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
