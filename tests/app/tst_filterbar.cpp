// The filter bar: floating check lists, the sale/rent and ownership cycles,
// the reset and the search.
#include "ChildForm.h"
#include "DataSource.h"
#include "Dataset.h"
#include "FakeMainFrame.h"
#include "FilterBar.h"
#include "Tcxxs.h"
#include "TestApp.h"
#include "Tmain.h"

#include <QAction>
#include <QMdiArea>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

using namespace lumo;
using namespace lumo::test;

namespace
{

// A fake main window with the filter bar at its top, shown.
struct Bar {
    explicit Bar(TestApp& app) : bar(new FilterBar(*app.ctx, frame, &frame))
    {
        frame.addToolBar(Qt::TopToolBarArea, bar);
        bar->setLookupLists(
            {QStringLiteral("和平区"), QStringLiteral("沈河区"), QStringLiteral("O'Brien")},
            {QStringLiteral("南北"), QStringLiteral("东西")},
            {QStringLiteral("二室一厅"), QStringLiteral("三室一厅")});
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
    }
    FakeMainFrame frame;
    FilterBar* bar;
};

void clickItem(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

QStringList checked(QListWidget* list)
{
    QStringList l;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            l << list->item(i)->text();
    return l;
}

QList<Tcxxs*> resultWindows(FakeMainFrame& frame)
{
    QList<Tcxxs*> l;
    for (QMdiSubWindow* w : frame.area->subWindowList())
        if (auto* r = qobject_cast<Tcxxs*>(w))
            l << r;
    return l;
}

} // namespace

class TestFilterBar : public QObject
{
    Q_OBJECT
private slots:
    void controlsAndLists();
    void checkListsFollowTheMouse();
    void checkListClickRules();
    void boxesIgnoreTyping();
    void saleRentAndOwnershipCycles();
    void areaPriceAndReset();
    void searchOpensResults();
    void secondSearchReplacesResults();
    void searchWithApostrophe();
    void searchFailureShowsEngineText();
    void throughTheMainWindow();
};

void TestFilterBar::controlsAndLists()
{
    TestApp app;
    Bar b(app);
    FilterBar* bar = b.bar;
    QCOMPARE(bar->findChild<QPushButton*>(QStringLiteral("FlatButton1"))->text(),
             QStringLiteral("卖房"));
    QCOMPARE(bar->Button1->text(), QStringLiteral("无权属"));
    QCOMPARE(bar->FlatEdit1->text(), QStringLiteral("区域"));
    QCOMPARE(bar->FlatEdit2->text(), QStringLiteral("朝向"));
    QCOMPARE(bar->FlatEdit3->text(), QStringLiteral("户型"));
    QCOMPARE(bar->FlatSpinEditInteger1->minimum(), 1);
    QCOMPARE(bar->FlatSpinEditInteger1->maximum(), 199999);
    QCOMPARE(bar->FlatComboBox1->count(), 13);
    QCOMPARE(bar->FlatComboBox2->itemText(bar->FlatComboBox2->count() - 1), QStringLiteral("90"));
    QCOMPARE(bar->FlatComboBox3->itemText(21), QStringLiteral("30"));
    QCOMPARE(bar->FlatComboBox4->itemText(bar->FlatComboBox4->count() - 1), QStringLiteral("1000"));
    for (const char* name : {"ToolButton1", "ToolButton2", "ToolButton3", "ToolButton5",
                             "ToolButton6", "toolbutton4", "suiButton2", "suiButton4"})
        QVERIFY2(bar->findChild<QWidget*>(QLatin1String(name)), name);

    // The floating lists live on the main window, with their fixed items.
    QListWidget* l1 = b.frame.findChild<QListWidget*>(QStringLiteral("FlatCheckListBox1"));
    QVERIFY(l1);
    QCOMPARE(l1->parentWidget(), &b.frame);
    QCOMPARE(l1->count(), 5);
    QCOMPARE(l1->item(0)->text(), QStringLiteral("所有区"));
    QCOMPARE(l1->item(4)->text(), QStringLiteral("其它区"));
    QCOMPARE(bar->FlatCheckListBox2->item(0)->text(), QStringLiteral("所有"));
    QCOMPARE(bar->FlatCheckListBox3->item(3)->text(), QStringLiteral("其它"));
    QVERIFY(l1->isHidden());
}

void TestFilterBar::checkListsFollowTheMouse()
{
    TestApp app;
    Bar b(app);
    FilterBar* bar = b.bar;
    QTest::mouseMove(bar->FlatEdit1);
    QTRY_VERIFY(bar->FlatCheckListBox1->isVisible());
    QVERIFY(!bar->FlatCheckListBox2->isVisible());
    // Under its box, left edges aligned.
    const QPoint boxPos = bar->FlatEdit1->mapTo(&b.frame, QPoint(0, 0));
    QCOMPARE(bar->FlatCheckListBox1->x(), boxPos.x());
    QVERIFY(bar->FlatCheckListBox1->y() >= bar->mapTo(&b.frame, QPoint(0, 23)).y());

    QTest::mouseMove(bar->FlatEdit3);
    QTRY_VERIFY(bar->FlatCheckListBox3->isVisible());
    QVERIFY(!bar->FlatCheckListBox1->isVisible());
    QCOMPARE(bar->FlatCheckListBox3->x(), bar->FlatEdit3->mapTo(&b.frame, QPoint(0, 0)).x());

    QTest::mouseMove(bar->Button1);
    QTRY_VERIFY(!bar->FlatCheckListBox3->isVisible());

    bar->FlatEdit2MouseMove();
    QVERIFY(bar->FlatCheckListBox2->isVisible());
    bar->hideCheckLists();
    QVERIFY(!bar->FlatCheckListBox2->isVisible());
}

void TestFilterBar::checkListClickRules()
{
    TestApp app;
    Bar b(app);
    FilterBar* bar = b.bar;
    QListWidget* list = bar->FlatCheckListBox1;
    bar->FlatEdit11MouseMove();

    clickItem(list, 1);
    clickItem(list, 2);
    QCOMPARE(bar->FlatEdit1->text(), QStringLiteral("和平区,沈河区,"));
    QCOMPARE(bar->valueList(0), QStringLiteral("和平区','沈河区"));

    // Unticking one of them.
    clickItem(list, 1);
    QCOMPARE(bar->FlatEdit1->text(), QStringLiteral("沈河区,"));
    QCOMPARE(bar->valueList(0), QStringLiteral("沈河区"));

    // The "all" item clears every other tick and the condition.
    clickItem(list, 0);
    QCOMPARE(checked(list), QStringList{QStringLiteral("所有区")});
    QCOMPARE(bar->FlatEdit1->text(), QStringLiteral("区域"));
    QCOMPARE(bar->valueList(0), QString());
    // While it stays ticked, ticking a district is undone at once.
    clickItem(list, 2);
    QCOMPARE(checked(list), QStringList{QStringLiteral("所有区")});
    QCOMPARE(bar->state().districtValues, QString());

    // Only the last item: an ordinary choice.
    clickItem(list, 0);
    clickItem(list, 4);
    QCOMPARE(bar->FlatEdit1->text(), QStringLiteral("其它区,"));
    QCOMPARE(bar->state().districtValues, QStringLiteral("其它区"));
    QCOMPARE(buildSearchStatement(bar->state()).at(1), QStringLiteral("and 区域 in ('其它区')"));

    // An entry with an apostrophe is doubled in the value list only.
    clickItem(list, 3);
    QCOMPARE(bar->FlatEdit1->text(), QStringLiteral("O'Brien,其它区,"));
    QCOMPARE(bar->valueList(0), QStringLiteral("O''Brien','其它区"));

    // The other two lists use their own captions.
    bar->FlatEdit2MouseMove();
    clickItem(bar->FlatCheckListBox2, 2);
    QCOMPARE(bar->FlatEdit2->text(), QStringLiteral("东西,"));
    clickItem(bar->FlatCheckListBox2, 2);
    QCOMPARE(bar->FlatEdit2->text(), QStringLiteral("朝向"));
    bar->FlatEdit3MouseMove();
    clickItem(bar->FlatCheckListBox3, 1);
    QCOMPARE(bar->state().layoutValues, QStringLiteral("二室一厅"));
}

void TestFilterBar::boxesIgnoreTyping()
{
    TestApp app;
    Bar b(app);
    b.bar->FlatEdit2->setFocus();
    QTest::keyClicks(b.bar->FlatEdit2, QStringLiteral("abc"));
    QTest::keyClick(b.bar->FlatEdit2, Qt::Key_Backspace);
    QCOMPARE(b.bar->FlatEdit2->text(), QStringLiteral("朝向"));
}

void TestFilterBar::saleRentAndOwnershipCycles()
{
    TestApp app;
    Bar b(app);
    FilterBar* bar = b.bar;
    auto click = [](QPushButton* p) { QTest::mouseClick(p, Qt::LeftButton); };

    click(bar->Button1);
    QCOMPARE(bar->Button1->text(), QStringLiteral("产权"));
    click(bar->Button1);
    QCOMPARE(bar->Button1->text(), QStringLiteral("使用权"));
    QCOMPARE(bar->ownershipPosition(), 2);

    click(bar->FlatButton1);
    QCOMPARE(bar->FlatButton1->text(), QStringLiteral("租房"));
    QCOMPARE(bar->saleRentState(), 1);
    QCOMPARE(bar->Button1->text(), QStringLiteral("全部"));
    // The position is not reset by the mode change.
    click(bar->Button1);
    QCOMPARE(bar->Button1->text(), QStringLiteral("全部"));
    click(bar->Button1);
    QCOMPARE(bar->Button1->text(), QStringLiteral("季度"));
    QStringList lines = buildSearchStatement(bar->state());
    QCOMPARE(lines.at(0), QStringLiteral("select * from fcxx where sb='租'"));
    QCOMPARE(lines.at(1), QStringLiteral("and 权属 in ('季度')"));

    // Back to sale: the last rent term stays and restricts the search.
    click(bar->FlatButton1);
    QCOMPARE(bar->FlatButton1->text(), QStringLiteral("卖房"));
    QCOMPARE(bar->saleRentState(), 0);
    QCOMPARE(bar->Button1->text(), QStringLiteral("季度"));
    lines = buildSearchStatement(bar->state());
    QCOMPARE(lines.at(0), QStringLiteral("select * from fcxx where sb='卖'"));
    QCOMPARE(lines.at(1), QStringLiteral("and 权属 in ('季度')"));
    click(bar->Button1);
    QCOMPARE(bar->Button1->text(), QStringLiteral("使用权"));
}

void TestFilterBar::areaPriceAndReset()
{
    TestApp app;
    Bar b(app);
    FilterBar* bar = b.bar;
    QTest::mouseClick(bar->suiButton4, Qt::LeftButton);
    QCOMPARE(bar->suiButton4->text(), QStringLiteral("价格"));
    bar->FlatComboBox3->setCurrentText(QStringLiteral("50"));
    bar->FlatComboBox4->setCurrentText(QStringLiteral("30"));
    QCOMPARE(buildSearchStatement(bar->state()).at(2),
             QStringLiteral("and 价格 between 50 and 99999"));

    bar->FlatComboBox1->setCurrentText(QStringLiteral("5"));
    bar->FlatSpinEditInteger1->setValue(7);
    bar->FlatSpinEditInteger2->setValue(7);
    QTest::mouseClick(bar->FlatButton1, Qt::LeftButton);
    bar->FlatEdit11MouseMove();
    clickItem(bar->FlatCheckListBox1, 0);
    bar->FlatEdit2MouseMove();
    clickItem(bar->FlatCheckListBox2, 1);
    QCOMPARE(buildSearchStatement(bar->state()).at(4),
             QStringLiteral("and 序号 between 7 and 2999999"));

    QTest::mouseClick(bar->suiButton2, Qt::LeftButton);
    QCOMPARE(bar->FlatButton1->text(), QStringLiteral("卖房"));
    QCOMPARE(bar->Button1->text(), QStringLiteral("无权属"));
    QCOMPARE(bar->FlatEdit2->text(), QStringLiteral("朝向"));
    QCOMPARE(bar->FlatSpinEditInteger1->value(), 1);
    QCOMPARE(bar->FlatSpinEditInteger2->value(), 1);
    QCOMPARE(checked(bar->FlatCheckListBox1), QStringList());
    QCOMPARE(checked(bar->FlatCheckListBox2), QStringList());
    // The caption of the range button and the rent state are kept.
    QCOMPARE(bar->suiButton4->text(), QStringLiteral("价格"));
    QCOMPARE(bar->saleRentState(), 1);
    SearchFilter initial;
    initial.rangeCaption = QStringLiteral("价格");
    QCOMPARE(buildSearchStatement(bar->state()), buildSearchStatement(initial));
}

void TestFilterBar::searchOpensResults()
{
    TestApp app;
    app.addListing(3, QStringLiteral("卖"), QStringLiteral("和平区"));
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("沈河区"));
    app.addListing(2, QStringLiteral("租"), QStringLiteral("和平区"));
    app.exec(QStringLiteral("INSERT INTO fzxx (序号) VALUES (9)"));
    Bar b(app);
    QTest::mouseClick(b.bar->toolbutton4, Qt::LeftButton);

    QCOMPARE(b.frame.lockCount, 1);
    QVERIFY(b.frame.locked);
    QCOMPARE(app.dialogs.messages, QStringList());
    Dataset* q = app.sj->ADOQuery1;
    QCOMPARE(q->sql(), buildSearchStatement(SearchFilter()));
    QVERIFY(q->active());
    QCOMPARE(q->recordCount(), 2);
    q->first();
    QCOMPARE(q->value(QStringLiteral("序号")).toInt(), 1);
    QCOMPARE(app.sj->DataSource1->dataset(), q);
    // The print list was emptied and closed.
    QCOMPARE(app.scalar(QStringLiteral("SELECT COUNT(*) FROM fzxx")).toInt(), 0);
    QVERIFY(!app.sj->ADOTable3->active());

    QCOMPARE(resultWindows(b.frame).size(), 1);
    QVERIFY(resultWindows(b.frame).first()->isMaximized());
    QCOMPARE(b.bar->resultsMarker(), 1);
    QVERIFY(b.frame.menuEntry(QStringLiteral("N15"))->isEnabled());

    // The main window passes on the closing of the results window.
    resultWindows(b.frame).first()->close();
    QCOMPARE(b.frame.resultsClosedCount, 1);
    b.bar->resultsWindowClosed();
    QCOMPARE(b.bar->resultsMarker(), 0);
}

void TestFilterBar::secondSearchReplacesResults()
{
    TestApp app;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
    app.addListing(2, QStringLiteral("卖"), QStringLiteral("沈河区"));
    Bar b(app);
    QTest::mouseClick(b.bar->toolbutton4, Qt::LeftButton);
    QPointer<Tcxxs> first = b.bar->resultsWindow();
    QVERIFY(first);
    first->bsSkinSpeedButton3->click(); // into the print list
    QCOMPARE(app.scalar(QStringLiteral("SELECT COUNT(*) FROM fzxx")).toInt(), 1);

    // Another working window is the active one: the search still replaces
    // its own results window and leaves the other open.
    QPointer<ChildForm> other = new ChildForm(*app.ctx, b.frame);
    b.frame.showChild(other);
    QCOMPARE(b.frame.area->activeSubWindow(), other.data());

    b.bar->FlatEdit11MouseMove();
    clickItem(b.bar->FlatCheckListBox1, 2);
    QTest::mouseClick(b.bar->toolbutton4, Qt::LeftButton);
    QTRY_VERIFY(!first);
    QVERIFY(other);
    QCOMPARE(resultWindows(b.frame).size(), 1);
    QCOMPARE(b.frame.resultsClosedCount, 1);
    QCOMPARE(b.bar->resultsMarker(), 1);
    QCOMPARE(app.sj->ADOQuery1->recordCount(), 1);
    QCOMPARE(app.scalar(QStringLiteral("SELECT COUNT(*) FROM fzxx")).toInt(), 0);
}

void TestFilterBar::searchWithApostrophe()
{
    TestApp app;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("O'Brien"));
    app.addListing(2, QStringLiteral("卖"), QStringLiteral("和平区"));
    Bar b(app);
    b.bar->FlatEdit11MouseMove();
    clickItem(b.bar->FlatCheckListBox1, 3);
    QTest::mouseClick(b.bar->toolbutton4, Qt::LeftButton);
    QCOMPARE(app.dialogs.messages, QStringList());
    QCOMPARE(app.sj->ADOQuery1->recordCount(), 1);
    app.sj->ADOQuery1->first();
    QCOMPARE(app.sj->ADOQuery1->value(QStringLiteral("区域")).toString(),
             QStringLiteral("O'Brien"));
}

void TestFilterBar::searchFailureShowsEngineText()
{
    TestApp app;
    Bar b(app);
    app.sj->ADOTable1->close();
    app.exec(QStringLiteral("ALTER TABLE fcxx RENAME TO fcxx_gone"));
    QTest::mouseClick(b.bar->toolbutton4, Qt::LeftButton);
    QCOMPARE(app.dialogs.messages.size(), 1);
    QVERIFY(app.dialogs.messages.first().contains(QStringLiteral("fcxx")));
    QVERIFY(resultWindows(b.frame).isEmpty());
    QCOMPARE(b.bar->resultsMarker(), 0);
    QVERIFY(b.frame.locked);
}

void TestFilterBar::throughTheMainWindow()
{
    TestApp app;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
    Tmain main(*app.ctx);
    FilterBar* bar = main.filterBar();
    // The lists hang on the main window, filled from the default lookup lists.
    QCOMPARE(bar->FlatCheckListBox1->parentWidget(), static_cast<QWidget*>(&main));
    QVERIFY(bar->FlatCheckListBox1->count() > 2);
    QCOMPARE(bar->FlatCheckListBox1->item(0)->text(), QStringLiteral("所有区"));

    bar->toolbutton4->click();
    QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
    QVERIFY(main.N15->isEnabled());
    QVERIFY(!main.N6->isEnabled());
    QCOMPARE(bar->resultsMarker(), 1);

    // "关闭项目" closes the results window: marker back to 0, N15 off.
    main.N11->trigger();
    QTRY_COMPARE(main.mdiArea()->subWindowList().size(), 0);
    QCOMPARE(bar->resultsMarker(), 0);
    QVERIFY(!main.N15->isEnabled());
    QVERIFY(main.N6->isEnabled());
}

QTEST_MAIN(TestFilterBar)
#include "tst_filterbar.moc"
