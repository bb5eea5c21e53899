// Schema versions: a register of the first delivered version is brought up
// to date with a backup first, a failing step leaves it untouched, a newer
// register is refused.
#include "DataCommand.h"
#include "DataError.h"
#include "Dataset.h"
#include "SchemaMigration.h"
#include "TestApp.h"
#include "Tsj.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <sstream>

using namespace lumo;
using namespace lumo::test;

namespace
{

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// A private connection to a database file, removed when done.
class Connection
{
public:
    explicit Connection(const QString& path)
        : m_name(QStringLiteral("migration-test-%1").arg(++s_count))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(path));
    }
    ~Connection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }
    void exec(const QString& sql) const
    {
        QSqlQuery q(db());
        if (!q.exec(sql))
            qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    }
    QStringList rows(const QString& sql) const
    {
        QSqlQuery q(db());
        if (!q.exec(sql))
            qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        QStringList out;
        while (q.next()) {
            QStringList fields;
            for (int i = 0; i < q.record().count(); ++i)
                fields << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
            out << fields.join(QLatin1Char('|'));
        }
        return out;
    }
    // Every table and index with its columns, whatever the statement's
    // layout: two files of the same schema describe alike.
    QStringList schema() const
    {
        QStringList out;
        const QStringList objects = rows(QStringLiteral(
            "select type, name, tbl_name from sqlite_master where name not like 'sqlite_%' "
            "order by type, name"));
        for (const QString& object : objects) {
            const QStringList parts = object.split(QLatin1Char('|'));
            out << object;
            if (parts[0] == QStringLiteral("table"))
                out << rows(QStringLiteral("pragma table_info(\"%1\")").arg(parts[1]));
            else if (parts[0] == QStringLiteral("index"))
                out << rows(QStringLiteral("pragma index_xinfo(\"%1\")").arg(parts[1]))
                    << rows(QStringLiteral("select \"unique\" from pragma_index_list(\"%1\") "
                                           "where name = \"%2\"")
                                .arg(parts[2], parts[1]));
        }
        return out;
    }

private:
    static inline int s_count = 0;
    QString m_name;
};

// Makes the register of the first delivered version from its script.
void makeVersion0(const QString& path)
{
    QFile::remove(path);
    QFile script(QStringLiteral(LUMO_SCHEMA_V0));
    if (!script.open(QIODevice::ReadOnly))
        qFatal("no %s", LUMO_SCHEMA_V0);
    QStringList lines;
    for (const QString& line : QString::fromUtf8(script.readAll()).split(QLatin1Char('\n')))
        if (!line.trimmed().startsWith(QStringLiteral("--")))
            lines << line;
    Connection c(path);
    for (const QString& statement : lines.join(QLatin1Char('\n')).split(QLatin1Char(';')))
        if (!statement.trimmed().isEmpty())
            c.exec(statement);
    c.exec(QStringLiteral("insert into fcxx (序号, SB, 区域, 房主) values (7, '卖', '和平区', "
                          "'王某')"));
}

// A test application whose data module is not opened yet.
TestApp::Options unopened()
{
    TestApp::Options options;
    options.openData = false;
    return options;
}

QStringList bakFiles(const TestApp& app)
{
    return QDir(app.path(QStringLiteral("bak"))).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TstMigration : public QObject
{
    Q_OBJECT
private slots:
    void version0IsBroughtUpToDate();
    void currentRegisterIsLeftAlone();
    void failingStepRollsBack();
    void newerRegisterIsRefused();
    void lumoctlMigratesBeforeItsWork();
};

void TstMigration::version0IsBroughtUpToDate()
{
    TestApp app(unopened());
    const QString db = app.path(QStringLiteral("lumo.fc"));
    makeVersion0(db);
    const QByteArray before = fileHash(db);
    // A slot file of today is there already and must stay as it is.
    QDir().mkpath(app.path(QStringLiteral("bak")));
    QFile slot(app.path(QStringLiteral("bak/2026年12月10日.bak")));
    QVERIFY(slot.open(QIODevice::WriteOnly));
    slot.write("slot");
    slot.close();

    app.openData();
    QCOMPARE(schemaVersion(app.sj->lumo1()), currentSchemaVersion());
    QCOMPARE(app.scalar(QStringLiteral("select 房主 from fcxx where 序号 = 7")).toString(),
             QStringLiteral("王某"));
    QCOMPARE(app.scalar(QStringLiteral("select count(*) from fzck")).toInt(), 0);
    QVERIFY(app.sj->ma->active());

    // The migrated register has the schema of the delivered one.
    {
        Connection migrated(db);
        Connection delivered(deliveredDatabase());
        QCOMPARE(migrated.schema(), delivered.schema());
        const QString stats =
            QStringLiteral("select tbl, idx, stat from sqlite_stat1 order by tbl, idx");
        QCOMPARE(migrated.rows(stats), delivered.rows(stats));
    }

    // The copy taken first is the old file, byte for byte, beside the slot.
    const QStringList files = bakFiles(app);
    QCOMPARE(files.size(), 2);
    QVERIFY(files.contains(QStringLiteral("2026年12月10日.bak")));
    const QString backup = files.filter(QStringLiteral("before-migration")).value(0);
    QVERIFY2(QRegularExpression(QStringLiteral("^lumo-v0-before-migration-\\d{8}-\\d{6}\\.fc$"))
                 .match(backup)
                 .hasMatch(),
             qPrintable(backup));
    QCOMPARE(fileHash(app.path(QStringLiteral("bak/")) + backup), before);

    // Opening again changes nothing more.
    app.ctx.reset();
    app.sj.reset();
    app.openData();
    QCOMPARE(bakFiles(app).size(), 2);
    // Two copies within one second do not overwrite each other.
    const QString first = migrationBackupPath(db, 0);
    QFile(first).open(QIODevice::WriteOnly);
    QVERIFY(migrationBackupPath(db, 0) != first);
}

void TstMigration::currentRegisterIsLeftAlone()
{
    TestApp app;
    QCOMPARE(schemaVersion(app.sj->lumo1()), currentSchemaVersion());
    QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("bak"))));
    QSqlDatabase db = app.sj->lumo1();
    const MigrationResult r = migrateSchema(db, app.path(QStringLiteral("lumo.fc")));
    QCOMPARE(r.fromVersion, currentSchemaVersion());
    QVERIFY(r.backupPath.isEmpty());
}

void TstMigration::failingStepRollsBack()
{
    TestApp app(unopened());
    const QString path = app.path(QStringLiteral("lumo.fc"));
    makeVersion0(path);
    const QByteArray before = fileHash(path);
    // Three steps; the third fails after the first two have changed things.
    const std::vector<MigrationStep> steps = {
        {1, QStringLiteral("一"), {QStringLiteral("CREATE TABLE t1 (a)")}},
        {2,
         QStringLiteral("二"),
         {QStringLiteral("ALTER TABLE fcxx ADD COLUMN extra TEXT"),
          QStringLiteral("UPDATE fcxx SET 房主 = 'changed'")}},
        {3, QStringLiteral("三"), {QStringLiteral("CREATE TABLE fcxx (a)")}},
    };
    {
        Connection c(path);
        QSqlDatabase db = c.db();
        try {
            migrateSchema(db, path, steps);
            QFAIL("the failing step was not reported");
        } catch (const DataError& e) {
            QVERIFY2(e.text().contains(QStringLiteral("三")), qPrintable(e.text()));
            QVERIFY2(e.text().contains(QStringLiteral("版本 0")), qPrintable(e.text()));
        }
        QCOMPARE(schemaVersion(db), 0);
        QCOMPARE(c.rows(QStringLiteral("select count(*) from sqlite_master where name = 't1'")),
                 QStringList{QStringLiteral("0")});
        QCOMPARE(c.rows(QStringLiteral("select 房主 from fcxx")),
                 QStringList{QStringLiteral("王某")});
        QCOMPARE(c.rows(QStringLiteral("select count(*) from pragma_table_info('fcxx') "
                                       "where name = 'extra'")),
                 QStringList{QStringLiteral("0")});
    }
    QCOMPARE(fileHash(path), before);
    QCOMPARE(bakFiles(app).size(), 1);

    // Without a place for the copy nothing is tried.
    QDir(app.path(QStringLiteral("bak"))).removeRecursively();
    QFile blocker(app.path(QStringLiteral("bak")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Connection c(path);
    QSqlDatabase db = c.db();
    QVERIFY_THROWS_EXCEPTION(DataError, migrateSchema(db, path, steps));
    QCOMPARE(schemaVersion(db), 0);
    QCOMPARE(c.rows(QStringLiteral("select count(*) from sqlite_master where name = 't1'")),
             QStringList{QStringLiteral("0")});
}

void TstMigration::newerRegisterIsRefused()
{
    TestApp app(unopened());
    const QString path = app.path(QStringLiteral("lumo.fc"));
    {
        Connection c(path);
        c.exec(QStringLiteral("pragma user_version = %1").arg(currentSchemaVersion() + 1));
    }
    const QByteArray before = fileHash(path);
    try {
        app.openData();
        QFAIL("a newer register was opened");
    } catch (const DataError& e) {
        QVERIFY2(e.text().contains(QStringLiteral("新版本的程序")), qPrintable(e.text()));
        QVERIFY(e.text().contains(QStringLiteral("没有改动")));
    }
    QCOMPARE(fileHash(path), before);
    QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("bak"))));
}

void TstMigration::lumoctlMigratesBeforeItsWork()
{
    TestApp app(unopened());
    const QString path = app.path(QStringLiteral("lumo.fc"));
    makeVersion0(path);
    std::ostringstream out, err;
    QCOMPARE(dataCommand("backup", {"--dir", app.appDir().toStdString()}, out, err), 0);
    {
        Connection c(path);
        QCOMPARE(schemaVersion(c.db()), currentSchemaVersion());
    }
    // The copy before migrating and the day's slot file live side by side.
    const QStringList files = bakFiles(app);
    QCOMPARE(files.size(), 2);
    QCOMPARE(files.filter(QStringLiteral("lumo-v0-before-migration-")).size(), 1);
    QCOMPARE(files.filter(QRegularExpression(QStringLiteral("\\.bak$"))).size(), 1);
}

QTEST_MAIN(TstMigration)
#include "tst_migration.moc"
