// The settings window opened from the main window, and a deleted level at
// the next start.
#include "DataGrid.h"
#include "Dataset.h"
#include "TestApp.h"
#include "Tmain.h"
#include "Tsz.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

using namespace lumo;
using namespace lumo::test;

namespace
{

void login(Tmain& w, const QString& level, const QString& password)
{
    w.suiComboBox1->setCurrentText(level);
    w.suiEdit1->clear();
    QTest::keyClicks(w.suiEdit1, password);
    QTest::mouseClick(w.suiButton1, Qt::LeftButton);
}

} // namespace

class TstTszMain : public QObject
{
    Q_OBJECT
private slots:
    void openedFromMenuAndLevelDeleted();
};

void TstTszMain::openedFromMenuAndLevelDeleted()
{
    TestApp app;
    app.exec(QStringLiteral("insert into jb (级别, 房源录入) values ('业务员', 1)"));
    app.exec(QStringLiteral("insert into ma values ('业务员', 'y1', '小王')"));
    app.sj->dj->refresh();
    app.sj->ma->refresh();
    {
        Tmain main(*app.ctx);
        main.show();
        login(main, QStringLiteral("管理员"), QStringLiteral("admin"));
        QVERIFY(main.N2->isEnabled());

        main.N2->trigger();
        QPointer<Tsz> w = main.findChild<Tsz*>();
        QVERIFY(w);
        QVERIFY(!main.N2->isEnabled());
        QVERIFY(!main.N7->isEnabled()); // locked
        QCOMPARE(w->suiComboBox1->count(), 2);

        // The level 业务员 deleted in the level grid.
        w->suiPageControl1->setCurrentWidget(w->suiTabSheet4);
        w->DBGridEh1->setCurrentIndex(w->DBGridEh1->model()->index(1, 0));
        QCOMPARE(app.sj->dj->value(QStringLiteral("级别")).toString(), QStringLiteral("业务员"));
        QTest::mouseClick(w->suiButton5, Qt::LeftButton);
        QCOMPARE(app.scalar(QStringLiteral("select count(*) from jb")).toInt(), 1);

        QTest::mouseClick(w->suiButton1, Qt::LeftButton);
        QTRY_VERIFY(w.isNull());
        QVERIFY(main.N2->isEnabled());
        QVERIFY(main.N7->isEnabled()); // unlocked
        QVERIFY(app.dialogs.messages.isEmpty());
    }
    // At the next start the users of the deleted level are refused.
    Tmain next(*app.ctx);
    next.show();
    QCOMPARE(next.suiComboBox1->findText(QStringLiteral("业务员")), -1);
    login(next, QStringLiteral("业务员"), QStringLiteral("y1"));
    QCOMPARE(app.dialogs.messages, QStringList{QStringLiteral("不可识别的用户？")});
}

QTEST_MAIN(TstTszMain)
#include "tst_tszmain.moc"
