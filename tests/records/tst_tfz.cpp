#include "Dataset.h"
#include "FakeMainFrame.h"
#include "Passwords.h"
#include "TestApp.h"
#include "Tfz.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

using namespace lumo;

namespace
{

// Two found properties with different owners, the search on the first.
void searchTwo(test::TestApp& app)
{
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("东区"));
    app.addListing(2, QStringLiteral("卖"), QStringLiteral("西区"));
    app.exec(QStringLiteral("UPDATE fcxx SET 详细地址='幸福小区3栋201', 房主='张三', "
                            "联系电话='13900000001' WHERE 序号=1"));
    app.exec(QStringLiteral("UPDATE fcxx SET 详细地址='安居苑8号', 房主='李四', "
                            "联系电话='13900000002' WHERE 序号=2"));
    app.exec(QStringLiteral("INSERT INTO ma (用户, 密码, 姓名) VALUES ('小王', 'wang99', '王五')"));
    app.sj->ma->close();
    app.sj->ma->open();
    Dataset* q = app.sj->ADOQuery1;
    q->close();
    q->setSql(
        {QStringLiteral("select * from fcxx where sb='卖'"), QStringLiteral("ORDER BY 序号")});
    q->open();
}

// The record of who saw which owner, oldest first, one text per row.
QStringList reveals(test::TestApp& app)
{
    QStringList rows;
    QSqlQuery q(app.sj->lumo1());
    q.exec(QStringLiteral("SELECT 序号, 用户, 姓名, 登录用户, 登录姓名, 时间 FROM fzck ORDER BY "
                          "rowid"));
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < 6; ++i)
            fields << q.value(i).toString();
        rows << fields.join(QLatin1Char('|'));
    }
    return rows;
}

void typePassword(Tfz& w, const QString& text)
{
    w.Edit1->clear();
    QTest::keyClicks(w.Edit1, text);
    QTest::keyClick(w.Edit1, Qt::Key_Return);
}

} // namespace

class TestTfz : public QObject
{
    Q_OBJECT
private slots:
    void opensLockedWithMaskedAddress();
    void wrongPasswordKeepsLocked();
    void anyUsersPasswordUnlocks();
    void ownerDoesNotFollowLaterMoves();
    void reactivationEmptiesOwnerOnly();
    void emptyResultUnlocksWithEmptyBoxes();
    void acceptanceIsRecordedOnce();
    void firstUserWithThePasswordIsRecorded();
    void unrecordableAcceptanceStaysLocked();
    void closeButtonFreesWindow();
};

void TestTfz::opensLockedWithMaskedAddress()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    searchTwo(app);
    Tfz w(*app.ctx, frame, &frame);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    QCOMPARE(w.windowTitle(), QStringLiteral("房主信息"));
    QCOMPARE(w.DBEdit9->text(), QStringLiteral("地址1"));
    QCOMPARE(w.DBEdit2->text(), QStringLiteral("二室"));
    QCOMPARE(w.DBEdit7->text(), QStringLiteral("80"));
    QCOMPARE(w.DBEdit1->displayText(), QString(QStringLiteral("幸福小区3栋201").size(), u'-'));
    QCOMPARE(w.Edit2->text(), QStringLiteral("密码"));
    QVERIFY(!w.Edit2->isEnabled());
    QVERIFY(w.Edit1->isEnabled());
    QTest::keyClicks(w.Edit1, QStringLiteral("abc"));
    QCOMPARE(w.Edit1->displayText(), QStringLiteral("***"));
    for (QLineEdit* box :
         {w.DBEdit9, w.DBEdit1, w.DBEdit2, w.DBEdit3, w.DBEdit6, w.DBEdit4, w.DBEdit7, w.DBEdit8})
        QVERIFY(!box->isEnabled());
}

void TestTfz::wrongPasswordKeepsLocked()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    searchTwo(app);
    Tfz w(*app.ctx, frame, &frame);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    // Passwords compare exactly: case and surrounding spaces count.
    for (const QString& wrong :
         {QStringLiteral("ADMIN"), QStringLiteral("admin "), QStringLiteral("wang9")}) {
        typePassword(w, wrong);
        QCOMPARE(w.Label2->text(), QStringLiteral("[密码错误]"));
        QCOMPARE(w.Edit1->text(), wrong);
        QCOMPARE(w.Edit1->echoMode(), QLineEdit::Password);
        QCOMPARE(w.DBEdit1->echoMode(), QLineEdit::Password);
        QCOMPARE(w.Edit2->text(), QStringLiteral("密码"));
    }
}

void TestTfz::anyUsersPasswordUnlocks()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    searchTwo(app);
    Tfz w(*app.ctx, frame, &frame);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    typePassword(w, QStringLiteral("nope"));
    // Not the administrator's: the second user's password.
    w.Edit1->clear();
    QTest::keyClicks(w.Edit1, QStringLiteral("wang99"));
    QTest::mouseClick(w.suiButton1, Qt::LeftButton);
    QCOMPARE(w.Label2->text(), QString());
    QCOMPARE(w.DBEdit1->displayText(), QStringLiteral("幸福小区3栋201"));
    QCOMPARE(w.Edit1->text(), QStringLiteral("13900000001"));
    QCOMPARE(w.Edit1->displayText(), QStringLiteral("13900000001"));
    QCOMPARE(w.Edit2->text(), QStringLiteral("张三"));
    QVERIFY(!w.Edit1->isEnabled());
    // A second check does nothing once unlocked.
    w.Button1Click();
    QCOMPARE(w.Edit2->text(), QStringLiteral("张三"));
}

void TestTfz::ownerDoesNotFollowLaterMoves()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    searchTwo(app);
    Tfz w(*app.ctx, frame, &frame);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    typePassword(w, QStringLiteral("admin"));
    app.sj->ADOQuery1->next();
    QCOMPARE(w.DBEdit9->text(), QStringLiteral("地址2"));
    QCOMPARE(w.DBEdit1->displayText(), QStringLiteral("安居苑8号"));
    QCOMPARE(w.Edit2->text(), QStringLiteral("张三"));
    QCOMPARE(w.Edit1->text(), QStringLiteral("13900000001"));
}

void TestTfz::reactivationEmptiesOwnerOnly()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    searchTwo(app);
    Tfz w(*app.ctx, frame, &frame);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    typePassword(w, QStringLiteral("admin"));
    QCOMPARE(w.Edit2->text(), QStringLiteral("张三"));

    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &activate);
    QCOMPARE(w.Edit2->text(), QStringLiteral("密码"));
    QCOMPARE(w.Edit1->text(), QString());
    QVERIFY(!w.Edit1->isEnabled());
    QCOMPARE(w.DBEdit1->displayText(), QStringLiteral("幸福小区3栋201"));
    // Still unlocked: the check does nothing.
    w.Button1Click();
    QCOMPARE(w.Edit2->text(), QStringLiteral("密码"));
    QCOMPARE(w.Label2->text(), QString());
}

void TestTfz::emptyResultUnlocksWithEmptyBoxes()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    Dataset* q = app.sj->ADOQuery1;
    q->close();
    q->setSql({QStringLiteral("select * from fcxx where sb='卖'")});
    q->open();
    Tfz w(*app.ctx, frame, &frame);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    QCOMPARE(w.DBEdit9->text(), QString());
    typePassword(w, QStringLiteral("admin"));
    QCOMPARE(w.Edit1->text(), QString());
    QCOMPARE(w.Edit2->text(), QString());
    QVERIFY(app.dialogs.messages.isEmpty());
    // No owner was shown, so nobody is recorded.
    QCOMPARE(reveals(app), QStringList());
}

void TestTfz::acceptanceIsRecordedOnce()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    frame.login = {QStringLiteral("管理员"), QStringLiteral("系统管理员")};
    searchTwo(app);
    app.sj->ADOQuery1->next();
    app.clock.current = QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7));
    Tfz w(*app.ctx, frame, &frame);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    typePassword(w, QStringLiteral("wrong"));
    QCOMPARE(reveals(app), QStringList());
    // Another user's password: that user is recorded beside the login.
    typePassword(w, QStringLiteral("wang99"));
    QCOMPARE(w.Edit2->text(), QStringLiteral("李四"));
    QCOMPARE(reveals(app),
             QStringList{QStringLiteral("2|小王|王五|管理员|系统管理员|2026-12-10T09:05:07")});
    // The plain-text row of an earlier version is hashed on acceptance.
    QVERIFY(isPasswordHash(
        app.scalar(QStringLiteral("SELECT 密码 FROM ma WHERE 姓名 = '王五'")).toString()));

    // Coming back to the window, moving in the result or checking again
    // adds nothing.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &activate);
    app.sj->ADOQuery1->first();
    w.Button1Click();
    QTest::mouseClick(w.suiButton1, Qt::LeftButton);
    QCOMPARE(reveals(app).size(), 1);
    // The users table stays where it was.
    QCOMPARE(app.sj->ma->recNo(), 0);

    // A new window is a new acceptance.
    Tfz again(*app.ctx, frame, &frame);
    again.setAttribute(Qt::WA_DeleteOnClose, false);
    again.show();
    typePassword(again, QStringLiteral("admin"));
    QCOMPARE(reveals(app).size(), 2);
    QCOMPARE(reveals(app).at(1),
             QStringLiteral("1|管理员|系统管理员|管理员|系统管理员|2026-12-10T09:05:07"));
}

void TestTfz::firstUserWithThePasswordIsRecorded()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    frame.login = {QStringLiteral("业务员"), QStringLiteral("丙")};
    searchTwo(app);
    app.exec(
        QStringLiteral("INSERT INTO ma (用户, 密码, 姓名) VALUES ('业务员', '%1', '甲'), "
                       "('经理', '%2', '乙')")
            .arg(hashPassword(QStringLiteral("shared")), hashPassword(QStringLiteral("shared"))));
    app.sj->ma->refresh();
    Tfz w(*app.ctx, frame, &frame);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    typePassword(w, QStringLiteral("shared"));
    QCOMPARE(reveals(app),
             QStringList{QStringLiteral("1|业务员|甲|业务员|丙|2026-12-09T10:30:00")});
}

void TestTfz::unrecordableAcceptanceStaysLocked()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    searchTwo(app);
    app.exec(QStringLiteral("CREATE TRIGGER no_record BEFORE INSERT ON fzck "
                            "BEGIN SELECT raise(abort, '磁盘已满'); END"));
    Tfz w(*app.ctx, frame, &frame);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    // The second user's password: the users table goes back to its row.
    typePassword(w, QStringLiteral("wang99"));
    QCOMPARE(app.dialogs.messages, QStringList{QStringLiteral("磁盘已满")});
    QCOMPARE(w.Edit1->echoMode(), QLineEdit::Password);
    QCOMPARE(w.DBEdit1->echoMode(), QLineEdit::Password);
    QCOMPARE(w.Edit2->text(), QStringLiteral("密码"));
    QVERIFY(w.Edit1->isEnabled());
    QCOMPARE(app.sj->ma->recNo(), 0);
}

void TestTfz::closeButtonFreesWindow()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    QPointer<Tfz> w = new Tfz(*app.ctx, frame, &frame);
    w->show();
    QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
    QTest::mouseClick(w->suiButton2, Qt::LeftButton);
    QTRY_VERIFY(w.isNull());
}

QTEST_MAIN(TestTfz)
#include "tst_tfz.moc"
