#include "Compaction.h"

#include "DatabaseFile.h"
#include "Folders.h"
#include "OperationGuard.h"
#include "Tsj.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace lumo
{

namespace
{

QAtomicInt connectionCounter;

// Runs `work` on a read-only connection of its own to the database `path`
// and returns its answer; `error` gets the engine's text on failure.
template <typename Work> bool withDatabase(const QString& path, QString& error, Work work)
{
    const QString name =
        QStringLiteral("lumo_check#%1").arg(connectionCounter.fetchAndAddRelaxed(1));
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                           QStringLiteral("?mode=ro"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=500"));
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            ok = work(db, error);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool integrityOk(QSqlDatabase& db, QString& error)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA integrity_check"))) {
        error = q.lastError().text();
        return false;
    }
    QStringList problems;
    while (q.next())
        problems << q.value(0).toString();
    if (problems != QStringList{QStringLiteral("ok")}) {
        error = problems.join(QLatin1Char('\n'));
        return false;
    }
    return true;
}

} // namespace

bool CompactJetFile(const QString& source, const QString& target)
{
    const QFileInfo src(source);
    const QFileInfo dst(target);
    if (!src.isFile())
        return false;
    if (dst.exists() && (!dst.isFile() || dst.size() > 0))
        return false;
    const bool existed = dst.exists();
    QString error;
    const bool ok = withDatabase(source, error, [&](QSqlDatabase& db, QString& err) {
        if (!integrityOk(db, err))
            return false;
        QSqlQuery q(db);
        q.prepare(QStringLiteral("VACUUM INTO ?"));
        q.addBindValue(target);
        if (!q.exec()) {
            err = q.lastError().text();
            return false;
        }
        return true;
    });
    if (!ok && !existed)
        QFile::remove(target);
    return ok;
}

DataResult compactDatabase(DataEnv& env)
{
    OperationGuard guard(env.folders);
    if (!guard.acquired())
        return guard.refusal();
    DataResult r;
    const QString failed =
        QStringLiteral("数据库整理出现未知错误…\r\n\r\n可能是有其他程序正在使用数据库？\r\n\r\n"
                       "建议关闭其他与数据库连接的程序然后在进行整理？");
    if (env.sj)
        env.sj->disconnectLumo1();
    const QString database = databaseFile(env.sj, env.folders);
    const QString compacted = currentFolder(env.folders) + QStringLiteral("/lumo.~fc");

    QString error;
    if (!removeIfPresent(compacted, &error)) {
        r.message = failed;
        r.detail = error;
        return r;
    }
    env.progress.processEvents();
    auto removeCompacted = [&] {
        removeIfPresent(compacted);
        removeSideFiles(compacted);
    };
    if (!CompactJetFile(database, compacted)) {
        removeCompacted();
        r.message = failed;
        r.detail = databaseProblem(database);
        return r;
    }
    // The compacted copy is written into the database through the engine:
    // another program's transaction makes it fail with nothing changed.
    QString problem = databaseProblem(compacted);
    PlaceResult placed;
    if (problem.isEmpty())
        placed = placeDatabase(compacted, database, &env.progress);
    removeCompacted();
    if (!problem.isEmpty() || !placed.ok) {
        r.message = failed;
        r.detail = problem.isEmpty() ? placed.error : problem;
        return r;
    }
    r.ok = true;
    r.closeProgram = true;
    r.message = QStringLiteral("数据库整理完成，请重新启动程序！");
    return r;
}

} // namespace lumo
