// Every destructive data operation with faults injected: the file layer
// failing after N bytes at each step of the work, a registry that cannot be
// written, and another program holding a write transaction on the database
// meanwhile. After each case the database, the slot ring, the exchange file
// and the report must still be right (FaultScenario::check).
#include "FaultScenario.h"
#include "FaultyVfs.h"
#include "OperationGuard.h"

#include <QProcess>

using namespace lumo;
using namespace lumo::test;

Q_DECLARE_METATYPE(lumo::test::Op)

namespace
{

constexpr std::int64_t kUnlimited = std::int64_t(1) << 50;

// A registry whose writes fail after `okWrites` successful ones.
class FailingStore : public SettingsStore
{
public:
    FailingStore(const Folders& folders, int okWrites) : SettingsStore(folders), left(okWrites) {}
    mutable int left;

protected:
    bool write(const QString& product, const QString& subkey, const QString& name,
               const QString& value) const override
    {
        if (left-- <= 0)
            return false;
        return SettingsStore::write(product, subkey, name, value);
    }
};

// Another program: the sqlite3 shell holding a write transaction on the
// database until told to commit.
class OtherWriter
{
public:
    explicit OtherWriter(const QString& database)
    {
        m_shell.setProcessChannelMode(QProcess::MergedChannels);
        m_shell.start(QStringLiteral(LUMO_SQLITE3), {database});
        if (!m_shell.waitForStarted())
            qFatal("sqlite3 does not start");
        send("BEGIN IMMEDIATE;\n"
             "INSERT INTO fcxx (序号, 房屋地址) VALUES (990001, '别的程序写的');\n"
             "SELECT 'held';\n");
        waitFor("held");
    }
    ~OtherWriter()
    {
        m_shell.closeWriteChannel();
        if (!m_shell.waitForFinished(5000))
            m_shell.kill();
    }
    // Commits, waiting up to five seconds for readers, as programs do; the
    // commit must succeed.
    void commit()
    {
        send(".timeout 5000\nCOMMIT;\nSELECT 'committed';\n");
        const QByteArray answer = waitFor("committed");
        if (answer.contains("Error"))
            qFatal("the other program could not commit: %s", answer.constData());
    }
    // The serial number of the row the other program writes.
    static constexpr qlonglong kSerial = 990001;

private:
    void send(const char* text) { m_shell.write(text); }
    QByteArray waitFor(const char* word)
    {
        QByteArray seen;
        while (!seen.contains(word)) {
            if (!m_shell.waitForReadyRead(10000))
                qFatal("sqlite3 did not answer: %s", seen.constData());
            seen += m_shell.readAll();
        }
        return seen;
    }
    QProcess m_shell;
};

// Runs `op` once without faults on a fresh scenario: the register it leaves
// and the bytes it writes.
struct DryRun {
    QList<QVariantList> after;
    std::int64_t bytes = 0;
};

DryRun dryRun(Op op)
{
    FaultScenario s;
    faults::setWriteBudget(kUnlimited);
    const DataResult r = s.run(op);
    DryRun d;
    d.bytes = kUnlimited - faults::writeBudget();
    faults::setWriteBudget(-1);
    if (!r.ok)
        qFatal("%s without faults: %s", opName(op), qPrintable(r.fullText()));
    s.app.sj->disconnectLumo1();
    d.after = rowsOf(s.database());
    return d;
}

const QList<Op>& allOps()
{
    static const QList<Op> ops{Op::Backup, Op::Export,  Op::Restore,
                               Op::Update, Op::Replace, Op::Compact};
    return ops;
}

} // namespace

class TestFaultInjection : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void fileLayerFailsAtEachStep_data();
    void fileLayerFailsAtEachStep();
    void registryCannotBeWritten_data();
    void registryCannotBeWritten();
    void lumoctlBackupTellsUnwritableRegistry();
    void anotherProgramHoldsWriteTransaction_data();
    void anotherProgramHoldsWriteTransaction();
    void secondOperationIsRefused();

private:
    QMap<Op, DryRun> m_dry;
};

void TestFaultInjection::initTestCase()
{
    installFaultyVfs();
    for (Op op : allOps())
        m_dry.insert(op, dryRun(op));
}

void TestFaultInjection::fileLayerFailsAtEachStep_data()
{
    QTest::addColumn<Op>("op");
    QTest::addColumn<double>("share");
    // The budget as a share of what the operation writes: the fault lands
    // in each of its steps (the copy of the database, the archive, the
    // slot file, the temporary files, the journal and the database itself).
    for (Op op : allOps())
        for (double share : {0.0, 0.02, 0.1, 0.25, 0.4, 0.55, 0.7, 0.85, 0.95, 0.999})
            QTest::addRow("%s at %.1f%%", opName(op), share * 100) << op << share;
}

void TestFaultInjection::fileLayerFailsAtEachStep()
{
    QFETCH(Op, op);
    QFETCH(double, share);
    const DryRun& dry = m_dry[op];
    FaultScenario s;
    faults::setWriteBudget(std::int64_t(double(dry.bytes) * share));
    const DataResult r = s.run(op);
    // A fault before the last byte must be reported.
    QVERIFY2(!r.ok || op == Op::Backup || op == Op::Export || share > 0.9,
             qPrintable(r.fullText()));
    s.check(op, r, dry.after);
    if (QTest::currentTestFailed())
        qWarning("%s", qPrintable(r.fullText()));

    // Once the disk has room again the operation succeeds.
    if (!r.ok) {
        s.app.sj->connectLumo1();
        const DataResult again = s.run(op);
        QVERIFY2(again.ok, qPrintable(again.fullText()));
    }
}

void TestFaultInjection::registryCannotBeWritten_data()
{
    QTest::addColumn<int>("okWrites");
    QTest::addRow("first write fails") << 0;
    QTest::addRow("second write fails") << 1;
}

void TestFaultInjection::registryCannotBeWritten()
{
    QFETCH(int, okWrites);
    FaultScenario s;
    FailingStore store(s.app.folders, okWrites);
    DataProgress quiet;
    DataEnv env = s.envOf(quiet, store);
    const DataResult r = closingBackup(env);
    QVERIFY(!r.ok);
    QVERIFY(r.message.contains(QStringLiteral("下次关闭程序时将再次备份")));
    QVERIFY(!r.detail.isEmpty());
    if (okWrites == 0) {
        s.check(Op::Backup, r, s.before);
    } else {
        // The slot name was stored, "cs" not: the ring names today's file in
        // slot 2, and that file is a sound backup; slot 1 is untouched.
        QCOMPARE(s.slotValue(QStringLiteral("cs")), QStringLiteral("1"));
        const QString today = slotDateText(s.app.clock.today());
        QCOMPARE(s.slotValue(QStringLiteral("2")), today);
        QCOMPARE(archivedRows(slotFile(s.app.folders, today)).value_or(QList<QVariantList>{}),
                 s.before);
        QCOMPARE(fingerprint(slotFile(s.app.folders, slotDateText(FaultScenario::day1()))),
                 s.slot1);
    }

    // The ring at its end: "cs" = 5 and the registry fails. Slot 1's old
    // file must stay, because the registry still names it.
    FaultScenario full;
    for (int k = 2; k <= 5; ++k) {
        full.app.clock.current = QDateTime(FaultScenario::day1().addDays(k), QTime(9, 0));
        QVERIFY(full.run(Op::Backup).ok);
    }
    full.app.clock.current = QDateTime(FaultScenario::day1().addDays(6), QTime(9, 0));
    const QStringList ring = QDir(full.app.path(QStringLiteral("bak"))).entryList(QDir::Files);
    FailingStore failing(full.app.folders, 0);
    DataEnv fullEnv = full.envOf(quiet, failing);
    const DataResult wrapped = closingBackup(fullEnv);
    QVERIFY(!wrapped.ok);
    QCOMPARE(QDir(full.app.path(QStringLiteral("bak"))).entryList(QDir::Files), ring);
    QCOMPARE(full.slotValue(QStringLiteral("cs")), QStringLiteral("5"));
    QCOMPARE(full.slotValue(QStringLiteral("1")), slotDateText(FaultScenario::day1()));
}

void TestFaultInjection::lumoctlBackupTellsUnwritableRegistry()
{
    // The settings folder cannot be made (a file stands in its way): the
    // backup is not recorded, so it must not count as made.
    FaultScenario s;
    const QString blocker = s.app.dir.path() + QStringLiteral("/blocked");
    writeFile(blocker, QByteArray("a file"));
    QProcess ctl;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LUMO_CONFIG_DIR"), blocker + QStringLiteral("/config"));
    ctl.setProcessEnvironment(env);
    ctl.start(QStringLiteral(LUMO_LUMOCTL),
              {QStringLiteral("backup"), QStringLiteral("--dir"), s.app.appDir()});
    QVERIFY(ctl.waitForFinished(60000));
    QCOMPARE(ctl.exitCode(), 1);
    QVERIFY(QString::fromUtf8(ctl.readAllStandardError())
                .contains(QStringLiteral("下次关闭程序时将再次备份")));
    QCOMPARE(QDir(s.app.path(QStringLiteral("bak"))).entryList(QDir::Files),
             QStringList{slotDateText(FaultScenario::day1()) + QStringLiteral(".bak")});
}

void TestFaultInjection::anotherProgramHoldsWriteTransaction_data()
{
    QTest::addColumn<Op>("op");
    for (Op op : allOps())
        QTest::addRow("%s", opName(op)) << op;
}

void TestFaultInjection::anotherProgramHoldsWriteTransaction()
{
    QFETCH(Op, op);
    FaultScenario s;
    DataResult r;
    {
        OtherWriter other(s.database());
        r = s.run(op);
        other.commit();
    }
    // Reading for a backup or an export is allowed and sees the register
    // without the uncommitted row; everything that writes the database must
    // fail and leave it to the other program.
    QCOMPARE(r.ok, op == Op::Backup || op == Op::Export);
    if (op == Op::Restore)
        QVERIFY(r.detail.contains(QStringLiteral("Cannot read file")));
    s.check(op, r, m_dry[op].after, {OtherWriter::kSerial});
}

void TestFaultInjection::secondOperationIsRefused()
{
    // An operation asked for while another one works (here from inside the
    // first one's progress, as the message loop would deliver it) is refused
    // with a message and changes nothing.
    FaultScenario s;
    class Nested : public DataProgress
    {
    public:
        explicit Nested(FaultScenario& s) : m_s(s) {}
        void processEvents() override
        {
            if (!done) {
                done = true;
                inner = m_s.run(Op::Replace);
            }
        }
        bool done = false;
        DataResult inner;

    private:
        FaultScenario& m_s;
    } nested(s);
    DataEnv env = s.envOf(nested);
    const DataResult outer = closingBackup(env);
    QVERIFY(nested.done);
    QVERIFY(!nested.inner.ok);
    QVERIFY(nested.inner.message.contains(QStringLiteral("正在进行")));
    QVERIFY2(outer.ok, qPrintable(outer.fullText()));
    s.check(Op::Backup, outer, s.before);

    // The same across processes: lumoctl is refused while the lock is held.
    OperationGuard guard(s.app.folders);
    QVERIFY(guard.acquired());
    QProcess ctl;
    ctl.start(QStringLiteral(LUMO_LUMOCTL),
              {QStringLiteral("compact"), QStringLiteral("--dir"), s.app.appDir()});
    QVERIFY(ctl.waitForFinished(30000));
    QCOMPARE(ctl.exitCode(), 1);
    QVERIFY(QString::fromUtf8(ctl.readAllStandardError()).contains(QStringLiteral("正在进行")));
}

QTEST_MAIN(TestFaultInjection)
#include "tst_faultinjection.moc"
