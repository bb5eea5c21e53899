#include "Dataset.h"
#include "FakeMainFrame.h"
#include "TestApp.h"
#include "Tfz.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
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
