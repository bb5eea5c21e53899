// Stored passwords: verification of hashes and of plain text left by an
// earlier version, the users scan with its order, and the upgrade of plain
// rows to hashes.
#include "DataError.h"
#include "Dataset.h"
#include "PasswordLeaks.h"
#include "Passwords.h"
#include "TestApp.h"
#include "Tsj.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTest>

using namespace lumo;
using namespace lumo::test;

namespace
{

// Made with weaker parameters than the program's (t=1, 8 MiB).
const QString kWeakerHash = QStringLiteral(
    "$argon2id$v=19$m=8192,t=1,p=1$wnXybR+il40EfjPev4EM9g$lFkECAogAyH0RYtcyDWG8NQ0Et/"
    "sOylqLawmGPLnXjY");

QString stored(TestApp& app, const QString& name)
{
    return app.scalar(QStringLiteral("select 密码 from ma where 姓名 = '%1'").arg(name)).toString();
}

} // namespace

class TstPasswords : public QObject
{
    Q_OBJECT
private slots:
    void hashIsSaltedAndSlow();
    void verify_data();
    void verify();
    void scanKeepsTableOrder_data();
    void scanKeepsTableOrder();
    void acceptedPlainAndWeakerRowsAreRehashed();
    void plainRowsHashedAllAtOnce();
};

void TstPasswords::hashIsSaltedAndSlow()
{
    const QString a = hashPassword(QStringLiteral("Geheim-42"));
    const QString b = hashPassword(QStringLiteral("Geheim-42"));
    QVERIFY(a != b);
    QVERIFY2(a.startsWith(QStringLiteral("$argon2id$v=19$m=16384,t=3,p=1$")), qPrintable(a));
    QVERIFY(isPasswordHash(a));
    QVERIFY(findPassword(a.toLatin1(), {QStringLiteral("Geheim-42")}).isEmpty());
    QVERIFY(verifyPassword(a, QStringLiteral("Geheim-42")));
    QVERIFY(verifyPassword(b, QStringLiteral("Geheim-42")));
}

void TstPasswords::verify_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    const QString hash = hashPassword(QStringLiteral("房屋Pass"));
    QTest::addRow("hash, right") << QVariant(hash) << QStringLiteral("房屋Pass") << true;
    QTest::addRow("hash, letter case") << QVariant(hash) << QStringLiteral("房屋pass") << false;
    QTest::addRow("hash, trailing space") << QVariant(hash) << QStringLiteral("房屋Pass ") << false;
    QTest::addRow("hash, empty") << QVariant(hash) << QString() << false;
    QTest::addRow("hash typed as text") << QVariant(hash) << hash << false;
    QTest::addRow("weaker hash, right")
        << QVariant(kWeakerHash) << QStringLiteral("weaker") << true;
    QTest::addRow("plain, right") << QVariant(QStringLiteral("abc")) << QStringLiteral("abc")
                                  << true;
    QTest::addRow("plain, letter case")
        << QVariant(QStringLiteral("abc")) << QStringLiteral("ABC") << false;
    QTest::addRow("plain empty, empty typed") << QVariant(QStringLiteral("")) << QString() << true;
    QTest::addRow("null, empty typed") << QVariant() << QString() << false;
    QTest::addRow("damaged hash") << QVariant(hash.left(40)) << QStringLiteral("房屋Pass") << false;
}

void TstPasswords::verify()
{
    QFETCH(QVariant, stored);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QCOMPARE(verifyPassword(stored, typed), accepted);
}

void TstPasswords::scanKeepsTableOrder_data()
{
    QTest::addColumn<bool>("hashed");
    QTest::addRow("hashed rows") << true;
    QTest::addRow("plain rows of an earlier version") << false;
}

void TstPasswords::scanKeepsTableOrder()
{
    QFETCH(bool, hashed);
    TestApp app;
    const struct {
        const char* level;
        const char* password;
        const char* name;
    } rows[] = {{"业务员", "same", "甲"},
                {"经理", "same", "乙"},
                {"业务员", "same", "丙"},
                {"业务员", "other", "丁"}};
    QSqlQuery q(app.sj->lumo1());
    q.prepare(QStringLiteral("insert into ma (用户, 密码, 姓名) values (?, ?, ?)"));
    for (const auto& row : rows) {
        const QString password = QString::fromUtf8(row.password);
        q.addBindValue(QString::fromUtf8(row.level));
        q.addBindValue(hashed ? hashPassword(password) : password);
        q.addBindValue(QString::fromUtf8(row.name));
        QVERIFY(q.exec());
    }
    Dataset& ma = *app.sj->ma;
    ma.refresh();
    auto found = [&ma] { return ma.displayText(QStringLiteral("姓名")); };

    // Any level: the first row in table order with the password.
    QVERIFY(findUser(ma, QStringLiteral("same"), QString(), true));
    QCOMPARE(found(), QStringLiteral("甲"));
    QVERIFY(findUser(ma, QStringLiteral("admin"), QString(), true));
    QCOMPARE(found(), QStringLiteral("系统管理员"));
    // One level: its first row; another level's rows do not count.
    QVERIFY(findUser(ma, QStringLiteral("same"), QStringLiteral("经理")));
    QCOMPARE(found(), QStringLiteral("乙"));
    QVERIFY(findUser(ma, QStringLiteral("same"), QStringLiteral("业务员")));
    QCOMPARE(found(), QStringLiteral("甲"));
    QVERIFY(findUser(ma, QStringLiteral("other"), QStringLiteral("业务员")));
    QCOMPARE(found(), QStringLiteral("丁"));
    QVERIFY(!findUser(ma, QStringLiteral("other"), QStringLiteral("经理")));
    QVERIFY(ma.eof());
    QVERIFY(!findUser(ma, QStringLiteral("Same"), QString(), true));
    QVERIFY(!findUser(ma, QStringLiteral("admin"), QStringLiteral("业务员")));
}

void TstPasswords::acceptedPlainAndWeakerRowsAreRehashed()
{
    TestApp app;
    app.exec(QStringLiteral("insert into ma values ('业务员', 'plain-1', '甲'), "
                            "('业务员', 'plain-1', '乙'), ('业务员', '%1', '丙')")
                 .arg(kWeakerHash));
    Dataset& ma = *app.sj->ma;
    ma.refresh();
    QVERIFY(findUser(ma, QStringLiteral("plain-1"), QStringLiteral("业务员")));
    QCOMPARE(ma.displayText(QStringLiteral("姓名")), QStringLiteral("甲"));
    // Replaced at that moment; the next equal row waits for its own turn.
    QVERIFY(isPasswordHash(stored(app, QStringLiteral("甲"))));
    QVERIFY(verifyPassword(stored(app, QStringLiteral("甲")), QStringLiteral("plain-1")));
    QCOMPARE(stored(app, QStringLiteral("乙")), QStringLiteral("plain-1"));
    // The upgraded row still comes first.
    QVERIFY(findUser(ma, QStringLiteral("plain-1"), QStringLiteral("业务员")));
    QCOMPARE(ma.displayText(QStringLiteral("姓名")), QStringLiteral("甲"));
    QCOMPARE(ma.recNo(), 1);

    // A hash with weaker parameters is raised to the program's.
    QVERIFY(findUser(ma, QStringLiteral("weaker"), QStringLiteral("业务员")));
    const QString raised = stored(app, QStringLiteral("丙"));
    QVERIFY(raised.startsWith(QStringLiteral("$argon2id$v=19$m=16384,t=3,")));
    QVERIFY(verifyPassword(raised, QStringLiteral("weaker")));

    // A register that cannot be written still lets the user in.
    app.exec(QStringLiteral("create trigger no_change before update on ma "
                            "begin select raise(abort, 'read-only'); end"));
    QVERIFY(findUser(ma, QStringLiteral("plain-1"), QString(), true));
    QCOMPARE(ma.displayText(QStringLiteral("姓名")), QStringLiteral("甲"));
    QVERIFY(findUser(ma, QStringLiteral("plain-1"), QStringLiteral("业务员")));
    QVERIFY(ma.state() == Dataset::State::Browse);
}

void TstPasswords::plainRowsHashedAllAtOnce()
{
    TestApp app;
    app.exec(QStringLiteral("insert into ma values ('业务员', 'p-one', '甲'), "
                            "('业务员', NULL, '无'), ('经理', 'p-two', '乙')"));
    Dataset& ma = *app.sj->ma;
    ma.refresh();
    ma.moveTo(2);
    const QString admin = stored(app, QStringLiteral("系统管理员"));
    hashPlainPasswords(ma);
    QCOMPARE(ma.recNo(), 2);
    QVERIFY(verifyPassword(stored(app, QStringLiteral("甲")), QStringLiteral("p-one")));
    QVERIFY(verifyPassword(stored(app, QStringLiteral("乙")), QStringLiteral("p-two")));
    QVERIFY(app.scalar(QStringLiteral("select 密码 from ma where 姓名 = '无'")).isNull());
    // Hashes already there stay as they are.
    QCOMPARE(stored(app, QStringLiteral("系统管理员")), admin);
    const QByteArray table =
        app.scalar(QStringLiteral("select group_concat(密码, '|') from ma")).toByteArray();
    QCOMPARE(findPassword(table, {QStringLiteral("p-one"), QStringLiteral("p-two")}), QString());
}

QTEST_MAIN(TstPasswords)
#include "tst_passwords.moc"
