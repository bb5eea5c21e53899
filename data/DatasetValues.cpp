// Field values of a dataset: conversion between what the engine stores
// (ISO date text, 0/1) and what the windows use (QDate, bool), and the
// display texts.
#include "Dataset.h"

#include "DataError.h"
#include "DatasetDetail.h"

#include <QDate>
#include <QDateTime>
#include <QSqlQuery>

namespace lumo
{

using namespace dataset_detail;

namespace
{

constexpr int kBlockRows = 64;

} // namespace

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
    if (m_hasRowid && !m_table.isEmpty()) {
        loadBlock(row);
        it = m_cache.constFind(id);
        if (it != m_cache.constEnd())
            return *it;
    }
    // A row that is gone (deleted elsewhere) reads as empty values.
    cacheRow(id, Row(m_fields.size()));
    return *m_cache.constFind(id);
}

void Dataset::loadBlock(int row)
{
    if (!m_hasRowid || m_table.isEmpty() || row < 0 || row >= loadedCount())
        return;
    // Blocks are aligned, so a page of a grid costs one or two statements
    // and a scan one statement per block.
    const int first = row / kBlockRows * kBlockRows;
    const int end = std::min(first + kBlockRows, loadedCount());
    QString ids;
    int wanted = 0;
    for (int r = first; r < end; ++r) {
        const qint64 id = m_rowids[size_t(r)];
        if (m_cache.contains(id))
            continue;
        if (wanted++ > 0)
            ids += QLatin1Char(',');
        ids += QString::number(id);
    }
    if (wanted == 0)
        return;
    if (m_cache.size() + wanted > kCacheLimit)
        dropCache();
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT rowid, * FROM %1 WHERE rowid IN (%2)")
                    .arg(quoted(m_table), ids)))
        fail(q);
    while (q.next()) {
        Row values(m_fields.size());
        for (int c = 0; c < m_fields.size(); ++c)
            values[c] = fromStorage(c, q.value(c + 1));
        m_cache.insert(q.value(0).toLongLong(), std::move(values));
    }
    if (q.lastError().isValid())
        fail(q);
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

} // namespace lumo
