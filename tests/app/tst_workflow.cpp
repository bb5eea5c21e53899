// An agent's day through the real main window: log in, search, collect
// rows into the print list, print it, look at a photo and the owner, close.
#include "Dataset.h"
#include "FilterBar.h"
#include "TestApp.h"
#include "Tmain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTableView>
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

QTEST_MAIN(TestWorkflow)
#include "tst_workflow.moc"
