#include "ExchangeFile.h"

#include "BackupFile.h"
#include "Compaction.h"
#include "DataError.h"
#include "DatabaseArchive.h"
#include "DatabaseFile.h"
#include "Dataset.h"
#include "Folders.h"
#include "OperationGuard.h"
#include "Tsj.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cmath>
#include <stdexcept>

namespace lumo
{

namespace
{

QString exchangeName()
{
    return QStringLiteral("fcsj.su");
}

QString exchangeFile(const Folders& folders)
{
    return appFolder(folders) + QLatin1Char('/') + exchangeName();
}

QString updateFile(const Folders& folders)
{
    return appFolder(folders) + QStringLiteral("/lumo.up");
}

// Hides the progress panel however the operation ends.
class PanelGuard
{
public:
    explicit PanelGuard(DataProgress& p) : m_progress(p) { m_progress.begin(); }
    ~PanelGuard()
    {
        try {
            m_progress.end();
        } catch (...) {
        }
    }
    PanelGuard(const PanelGuard&) = delete;
    PanelGuard& operator=(const PanelGuard&) = delete;

private:
    DataProgress& m_progress;
};

// Unpacks the database entry of the exchange file into a private temporary
// folder and moves it to "lumo.up" once it proved sound; nothing else of the
// exchange file is written anywhere. A "lumo.up" left from an earlier run is
// removed first, so that only this run's extraction can pass. False with
// `detail` set on any failure.
bool extractExchange(DataEnv& env, QString& detail)
{
    const QString up = updateFile(env.folders);
    if (!removeIfPresent(up, &detail))
        return false;

    std::vector<std::string> errors;
    QTemporaryDir temp(appFolder(env.folders) + QStringLiteral("/lumo-unpack-XXXXXX"));
    bool ok = temp.isValid();
    if (!ok)
        errors.push_back(fromQ(temp.errorString()));
    ok = ok && unpackDatabase(env, exchangeFile(env.folders), temp.path(), errors);
    const QString extracted = temp.path() + QLatin1Char('/') + QLatin1String(kDatabaseEntry);
    if (ok) {
        const QString problem = databaseProblem(extracted);
        if (!problem.isEmpty()) {
            errors.push_back(fromQ(problem));
            ok = false;
        }
    }
    if (ok) {
        QString error;
        ok = replaceFile(extracted, up, &error);
        if (!ok)
            errors.push_back(fromQ(error));
    }
    if (!ok) {
        removeIfPresent(up);
        detail = archiveErrors(errors);
    }
    return ok;
}

void appendKeyPart(QByteArray& key, const QVariant& v)
{
    if (v.isNull()) {
        key += 'n';
        return;
    }
    switch (v.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        key += 'i';
        key += QByteArray::number(v.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        // Whole numbers compare equal to the same integer.
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.0e18) {
            key += 'i';
            key += QByteArray::number(qint64(d));
        } else {
            key += 'd';
            key += QByteArray::number(d, 'g', 17);
        }
        break;
    }
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        key += 'b';
        key += QByteArray::number(b.size());
        key += ':';
        key += b;
        break;
    }
    default: {
        const QByteArray t = v.toString().toUtf8();
        key += 't';
        key += QByteArray::number(t.size());
        key += ':';
        key += t;
        break;
    }
    }
    key += '|';
}

QString fieldList(const QStringList& fields)
{
    return fields.join(QStringLiteral(", "));
}

void check(bool ok, const QSqlQuery& q)
{
    if (!ok)
        throw DataError(q.lastError().databaseText().isEmpty() ? q.lastError().text()
                                                               : q.lastError().databaseText());
}

qint64 countRows(QSqlDatabase db)
{
    QSqlQuery q(db);
    check(q.exec(QStringLiteral("SELECT count(*) FROM fcxx")), q);
    return q.next() ? q.value(0).toLongLong() : 0;
}

// Reports `done` of `total` on a bar when the percentage changes.
class BarReporter
{
public:
    BarReporter(DataProgress& p, int bar, qint64 total) : m_p(p), m_bar(bar), m_total(total)
    {
        m_p.setBar(m_bar, 0);
    }
    void step(qint64 done)
    {
        const int percent = m_total > 0 ? int(done * 100 / m_total) : 100;
        if (percent != m_last) {
            m_last = percent;
            m_p.setBar(m_bar, percent);
            m_p.processEvents();
        }
    }

private:
    DataProgress& m_p;
    int m_bar;
    qint64 m_total;
    int m_last = 0;
};

} // namespace

const QStringList& comparedFields()
{
    static const QStringList fields{
        QStringLiteral("序号"),     QStringLiteral("SB"),      QStringLiteral("区域"),
        QStringLiteral("房屋地址"), QStringLiteral("户型"),    QStringLiteral("楼层"),
        QStringLiteral("朝向"),     QStringLiteral("房龄"),    QStringLiteral("面积"),
        QStringLiteral("权属"),     QStringLiteral("联系电话")};
    return fields;
}

const QStringList& copiedFields()
{
    static const QStringList fields{
        QStringLiteral("sb"),       QStringLiteral("区域"), QStringLiteral("房屋地址"),
        QStringLiteral("楼层"),     QStringLiteral("房龄"), QStringLiteral("面积"),
        QStringLiteral("价格"),     QStringLiteral("户型"), QStringLiteral("朝向"),
        QStringLiteral("权属"),     QStringLiteral("备注"), QStringLiteral("相片"),
        QStringLiteral("联系电话"), QStringLiteral("房主"), QStringLiteral("登记日期")};
    return fields;
}

QByteArray duplicateKey(const QVariantList& values)
{
    QByteArray key;
    key.reserve(128);
    for (const QVariant& v : values)
        appendKeyPart(key, v);
    return key;
}

DataResult exportExchange(DataEnv& env)
{
    OperationGuard guard(env.folders);
    if (!guard.acquired())
        return guard.refusal();
    DataResult r;
    const QString target = currentFolder(env.folders) + QLatin1Char('/') + exchangeName();
    const QString part = target + QStringLiteral(".part");
    std::vector<std::string> errors;
    QString error;
    bool ok = removeIfPresent(part, &error);
    if (!ok) {
        errors.push_back(fromQ(error));
    } else {
        ok = archiveDatabase(env, databaseFile(env.sj, env.folders), part, errors);
        if (ok) {
            ok = replaceFile(part, target, &error);
            if (!ok)
                errors.push_back(fromQ(error));
        }
        if (!ok)
            removeIfPresent(part);
    }
    r.ok = ok;
    if (ok)
        r.message = QStringLiteral("以将数据保存到 ") + folderForMessage(env.folders) +
                    QStringLiteral(" 目录内！") + QStringLiteral("\r\n\r\n数据文件名为 fcsj.su");
    else
        r.message = QStringLiteral("数据导出失败，数据文件 fcsj.su 没有写成！");
    r.detail = archiveErrors(errors);
    return r;
}

DataResult importByUpdate(DataEnv& env)
{
    OperationGuard guard(env.folders);
    if (!guard.acquired())
        return guard.refusal();
    DataResult r;
    if (!QFileInfo(exchangeFile(env.folders)).isFile()) {
        r.message = QStringLiteral("外部数据文件 fcsj.su 不存在？\r\n\r请将外部数据文件拷贝到 ") +
                    folderForMessage(env.folders) + QStringLiteral(" 目录内！");
        // The update import ends by removing "lumo.up" whatever happened.
        removeIfPresent(updateFile(env.folders));
        return r;
    }
    if (!env.sj) {
        r.message = QStringLiteral("外部数据导入失败，系统内的数据没有改变！");
        r.detail = QStringLiteral("数据库没有打开");
        return r;
    }
    Tsj& sj = *env.sj;
    const QString up = updateFile(env.folders);
    {
        PanelGuard panel(env.progress);
        QString detail;
        if (!extractExchange(env, detail)) {
            r.message = QStringLiteral("数据文件未被正确解压缩？数据导入不成功！");
            r.detail = detail;
            return r;
        }

        QSqlDatabase reg = sj.lumo1();
        bool inTransaction = false;
        try {
            env.progress.setText(QStringLiteral("数据正在更新..."));
            if (!sj.lumo1Connected())
                sj.connectLumo1();
            sj.connectLwb(up);
            QSqlDatabase ext = sj.lwb();

            // The register's rows by their compared fields.
            QSet<QByteArray> present;
            const qint64 registerRows = countRows(reg);
            const qint64 exchangeRows = countRows(ext);
            present.reserve(registerRows + exchangeRows);
            BarReporter bar1(env.progress, 1, exchangeRows);
            BarReporter bar2(env.progress, 2, registerRows);
            QVariantList values;
            {
                QSqlQuery q(reg);
                q.setForwardOnly(true);
                check(
                    q.exec(QStringLiteral("SELECT %1 FROM fcxx").arg(fieldList(comparedFields()))),
                    q);
                qint64 done = 0;
                while (q.next()) {
                    values.clear();
                    for (int i = 0; i < comparedFields().size(); ++i)
                        values << q.value(i);
                    present.insert(duplicateKey(values));
                    bar2.step(++done);
                }
            }

            // New numbers follow the register's last row (natural order).
            qint64 next = 1;
            {
                QSqlQuery q(reg);
                check(q.exec(QStringLiteral("SELECT 序号 FROM fcxx ORDER BY rowid DESC LIMIT 1")),
                      q);
                if (q.next() && !q.value(0).isNull() && q.value(0).toLongLong() > 0)
                    next = q.value(0).toLongLong() + 1;
            }

            if (!reg.transaction())
                throw DataError(reg.lastError().text());
            inTransaction = true;
            QStringList placeholders;
            for (int i = 0; i <= copiedFields().size(); ++i)
                placeholders << QStringLiteral("?");
            QSqlQuery insert(reg);
            check(insert.prepare(
                      QStringLiteral("INSERT INTO fcxx (序号, %1) VALUES (%2)")
                          .arg(fieldList(copiedFields()), placeholders.join(QStringLiteral(", ")))),
                  insert);

            // The compared fields first, then the copied ones not among them.
            QStringList readFields = comparedFields();
            QVector<int> copiedAt;
            for (const QString& f : copiedFields()) {
                int at = -1;
                for (int i = 0; i < readFields.size(); ++i)
                    if (readFields.at(i).compare(f, Qt::CaseInsensitive) == 0)
                        at = i;
                if (at < 0) {
                    at = int(readFields.size());
                    readFields << f;
                }
                copiedAt << at;
            }
            QSqlQuery q(ext);
            q.setForwardOnly(true);
            check(q.exec(QStringLiteral("SELECT %1 FROM fcxx ORDER BY rowid")
                             .arg(fieldList(readFields))),
                  q);
            qint64 done = 0;
            QVariantList row;
            while (q.next()) {
                row.clear();
                for (int i = 0; i < readFields.size(); ++i)
                    row << q.value(i);
                values = row.mid(0, comparedFields().size());
                if (!present.contains(duplicateKey(values))) {
                    insert.bindValue(0, next);
                    for (int i = 0; i < copiedAt.size(); ++i)
                        insert.bindValue(i + 1, row.at(copiedAt.at(i)));
                    check(insert.exec(), insert);
                    // The new row takes part in the test of the rows after it.
                    values[0] = next;
                    present.insert(duplicateKey(values));
                    ++next;
                    ++r.added;
                }
                bar1.step(++done);
            }
            q.finish();
            insert.finish();
            if (!reg.commit())
                throw DataError(reg.lastError().text());
            inTransaction = false;
            r.ok = true;
            r.message = QStringLiteral("外部数据文件数据以完全导入系统内！！！");
        } catch (const DataError& e) {
            r.detail = e.text();
        } catch (const std::exception& e) {
            r.detail = toQ(e.what());
        }
        if (inTransaction)
            reg.rollback();
        if (!r.ok) {
            r.added = 0;
            r.message = QStringLiteral("外部数据导入失败，系统内的数据没有改变！");
        }
        sj.disconnectLwb();
    }
    removeIfPresent(up);
    try {
        if (sj.ADOTable1->active())
            sj.ADOTable1->refresh();
    } catch (const DataError& e) {
        if (r.detail.isEmpty())
            r.detail = e.text();
    }
    return r;
}

DataResult importByReplacement(DataEnv& env)
{
    OperationGuard guard(env.folders);
    if (!guard.acquired())
        return guard.refusal();
    DataResult r;
    if (env.sj)
        env.sj->disconnectLumo1();
    if (!QFileInfo(exchangeFile(env.folders)).isFile()) {
        r.message = QStringLiteral("数据更新错误，请检查外部数据文件 fcsj.su 是否存在？");
        return r;
    }
    PanelGuard panel(env.progress);
    QString detail;
    if (!extractExchange(env, detail)) {
        r.message = QStringLiteral("数据解压异常，可能是外部数据文件 fcsj.su 损坏？");
        r.detail = detail;
        return r;
    }
    // The update database stays in place; its content is written into the
    // database through the engine, which fails while another program holds
    // a transaction on it and leaves the old content when it fails.
    const QString database = databaseFile(env.sj, env.folders);
    const PlaceResult placed = placeDatabase(updateFile(env.folders), database, &env.progress);
    if (!placed.ok) {
        r.message = QStringLiteral("数据更新错误，原来的数据库没有改变！");
        r.detail = placed.busy
                       ? toQ(BackupErrorText(beCannotReadFile)) + QLatin1Char('\n') + placed.error
                       : placed.error;
        return r;
    }
    r.ok = true;
    r.closeProgram = true;
    r.message = QStringLiteral("数据更新完毕，请重新启动软件！");
    return r;
}

} // namespace lumo
