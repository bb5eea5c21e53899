#include "SchemaMigration.h"

#include "DataError.h"
#include "DatasetDetail.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace lumo
{

namespace
{

using dataset_detail::engineText;

void run(QSqlDatabase& db, const QString& statement)
{
    QSqlQuery q(db);
    if (!q.exec(statement))
        throw DataError(engineText(q.lastError()));
}

QString fileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

} // namespace

const std::vector<MigrationStep>& migrationSteps()
{
    // One entry per version; a step never changes once released.
    static const std::vector<MigrationStep> steps = {
        {1,
         QStringLiteral("查看记录表 fzck"),
         {QStringLiteral("CREATE TABLE fzck (\n"
                         "    序号 INTEGER,\n"
                         "    用户 TEXT,\n"
                         "    姓名 TEXT,\n"
                         "    登录用户 TEXT,\n"
                         "    登录姓名 TEXT,\n"
                         "    时间 TEXT\n"
                         ")")}},
        {2,
         QStringLiteral("查询索引和查询统计信息"),
         {QStringLiteral("DROP INDEX IF EXISTS fcxx_sb_xh"),
          QStringLiteral("CREATE INDEX fcxx_sb_xh ON fcxx (SB, 序号, 楼层, 面积, 价格)"),
          QStringLiteral("CREATE INDEX IF NOT EXISTS fcxx_qy ON fcxx (SB, 区域, 楼层, 户型, 朝向)"),
          QStringLiteral("CREATE INDEX IF NOT EXISTS fcxx_hx ON fcxx (SB, 户型, 楼层, 朝向, 区域)"),
          QStringLiteral("CREATE INDEX IF NOT EXISTS fcxx_cx ON fcxx (SB, 朝向, 楼层, 区域, 户型)"),
          // Makes sqlite_stat1 when it is missing (jb is small), then the
          // statistics of data/schema.sql replace any there were.
          QStringLiteral("ANALYZE jb"), QStringLiteral("DELETE FROM sqlite_stat1"),
          QStringLiteral("INSERT INTO sqlite_stat1 (tbl, idx, stat) VALUES "
                         "('fcxx', 'fcxx_xh', '200000 1'), "
                         "('fcxx', 'fcxx_sb_xh', '200000 200000 1 1 1 1'), "
                         "('fcxx', 'fcxx_qy', '200000 100000 14286 461 42 4'), "
                         "('fcxx', 'fcxx_hx', '200000 100000 9091 294 27 4'), "
                         "('fcxx', 'fcxx_cx', '200000 100000 9091 294 42 4')"),
          // The open connection reads the new statistics.
          QStringLiteral("ANALYZE sqlite_schema")}},
    };
    return steps;
}

int currentSchemaVersion()
{
    return migrationSteps().back().version;
}

int schemaVersion(const QSqlDatabase& db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        throw DataError(engineText(q.lastError()));
    return q.value(0).toInt();
}

int fileSchemaVersion(const QString& path)
{
    static QAtomicInt counter;
    const QString name = QStringLiteral("schema-version-%1").arg(counter.fetchAndAddRelaxed(1));
    int version = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (QFileInfo(path).isFile() && db.open()) {
            try {
                version = schemaVersion(db);
            } catch (const DataError&) {
                version = -1;
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return version;
}

QString migrationBackupPath(const QString& path, int version)
{
    const QFileInfo file(path);
    const QString folder = file.absolutePath() + QStringLiteral("/bak/");
    const QString suffix = file.suffix().isEmpty() ? QString() : QLatin1Char('.') + file.suffix();
    const QString stem =
        QStringLiteral("%1-v%2-before-migration-%3")
            .arg(file.completeBaseName())
            .arg(version)
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString candidate = folder + stem + suffix;
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = folder + stem + QStringLiteral("-%1").arg(n) + suffix;
    return candidate;
}

MigrationResult migrateSchema(QSqlDatabase& db, const QString& path,
                              const std::vector<MigrationStep>& steps)
{
    MigrationResult result;
    result.fromVersion = schemaVersion(db);
    const int target = steps.empty() ? 0 : steps.back().version;
    result.toVersion = result.fromVersion;
    if (result.fromVersion > target) {
        throw DataError(QStringLiteral("数据库文件 %1 的版本（%2）比本程序能识别的版本（%3）新，"
                                       "它是由更新版本的程序写的。\n请使用新版本的程序打开它；"
                                       "本程序没有改动这个文件。")
                            .arg(fileName(path))
                            .arg(result.fromVersion)
                            .arg(target));
    }
    if (result.fromVersion == target)
        return result;

    // The copy is taken before anything changes; without it nothing is done.
    const QString backup = migrationBackupPath(path, result.fromVersion);
    if (!QDir().mkpath(QFileInfo(backup).absolutePath()) || !QFile::copy(path, backup)) {
        throw DataError(QStringLiteral("数据库文件 %1 需要升级到新的版本，但无法把它备份到 %2。"
                                       "\n数据库没有被改动；请检查该文件夹是否可以写入。")
                            .arg(fileName(path), QDir::toNativeSeparators(backup)));
    }
    result.backupPath = backup;

    QString current;
    try {
        run(db, QStringLiteral("BEGIN IMMEDIATE"));
        for (const MigrationStep& step : steps) {
            if (step.version <= result.fromVersion)
                continue;
            current = step.description;
            for (const QString& statement : step.statements)
                run(db, statement);
        }
        run(db, QStringLiteral("PRAGMA user_version = %1").arg(target));
        run(db, QStringLiteral("COMMIT"));
    } catch (const DataError& e) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw DataError(QStringLiteral("数据库文件 %1 升级到版本 %2 失败（%3）：%4\n"
                                       "数据库保持原来的版本 %5，没有被改动；"
                                       "升级前的备份在 %6。")
                            .arg(fileName(path))
                            .arg(target)
                            .arg(current.isEmpty() ? QStringLiteral("开始升级") : current, e.text())
                            .arg(result.fromVersion)
                            .arg(QDir::toNativeSeparators(backup)));
    }
    result.toVersion = target;
    return result;
}

} // namespace lumo
