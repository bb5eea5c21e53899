// The business-card directory, driven through its controls.
#include "DataGrid.h"
#include "DataSource.h"
#include "Dataset.h"
#include "FakeMainFrame.h"
#include "TestApp.h"
#include "Tmain.h"
#include "Tmp.h"
#include "TmpSearch.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

using namespace lumo;
using namespace lumo::test;

class TstTmp : public QObject
{
    Q_OBJECT

private:
    static void addCard(TestApp& app, int number, const QString& name, const QString& address,
                        const QString& phone, const QString& remark = QString())
    {
        app.exec(QStringLiteral("insert into dh (序号, 名称, 地址, 电话, 备注, 日期) values "
                                "(%1, '%2', '%3', '%4', '%5', '2026-01-02')")
                     .arg(number)
                     .arg(QString(name).replace(QLatin1Char('\''), QStringLiteral("''")), address,
                          phone, remark));
    }
    // Types text as key events; Chinese text goes in as one key's text.
    static void typeText(QWidget* w, const QString& text)
    {
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, text, Qt::NoModifier);
    }
    static QPushButton* button(Tmp& w, const char* name)
    {
        return w.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    static QLineEdit* box(Tmp& w, const char* name)
    {
        return w.findChild<QLineEdit*>(QString::fromLatin1(name));
    }

private slots:
    void searchStatement_data();
    void searchStatement();
    void searchThroughWindow();
    void cardNumbers();
    void addAfterSearchShowsTable();
    void deleteInSearchViewDeletesSelectedCard();
    void deleteAnsweredNoOrOnEmptyTable();
    void deleteWithEmptySearchResultDeletesNothing();
    void ctrlDeleteSelectedRows();
    void closing();
    void openedFromMainWindow();
};

void TstTmp::searchStatement_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QStringList>("lines");
    const QString head = QStringLiteral("select * from dh where 序号>0 ");
    QTest::addRow("none") << QString() << QString() << QString() << QStringList{head};
    QTest::addRow("name") << QStringLiteral("张") << QString() << QString()
                          << QStringList{head, QStringLiteral("and 名称 like '%张%'")};
    QTest::addRow("address") << QString() << QStringLiteral("沈河") << QString()
                             << QStringList{head, QStringLiteral("and 地址 like '%沈河%'")};
    QTest::addRow("phone") << QString() << QString() << QStringLiteral("138")
                           << QStringList{head, QStringLiteral("and 电话 like '%138%'")};
    QTest::addRow("name and phone") << QStringLiteral("李") << QString() << QStringLiteral("024")
                                    << QStringList{head, QStringLiteral("and 名称 like '%李%'"),
                                                   QStringLiteral("and 电话 like '%024%'")};
    QTest::addRow("all three") << QStringLiteral("a") << QStringLiteral("b") << QStringLiteral("c")
                               << QStringList{head, QStringLiteral("and 名称 like '%a%'"),
                                              QStringLiteral("and 地址 like '%b%'"),
                                              QStringLiteral("and 电话 like '%c%'")};
    QTest::addRow("blanks count, untrimmed")
        << QStringLiteral("  ") << QString() << QString()
        << QStringList{head, QStringLiteral("and 名称 like '%  %'")};
    QTest::addRow("apostrophe doubled")
        << QStringLiteral("O'Neil") << QString() << QString()
        << QStringList{head, QStringLiteral("and 名称 like '%O''Neil%'")};
}

void TstTmp::searchStatement()
{
    QFETCH(QString, name);
    QFETCH(QString, address);
    QFETCH(QString, phone);
    QFETCH(QStringList, lines);
    QCOMPARE(cardSearchStatement(name, address, phone), lines);
}

void TstTmp::searchThroughWindow()
{
    TestApp app;
    addCard(app, 1, QStringLiteral("张三"), QStringLiteral("沈河区"), QStringLiteral("111"),
            QStringLiteral("老客户"));
    addCard(app, 2, QStringLiteral("O'Neil"), QStringLiteral("和平区"), QStringLiteral("222"));
    addCard(app, 3, QStringLiteral("张四"), QStringLiteral("和平区"), QStringLiteral("333"));
    addCard(app, 0, QStringLiteral("张零"), QStringLiteral("和平区"), QStringLiteral("444"));
    app.sj->ADOTable4->refresh();
    FakeMainFrame frame;
    Tmp w(*app.ctx, frame, &frame);
    w.show();

    // Typed in the order telephone, then name: the lines follow name, address, telephone.
    typeText(box(w, "Edit3"), QStringLiteral("3"));
    typeText(box(w, "Edit1"), QStringLiteral("张"));
    typeText(box(w, "Edit4"), QStringLiteral("不相干"));
    QTest::mouseClick(button(w, "suiButton5"), Qt::LeftButton);
    Dataset* q = app.sj->ADOQuery2;
    QCOMPARE(app.sj->DataSource5->dataset(), q);
    QCOMPARE(q->sql(), (QStringList{QStringLiteral("select * from dh where 序号>0 "),
                                    QStringLiteral("and 名称 like '%张%'"),
                                    QStringLiteral("and 电话 like '%3%'")}));
    QCOMPARE(q->recordCount(), 1);
    QCOMPARE(q->value(QStringLiteral("名称")).toString(), QStringLiteral("张四"));

    // All boxes empty: every card with a positive number; the remark takes no part.
    box(w, "Edit1")->clear();
    box(w, "Edit3")->clear();
    QTest::mouseClick(button(w, "suiButton5"), Qt::LeftButton);
    QCOMPARE(q->recordCount(), 3);
    QCOMPARE(w.DBGrid1->model()->rowCount(), 3);

    // An apostrophe is searched for, not an error.
    typeText(box(w, "Edit1"), QStringLiteral("O'N"));
    QTest::mouseClick(button(w, "suiButton5"), Qt::LeftButton);
    QVERIFY(app.dialogs.messages.isEmpty());
    QCOMPARE(q->recordCount(), 1);
    QCOMPARE(q->value(QStringLiteral("序号")).toInt(), 2);
}

void TstTmp::cardNumbers()
{
    TestApp app;
    app.exec(QStringLiteral("delete from dh"));
    app.sj->ADOTable4->refresh();
    app.clock.current = QDateTime(QDate(2026, 3, 4), QTime(15, 20, 0));
    FakeMainFrame frame;
    Tmp w(*app.ctx, frame, &frame);
    w.show();
    typeText(box(w, "Edit1"), QStringLiteral("王五"));
    typeText(box(w, "Edit2"), QStringLiteral("铁西区"));
    typeText(box(w, "Edit3"), QStringLiteral("555"));
    typeText(box(w, "Edit4"), QStringLiteral("备注"));
    QTest::mouseClick(button(w, "suiButton6"), Qt::LeftButton);
    QCOMPARE(app.scalar(QStringLiteral("select count(*) from dh")).toInt(), 1);
    QCOMPARE(app.scalar(QStringLiteral("select 序号 || 名称 || 地址 || 电话 || 备注 || 日期 "
                                       "from dh"))
                 .toString(),
             QStringLiteral("1王五铁西区555备注2026-03-04"));

    // The boxes keep their text: each press adds the next number.
    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(button(w, "suiButton6"), Qt::LeftButton);
    QCOMPARE(app.scalar(QStringLiteral("select max(序号) from dh")).toInt(), 5);

    // The last card deleted: its number is given out again.
    QCOMPARE(app.sj->ADOTable4->value(QStringLiteral("序号")).toInt(), 5);
    app.dialogs.answers.enqueue(true);
    QTest::mouseClick(button(w, "suiButton7"), Qt::LeftButton);
    QCOMPARE(app.dialogs.questions, QStringList{QStringLiteral("删除后将不能恢复!")});
    QCOMPARE(app.dialogs.questionButtons, QList<Dialogs::Buttons>{Dialogs::Buttons::YesNo});
    QCOMPARE(app.scalar(QStringLiteral("select count(*) from dh")).toInt(), 4);
    QTest::mouseClick(button(w, "suiButton6"), Qt::LeftButton);
    QCOMPARE(app.scalar(QStringLiteral("select count(*) from dh where 序号 = 5")).toInt(), 1);
    QVERIFY(app.dialogs.messages.isEmpty());
}

void TstTmp::addAfterSearchShowsTable()
{
    TestApp app;
    addCard(app, 1, QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("1"));
    addCard(app, 2, QStringLiteral("乙"), QStringLiteral("b"), QStringLiteral("2"));
    app.sj->ADOTable4->refresh();
    FakeMainFrame frame;
    Tmp w(*app.ctx, frame, &frame);
    w.show();
    typeText(box(w, "Edit1"), QStringLiteral("甲"));
    QTest::mouseClick(button(w, "suiButton5"), Qt::LeftButton);
    QCOMPARE(w.DBGrid1->model()->rowCount(), 1);
    QTest::mouseClick(button(w, "suiButton6"), Qt::LeftButton);
    QCOMPARE(app.sj->DataSource5->dataset(), app.sj->ADOTable4);
    QCOMPARE(w.DBGrid1->model()->rowCount(), 3);
    QCOMPARE(app.sj->ADOTable4->value(QStringLiteral("序号")).toInt(), 3);
    QCOMPARE(app.sj->ADOTable4->value(QStringLiteral("名称")).toString(), QStringLiteral("甲"));
}

void TstTmp::deleteInSearchViewDeletesSelectedCard()
{
    TestApp app;
    for (int i = 1; i <= 4; ++i)
        addCard(app, i, QStringLiteral("卡%1").arg(i), QStringLiteral("x"),
                QStringLiteral("%1").arg(i * 11));
    app.sj->ADOTable4->refresh();
    FakeMainFrame frame;
    Tmp w(*app.ctx, frame, &frame);
    w.show();
    app.sj->ADOTable4->moveTo(0); // the table's current card is card 1
    typeText(box(w, "Edit3"), QStringLiteral("33"));
    QTest::mouseClick(button(w, "suiButton5"), Qt::LeftButton);
    QCOMPARE(app.sj->ADOQuery2->recordCount(), 1);
    app.dialogs.answers.enqueue(true);
    QTest::mouseClick(button(w, "suiButton7"), Qt::LeftButton);
    QCOMPARE(app.scalar(QStringLiteral("select group_concat(序号) from (select 序号 from dh "
                                       "order by 序号)"))
                 .toString(),
             QStringLiteral("1,2,4"));
    QCOMPARE(app.sj->DataSource5->dataset(), app.sj->ADOTable4);
    QCOMPARE(w.DBGrid1->model()->rowCount(), 3);
}

void TstTmp::deleteAnsweredNoOrOnEmptyTable()
{
    TestApp app;
    addCard(app, 1, QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("1"));
    app.sj->ADOTable4->refresh();
    FakeMainFrame frame;
    Tmp w(*app.ctx, frame, &frame);
    w.show();
    app.dialogs.answers.enqueue(false);
    QTest::mouseClick(button(w, "suiButton7"), Qt::LeftButton);
    QCOMPARE(app.scalar(QStringLiteral("select count(*) from dh")).toInt(), 1);

    app.exec(QStringLiteral("delete from dh"));
    app.sj->ADOTable4->refresh();
    app.dialogs.answers.enqueue(true);
    QTest::mouseClick(button(w, "suiButton7"), Qt::LeftButton);
    QCOMPARE(app.dialogs.messages,
             QStringList{QStringLiteral("ADOTable4: 无法在空数据集上执行该操作")});
}

void TstTmp::deleteWithEmptySearchResultDeletesNothing()
{
    TestApp app;
    addCard(app, 1, QStringLiteral("甲"), QStringLiteral("a"), QStringLiteral("1"));
    addCard(app, 2, QStringLiteral("乙"), QStringLiteral("b"), QStringLiteral("2"));
    app.sj->ADOTable4->refresh();
    FakeMainFrame frame;
    Tmp w(*app.ctx, frame, &frame);
    w.show();
    typeText(box(w, "Edit1"), QStringLiteral("无此人"));
    QTest::mouseClick(button(w, "suiButton5"), Qt::LeftButton);
    QCOMPARE(w.DBGrid1->model()->rowCount(), 0);
    // No card is selected in the search view: the table's own current card,
    // which the user cannot see there, stays.
    app.dialogs.answers.enqueue(true);
    QTest::mouseClick(button(w, "suiButton7"), Qt::LeftButton);
    QCOMPARE(app.scalar(QStringLiteral("select count(*) from dh")).toInt(), 2);
    QCOMPARE(app.dialogs.messages,
             QStringList{QStringLiteral("ADOQuery2: 无法在空数据集上执行该操作")});
    QCOMPARE(app.sj->DataSource5->dataset(), app.sj->ADOTable4);
    QCOMPARE(w.DBGrid1->model()->rowCount(), 2);
}

void TstTmp::ctrlDeleteSelectedRows()
{
    TestApp app;
    for (int i = 1; i <= 4; ++i)
        addCard(app, i, QStringLiteral("卡%1").arg(i), QStringLiteral("x"), QStringLiteral("1"));
    app.sj->ADOTable4->refresh();
    FakeMainFrame frame;
    Tmp w(*app.ctx, frame, &frame);
    w.show();
    DataGrid* grid = w.DBGrid1;
    grid->setCurrentIndex(grid->model()->index(1, 1));
    app.dialogs.answers.enqueue(true);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(app.dialogs.questions.last(), QStringLiteral("删除当前记录吗?"));
    QCOMPARE(app.dialogs.questionButtons.last(), Dialogs::Buttons::OkCancel);
    QCOMPARE(app.scalar(QStringLiteral("select count(*) from dh where 序号 = 2")).toInt(), 0);

    // Two rows selected: both go after the other question; Cancel keeps them.
    grid->selectionModel()->clearSelection();
    grid->selectionModel()->select(grid->model()->index(0, 1), QItemSelectionModel::Select);
    grid->selectionModel()->select(grid->model()->index(2, 1), QItemSelectionModel::Select);
    app.dialogs.answers.enqueue(false);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(app.dialogs.questions.last(), QStringLiteral("删除所有选中记录吗?"));
    QCOMPARE(app.dialogs.questionButtons.last(), Dialogs::Buttons::OkCancel);
    QCOMPARE(app.scalar(QStringLiteral("select count(*) from dh")).toInt(), 3);
    app.dialogs.answers.enqueue(true);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(app.scalar(QStringLiteral("select group_concat(序号) from dh")).toString(),
             QStringLiteral("3"));
}

void TstTmp::closing()
{
    TestApp app;
    FakeMainFrame frame;
    QPointer<Tmp> byButton = new Tmp(*app.ctx, frame, &frame);
    byButton->show();
    QVERIFY(byButton->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(byButton->size(), QSize(539, 332));
    QTest::mouseClick(button(*byButton, "suiButton8"), Qt::LeftButton);
    QCOMPARE(frame.unlockCount, 1);
    QTRY_VERIFY(byButton.isNull());

    QPointer<Tmp> byTitleBar = new Tmp(*app.ctx, frame, &frame);
    byTitleBar->show();
    byTitleBar->close();
    QTRY_VERIFY(byTitleBar.isNull());
    QCOMPARE(frame.unlockCount, 1);
}

void TstTmp::openedFromMainWindow()
{
    TestApp app;
    Tmain main(*app.ctx);
    main.show();
    main.UnlockMenus();
    main.N10->trigger();
    QPointer<Tmp> w = main.findChild<Tmp*>();
    QVERIFY(w);
    QVERIFY(w->isVisible());
    QVERIFY(!main.N10->isEnabled());
    main.LockMenus();
    // Closed through the title bar: only 名片管理 comes back.
    w->close();
    QTRY_VERIFY(w.isNull());
    QVERIFY(main.N10->isEnabled());
    QVERIFY(!main.N2->isEnabled());

    main.N10->trigger();
    w = main.findChild<Tmp*>();
    QTest::mouseClick(button(*w, "suiButton8"), Qt::LeftButton);
    QTRY_VERIFY(w.isNull());
    QVERIFY(main.N10->isEnabled());
    QVERIFY(main.N2->isEnabled());
}

QTEST_MAIN(TstTmp)
#include "tst_tmp.moc"
