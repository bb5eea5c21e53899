// What leaves the agency and what the administrators read: the exchange
// file carries no typed password, and lumoctl prints who saw owners'
// details.
#include "DataFixtures.h"
#include "Dataset.h"
#include "ExchangeFile.h"
#include "FakeMainFrame.h"
#include "PasswordLeaks.h"
#include "Passwords.h"
#include "RevealCommand.h"
#include "RevealLog.h"
#include "Tsz.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <sstream>

using namespace lumo;
using namespace lumo::test;

namespace
{

// Exports the register and returns the bytes of the database inside the
// exchange file; empty when either step fails.
QByteArray exportedDatabase(TestApp& app)
{
    DataProgress progress;
    DataEnv env{app.sj.get(), app.store, app.folders, app.clock, progress};
    if (!exportExchange(env).ok)
        return QByteArray();
    QTemporaryDir out;
    TBackupFile reader;
    if (!reader.Restore(fromQ(app.path(QStringLiteral("fcsj.su"))), fromQ(out.path())))
        return QByteArray();
    QFile db(out.path() + QStringLiteral("/lumo.fc"));
    return db.open(QIODevice::ReadOnly) ? db.readAll() : QByteArray();
}

} // namespace

class TestPrivacy : public QObject
{
    Q_OBJECT
private slots:
    void exportCarriesNoTypedPassword();
    void exportHashesUntouchedPlainPasswords();
    void lumoctlReveals();
};

// Users added and changed in the settings window, and a plain-text row of
// an earlier version: the exchange file handed to another agency holds none
// of their passwords, neither in the table nor in the file's free space.
void TestPrivacy::exportCarriesNoTypedPassword()
{
    TestApp app;
    app.exec(QStringLiteral("UPDATE ma SET 密码 = 'Old-Admin-Pass'"));
    app.exec(QStringLiteral("INSERT INTO ma VALUES ('业务员', 'Legacy-Agent-Pass', '小王')"));
    app.sj->ma->refresh();
    const QStringList typed = {QStringLiteral("Old-Admin-Pass"),
                               QStringLiteral("Legacy-Agent-Pass"),
                               QStringLiteral("First-Typed-Pass"), QStringLiteral("Confirmed-Pass"),
                               QStringLiteral("Changed-Admin-Pass")};
    {
        FakeMainFrame frame;
        frame.show();
        auto* w = new Tsz(*app.ctx, frame);
        frame.showChild(w);
        QTest::mouseClick(w->suiButton3, Qt::LeftButton);
        w->suiComboBox1->setEditText(QStringLiteral("业务员"));
        QTest::keyClicks(w->Edit5, typed[2]);
        QTest::keyClicks(w->Edit6, typed[3]);
        QTest::keyClicks(w->Edit7, QStringLiteral("Li"));
        QTest::mouseClick(w->Button3, Qt::LeftButton);
        w->suiComboBox1->setEditText(QStringLiteral("管理员"));
        QTest::keyClicks(w->Edit5, typed[0]);
        QTest::keyClick(w->Edit5, Qt::Key_Return);
        QTest::mouseClick(w->suiButton2, Qt::LeftButton);
        QTest::keyClicks(w->Edit5, typed[4]);
        QTest::keyClicks(w->Edit6, typed[4]);
        QTest::keyClicks(w->Edit7, QStringLiteral("Zhang"));
        QTest::mouseClick(w->Button3, Qt::LeftButton);
        QVERIFY(app.dialogs.messages.isEmpty());
        delete w;
    }
    QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM ma")).toInt(), 3);

    const QByteArray bytes = exportedDatabase(app);
    QVERIFY(bytes.contains(QByteArrayLiteral("$argon2id$")));
    QCOMPARE(findPassword(bytes, typed), QString());
}

// A register of an earlier version exported before anyone logged in or
// stored a user: its plain-text passwords are hashed on the way out, and
// they still log in afterwards.
void TestPrivacy::exportHashesUntouchedPlainPasswords()
{
    TestApp app;
    const QStringList typed = {QStringLiteral("Never-Used-Admin"),
                               QStringLiteral("Never-Used-Agent")};
    app.exec(QStringLiteral("UPDATE ma SET 密码 = '") + typed[0] + QLatin1Char('\''));
    app.exec(QStringLiteral("INSERT INTO ma VALUES ('业务员', '") + typed[1] +
             QStringLiteral("', '小王')"));
    app.sj->ma->refresh();

    const QByteArray bytes = exportedDatabase(app);
    QVERIFY(!bytes.isEmpty());
    QCOMPARE(findPassword(bytes, typed), QString());

    Dataset& ma = *app.sj->ma;
    QVERIFY(findUser(ma, typed[1], QStringLiteral("业务员")));
    QCOMPARE(ma.displayText(QStringLiteral("姓名")), QStringLiteral("小王"));
    QVERIFY(findUser(ma, typed[0], QStringLiteral("管理员")));
    QVERIFY(!findUser(ma, typed[1], QStringLiteral("管理员")));
}

void TestPrivacy::lumoctlReveals()
{
    TestApp app;
    recordReveal(app.sj->lumo1(), {3, QStringLiteral("管理员"), QStringLiteral("系统管理员"),
                                   QStringLiteral("业务员"), QStringLiteral("小李"),
                                   QStringLiteral("2026-12-01T09:00:00")});
    recordReveal(app.sj->lumo1(), {5, QStringLiteral("业务员"), QStringLiteral("王, \"小\"五"),
                                   QStringLiteral("业务员"), QStringLiteral("王, \"小\"五"),
                                   QStringLiteral("2026-12-04T17:45:10")});
    const std::string dir = app.appDir().toStdString();
    auto run = [](std::vector<std::string> args, std::string& out, std::string& err) {
        std::ostringstream o, e;
        const int code = revealsCommand(args, o, e);
        out = o.str();
        err = e.str();
        return code;
    };
    std::string out, err;
    QCOMPARE(run({"--dir", dir}, out, err), 0);
    QCOMPARE(QString::fromStdString(out),
             QStringLiteral("时间\t序号\t用户\t姓名\t登录用户\t登录姓名\n"
                            "2026-12-04T17:45:10\t5\t业务员\t王, \"小\"五\t业务员\t王, \"小\"五\n"
                            "2026-12-01T09:00:00\t3\t管理员\t系统管理员\t业务员\t小李\n"
                            "共 2 条记录\n"));
    QCOMPARE(run({"--dir", dir, "--csv"}, out, err), 0);
    QCOMPARE(QString::fromStdString(out),
             QStringLiteral("时间,序号,用户,姓名,登录用户,登录姓名\n"
                            "2026-12-04T17:45:10,5,业务员,\"王, \"\"小\"\"五\",业务员,"
                            "\"王, \"\"小\"\"五\"\n"
                            "2026-12-01T09:00:00,3,管理员,系统管理员,业务员,小李\n"));
    QCOMPARE(run({"--dir", dir, "--listing", "3"}, out, err), 0);
    QVERIFY(QString::fromStdString(out).endsWith(QStringLiteral("小李\n共 1 条记录\n")));
    QCOMPARE(run({"--dir", dir, "--user", "小李"}, out, err), 0);
    QVERIFY(QString::fromStdString(out).endsWith(QStringLiteral("共 1 条记录\n")));

    QCOMPARE(run({"--dir", dir, "--listing", "x"}, out, err), 2);
    QCOMPARE(run({"--dir", dir, "--bogus"}, out, err), 2);
    QCOMPARE(run({"--dir", dir + "/none"}, out, err), 1);
    // A register of a newer version is refused, not changed.
    app.exec(QStringLiteral("PRAGMA user_version = 999"));
    const QByteArray before = fingerprint(app.path(QStringLiteral("lumo.fc")));
    QCOMPARE(run({"--dir", dir}, out, err), 1);
    QVERIFY2(QString::fromStdString(err).contains(QStringLiteral("新版本的程序")), err.c_str());
    QCOMPARE(fingerprint(app.path(QStringLiteral("lumo.fc"))), before);
}

QTEST_MAIN(TestPrivacy)
#include "tst_privacy.moc"
