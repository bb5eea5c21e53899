#pragma once
// Helpers shared by the data-management tests: rows with chosen fields,
// exchange files made from another database, and file fingerprints.
#include "BackupFile.h"
#include "DataOperation.h"
#include "TestApp.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QVariantMap>

#include <stdexcept>

namespace lumo::test
{

// The sixteen fields an exchange row carries, in table order.
inline const QStringList& listingFields()
{
    static const QStringList f{
        QStringLiteral("序号"),     QStringLiteral("SB"),   QStringLiteral("区域"),
        QStringLiteral("房屋地址"), QStringLiteral("户型"), QStringLiteral("楼层"),
        QStringLiteral("朝向"),     QStringLiteral("房龄"), QStringLiteral("面积"),
        QStringLiteral("权属"),     QStringLiteral("价格"), QStringLiteral("备注"),
        QStringLiteral("登记日期"), QStringLiteral("相片"), QStringLiteral("联系电话"),
        QStringLiteral("房主")};
    return f;
}

// A full listing with serial `serial`; fields can be overridden.
inline QVariantMap listing(int serial, const QVariantMap& changes = {})
{
    QVariantMap m{{QStringLiteral("序号"), serial},
                  {QStringLiteral("SB"), QStringLiteral("出售")},
                  {QStringLiteral("区域"), QStringLiteral("和平区")},
                  {QStringLiteral("房屋地址"), QStringLiteral("南京街%1号").arg(serial)},
                  {QStringLiteral("户型"), QStringLiteral("二室一厅")},
                  {QStringLiteral("楼层"), 3},
                  {QStringLiteral("朝向"), QStringLiteral("南北")},
                  {QStringLiteral("房龄"), 5},
                  {QStringLiteral("面积"), 80.5},
                  {QStringLiteral("权属"), QStringLiteral("个人")},
                  {QStringLiteral("价格"), 50.0},
                  {QStringLiteral("备注"), QStringLiteral("好房")},
                  {QStringLiteral("登记日期"), QStringLiteral("2026-01-02")},
                  {QStringLiteral("相片"), QStringLiteral("a.jpg")},
                  {QStringLiteral("联系电话"), QStringLiteral("13800000000")},
                  {QStringLiteral("房主"), QStringLiteral("张三")}};
    for (auto it = changes.begin(); it != changes.end(); ++it)
        m[it.key()] = it.value();
    return m;
}

inline void insertRows(QSqlDatabase db, const QList<QVariantMap>& rows)
{
    QSqlQuery q(db);
    QStringList marks;
    for (int i = 0; i < listingFields().size(); ++i)
        marks << QStringLiteral("?");
    q.prepare(
        QStringLiteral("INSERT INTO fcxx (%1) VALUES (%2)")
            .arg(listingFields().join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    for (const QVariantMap& row : rows) {
        for (int i = 0; i < listingFields().size(); ++i)
            q.bindValue(i, row.value(listingFields().at(i)));
        if (!q.exec())
            qFatal("insert: %s", qPrintable(q.lastError().text()));
    }
}

// Every register row in natural order, the sixteen fields as stored.
inline QList<QVariantList> registerRows(QSqlDatabase db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT %1 FROM fcxx ORDER BY rowid")
                    .arg(listingFields().join(QStringLiteral(", ")))))
        qFatal("select: %s", qPrintable(q.lastError().text()));
    QList<QVariantList> rows;
    while (q.next()) {
        QVariantList r;
        for (int i = 0; i < listingFields().size(); ++i)
            r << q.value(i);
        rows << r;
    }
    return rows;
}

// Runs `work` on a connection of its own to the database file `path`.
template <typename Work> void withDatabase(const QString& path, Work work)
{
    static int counter = 0;
    const QString name = QStringLiteral("fixture#%1").arg(++counter);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("open %s", qPrintable(path));
        work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// Writes the application folder's "fcsj.su" holding a database "lumo.fc"
// whose register has exactly `rows` (serial numbers may repeat).
inline void makeExchange(TestApp& app, const QList<QVariantMap>& rows)
{
    QTemporaryDir src;
    const QString db = src.path() + QStringLiteral("/lumo.fc");
    QFile::copy(deliveredDatabase(), db);
    QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner);
    withDatabase(db, [&](QSqlDatabase d) {
        QSqlQuery(d).exec(QStringLiteral("DELETE FROM fcxx"));
        // Another agency's register need not keep serial numbers unique.
        QSqlQuery(d).exec(QStringLiteral("DROP INDEX fcxx_xh"));
        d.transaction();
        insertRows(d, rows);
        d.commit();
    });
    TBackupFile archive;
    archive.SetCompressionLevel(clMax);
    if (!archive.Backup({fromQ(db)}, fromQ(app.path(QStringLiteral("fcsj.su")))))
        qFatal("exchange file not written");
}

inline QByteArray fingerprint(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

// A progress that fails when told `trigger` (text, or bar 1 reaching 50).
class FailingProgress : public DataProgress
{
public:
    enum class When { Never, Bar1Half, AfterText };
    explicit FailingProgress(When w) : when(w) {}
    void setText(const QString&) override { textSeen = true; }
    void setBar(int bar, int percent) override
    {
        if (bar == 1 && percent >= 50 &&
            (when == When::Bar1Half || (when == When::AfterText && textSeen)))
            throw std::runtime_error("progress failed");
    }
    When when;
    bool textSeen = false;
};

} // namespace lumo::test
