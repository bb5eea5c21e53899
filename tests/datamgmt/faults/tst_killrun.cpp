// lumoctl killed (SIGKILL) at several moments of a long run on a register of
// 200,000 listings: the closing backup, the export, a restore, the import by
// replacement and the compaction. After each kill the database passes the
// engine's integrity check and holds the old or the new complete content,
// the slot ring is whole, nothing was written outside the application
// folder, and the next run cleans up what the killed one left and succeeds.
#include "BackupSlots.h"
#include "DatabaseFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace lumo;

namespace
{

constexpr int kListings = 200000;
constexpr int kKept = 150000;
// A slot of an earlier day, so that today's backup goes into slot 2.
const QString kEarlierSlot = QStringLiteral("2026年1月1日星期四");

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(&f);
    return h.result();
}

// Count and sums of the register: tells the 200,000 and the 150,000 apart
// and any torn mixture from both. Opening read-write rolls back a journal
// left by a killed writer, as the next start of the program does.
QString registerSignature(const QString& path, QString* integrity)
{
    static int counter = 0;
    const QString name = QStringLiteral("kill#%1").arg(++counter);
    QString signature;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next())
                *integrity = q.value(0).toString();
            q.finish();
            if (q.exec(QStringLiteral("SELECT count(*), total(序号), total(价格) FROM fcxx")) &&
                q.next())
                signature = QStringLiteral("%1/%2/%3")
                                .arg(q.value(0).toLongLong())
                                .arg(q.value(1).toDouble(), 0, 'f', 0)
                                .arg(q.value(2).toDouble(), 0, 'f', 2);
            q.finish();
            db.close();
        } else {
            *integrity = db.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return signature;
}

bool copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + path.mid(from.size());
        if (it.fileInfo().isDir()) {
            QDir().mkpath(target);
        } else if (!QFile::copy(path, target)) {
            return false;
        }
    }
    return true;
}

QStringList filesBelow(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next().mid(root.size());
    files.sort();
    return files;
}

struct Command {
    const char* name;
    QStringList args;
    // The register after a complete run: the slot's and the exchange
    // file's 200,000, or the 150,000 it had.
    bool writesNewContent;
};

} // namespace

class TestKillRun : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void killedPartWay_data();
    void killedPartWay();
    void crashedWriterLeavesJournal();

private:
    // Runs lumoctl on the folder `root`; kills it after `killAfterMs` (a
    // negative time lets it finish). Returns the exit code, -1 when killed.
    int lumoctl(const QString& root, const QStringList& args, int killAfterMs,
                QString* errorText = nullptr);
    QString freshCopy();

    QTemporaryDir m_base;
    QString m_fixture;
    QString m_oldSignature;
    QString m_newSignature;
    QByteArray m_slot1;
    QMap<QString, qint64> m_durations;
    int m_copies = 0;
};

int TestKillRun::lumoctl(const QString& root, const QStringList& args, int killAfterMs,
                         QString* errorText)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LUMO_CONFIG_DIR"), root + QStringLiteral("/config"));
    env.insert(QStringLiteral("TMPDIR"), root + QStringLiteral("/tmp"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(LUMO_LUMOCTL),
            args + QStringList{QStringLiteral("--dir"), root + QStringLiteral("/app")});
    if (!p.waitForStarted())
        qFatal("lumoctl does not start");
    if (killAfterMs >= 0 && !p.waitForFinished(killAfterMs)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    p.waitForFinished(120000);
    if (errorText)
        *errorText = QString::fromUtf8(p.readAllStandardError());
    return p.exitCode();
}

QString TestKillRun::freshCopy()
{
    const QString root = m_base.path() + QStringLiteral("/run%1").arg(++m_copies);
    if (!copyTree(m_fixture, root))
        qFatal("cannot copy the fixture");
    return root;
}

void TestKillRun::initTestCase()
{
    QVERIFY(m_base.isValid());
    m_fixture = m_base.path() + QStringLiteral("/fixture");
    const QString app = m_fixture + QStringLiteral("/app");
    QVERIFY(QDir().mkpath(app));
    QVERIFY(QDir().mkpath(m_fixture + QStringLiteral("/config")));
    QVERIFY(QDir().mkpath(m_fixture + QStringLiteral("/tmp")));
    const QString database = app + QStringLiteral("/lumo.fc");
    QProcess gen;
    gen.start(QStringLiteral("python3"),
              {QStringLiteral(LUMO_GENERATOR), QString::number(kListings), database,
               QStringLiteral("--source"), QString::fromLocal8Bit(qgetenv("LUMO_DELIVERED_DB"))});
    QVERIFY(gen.waitForFinished(120000));
    QCOMPARE(gen.exitCode(), 0);

    // The slot and the exchange file hold the 200,000; the register keeps
    // 150,000 of them.
    QString error;
    QCOMPARE(lumoctl(m_fixture, {QStringLiteral("backup")}, -1, &error), 0);
    QCOMPARE(lumoctl(m_fixture, {QStringLiteral("export")}, -1, &error), 0);
    const QString today = slotDateText(QDate::currentDate());
    QVERIFY(QFile::rename(app + QStringLiteral("/bak/") + today + QStringLiteral(".bak"),
                          app + QStringLiteral("/bak/") + kEarlierSlot + QStringLiteral(".bak")));
    {
        QSettings reg(m_fixture + QStringLiteral("/config/Velmora.conf"), QSettings::IniFormat);
        reg.setValue(QStringLiteral("rbf/1"), kEarlierSlot);
        reg.setValue(QStringLiteral("rbf/cs"), QStringLiteral("1"));
    }
    QString integrity;
    m_newSignature = registerSignature(database, &integrity);
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("cut"));
        db.setDatabaseName(database);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("DELETE FROM fcxx WHERE 序号 > %1").arg(kKept)));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("cut"));
    m_oldSignature = registerSignature(database, &integrity);
    QVERIFY(m_oldSignature.startsWith(QString::number(kKept) + QLatin1Char('/')));
    QVERIFY(m_newSignature.startsWith(QString::number(kListings) + QLatin1Char('/')));
    m_slot1 = fileHash(app + QStringLiteral("/bak/") + kEarlierSlot + QStringLiteral(".bak"));
    QFile::remove(app + QStringLiteral("/fcxx.vvv"));

    // How long each command takes when left alone, to kill it part-way.
    for (const char* cmd : {"backup", "export", "restore", "import", "compact"}) {
        const QString root = freshCopy();
        QStringList args{QLatin1String(cmd)};
        if (args.first() == QLatin1String("restore"))
            args << QStringLiteral("1");
        if (args.first() == QLatin1String("import"))
            args << QStringLiteral("--replace");
        QElapsedTimer t;
        t.start();
        QCOMPARE(lumoctl(root, args, -1, &error), 0);
        m_durations.insert(QLatin1String(cmd), t.elapsed());
        QDir(root).removeRecursively();
    }
}

void TestKillRun::killedPartWay_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("writesNew");
    QTest::addColumn<double>("share");
    const Command commands[] = {
        {"backup", {QStringLiteral("backup")}, false},
        {"export", {QStringLiteral("export")}, false},
        {"restore", {QStringLiteral("restore"), QStringLiteral("1")}, true},
        {"import", {QStringLiteral("import"), QStringLiteral("--replace")}, true},
        {"compact", {QStringLiteral("compact")}, false},
    };
    for (const Command& c : commands)
        for (double share : {0.2, 0.5, 0.8})
            QTest::addRow("%s killed at %d%%", c.name, int(share * 100))
                << c.args << c.writesNewContent << share;
}

void TestKillRun::killedPartWay()
{
    QFETCH(QStringList, args);
    QFETCH(bool, writesNew);
    QFETCH(double, share);
    const QString root = freshCopy();
    const QString app = root + QStringLiteral("/app");
    const QString database = app + QStringLiteral("/lumo.fc");
    const QStringList outsideBefore = filesBelow(root + QStringLiteral("/tmp"));
    const int after = int(double(m_durations.value(args.first())) * share);
    lumoctl(root, args, after);

    auto checkState = [&](bool finished) {
        QString integrity;
        const QString signature = registerSignature(database, &integrity);
        QCOMPARE(integrity, QStringLiteral("ok"));
        if (finished && writesNew)
            QCOMPARE(signature, m_newSignature);
        else if (finished || !writesNew)
            QCOMPARE(signature, m_oldSignature);
        else
            QVERIFY2(signature == m_oldSignature || signature == m_newSignature,
                     qPrintable(signature));
        QCOMPARE(databaseProblem(database), QString());
        // Slot 1 is whole; a second slot exists only when recorded, and
        // then its file is complete.
        QCOMPARE(fileHash(app + QStringLiteral("/bak/") + kEarlierSlot + QStringLiteral(".bak")),
                 m_slot1);
        QSettings reg(root + QStringLiteral("/config/Velmora.conf"), QSettings::IniFormat);
        QCOMPARE(reg.value(QStringLiteral("rbf/1")).toString(), kEarlierSlot);
        const QString slot2 = reg.value(QStringLiteral("rbf/2")).toString();
        QStringList named{kEarlierSlot + QStringLiteral(".bak")};
        if (!slot2.isEmpty())
            named << slot2 + QStringLiteral(".bak");
        named.sort();
        QStringList bak = QDir(app + QStringLiteral("/bak"))
                              .entryList({QStringLiteral("*.bak")}, QDir::Files, QDir::Name);
        QCOMPARE(bak, named);
        // Nothing in the temporary folder, nothing beside the folders.
        QCOMPARE(filesBelow(root + QStringLiteral("/tmp")), outsideBefore);
        QCOMPARE(
            QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            (QStringList{QStringLiteral("app"), QStringLiteral("config"), QStringLiteral("tmp")}));
    };
    checkState(false);
    if (QTest::currentTestFailed())
        return;

    // The next run removes what the killed one left and completes.
    QString error;
    QCOMPARE(lumoctl(root, args, -1, &error), 0);
    checkState(true);
    const QStringList left = QDir(app).entryList(
        {QStringLiteral("lumo-*"), QStringLiteral("lumo.~fc*"), QStringLiteral("*.part"),
         QStringLiteral("*.new"), QStringLiteral("lumo.fc-journal")},
        QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
    QVERIFY(QDir(app + QStringLiteral("/bak"))
                .entryList({QStringLiteral("*.part"), QStringLiteral("lumo.fc")}, QDir::Files)
                .isEmpty());
    QDir(root).removeRecursively();
}

void TestKillRun::crashedWriterLeavesJournal()
{
    // Another program dies in the middle of a large change: its journal is
    // hot beside a half-changed "lumo.fc". The restore rolls that back
    // through the engine before writing the slot's content, so the
    // leftover cannot be applied to the restored file afterwards.
    const QString root = freshCopy();
    const QString database = root + QStringLiteral("/app/lumo.fc");
    QProcess shell;
    shell.setProcessChannelMode(QProcess::MergedChannels);
    shell.start(QStringLiteral(LUMO_SQLITE3), {database});
    QVERIFY(shell.waitForStarted());
    shell.write("PRAGMA cache_size=8;\nBEGIN;\nUPDATE fcxx SET 备注 = hex(randomblob(120));\n"
                "SELECT 'changed';\n");
    QByteArray seen;
    while (!seen.contains("changed") && shell.waitForReadyRead(60000))
        seen += shell.readAll();
    QVERIFY(seen.contains("changed"));
    shell.kill();
    shell.waitForFinished();
    QVERIFY(QFile::exists(database + QStringLiteral("-journal")));

    QString error;
    QCOMPARE(lumoctl(root, {QStringLiteral("restore"), QStringLiteral("1")}, -1, &error), 0);
    QString integrity;
    QCOMPARE(registerSignature(database, &integrity), m_newSignature);
    QCOMPARE(integrity, QStringLiteral("ok"));
    QDir(root).removeRecursively();
}

QTEST_GUILESS_MAIN(TestKillRun)
#include "tst_killrun.moc"
