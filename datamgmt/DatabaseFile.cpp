#include "DatabaseFile.h"

#include "DataOperation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sqlite3.h>

#include <utility>
#include <vector>

namespace lumo
{

namespace
{

// Pages copied per step of a placement; the message loop runs in between.
constexpr int kPagesPerStep = 1024;
// How long a placement waits for another program's transaction to end.
constexpr int kBusyWaitMs = 1000;

// One connection of our own, closed on every path.
class Connection
{
public:
    Connection() = default;
    ~Connection() { close(); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens `path` literally (no URI processing, so "#", "?" and "%" are
    // plain characters of the path).
    bool open(const QString& path, int flags)
    {
        close();
        const QByteArray name = QFile::encodeName(path);
        const int rc = sqlite3_open_v2(name.constData(), &m_db, flags, nullptr);
        m_code = rc;
        if (rc != SQLITE_OK) {
            m_error = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db))
                           : QString::fromUtf8(sqlite3_errstr(rc));
            close();
            return false;
        }
        sqlite3_extended_result_codes(m_db, 1);
        return true;
    }
    void close()
    {
        if (m_db)
            sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    sqlite3* get() const { return m_db; }
    QString error() const { return m_error; }
    int code() const { return m_code; }

    // Runs `sql`, handing each row's first column to `row` (may be null).
    // False with the engine's text in error() on failure.
    template <typename Row> bool exec(const char* sql, Row row)
    {
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr);
        if (rc == SQLITE_OK) {
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
                const unsigned char* text = sqlite3_column_text(stmt, 0);
                row(QString::fromUtf8(text ? reinterpret_cast<const char*>(text) : ""));
            }
            if (rc == SQLITE_DONE)
                rc = SQLITE_OK;
        }
        m_code = rc;
        if (rc != SQLITE_OK)
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(stmt);
        return rc == SQLITE_OK;
    }
    bool exec(const char* sql)
    {
        return exec(sql, [](const QString&) {});
    }

private:
    sqlite3* m_db = nullptr;
    QString m_error;
    int m_code = SQLITE_OK;
};

// The tables the program works on and the fields it names in them.
const std::vector<std::pair<const char*, QStringList>>& requiredTables()
{
    static const std::vector<std::pair<const char*, QStringList>> tables{
        {"fcxx",
         {QStringLiteral("序号"), QStringLiteral("SB"), QStringLiteral("区域"),
          QStringLiteral("房屋地址"), QStringLiteral("详细地址"), QStringLiteral("户型"),
          QStringLiteral("楼层"), QStringLiteral("朝向"), QStringLiteral("房龄"),
          QStringLiteral("面积"), QStringLiteral("权属"), QStringLiteral("价格"),
          QStringLiteral("备注"), QStringLiteral("相片"), QStringLiteral("联系电话"),
          QStringLiteral("房主"), QStringLiteral("登记日期")}},
        {"fzxx",
         {QStringLiteral("序号"), QStringLiteral("楼层"), QStringLiteral("房龄"),
          QStringLiteral("面积"), QStringLiteral("价格"), QStringLiteral("sb"),
          QStringLiteral("区域"), QStringLiteral("房屋地址"), QStringLiteral("户型"),
          QStringLiteral("朝向"), QStringLiteral("权属"), QStringLiteral("备注"),
          QStringLiteral("相片"), QStringLiteral("联系电话"), QStringLiteral("房主"),
          QStringLiteral("登记日期")}},
        {"dh",
         {QStringLiteral("序号"), QStringLiteral("名称"), QStringLiteral("地址"),
          QStringLiteral("电话"), QStringLiteral("备注"), QStringLiteral("日期")}},
        {"ma", {QStringLiteral("用户"), QStringLiteral("密码"), QStringLiteral("姓名")}},
        {"jb",
         {QStringLiteral("级别"), QStringLiteral("房源录入"), QStringLiteral("房源删除"),
          QStringLiteral("名片管理"), QStringLiteral("房主电话"), QStringLiteral("软件设置"),
          QStringLiteral("数据管理")}},
    };
    return tables;
}

// Field names of `table` (lower case: the engine ignores case in names).
bool tableFields(Connection& db, const char* table, QStringList& fields)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db.get(), "SELECT name FROM pragma_table_info(?1)", -1, &stmt,
                           nullptr) != SQLITE_OK)
        return false;
    sqlite3_bind_text(stmt, 1, table, -1, SQLITE_STATIC);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(stmt, 0);
        fields << QString::fromUtf8(text ? reinterpret_cast<const char*>(text) : "").toLower();
    }
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
}

// The target is missing or holds no database: there is nothing another
// program can have open as a database, so a complete copy is renamed over
// it. A leftover journal beside it belongs to the damaged file and would
// corrupt the new one: it goes first.
PlaceResult renameInPlace(const QString& source, const QString& target)
{
    PlaceResult r;
    if (!removeSideFiles(target, &r.error))
        return r;
    const QString part = target + QStringLiteral(".new");
    if (!removeIfPresent(part, &r.error))
        return r;
    if (!copyWholeFile(source, part, &r.error) || !replaceFile(part, target, &r.error)) {
        removeIfPresent(part);
        return r;
    }
    r.ok = true;
    return r;
}

bool isBusy(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

} // namespace

bool removeSideFiles(const QString& database, QString* error)
{
    bool ok = true;
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        QString problem;
        if (!removeIfPresent(database + QLatin1String(suffix), &problem) && ok) {
            ok = false;
            if (error)
                *error = problem;
        }
    }
    return ok;
}

QString databaseProblem(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return locatedText(path, QStringLiteral("文件不存在"));
    Connection db;
    if (!db.open(path, SQLITE_OPEN_READONLY))
        return locatedText(path, db.error());
    sqlite3_busy_timeout(db.get(), kBusyWaitMs);
    QStringList problems;
    if (!db.exec("PRAGMA integrity_check", [&](const QString& line) { problems << line; }))
        return locatedText(path, db.error());
    if (problems != QStringList{QStringLiteral("ok")})
        return locatedText(path, problems.join(QLatin1Char('\n')));
    QStringList missing;
    for (const auto& [table, required] : requiredTables()) {
        QStringList fields;
        if (!tableFields(db, table, fields))
            return locatedText(path, QString::fromUtf8(sqlite3_errmsg(db.get())));
        if (fields.isEmpty()) {
            missing << QStringLiteral("缺少表 %1").arg(QLatin1String(table));
            continue;
        }
        for (const QString& f : required)
            if (!fields.contains(f.toLower()))
                missing << QStringLiteral("表 %1 缺少字段 %2").arg(QLatin1String(table), f);
    }
    return missing.isEmpty() ? QString() : locatedText(path, missing.join(QStringLiteral("; ")));
}

bool snapshotDatabase(const QString& source, const QString& copy, QString* error)
{
    QString problem;
    bool ok = false;
    {
        Connection from;
        Connection to;
        if (!from.open(source, SQLITE_OPEN_READONLY)) {
            problem = locatedText(source, from.error());
        } else if (!to.open(copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) {
            problem = locatedText(copy, to.error());
        } else {
            sqlite3_busy_timeout(from.get(), 5000);
            // One step copies every page under a single read transaction.
            sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
            if (!backup) {
                problem = locatedText(copy, QString::fromUtf8(sqlite3_errmsg(to.get())));
            } else {
                const int step = sqlite3_backup_step(backup, -1);
                const int finish = sqlite3_backup_finish(backup);
                if (step != SQLITE_DONE || finish != SQLITE_OK)
                    problem = locatedText(source, QString::fromUtf8(sqlite3_errstr(
                                                      step != SQLITE_DONE ? step : finish)));
                else if (!to.exec("PRAGMA journal_mode=DELETE"))
                    problem = locatedText(copy, to.error());
                else
                    ok = true;
            }
        }
    }
    if (!ok) {
        if (error)
            *error = problem;
        QFile::remove(copy);
        removeSideFiles(copy);
    }
    return ok;
}

PlaceResult placeDatabase(const QString& source, const QString& target, DataProgress* progress)
{
    PlaceResult r;
    Connection from;
    if (!from.open(source, SQLITE_OPEN_READWRITE)) {
        r.error = locatedText(source, from.error());
        return r;
    }
    // The new content travels in the rollback journal's file format.
    if (!from.exec("PRAGMA journal_mode=DELETE")) {
        r.error = locatedText(source, from.error());
        return r;
    }
    const QFileInfo info(target);
    if (!info.exists()) {
        from.close();
        return renameInPlace(source, target);
    }

    Connection to;
    if (!to.open(target, SQLITE_OPEN_READWRITE)) {
        r.error = locatedText(target, to.error());
        return r;
    }
    sqlite3_busy_timeout(to.get(), kBusyWaitMs);
    // Reading the target's header rolls back a crashed writer's leftover
    // journal; a file that is no database at all is replaced by a rename.
    if (!to.exec("SELECT count(*) FROM sqlite_master")) {
        if (isBusy(to.code())) {
            r.busy = true;
            r.error = locatedText(target, to.error());
            return r;
        }
        const int primary = to.code() & 0xff;
        if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT) {
            to.close();
            from.close();
            return renameInPlace(source, target);
        }
        r.error = locatedText(target, to.error());
        return r;
    }
    // A register left in WAL mode by another program goes back to the
    // rollback journal when nobody else has it open; the backup works in
    // either mode.
    to.exec("PRAGMA journal_mode=DELETE");

    sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
    if (!backup) {
        r.busy = isBusy(sqlite3_errcode(to.get()));
        r.error = locatedText(target, QString::fromUtf8(sqlite3_errmsg(to.get())));
        return r;
    }
    int rc;
    try {
        do {
            rc = sqlite3_backup_step(backup, kPagesPerStep);
            if (rc == SQLITE_OK && progress) {
                const int total = sqlite3_backup_pagecount(backup);
                const int left = sqlite3_backup_remaining(backup);
                progress->setBar(1, total > 0 ? (total - left) * 100 / total : 100);
                progress->processEvents();
            }
        } while (rc == SQLITE_OK);
    } catch (...) {
        // Finishing an unfinished backup rolls the target's transaction back.
        sqlite3_backup_finish(backup);
        throw;
    }
    const int finish = sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE || finish != SQLITE_OK) {
        const int code = rc != SQLITE_DONE ? rc : finish;
        r.busy = isBusy(code);
        r.error = locatedText(target, QString::fromUtf8(sqlite3_errstr(code)));
        return r;
    }
    if (progress)
        progress->setBar(1, -1);
    r.ok = true;
    return r;
}

} // namespace lumo
