#pragma once
// A register with a history, for the fault-injection tests: a backup taken
// on an earlier day (slot 1), a register changed since, an exchange file of
// another agency in the application folder, and the clock on the next day.
// After an operation ran, `check` proves what must hold whatever happened:
// the database passes the engine's integrity check and holds the old or the
// new complete content, matching what the operation reported; no slot file
// was lost or holds foreign content; nothing was written outside the
// application folder; nothing of the operation's own is left behind.
#include "BackupSlots.h"
#include "Compaction.h"
#include "DataFixtures.h"
#include "DatabaseArchive.h"
#include "ExchangeFile.h"
#include "FileFaults.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QMap>

#include <algorithm>

#include <memory>

namespace lumo::test
{

enum class Op { Backup, Restore, Export, Update, Replace, Compact };

inline const char* opName(Op op)
{
    switch (op) {
    case Op::Backup:
        return "closing backup";
    case Op::Restore:
        return "restore";
    case Op::Export:
        return "export";
    case Op::Update:
        return "import by update";
    case Op::Replace:
        return "import by replacement";
    case Op::Compact:
        return "compaction";
    }
    return "";
}

inline QList<QVariantMap> listings(int from, int to)
{
    QList<QVariantMap> rows;
    for (int i = from; i <= to; ++i)
        rows << listing(i);
    return rows;
}

inline QList<QVariantList> rowsOf(const QString& path)
{
    QList<QVariantList> rows;
    withDatabase(path, [&](QSqlDatabase db) { rows = registerRows(db); });
    return rows;
}

// The register inside an archive, or nothing when it does not unpack to a
// sound database.
inline std::optional<QList<QVariantList>> archivedRows(const QString& archive)
{
    QTemporaryDir out;
    TBackupFile reader;
    if (!reader.Restore(fromQ(archive), fromQ(out.path())))
        return std::nullopt;
    const QString db = out.path() + QStringLiteral("/lumo.fc");
    if (!databaseProblem(db).isEmpty())
        return std::nullopt;
    return rowsOf(db);
}

// Every file below `root` with its fingerprint, except the application
// folder and the per-user registry file.
inline QMap<QString, QByteArray> filesOutside(const QString& root, const QString& appDir,
                                              const QString& registry)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.startsWith(appDir + QLatin1Char('/')) || path == registry ||
            path.startsWith(registry + QLatin1Char('.')))
            continue;
        files.insert(path, fingerprint(path));
    }
    return files;
}

struct OpOutcome {
    DataResult result;
};

class FaultScenario
{
public:
    FaultScenario()
    {
        app.clock.current = QDateTime(day1(), QTime(18, 0));
        app.exec(QStringLiteral("DELETE FROM fcxx"));
        insertAll(listings(1, 300));
        DataProgress quiet;
        DataEnv env = envOf(quiet);
        const DataResult first = closingBackup(env);
        if (!first.ok)
            qFatal("first backup: %s", qPrintable(first.fullText()));
        slotAtBackup = registerRows(app.sj->lumo1());
        app.exec(QStringLiteral("DELETE FROM fcxx WHERE 序号 > 150"));
        insertAll(listings(1001, 1100));
        makeExchange(app, listings(500, 799));
        app.clock.current = QDateTime(day1().addDays(1), QTime(18, 0));

        before = registerRows(app.sj->lumo1());
        slot1 = fingerprint(slotFile(app.folders, slotDateText(day1())));
        exchange = fingerprint(app.path(QStringLiteral("fcsj.su")));
        QDir().mkpath(tempDir());
        qputenv("TMPDIR", tempDir().toLocal8Bit());
        outside = filesOutside(app.dir.path(), app.appDir(), registry());
    }
    ~FaultScenario() { faults::setWriteBudget(-1); }

    static QDate day1() { return QDate(2026, 12, 1); }
    // Adds rows in one transaction (one commit, one sync).
    void insertAll(const QList<QVariantMap>& rows)
    {
        QSqlDatabase db = app.sj->lumo1();
        db.transaction();
        insertRows(db, rows);
        db.commit();
    }
    QString tempDir() const { return app.dir.path() + QStringLiteral("/tmp"); }
    QString registry() const { return app.store.registryPath(); }
    QString database() const { return app.path(QStringLiteral("lumo.fc")); }
    QString slotValue(const QString& name) const
    {
        return app.store.ReadSlotValue(QStringLiteral("Velmora"), name);
    }
    DataEnv envOf(DataProgress& progress)
    {
        return DataEnv{app.sj.get(), app.store, app.folders, app.clock, progress};
    }
    DataEnv envOf(DataProgress& progress, SettingsStore& store)
    {
        return DataEnv{app.sj.get(), store, app.folders, app.clock, progress};
    }

    DataResult run(Op op, DataEnv& env)
    {
        switch (op) {
        case Op::Backup:
            return closingBackup(env);
        case Op::Restore:
            return restoreSlot(env, 1);
        case Op::Export:
            return exportExchange(env);
        case Op::Update:
            return importByUpdate(env);
        case Op::Replace:
            return importByReplacement(env);
        case Op::Compact:
            return compactDatabase(env);
        }
        return DataResult{};
    }
    DataResult run(Op op)
    {
        DataProgress quiet;
        DataEnv env = envOf(quiet);
        return run(op, env);
    }

    // Whether the operation changes the register when it succeeds.
    static bool writesRegister(Op op)
    {
        return op == Op::Restore || op == Op::Update || op == Op::Replace || op == Op::Compact;
    }

    // The checks after `op` reported `r`; `after` is the register a
    // successful run leaves. `extraSerials` are the serial numbers of rows
    // another program committed meanwhile, which must be in the register
    // whatever happened.
    void check(Op op, const DataResult& r, const QList<QVariantList>& after,
               const QList<qlonglong>& extraSerials = {})
    {
        faults::setWriteBudget(-1);
        app.sj->disconnectLumo1();
        // Opening the database rolls back whatever an interrupted write
        // left in its journal, as the next start of the program does.
        QList<QVariantList> now;
        QString integrity;
        withDatabase(database(), [&](QSqlDatabase db) {
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
            integrity = q.value(0).toString();
            now = registerRows(db);
        });
        QCOMPARE(integrity, QStringLiteral("ok"));
        QCOMPARE(databaseProblem(database()), QString());
        for (const qlonglong serial : extraSerials) {
            const auto at = std::find_if(now.begin(), now.end(), [&](const QVariantList& row) {
                return row.at(0).toLongLong() == serial;
            });
            QVERIFY2(at != now.end(), "another program's committed row is lost");
            now.erase(at);
        }
        const bool changed = writesRegister(op) && r.ok;
        QVERIFY2(now == (changed ? after : before),
                 qPrintable(QStringLiteral("%1: register holds neither the old nor the new content "
                                           "it should (ok=%2, %3 rows)")
                                .arg(QLatin1String(opName(op)))
                                .arg(r.ok)
                                .arg(now.size())));

        // The message tells the truth.
        QVERIFY(r.ok || !r.message.isEmpty());
        const QStringList successes{QStringLiteral("数据恢复完毕！"),
                                    QStringLiteral("外部数据文件数据以完全导入系统内！！！"),
                                    QStringLiteral("数据更新完毕，请重新启动软件！"),
                                    QStringLiteral("数据库整理完成，请重新启动程序！")};
        if (!r.ok) {
            QVERIFY2(!successes.contains(r.message), qPrintable(r.message));
            QVERIFY(!r.message.startsWith(QStringLiteral("以将数据保存到")));
        } else if (op != Op::Backup) {
            QVERIFY2(successes.contains(r.message) ||
                         r.message.startsWith(QStringLiteral("以将数据保存到")),
                     qPrintable(r.message));
        }

        // The ring: slot 1 keeps its file; a new slot exists only after a
        // successful backup, and every slot file is named by the registry
        // and holds a sound copy of the register it was taken from.
        QCOMPARE(fingerprint(slotFile(app.folders, slotDateText(day1()))), slot1);
        QCOMPARE(slotValue(QStringLiteral("1")), slotDateText(day1()));
        const QString today = slotDateText(app.clock.today());
        const bool newSlot = op == Op::Backup && r.ok;
        QCOMPARE(slotValue(QStringLiteral("cs")),
                 newSlot ? QStringLiteral("2") : QStringLiteral("1"));
        QCOMPARE(slotValue(QStringLiteral("2")), newSlot ? today : QString());
        QStringList expected{slotDateText(day1()) + QStringLiteral(".bak")};
        if (newSlot)
            expected << today + QStringLiteral(".bak");
        expected.sort();
        QStringList bak =
            QDir(app.path(QStringLiteral("bak"))).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        bak.removeIf(
            [](const QString& n) { return n.contains(QStringLiteral("before-migration")); });
        QCOMPARE(bak, expected);
        if (newSlot) {
            const auto rows = archivedRows(slotFile(app.folders, today));
            QVERIFY2(rows.has_value(), "today's slot file is no sound backup");
            QCOMPARE(*rows, before);
        }

        // The exchange file is the earlier one or a complete new one.
        const QString su = app.path(QStringLiteral("fcsj.su"));
        if (op == Op::Export && r.ok) {
            const auto rows = archivedRows(su);
            QVERIFY2(rows.has_value(), "the exported file is no sound archive");
            QCOMPARE(*rows, before);
        } else {
            QCOMPARE(fingerprint(su), exchange);
        }

        // Nothing outside the application folder, nothing of ours left.
        QCOMPARE(filesOutside(app.dir.path(), app.appDir(), registry()), outside);
        const QStringList left =
            QDir(app.appDir())
                .entryList({QStringLiteral("lumo-*"), QStringLiteral("lumo.~fc*"),
                            QStringLiteral("*.part"), QStringLiteral("*.new"),
                            QStringLiteral("lumo.fc-journal")},
                           QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
        QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("bak/lumo.fc"))));
    }

    TestApp app;
    QList<QVariantList> slotAtBackup;
    QList<QVariantList> before;
    QByteArray slot1;
    QByteArray exchange;
    QMap<QString, QByteArray> outside;
};

} // namespace lumo::test
