// An agent's day through the real main window: log in, search, collect
// rows into the print list, print it, look at a photo and the owner, close.
#include "Dataset.h"
#include "FilterBar.h"
#include "Passwords.h"
#include "TestApp.h"
#include "Tmain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace lumo;
using lumo::test::TestApp;

namespace
{

QWidget* topLevel(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

void loginAsAdministrator(Tmain& w)
{
    w.findChild<QComboBox*>(QStringLiteral("suiComboBox1"))
        ->setCurrentText(QStringLiteral("管理员"));
    QTest::keyClicks(w.findChild<QLineEdit*>(QStringLiteral("suiEdit1")), QStringLiteral("admin"));
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("suiButton1")), Qt::LeftButton);
}

} // namespace

class TestWorkflow : public QObject
{
    Q_OBJECT
private slots:
    void searchCollectPrintAndClose();
    void ownerRevealIsRecordedWithTheLogin();
};

void TestWorkflow::searchCollectPrintAndClose()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("a printer is installed: this test would print on paper");
    TestApp app;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
    app.addListing(2, QStringLiteral("租"), QStringLiteral("沈河区"));
    app.addListing(3, QStringLiteral("卖"), QStringLiteral("铁西区"));
    Tmain w(*app.ctx);
    w.show();
    loginAsAdministrator(w);

    // The search opens the results window with the sale listings.
    QTest::mouseClick(w.findChild<QToolButton*>(QStringLiteral("toolbutton4")), Qt::LeftButton);
    QMdiSubWindow* results = w.mdiArea()->currentSubWindow();
    QVERIFY(results);
    QCOMPARE(results->objectName(), QStringLiteral("Tcxxs"));
    QVERIFY(w.N15->isEnabled());
    auto* grid = results->findChild<QTableView*>(QStringLiteral("RxDBGrid1"));
    QCOMPARE(grid->model()->rowCount(), 2);

    // Both found rows go into the print list, once each.
    for (int row : {0, 1, 1}) {
        grid->setCurrentIndex(grid->model()->index(row, 0));
        QTest::mouseClick(results->findChild<QPushButton*>(QStringLiteral("bsSkinSpeedButton3")),
                          Qt::LeftButton);
    }
    QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM fzxx")).toInt(), 2);

    // Without a printer the list is written as a PDF and the user is told.
    QTest::mouseClick(results->findChild<QPushButton*>(QStringLiteral("bsSkinSpeedButton1")),
                      Qt::LeftButton);
    QTRY_VERIFY(!QDir(app.appDir()).entryList({QStringLiteral("*.pdf")}).isEmpty());
    QTRY_VERIFY(app.dialogs.messages.size() == 1);
    const QString pdf = QDir(app.appDir()).entryList({QStringLiteral("*.pdf")}).first();
    QVERIFY2(app.dialogs.messages.last().contains(pdf), qPrintable(app.dialogs.messages.last()));

    // A double click shows the photo preview; "联系房主" the owner window.
    const QPoint cell = grid->visualRect(grid->model()->index(1, 0)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QTRY_VERIFY(topLevel(QStringLiteral("Ttx")));
    w.N15->trigger();
    QTRY_VERIFY(topLevel(QStringLiteral("Tfz")));
    topLevel(QStringLiteral("Ttx"))->close();
    topLevel(QStringLiteral("Tfz"))->close();

    // "关闭项目" closes the results window: the print list is emptied and
    // the owner entry is disabled again.
    w.N11->trigger();
    QTRY_VERIFY(w.mdiArea()->subWindowList().isEmpty());
    QVERIFY(!w.N15->isEnabled());
    QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM fzxx")).toInt(), 0);
    QVERIFY(w.N6->isEnabled());
}

// An agent logs in, opens the owner details of a found listing with a
// colleague's password; the record names both, and the settings window
// shows it.
void TestWorkflow::ownerRevealIsRecordedWithTheLogin()
{
    TestApp app;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
    app.addListing(2, QStringLiteral("卖"), QStringLiteral("铁西区"));
    app.exec(QStringLiteral("INSERT INTO jb (级别, 房主电话, 软件设置) VALUES ('业务员', 1, 1)"));
    app.exec(QStringLiteral("INSERT INTO ma VALUES ('业务员', '%1', '小李')")
                 .arg(hashPassword(QStringLiteral("agent-pass"))));
    app.sj->ma->refresh();
    app.sj->dj->refresh();
    app.clock.current = QDateTime(QDate(2026, 12, 10), QTime(14, 0, 1));
    Tmain w(*app.ctx);
    w.show();
    w.findChild<QComboBox*>(QStringLiteral("suiComboBox1"))
        ->setCurrentText(QStringLiteral("业务员"));
    QTest::keyClicks(w.findChild<QLineEdit*>(QStringLiteral("suiEdit1")),
                     QStringLiteral("agent-pass"));
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("suiButton1")), Qt::LeftButton);
    QVERIFY(app.dialogs.messages.isEmpty());

    QTest::mouseClick(w.findChild<QToolButton*>(QStringLiteral("toolbutton4")), Qt::LeftButton);
    QMdiSubWindow* results = w.mdiArea()->currentSubWindow();
    QVERIFY(results);
    auto* grid = results->findChild<QTableView*>(QStringLiteral("RxDBGrid1"));
    grid->setCurrentIndex(grid->model()->index(1, 0));
    w.N15->trigger();
    QTRY_VERIFY(topLevel(QStringLiteral("Tfz")));
    QWidget* owner = topLevel(QStringLiteral("Tfz"));
    auto* password = owner->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    QTest::keyClicks(password, QStringLiteral("admin"));
    QTest::keyClick(password, Qt::Key_Return);
    QCOMPARE(password->text(), QStringLiteral("13800000000"));
    QCOMPARE(app.scalar(QStringLiteral("SELECT group_concat(序号 || '|' || 用户 || '|' || 姓名 || "
                                       "'|' || 登录用户 || '|' || 登录姓名 || '|' || 时间) "
                                       "FROM fzck"))
                 .toString(),
             QStringLiteral("2|管理员|系统管理员|业务员|小李|2026-12-10T14:00:01"));
    owner->close();

    w.N11->trigger();
    QTRY_VERIFY(w.mdiArea()->subWindowList().isEmpty());
    w.N2->trigger();
    QMdiSubWindow* settings = w.mdiArea()->currentSubWindow();
    QVERIFY(settings);
    auto* tabs = settings->findChild<QTabWidget*>(QStringLiteral("suiPageControl1"));
    tabs->setCurrentWidget(settings->findChild<QWidget*>(QStringLiteral("suiTabSheet5")));
    auto* record = settings->findChild<QTableWidget*>(QStringLiteral("StringGrid2"));
    QCOMPARE(record->rowCount(), 1);
    QCOMPARE(record->item(0, 5)->text(), QStringLiteral("小李"));
    QCOMPARE(settings->findChild<QLabel*>(QStringLiteral("Label7"))->text(),
             QStringLiteral("共 1 条记录"));
}

QTEST_MAIN(TestWorkflow)
#include "tst_workflow.moc"
