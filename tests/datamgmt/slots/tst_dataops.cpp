// Closing backups with the slot ring, restore from a slot, export, import by
// replacement, compaction and the lumoctl commands over them.
#include "BackupSlots.h"
#include "Compaction.h"
#include "DataCommand.h"
#include "DataFixtures.h"
#include "Dataset.h"
#include "ExchangeFile.h"
#include "SchemaMigration.h"

#include <QFileInfo>
#include <QLocale>

#include <sstream>

using namespace lumo;
using namespace lumo::test;

namespace
{

DataEnv envOf(TestApp& app, DataProgress& progress)
{
    return DataEnv{app.sj.get(), app.store, app.folders, app.clock, progress};
}

QString slotValue(TestApp& app, const QString& name)
{
    return app.store.ReadSlotValue(QStringLiteral("Velmora"), name);
}

QStringList bakFiles(TestApp& app)
{
    return QDir(app.path(QStringLiteral("bak")))
        .entryList({QStringLiteral("*.bak")}, QDir::Files, QDir::Name);
}

qlonglong listings(TestApp& app)
{
    return app.scalar(QStringLiteral("SELECT count(*) FROM fcxx")).toLongLong();
}

} // namespace

class TestDataOps : public QObject
{
    Q_OBJECT
private slots:
    void dateTextIsTheLongChineseDate();
    void slotRingOverSixDays();
    void failedBackupKeepsRingAndRetries_data();
    void failedBackupKeepsRingAndRetries();
    void restoreFromSlot();
    void restoreFailureLeavesDatabase_data();
    void restoreFailureLeavesDatabase();
    void exportWritesArchiveAndReportsFailure();
    void replacement();
    void replacementFailuresLeaveDatabase_data();
    void replacementFailuresLeaveDatabase();
    void replacementRefusesNewerDatabase();
    void compaction();
    void compactionFailuresLeaveDatabase_data();
    void compactionFailuresLeaveDatabase();
    void compactJetFileRefusesUsedTargetAndDamagedSource();
    void lumoctlCommands();
};

void TestDataOps::dateTextIsTheLongChineseDate()
{
    QCOMPARE(slotDateText(QDate(2026, 12, 9)), QStringLiteral("2026年12月9日星期三"));
    QCOMPARE(nextSlot(QString()), 1);
    QCOMPARE(nextSlot(QStringLiteral("3")), 4);
    QCOMPARE(nextSlot(QStringLiteral("5")), 1);
    QCOMPARE(nextSlot(QStringLiteral("x")), 1);
}

void TestDataOps::slotRingOverSixDays()
{
    TestApp app;
    DataProgress progress;
    DataEnv env = envOf(app, progress);
    const QDate first(2026, 12, 1);
    auto dayText = [&](int d) { return slotDateText(first.addDays(d)); };

    for (int day = 0; day < 5; ++day) {
        app.clock.current = QDateTime(first.addDays(day), QTime(18, 0));
        const DataResult r = closingBackup(env);
        QVERIFY2(r.ok, qPrintable(r.fullText()));
        QVERIFY(!r.skipped);
        QCOMPARE(slotValue(app, QStringLiteral("cs")), QString::number(day + 1));
        QCOMPARE(slotValue(app, QString::number(day + 1)), dayText(day));
        QVERIFY(QFileInfo::exists(slotFile(app.folders, dayText(day))));
        if (day == 0) {
            // A second close the same day takes no new backup.
            const QByteArray before = fingerprint(slotFile(app.folders, dayText(0)));
            app.addListing(77, QStringLiteral("出售"), QStringLiteral("和平区"));
            const DataResult again = closingBackup(env);
            QVERIFY(again.ok && again.skipped);
            QCOMPARE(slotValue(app, QStringLiteral("cs")), QStringLiteral("1"));
            QCOMPARE(fingerprint(slotFile(app.folders, dayText(0))), before);
        }
    }
    QCOMPARE(bakFiles(app).size(), 5);
    QVERIFY(QFileInfo::exists(app.path(QStringLiteral("fcxx.vvv"))));

    // "cs" = "5": the sixth day goes into slot 1 and replaces its file.
    app.clock.current = QDateTime(first.addDays(5), QTime(9, 0));
    QVERIFY(closingBackup(env).ok);
    QCOMPARE(slotValue(app, QStringLiteral("cs")), QStringLiteral("1"));
    QCOMPARE(slotValue(app, QStringLiteral("1")), dayText(5));
    QVERIFY(!QFileInfo::exists(slotFile(app.folders, dayText(0))));
    QVERIFY(QFileInfo::exists(slotFile(app.folders, dayText(5))));
    QCOMPARE(bakFiles(app).size(), 5);

    // Today's slot file deleted by hand: the registry still names today, so
    // a second close that day makes no backup and changes nothing.
    QFile::remove(slotFile(app.folders, dayText(5)));
    const DataResult sameDay = closingBackup(env);
    QVERIFY(sameDay.ok && sameDay.skipped);
    QCOMPARE(slotValue(app, QStringLiteral("cs")), QStringLiteral("1"));
    QCOMPARE(slotValue(app, QStringLiteral("1")), dayText(5));
    QVERIFY(!QFileInfo::exists(slotFile(app.folders, dayText(5))));
    QCOMPARE(slotValue(app, QStringLiteral("2")), dayText(1));
    QCOMPARE(bakFiles(app).size(), 4);

    // An older slot file deleted by hand is no obstacle when the ring
    // reaches it.
    QFile::remove(slotFile(app.folders, dayText(1)));
    app.clock.current = QDateTime(first.addDays(6), QTime(9, 0));
    QVERIFY(closingBackup(env).ok);
    QCOMPARE(slotValue(app, QStringLiteral("cs")), QStringLiteral("2"));
    QCOMPARE(slotValue(app, QStringLiteral("2")), dayText(6));
    QCOMPARE(bakFiles(app).size(), 4);
}

void TestDataOps::failedBackupKeepsRingAndRetries_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("working archive cannot be written") << QStringLiteral("working");
    QTest::newRow("slot file cannot be placed") << QStringLiteral("slot");
    QTest::newRow("progress callback fails") << QStringLiteral("callback");
}

void TestDataOps::failedBackupKeepsRingAndRetries()
{
    QFETCH(QString, fault);
    TestApp app;
    DataProgress progress;
    DataEnv env = envOf(app, progress);
    const QDate day1(2026, 12, 1);
    app.clock.current = QDateTime(day1, QTime(18, 0));
    QVERIFY(closingBackup(env).ok);
    const QByteArray slot1 = fingerprint(slotFile(app.folders, slotDateText(day1)));

    const QDate day2 = day1.addDays(1);
    app.clock.current = QDateTime(day2, QTime(18, 0));
    const QString blocker =
        fault == QLatin1String("working")
            ? app.path(QStringLiteral("fcxx.vvv"))
            : slotFile(app.folders, slotDateText(day2)) + QStringLiteral(".part");
    FailingProgress failing(FailingProgress::When::Bar1Half);
    DataEnv failingEnv = envOf(app, failing);
    if (fault != QLatin1String("callback")) {
        QFile::remove(blocker);
        QVERIFY(QDir().mkpath(blocker + QStringLiteral("/inside")));
    }
    const DataResult r = closingBackup(fault == QLatin1String("callback") ? failingEnv : env);
    QVERIFY(!r.ok);
    QVERIFY(r.message.contains(QStringLiteral("下次关闭程序时将再次备份")));
    QCOMPARE(slotValue(app, QStringLiteral("cs")), QStringLiteral("1"));
    QCOMPARE(slotValue(app, QStringLiteral("2")), QString());
    QCOMPARE(fingerprint(slotFile(app.folders, slotDateText(day1))), slot1);
    QCOMPARE(bakFiles(app), QStringList{slotDateText(day1) + QStringLiteral(".bak")});

    // The next close tries again.
    QDir(blocker).removeRecursively();
    const DataResult retry = closingBackup(env);
    QVERIFY2(retry.ok && !retry.skipped, qPrintable(retry.fullText()));
    QCOMPARE(slotValue(app, QStringLiteral("cs")), QStringLiteral("2"));
    QCOMPARE(slotValue(app, QStringLiteral("2")), slotDateText(day2));
}

void TestDataOps::restoreFromSlot()
{
    TestApp app;
    DataProgress progress;
    DataEnv env = envOf(app, progress);
    app.addListing(1, QStringLiteral("出售"), QStringLiteral("和平区"));
    QVERIFY(closingBackup(env).ok);
    app.addListing(2, QStringLiteral("出租"), QStringLiteral("沈河区"));
    QCOMPARE(listings(app), 2);

    const DataResult r = restoreSlot(env, 1);
    QVERIFY2(r.ok, qPrintable(r.fullText()));
    QCOMPARE(r.message, QStringLiteral("数据恢复完毕！"));
    // Connected again, showing the restored register.
    QVERIFY(app.sj->lumo1Connected());
    QVERIFY(app.sj->ADOTable1->active());
    QCOMPARE(app.sj->ADOTable1->recordCount(), 1);
    QCOMPARE(listings(app), 1);
    const QStringList left =
        QDir(app.appDir()).entryList({QStringLiteral("lumo-restore-*")}, QDir::Dirs | QDir::Hidden);
    QVERIFY(left.isEmpty());
}

void TestDataOps::restoreFailureLeavesDatabase_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("damaged archive") << QStringLiteral("damaged");
    QTest::newRow("truncated archive") << QStringLiteral("truncated");
    QTest::newRow("slot file missing") << QStringLiteral("missing");
    QTest::newRow("slot never used") << QStringLiteral("unused");
    QTest::newRow("progress callback fails") << QStringLiteral("callback");
}

void TestDataOps::restoreFailureLeavesDatabase()
{
    QFETCH(QString, fault);
    TestApp app;
    DataProgress progress;
    DataEnv env = envOf(app, progress);
    app.addListing(1, QStringLiteral("出售"), QStringLiteral("和平区"));
    QVERIFY(closingBackup(env).ok);
    app.addListing(2, QStringLiteral("出租"), QStringLiteral("沈河区"));
    const QString slot = slotFile(app.folders, slotDateText(app.clock.today()));
    QFile f(slot);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    f.close();
    if (fault == QLatin1String("damaged")) {
        for (qsizetype i = bytes.size() / 2; i < bytes.size() - 8; ++i)
            bytes[i] = char(bytes[i] ^ 0x5a);
        writeFile(slot, bytes);
    } else if (fault == QLatin1String("truncated")) {
        writeFile(slot, bytes.left(bytes.size() * 2 / 3));
    } else if (fault == QLatin1String("missing")) {
        QFile::remove(slot);
    }
    app.exec(QStringLiteral("PRAGMA wal_checkpoint"));
    const QByteArray before = fingerprint(app.path(QStringLiteral("lumo.fc")));

    FailingProgress failing(FailingProgress::When::Bar1Half);
    DataEnv failingEnv = envOf(app, failing);
    const DataResult r = restoreSlot(fault == QLatin1String("callback") ? failingEnv : env,
                                     fault == QLatin1String("unused") ? 3 : 1);
    QVERIFY(!r.ok);
    QCOMPARE(r.message, QStringLiteral("数据恢复错误，可能是有其它程序正在使用数据库！"));
    // A missing archive fails without a reason of its own; a damaged one
    // names the archive component's error.
    if (fault == QLatin1String("missing"))
        QCOMPARE(r.detail, QString());
    else if (fault != QLatin1String("unused"))
        QVERIFY(!r.detail.isEmpty());
    QCOMPARE(fingerprint(app.path(QStringLiteral("lumo.fc"))), before);
    QVERIFY(app.sj->lumo1Connected());
    QCOMPARE(listings(app), 2);
}

void TestDataOps::exportWritesArchiveAndReportsFailure()
{
    TestApp app;
    DataProgress progress;
    DataEnv env = envOf(app, progress);
    app.addListing(1, QStringLiteral("出售"), QStringLiteral("和平区"));
    const DataResult r = exportExchange(env);
    QVERIFY2(r.ok, qPrintable(r.fullText()));
    QCOMPARE(r.message, QStringLiteral("以将数据保存到 ") + app.appDir() +
                            QStringLiteral("/ 目录内！\r\n\r\n数据文件名为 fcsj.su"));
    // The exchange file holds the database.
    QTemporaryDir out;
    TBackupFile reader;
    QVERIFY(reader.Restore(fromQ(app.path(QStringLiteral("fcsj.su"))), fromQ(out.path())));
    QCOMPARE(databaseProblem(out.path() + QStringLiteral("/lumo.fc")), QString());
    withDatabase(out.path() + QStringLiteral("/lumo.fc"), [&](QSqlDatabase exported) {
        QCOMPARE(registerRows(exported), registerRows(app.sj->lumo1()));
    });

    // A failed backup is reported and the earlier exchange file stays.
    const QByteArray earlier = fingerprint(app.path(QStringLiteral("fcsj.su")));
    FailingProgress failing(FailingProgress::When::Bar1Half);
    DataEnv failingEnv = envOf(app, failing);
    const DataResult failed = exportExchange(failingEnv);
    QVERIFY(!failed.ok);
    QVERIFY(!failed.message.contains(QStringLiteral("以将数据保存到")));
    QCOMPARE(fingerprint(app.path(QStringLiteral("fcsj.su"))), earlier);
    QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("fcsj.su.part"))));
}

void TestDataOps::replacement()
{
    TestApp app;
    DataProgress progress;
    DataEnv env = envOf(app, progress);
    app.addListing(1, QStringLiteral("出售"), QStringLiteral("和平区"));

    // Missing exchange file: told, and the connection stays closed.
    DataResult r = importByReplacement(env);
    QVERIFY(!r.ok);
    QCOMPARE(r.message, QStringLiteral("数据更新错误，请检查外部数据文件 fcsj.su 是否存在？"));
    QVERIFY(!app.sj->lumo1Connected());
    app.sj->connectLumo1();

    makeExchange(app, {listing(10), listing(11), listing(12)});
    r = importByReplacement(env);
    QVERIFY2(r.ok, qPrintable(r.fullText()));
    QCOMPARE(r.message, QStringLiteral("数据更新完毕，请重新启动软件！"));
    QVERIFY(r.closeProgram);
    QVERIFY(QFileInfo::exists(app.path(QStringLiteral("lumo.up"))));
    QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("bak/lumo.fc"))));
    QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("lumo.fc.new"))));
    withDatabase(app.path(QStringLiteral("lumo.fc")), [](QSqlDatabase db) {
        const auto rows = registerRows(db);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows.at(0).at(0).toInt(), 10);
    });
}

void TestDataOps::replacementFailuresLeaveDatabase_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("damaged exchange file, stale lumo.up") << QStringLiteral("damaged");
    QTest::newRow("another program writes") << QStringLiteral("blocked");
    QTest::newRow("progress callback fails") << QStringLiteral("callback");
}

void TestDataOps::replacementFailuresLeaveDatabase()
{
    QFETCH(QString, fault);
    TestApp app;
    app.addListing(1, QStringLiteral("出售"), QStringLiteral("和平区"));
    makeExchange(app, {listing(10), listing(11)});
    if (fault == QLatin1String("damaged")) {
        // A good "lumo.up" left from an earlier run must not pass for this
        // run's extraction.
        QFile::copy(deliveredDatabase(), app.path(QStringLiteral("lumo.up")));
        writeFile(app.path(QStringLiteral("fcsj.su")), QByteArray(600, 'x'));
    }
    app.sj->disconnectLumo1();
    const QByteArray before = fingerprint(app.path(QStringLiteral("lumo.fc")));
    app.sj->connectLumo1();
    const QString other = QStringLiteral("other program");
    QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), other);
    if (fault == QLatin1String("blocked")) {
        holder.setDatabaseName(app.path(QStringLiteral("lumo.fc")));
        QVERIFY(holder.open());
        QVERIFY(QSqlQuery(holder).exec(QStringLiteral("BEGIN IMMEDIATE")));
    }

    FailingProgress failing(fault == QLatin1String("callback") ? FailingProgress::When::Bar1Half
                                                               : FailingProgress::When::Never);
    DataEnv env = envOf(app, failing);
    const DataResult r = importByReplacement(env);
    QVERIFY(!r.ok);
    QVERIFY(!r.closeProgram);
    if (fault != QLatin1String("blocked")) {
        QCOMPARE(r.message, QStringLiteral("数据解压异常，可能是外部数据文件 fcsj.su 损坏？"));
        QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("lumo.up"))));
    } else {
        QCOMPARE(r.message, QStringLiteral("数据更新错误，原来的数据库没有改变！"));
        QVERIFY(r.detail.contains(QStringLiteral("Cannot read file")));
        QSqlQuery(holder).exec(QStringLiteral("ROLLBACK"));
    }
    holder.close();
    holder = QSqlDatabase();
    QSqlDatabase::removeDatabase(other);
    QCOMPARE(fingerprint(app.path(QStringLiteral("lumo.fc"))), before);
}

// An exchange file from a newer program would leave a database this one
// refuses to open: it does not replace the local one.
void TestDataOps::replacementRefusesNewerDatabase()
{
    TestApp app;
    app.addListing(1, QStringLiteral("出售"), QStringLiteral("和平区"));
    QTemporaryDir src;
    const QString newer = src.path() + QStringLiteral("/lumo.fc");
    QFile::copy(deliveredDatabase(), newer);
    QFile::setPermissions(newer, QFile::ReadOwner | QFile::WriteOwner);
    withDatabase(newer, [](QSqlDatabase d) {
        QSqlQuery(d).exec(
            QStringLiteral("PRAGMA user_version = %1").arg(currentSchemaVersion() + 1));
    });
    TBackupFile archive;
    QVERIFY(archive.Backup({fromQ(newer)}, fromQ(app.path(QStringLiteral("fcsj.su")))));
    app.sj->disconnectLumo1();
    const QByteArray before = fingerprint(app.path(QStringLiteral("lumo.fc")));

    DataProgress progress;
    DataEnv env = envOf(app, progress);
    const DataResult r = importByReplacement(env);
    QVERIFY(!r.ok);
    QVERIFY(!r.closeProgram);
    QVERIFY2(r.message.contains(QStringLiteral("更新版本的程序")), qPrintable(r.message));
    QVERIFY(r.message.contains(QStringLiteral("原来的数据库没有改变")));
    QCOMPARE(fingerprint(app.path(QStringLiteral("lumo.fc"))), before);
}

void TestDataOps::compaction()
{
    TestApp app;
    DataProgress progress;
    DataEnv env = envOf(app, progress);
    for (int i = 1; i <= 200; ++i)
        app.addListing(i, QStringLiteral("出售"), QStringLiteral("和平区"));
    app.exec(QStringLiteral("DELETE FROM fcxx WHERE 序号 > 20"));
    // A damaged leftover of an earlier run is cleared first.
    writeFile(app.path(QStringLiteral("lumo.~fc")), QByteArray("leftover"));
    const qint64 sizeBefore = QFileInfo(app.path(QStringLiteral("lumo.fc"))).size();

    const DataResult r = compactDatabase(env);
    QVERIFY2(r.ok, qPrintable(r.fullText()));
    QCOMPARE(r.message, QStringLiteral("数据库整理完成，请重新启动程序！"));
    QVERIFY(r.closeProgram);
    QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("lumo.~fc"))));
    QVERIFY(QFileInfo(app.path(QStringLiteral("lumo.fc"))).size() < sizeBefore);
    QCOMPARE(databaseProblem(app.path(QStringLiteral("lumo.fc"))), QString());
    app.sj->connectLumo1();
    QCOMPARE(listings(app), 20);
}

void TestDataOps::compactionFailuresLeaveDatabase_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("another program writes") << QStringLiteral("locked");
    QTest::newRow("leftover cannot be removed") << QStringLiteral("leftover");
}

void TestDataOps::compactionFailuresLeaveDatabase()
{
    QFETCH(QString, fault);
    TestApp app;
    DataProgress progress;
    DataEnv env = envOf(app, progress);
    app.addListing(1, QStringLiteral("出售"), QStringLiteral("和平区"));
    app.sj->disconnectLumo1();
    const QByteArray before = fingerprint(app.path(QStringLiteral("lumo.fc")));
    const QString other = QStringLiteral("other program");
    QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), other);
    if (fault == QLatin1String("locked")) {
        holder.setDatabaseName(app.path(QStringLiteral("lumo.fc")));
        QVERIFY(holder.open());
        QVERIFY(QSqlQuery(holder).exec(QStringLiteral("BEGIN EXCLUSIVE")));
    } else {
        QVERIFY(QDir().mkpath(app.path(QStringLiteral("lumo.~fc/inside"))));
    }

    const DataResult r = compactDatabase(env);
    QVERIFY(!r.ok);
    QCOMPARE(r.message,
             QStringLiteral("数据库整理出现未知错误…\r\n\r\n可能是有其他程序正在使用数据库？"
                            "\r\n\r\n建议关闭其他与数据库连接的程序然后在进行整理？"));
    QVERIFY(!r.closeProgram);
    if (fault == QLatin1String("locked")) {
        QSqlQuery(holder).exec(QStringLiteral("ROLLBACK"));
        QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("lumo.~fc"))));
    }
    holder.close();
    holder = QSqlDatabase();
    QSqlDatabase::removeDatabase(other);
    QCOMPARE(fingerprint(app.path(QStringLiteral("lumo.fc"))), before);
}

void TestDataOps::compactJetFileRefusesUsedTargetAndDamagedSource()
{
    TestApp app;
    app.sj->disconnectLumo1();
    const QString source = app.path(QStringLiteral("lumo.fc"));
    const QString target = app.path(QStringLiteral("copy.fc"));
    writeFile(target, QByteArray("x"));
    QVERIFY(!CompactJetFile(source, target));
    QCOMPARE(QFileInfo(target).size(), 1);
    writeFile(target, QByteArray());
    QVERIFY(CompactJetFile(source, target));
    QCOMPARE(databaseProblem(target), QString());

    const QString damaged = app.path(QStringLiteral("damaged.fc"));
    QFile f(source);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    for (qsizetype i = 4096; i < bytes.size(); i += 7)
        bytes[i] = char(0xff);
    writeFile(damaged, bytes);
    QVERIFY(!CompactJetFile(damaged, app.path(QStringLiteral("out.fc"))));
    QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("out.fc"))));
    QVERIFY(!CompactJetFile(app.path(QStringLiteral("none.fc")), app.path(QStringLiteral("o.fc"))));
}

void TestDataOps::lumoctlCommands()
{
    TestApp app;
    app.addListing(1, QStringLiteral("出售"), QStringLiteral("和平区"));
    const std::string dir = app.appDir().toStdString();
    auto run = [&](const std::string& cmd, std::vector<std::string> args, std::string* outText,
                   std::string* errText) {
        std::ostringstream out, err;
        const int code = dataCommand(cmd, args, out, err);
        if (outText)
            *outText = out.str();
        if (errText)
            *errText = err.str();
        return code;
    };
    std::string out, err;
    QCOMPARE(run("backup", {"--dir", dir}, &out, &err), 0);
    const QString today = slotDateText(QDate::currentDate());
    QCOMPARE(slotValue(app, QStringLiteral("cs")), QStringLiteral("1"));
    QCOMPARE(slotValue(app, QStringLiteral("1")), today);
    QVERIFY(QFileInfo::exists(slotFile(app.folders, today)));

    QCOMPARE(run("export", {"--dir=" + dir}, &out, &err), 0);
    QVERIFY(QString::fromStdString(out).startsWith(QStringLiteral("以将数据保存到 ")));
    QCOMPARE(run("import", {"--update", "--dir", dir}, &out, &err), 0);
    QVERIFY(
        QString::fromStdString(out).contains(QStringLiteral("外部数据文件数据以完全导入系统内")));
    QCOMPARE(listings(app), 1);

    QCOMPARE(run("restore", {"1", "--dir", dir}, &out, &err), 0);
    QCOMPARE(QString::fromStdString(out).trimmed(), QStringLiteral("数据恢复完毕！"));
    QCOMPARE(run("restore", {"4", "--dir", dir}, &out, &err), 1);
    QVERIFY(QString::fromStdString(err).contains(QStringLiteral("数据恢复错误")));
    QCOMPARE(run("compact", {"--dir", dir}, &out, &err), 0);

    // Usage errors.
    QCOMPARE(run("restore", {"9", "--dir", dir}, nullptr, nullptr), 2);
    QCOMPARE(run("restore", {"--dir", dir}, nullptr, nullptr), 2);
    QCOMPARE(run("import", {"--dir", dir}, nullptr, nullptr), 2);
    QCOMPARE(run("backup", {"--force"}, nullptr, nullptr), 2);
    QCOMPARE(run("backup", {"--dir", dir + "/none"}, nullptr, nullptr), 1);

    // A damaged database still lets an administrator restore a slot.
    app.sj->disconnectLumo1();
    writeFile(app.path(QStringLiteral("lumo.fc")), QByteArray(8192, 'z'));
    QCOMPARE(run("backup", {"--dir", dir}, nullptr, &err), 1);
    QCOMPARE(run("restore", {"1", "--dir", dir}, &out, &err), 0);
    QCOMPARE(databaseProblem(app.path(QStringLiteral("lumo.fc"))), QString());
}

QTEST_MAIN(TestDataOps)
#include "tst_dataops.moc"
