// Files that come from outside or from another program: exchange files with
// more entries than the database, databases that lack what the program
// needs, slots whose database is damaged, a register left in WAL mode, and
// application folders whose names hold URI characters.
#include "BackupSlots.h"
#include "DataCommand.h"
#include "DataFixtures.h"
#include "DatabaseFile.h"
#include "ExchangeFile.h"

#include <QDirIterator>
#include <QFileInfo>

#include <map>

#include <sstream>

using namespace lumo;
using namespace lumo::test;

namespace
{

DataEnv envOf(TestApp& app, DataProgress& progress)
{
    return DataEnv{app.sj.get(), app.store, app.folders, app.clock, progress};
}

// Writes `archive` holding the given files, each stored under its name.
void writeArchive(const QString& archive, const QList<QPair<QString, QString>>& entries)
{
    std::vector<std::string> files;
    std::map<std::string, std::string> names;
    for (const auto& [path, stored] : entries) {
        files.push_back(fromQ(path));
        names[fromQ(path)] = fromQ(stored);
    }
    TBackupFile writer;
    writer.SetCompressionLevel(clMax);
    writer.SetStoredNameHandler([&](const std::string& p) { return names.at(p); });
    if (!writer.Backup(files, fromQ(archive)))
        qFatal("archive not written");
}

// A database made from the delivered one with `sql` run on it.
QString deliveredWith(const QTemporaryDir& dir, const QString& name, const QStringList& sql)
{
    const QString db = dir.path() + QLatin1Char('/') + name;
    QFile::copy(deliveredDatabase(), db);
    QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner);
    withDatabase(db, [&](QSqlDatabase d) {
        for (const QString& s : sql)
            if (!QSqlQuery(d).exec(s))
                qFatal("%s", qPrintable(s));
    });
    return db;
}

QMap<QString, QByteArray> folderState(const QString& dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        files.insert(p, fingerprint(p));
    }
    return files;
}

} // namespace

class TestOutsideFiles : public QObject
{
    Q_OBJECT
private slots:
    void exchangeEntriesOtherThanTheDatabaseAreNotWritten_data();
    void exchangeEntriesOtherThanTheDatabaseAreNotWritten();
    void databaseWithoutWhatTheProgramNeedsIsRefused_data();
    void databaseWithoutWhatTheProgramNeedsIsRefused();
    void walRegisterIsBackedUpCompleteAndLeavesWal();
    void folderNameWithUriCharacters();
};

void TestOutsideFiles::exchangeEntriesOtherThanTheDatabaseAreNotWritten_data()
{
    QTest::addColumn<bool>("replace");
    QTest::addRow("import by update") << false;
    QTest::addRow("import by replacement") << true;
}

void TestOutsideFiles::exchangeEntriesOtherThanTheDatabaseAreNotWritten()
{
    QFETCH(bool, replace);
    TestApp app;
    DataProgress quiet;
    DataEnv env = envOf(app, quiet);
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
    QVERIFY(closingBackup(env).ok);
    const QString slot = slotFile(app.folders, slotDateText(app.clock.today()));
    const QByteArray slotBytes = fingerprint(slot);

    // The exchange file carries, before its database, files named like the
    // slot, the settings and the program, and a second "lumo.fc" after it.
    QTemporaryDir src;
    const QString foreign = src.path() + QStringLiteral("/foreign");
    writeFile(foreign, QByteArray("not a backup"));
    const QString theirs = deliveredWith(src, QStringLiteral("lumo.fc"), {});
    withDatabase(theirs, [](QSqlDatabase d) { insertRows(d, {listing(7), listing(8)}); });
    const QString second = deliveredWith(src, QStringLiteral("second.fc"), {});
    const QString slotName = QFileInfo(slot).fileName();
    writeArchive(app.path(QStringLiteral("fcsj.su")),
                 {{foreign, QStringLiteral("c:\\agency\\bak\\") + slotName},
                  {foreign, QStringLiteral("/agency/lumo")},
                  {foreign, QStringLiteral("/agency/fcxx.vvv")},
                  {theirs, QStringLiteral("c:\\agency\\LUMO.FC")},
                  {second, QStringLiteral("/agency/lumo.fc")}});
    QMap<QString, QByteArray> before = folderState(app.dir.path());

    const DataResult r = replace ? importByReplacement(env) : importByUpdate(env);
    QVERIFY2(r.ok, qPrintable(r.fullText()));
    QCOMPARE(fingerprint(slot), slotBytes);
    // The first database entry was taken, and nothing else was written.
    app.sj->disconnectLumo1();
    withDatabase(app.path(QStringLiteral("lumo.fc")), [&](QSqlDatabase d) {
        QSqlQuery q(d);
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM fcxx WHERE 房屋地址 IN "
                                      "('南京街7号', '南京街8号')")) &&
                q.next());
        QCOMPARE(q.value(0).toInt(), 2);
    });
    QMap<QString, QByteArray> after = folderState(app.dir.path());
    for (const QString& changed : {app.path(QStringLiteral("lumo.fc")),
                                   app.path(QStringLiteral("lumo.up")), app.store.registryPath()}) {
        before.remove(changed);
        after.remove(changed);
    }
    QCOMPARE(after, before);
}

void TestOutsideFiles::databaseWithoutWhatTheProgramNeedsIsRefused_data()
{
    QTest::addColumn<QStringList>("damage");
    QTest::addColumn<bool>("accepted");
    QTest::addRow("no users table") << QStringList{QStringLiteral("DROP TABLE ma")} << false;
    QTest::addRow("no levels table") << QStringList{QStringLiteral("DROP TABLE jb")} << false;
    QTest::addRow("register without a field")
        << QStringList{QStringLiteral("ALTER TABLE fcxx DROP COLUMN 详细地址")} << false;
    QTest::addRow("levels without a permission")
        << QStringList{QStringLiteral("ALTER TABLE jb DROP COLUMN 数据管理")} << false;
    QTest::addRow("cut short") << QStringList{QStringLiteral("cut")} << false;
    QTest::addRow("pages overwritten") << QStringList{QStringLiteral("scribble")} << false;
    QTest::addRow("further table and field accepted")
        << QStringList{QStringLiteral("CREATE TABLE 备忘 (x TEXT)"),
                       QStringLiteral("ALTER TABLE ma ADD COLUMN 盐 TEXT")}
        << true;
}

void TestOutsideFiles::databaseWithoutWhatTheProgramNeedsIsRefused()
{
    QFETCH(QStringList, damage);
    QFETCH(bool, accepted);
    TestApp app;
    DataProgress quiet;
    DataEnv env = envOf(app, quiet);
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
    QTemporaryDir src;
    QStringList sql = damage;
    sql.removeAll(QStringLiteral("cut"));
    sql.removeAll(QStringLiteral("scribble"));
    // Enough rows for the file to have pages worth damaging.
    const QString db = deliveredWith(src, QStringLiteral("lumo.fc"), sql);
    QList<QVariantMap> rows;
    for (int i = 1; i <= 400; ++i)
        rows << listing(i);
    withDatabase(db, [&](QSqlDatabase d) {
        d.transaction();
        insertRows(d, rows);
        d.commit();
    });
    QFile f(db);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    f.close();
    if (damage.contains(QStringLiteral("cut")))
        writeFile(db, bytes.left(bytes.size() / 2));
    if (damage.contains(QStringLiteral("scribble"))) {
        for (qsizetype i = 8192; i < bytes.size(); i += 97)
            bytes[i] = char(0xa5);
        writeFile(db, bytes);
    }
    QCOMPARE(databaseProblem(db).isEmpty(), accepted);

    // Both ways a database takes the place of "lumo.fc": the replacement
    // and a restore of a slot whose archive is sound.
    app.sj->disconnectLumo1();
    const QByteArray before = fingerprint(app.path(QStringLiteral("lumo.fc")));
    app.sj->connectLumo1();
    writeArchive(app.path(QStringLiteral("fcsj.su")), {{db, QStringLiteral("/x/lumo.fc")}});
    const DataResult replaced = importByReplacement(env);
    QCOMPARE(replaced.ok, accepted);
    if (!accepted) {
        QCOMPARE(replaced.message,
                 QStringLiteral("数据解压异常，可能是外部数据文件 fcsj.su 损坏？"));
        QCOMPARE(fingerprint(app.path(QStringLiteral("lumo.fc"))), before);
    }

    app.sj->connectLumo1();
    app.store.WriteSlotValue(QStringLiteral("Velmora"), QStringLiteral("1"),
                             QStringLiteral("外来"));
    QDir().mkpath(app.path(QStringLiteral("bak")));
    writeArchive(slotFile(app.folders, QStringLiteral("外来")),
                 {{db, QStringLiteral("/x/lumo.fc")}});
    app.sj->disconnectLumo1();
    const QByteArray current = fingerprint(app.path(QStringLiteral("lumo.fc")));
    app.sj->connectLumo1();
    const DataResult restored = restoreSlot(env, 1);
    QCOMPARE(restored.ok, accepted);
    if (!accepted) {
        QCOMPARE(restored.message,
                 QStringLiteral("数据恢复错误，可能是有其它程序正在使用数据库！"));
        app.sj->disconnectLumo1();
        QCOMPARE(fingerprint(app.path(QStringLiteral("lumo.fc"))), current);
    }
}

void TestOutsideFiles::walRegisterIsBackedUpCompleteAndLeavesWal()
{
    TestApp app;
    DataProgress quiet;
    DataEnv env = envOf(app, quiet);
    app.sj->disconnectLumo1();
    const QString database = app.path(QStringLiteral("lumo.fc"));
    // Another program puts the register in WAL mode and keeps committed rows
    // in its log while it holds the file open.
    const QString other = QStringLiteral("wal holder");
    {
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), other);
        holder.setDatabaseName(database);
        QVERIFY(holder.open());
        QSqlQuery q(holder);
        QVERIFY(q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("wal"));
        q.finish();
        QVERIFY(q.exec(QStringLiteral("PRAGMA wal_autocheckpoint=0")));
        insertRows(holder, {listing(4242)});
        QVERIFY(QFileInfo(database + QStringLiteral("-wal")).size() > 0);

        app.sj->connectLumo1();
        const DataResult r = closingBackup(env);
        QVERIFY2(r.ok, qPrintable(r.fullText()));
        QTemporaryDir out;
        TBackupFile reader;
        QVERIFY(reader.Restore(fromQ(slotFile(app.folders, slotDateText(app.clock.today()))),
                               fromQ(out.path())));
        withDatabase(out.path() + QStringLiteral("/lumo.fc"), [](QSqlDatabase d) {
            QSqlQuery c(d);
            QVERIFY(c.exec(QStringLiteral("SELECT count(*) FROM fcxx WHERE 序号 = 4242")) &&
                    c.next());
            QCOMPARE(c.value(0).toInt(), 1);
            QVERIFY(c.exec(QStringLiteral("PRAGMA journal_mode")) && c.next());
            QCOMPARE(c.value(0).toString(), QStringLiteral("delete"));
        });
        app.sj->disconnectLumo1();
        holder.close();
    }
    QSqlDatabase::removeDatabase(other);

    // Opened by the program alone, the register goes back to the rollback
    // journal: the file itself is complete.
    app.sj->connectLumo1();
    QCOMPARE(app.scalar(QStringLiteral("PRAGMA journal_mode")).toString(),
             QStringLiteral("delete"));
    QVERIFY(!QFileInfo::exists(database + QStringLiteral("-wal")));
    app.sj->disconnectLumo1();
    QTemporaryDir copyDir;
    QFile::copy(database, copyDir.path() + QStringLiteral("/lumo.fc"));
    withDatabase(copyDir.path() + QStringLiteral("/lumo.fc"), [](QSqlDatabase d) {
        QSqlQuery c(d);
        QVERIFY(c.exec(QStringLiteral("SELECT count(*) FROM fcxx WHERE 序号 = 4242")) && c.next());
        QCOMPARE(c.value(0).toInt(), 1);
    });
}

void TestOutsideFiles::folderNameWithUriCharacters()
{
    QTemporaryDir base;
    for (const QString& name : {QStringLiteral("a#b"), QStringLiteral("c?mode=ro"),
                                QStringLiteral("d%41e"), QStringLiteral("经纪 #1?%")}) {
        const QString dir = base.path() + QLatin1Char('/') + name;
        QVERIFY(QDir().mkpath(dir));
        QFile::copy(deliveredDatabase(), dir + QStringLiteral("/lumo.fc"));
        QFile::setPermissions(dir + QStringLiteral("/lumo.fc"),
                              QFile::ReadOwner | QFile::WriteOwner);
        // Each folder is another installation with its own user settings.
        const QString config =
            QDir(QDir::tempPath())
                .filePath(QStringLiteral("%1/../config-%2").arg(base.path()).arg(qHash(name)));
        qputenv("LUMO_CONFIG_DIR", QDir::cleanPath(config).toLocal8Bit());
        const QStringList outside =
            QDir(base.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        for (const char* cmd : {"backup", "export", "compact"}) {
            std::ostringstream out, err;
            const int code = dataCommand(cmd, {"--dir", dir.toLocal8Bit().toStdString()}, out, err);
            QVERIFY2(code == 0, err.str().c_str());
        }
        std::ostringstream out, err;
        QCOMPARE(
            dataCommand("import", {"--update", "--dir", dir.toLocal8Bit().toStdString()}, out, err),
            0);
        QVERIFY(QFileInfo::exists(dir + QStringLiteral("/fcsj.su")));
        QVERIFY(!QDir(dir + QStringLiteral("/bak")).entryList({QStringLiteral("*.bak")}).isEmpty());
        // No stray file beside the folder.
        QStringList now = QDir(base.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        now.removeAll(name);
        QStringList expected = outside;
        expected.removeAll(name);
        QCOMPARE(now, expected);
        QDir(QDir::cleanPath(config)).removeRecursively();
    }
}

QTEST_MAIN(TestOutsideFiles)
#include "tst_outsidefiles.moc"
