// The deletion window, driven through its controls.
#include "DataGrid.h"
#include "Dataset.h"
#include "FakeMainFrame.h"
#include "FramingText.h"
#include "SettingsStore.h"
#include "TestApp.h"
#include "Tmain.h"
#include "Tscjl.h"

#include <QAction>
#include <QDateTimeEdit>
#include <QFrame>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

using namespace lumo;
using namespace lumo::test;

class TstTscjl : public QObject
{
    Q_OBJECT

private:
    // Listings 1, 2, ... registered on the given dates, in that table order.
    static void addRegister(TestApp& app, const QStringList& dates)
    {
        for (int i = 0; i < dates.size(); ++i) {
            app.addListing(i + 1, QStringLiteral("卖"), QStringLiteral("和平区"));
            app.exec(QStringLiteral("update fcxx set 登记日期 = '%1' where 序号 = %2")
                         .arg(dates[i])
                         .arg(i + 1));
        }
        app.sj->ADOTable1->refresh();
        app.sj->ADOTable1->first();
    }
    static QString serials(TestApp& app)
    {
        return app
            .scalar(QStringLiteral("select ifnull(group_concat(序号), '') from (select "
                                   "序号 from fcxx order by rowid)"))
            .toString();
    }
    static QPointer<Tscjl> openWindow(TestApp& app, FakeMainFrame& frame)
    {
        frame.show();
        auto* w = new Tscjl(*app.ctx, frame);
        frame.showChild(w);
        return w;
    }
    static void click(Tscjl* w, const char* name)
    {
        QTest::mouseClick(w->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }

private slots:
    void windowAsOpened();
    void captionFramesThePickers();
    void deleteByDate_data();
    void deleteByDate();
    void deleteByDateOnEmptyTable();
    void deleteSelectedProperty();
    void deleteEverything();
    void columnWidthsUnderSc();
    void openedFromMainWindow();
    void refusedDeletionIsReported();
};

void TstTscjl::windowAsOpened()
{
    TestApp app;
    // Colours are stored blue, green, red from high to low.
    app.store.WriteAppValue(QStringLiteral("rgb"), QString::number(0x0000FF));
    app.store.WriteAppValue(QStringLiteral("bgrgb"), QString::number(0xFF0000));
    app.screen.w = 1280;
    FakeMainFrame frame;
    QPointer<Tscjl> w = openWindow(app, frame);
    QCOMPARE(w->windowTitle(), QStringLiteral("删除记录"));
    QCOMPARE(w->DBGrid1->palette().color(QPalette::Base), QColor(Qt::blue));
    QCOMPARE(w->Panel1->palette().color(QPalette::Window), QColor(Qt::red));
    QCOMPARE(w->Panel2->palette().color(QPalette::Window), QColor(Qt::red));
    // The buttons stand 10 pixels from the window's right edge.
    QCOMPARE(w->Panel2->x(), w->Panel1->width() - w->Panel2->width() - 10);
    QCOMPARE(w->DBGrid1->model()->columnCount(), 13);
    QCOMPARE(w->DBGrid1->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("意向"));
    for (const char* name : {"DateTimePicker1", "DateTimePicker2"}) {
        auto* picker = w->findChild<QDateTimeEdit*>(QString::fromLatin1(name));
        QVERIFY(picker);
        QCOMPARE(picker->dateTime(), QDateTime(QDate(2002, 9, 19), QTime(22, 57, 16)));
        // The short date, without the time of day.
        QCOMPARE(picker->text(), QStringLiteral("2002/9/19"));
        // Choosing a date keeps the time of day.
        picker->setDate(QDate(2026, 3, 1));
        QCOMPARE(picker->time(), QTime(22, 57, 16));
        // Typing a date keeps it too.
        picker->setFocus();
        picker->setSelectedSection(QDateTimeEdit::DaySection);
        QTest::keyClicks(picker, QStringLiteral("5"));
        QCOMPARE(picker->dateTime(), QDateTime(QDate(2026, 3, 5), QTime(22, 57, 16)));
    }
    QCOMPARE(w->N1->text(), QStringLiteral("删除当前房源"));

    // The pop-up entry "关 闭" closes like the button: unlocked, then gone.
    w->N2->trigger();
    QCOMPARE(frame.unlockCount, 1);
    QTRY_VERIFY(w.isNull());
}

// "起始" stands above the start picker and "日期" below it, "结束" above the
// end picker and "日期" below it, each at its picker's left edge.
void TstTscjl::captionFramesThePickers()
{
    TestApp app;
    FakeMainFrame frame;
    QPointer<Tscjl> w = openWindow(app, frame);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    FramingText* text = w->StaticText1;
    QCOMPARE(text->text(),
             QStringLiteral("起始              结束           日期              日期"));
    QCOMPARE(w->DateTimePicker1->parentWidget(), text);
    // The whole text with its pickers lies inside the bottom panel.
    QVERIFY(w->Panel1->rect().contains(QRect(text->mapTo(w->Panel1, QPoint(0, 0)), text->size())));

    const QImage image = text->grab().toImage();
    QCOMPARE(image.size(), text->size());
    const int inset = text->frameWidth() + 1;
    // The columns with dark pixels in a band of the text.
    auto inkColumns = [&image](const QRect& band) {
        QList<int> columns;
        for (int x = band.left(); x <= band.right(); ++x)
            for (int y = band.top(); y <= band.bottom(); ++y)
                if (qGray(image.pixel(x, y)) < 100) {
                    columns << x;
                    break;
                }
        return columns;
    };
    auto wordImage = [&image](const QRect& band, const QList<int>& columns) {
        return image.copy(QRect(columns.first(), band.top(), columns.last() - columns.first() + 1,
                                band.height()));
    };
    QList<QImage> above;
    QList<QImage> below;
    for (QDateTimeEdit* picker : {w->DateTimePicker1, w->DateTimePicker2}) {
        const QRect p = picker->geometry();
        const QString where = picker->objectName();
        const QRect top(p.left(), inset, p.width(), p.top() - inset);
        const QRect bottom(p.left(), p.bottom() + 1, p.width(),
                           image.height() - inset - p.bottom() - 1);
        QVERIFY2(top.height() > 6 && bottom.height() > 6, qPrintable(where));
        const QList<int> topInk = inkColumns(top);
        const QList<int> bottomInk = inkColumns(bottom);
        QVERIFY2(topInk.size() > 6 && bottomInk.size() > 6, qPrintable(where));
        QVERIFY2(topInk.first() - p.left() <= 4, qPrintable(where));
        QVERIFY2(bottomInk.first() - p.left() <= 4, qPrintable(where));
        // Two characters: far narrower than the picker.
        QVERIFY2(topInk.last() - topInk.first() < p.width() / 2, qPrintable(where));
        above << wordImage(top, topInk);
        below << wordImage(bottom, bottomInk);
    }
    QVERIFY(above[0] != above[1]); // "起始", "结束"
    QCOMPARE(below[0], below[1]);  // "日期" twice
    // Beside the pickers, between their rows of words, the text is empty.
    const QRect gap(w->DateTimePicker1->geometry().right() + 1, w->DateTimePicker1->y(),
                    w->DateTimePicker2->x() - w->DateTimePicker1->geometry().right() - 1,
                    w->DateTimePicker1->height());
    QVERIFY(inkColumns(gap).isEmpty());
}

void TstTscjl::deleteByDate_data()
{
    QTest::addColumn<QStringList>("dates");
    QTest::addColumn<int>("startRow");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("remaining");

    const QStringList march = {QStringLiteral("2026-02-28"), QStringLiteral("2026-03-01"),
                               QStringLiteral("2026-03-02"), QStringLiteral("2026-04-01"),
                               QStringLiteral("2026-03-15"), QStringLiteral("2026-03-16"),
                               QStringLiteral("2026-03-31")};
    const QDate first(2026, 3, 1);
    const QDate last(2026, 3, 31);
    // The start day stays (its rows carry no time of day), the end day goes;
    // consecutive rows in the range all go.
    QTest::addRow("from the first row")
        << march << 0 << first << last << true << QStringLiteral("1,2,4");
    QTest::addRow("rows above the selected row stay")
        << march << 3 << first << last << true << QStringLiteral("1,2,3,4");
    QTest::addRow("answered No") << march << 0 << first << last << false
                                 << QStringLiteral("1,2,3,4,5,6,7");
    QTest::addRow("pickers untouched")
        << QStringList{QStringLiteral("2002-09-19"), QStringLiteral("2002-09-20")} << 0 << QDate()
        << QDate() << true << QStringLiteral("1,2");
    QTest::addRow("rows without a date stay")
        << QStringList{QStringLiteral(""), QStringLiteral("2026-03-05")} << 0 << first << last
        << true << QStringLiteral("1");
}

void TstTscjl::deleteByDate()
{
    QFETCH(QStringList, dates);
    QFETCH(int, startRow);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(bool, answer);
    QFETCH(QString, remaining);

    TestApp app;
    app.exec(QStringLiteral("delete from fcxx"));
    addRegister(app, dates);
    app.exec(QStringLiteral("update fcxx set 登记日期 = null where 登记日期 = ''"));
    app.sj->ADOTable1->refresh();
    FakeMainFrame frame;
    QPointer<Tscjl> w = openWindow(app, frame);
    if (from.isValid())
        w->DateTimePicker1->setDate(from);
    if (to.isValid())
        w->DateTimePicker2->setDate(to);
    // The grid's selected row is where the scan starts.
    w->DBGrid1->setCurrentIndex(w->DBGrid1->model()->index(startRow, 0));
    QCOMPARE(app.sj->ADOTable1->recNo(), startRow);

    app.dialogs.answers.enqueue(answer);
    click(w, "suiButton1");
    QCOMPARE(app.dialogs.questions, QStringList{QStringLiteral("信息删除后将不能恢复!")});
    QCOMPARE(serials(app), remaining);
    QVERIFY(app.dialogs.messages.isEmpty());
    QCOMPARE(w->DBGrid1->model()->rowCount(), remaining.split(QLatin1Char(',')).size());
    delete w;
}

void TstTscjl::deleteByDateOnEmptyTable()
{
    TestApp app;
    app.exec(QStringLiteral("delete from fcxx"));
    app.sj->ADOTable1->refresh();
    FakeMainFrame frame;
    QPointer<Tscjl> w = openWindow(app, frame);
    app.dialogs.answers.enqueue(true);
    click(w, "suiButton1");
    QVERIFY(app.dialogs.messages.isEmpty());

    // The pop-up entry on an empty table: the data layer's refusal is shown.
    app.dialogs.answers.enqueue(true);
    w->N1->trigger();
    QCOMPARE(app.dialogs.messages, QStringList{QStringLiteral("无法在空数据集上执行该操作")});
    delete w;
}

void TstTscjl::deleteSelectedProperty()
{
    TestApp app;
    app.exec(QStringLiteral("delete from fcxx"));
    addRegister(app, {QStringLiteral("2026-01-01"), QStringLiteral("2026-01-02"),
                      QStringLiteral("2026-01-03")});
    FakeMainFrame frame;
    QPointer<Tscjl> w = openWindow(app, frame);
    w->DBGrid1->setCurrentIndex(w->DBGrid1->model()->index(1, 0));
    app.dialogs.answers.enqueue(false);
    w->N1->trigger();
    QCOMPARE(serials(app), QStringLiteral("1,2,3"));
    app.dialogs.answers.enqueue(true);
    w->N1->trigger();
    QCOMPARE(app.dialogs.questions.last(), QStringLiteral("删除后将不能恢复!"));
    QCOMPARE(serials(app), QStringLiteral("1,3"));
    QCOMPARE(w->DBGrid1->model()->rowCount(), 2);
    delete w;
}

void TstTscjl::deleteEverything()
{
    TestApp app;
    app.exec(QStringLiteral("delete from fcxx"));
    addRegister(app, {QStringLiteral("2026-01-01"), QStringLiteral("2026-01-02")});
    // A search result is showing the register.
    Dataset* search = app.sj->ADOQuery1;
    const QStringList statement = {QStringLiteral("select * from fcxx where 序号>0")};
    search->setSql(statement);
    search->open();
    QCOMPARE(search->recordCount(), 2);
    FakeMainFrame frame;
    QPointer<Tscjl> w = openWindow(app, frame);

    app.dialogs.answers.enqueue(false);
    click(w, "suiButton2");
    QCOMPARE(app.dialogs.questions, QStringList{QStringLiteral("信息全部删除后将不能恢复!")});
    QCOMPARE(serials(app), QStringLiteral("1,2"));
    QVERIFY(!w.isNull());

    app.dialogs.answers.enqueue(true);
    click(w, "suiButton2");
    QCOMPARE(serials(app), QString());
    QCOMPARE(app.dialogs.messages,
             QStringList{QStringLiteral("信息删除完成,请重新启动软件！！！")});
    // The windows that show the register no longer show the deleted rows,
    // and reopening the search can never run the deletion again.
    QCOMPARE(app.sj->ADOTable1->recordCount(), 0);
    QVERIFY(search->active());
    QCOMPARE(search->recordCount(), 0);
    QCOMPARE(search->sql(), statement);
    QTRY_VERIFY(w.isNull());
}

void TstTscjl::columnWidthsUnderSc()
{
    TestApp app;
    FakeMainFrame frame;
    QPointer<Tscjl> w = openWindow(app, frame);
    QCOMPARE(w->DBGrid1->columnWidth(0), 30);
    QCOMPARE(w->DBGrid1->columnWidth(12), 80);
    w->DBGrid1->setColumnWidth(1, 77);
    click(w, "suiButton3");
    QCOMPARE(frame.unlockCount, 1);
    QTRY_VERIFY(w.isNull());
    QCOMPARE(app.store.ReadSectionValue(QStringLiteral("sc"), QStringLiteral("意向")),
             QStringLiteral("77"));
    QCOMPARE(app.store.ReadSectionValue(QStringLiteral("sc"), QStringLiteral("序号")),
             QStringLiteral("30"));

    app.store.WriteSectionValue(QStringLiteral("sc"), QStringLiteral("区域"), QStringLiteral("宽"));
    app.store.WriteSectionValue(QStringLiteral("sc"), QStringLiteral("房屋地址"),
                                QStringLiteral("150"));
    QPointer<Tscjl> again = openWindow(app, frame);
    QCOMPARE(again->DBGrid1->columnWidth(1), 77);
    QCOMPARE(again->DBGrid1->columnWidth(3), 150);
    QVERIFY(again->DBGrid1->columnWidth(2) > 0);
    delete again;
}

void TstTscjl::openedFromMainWindow()
{
    TestApp app;
    Tmain main(*app.ctx);
    main.show();
    main.UnlockMenus();
    main.N7->trigger();
    QPointer<Tscjl> w = main.findChild<Tscjl*>();
    QVERIFY(w);
    QVERIFY(!main.N7->isEnabled());
    QVERIFY(!main.N2->isEnabled()); // locked
    // Closed through the title bar: 房源删除 comes back, the rest stays locked.
    w->close();
    QTRY_VERIFY(w.isNull());
    QVERIFY(main.N7->isEnabled());
    QVERIFY(!main.N2->isEnabled());

    main.N7->trigger();
    w = main.findChild<Tscjl*>();
    click(w, "suiButton3");
    QTRY_VERIFY(w.isNull());
    QVERIFY(main.N7->isEnabled());
    QVERIFY(main.N2->isEnabled());
}

void TstTscjl::refusedDeletionIsReported()
{
    TestApp app;
    app.exec(QStringLiteral("delete from fcxx"));
    addRegister(app, {QStringLiteral("2026-03-05"), QStringLiteral("2026-03-06")});
    app.exec(QStringLiteral("create trigger keep before delete on fcxx "
                            "begin select raise(abort, 'register is kept'); end"));
    FakeMainFrame frame;
    QPointer<Tscjl> w = openWindow(app, frame);

    // The whole register: the engine's refusal, no completion message.
    app.dialogs.answers.enqueue(true);
    click(w, "suiButton2");
    QCOMPARE(app.dialogs.messages.size(), 1);
    QVERIFY2(app.dialogs.messages[0].contains(QStringLiteral("register is kept")),
             qPrintable(app.dialogs.messages[0]));
    QCOMPARE(serials(app), QStringLiteral("1,2"));
    QVERIFY(!w.isNull());
    QCOMPARE(w->DBGrid1->model()->rowCount(), 2);
    QCOMPARE(app.sj->ADOQuery1->sqlText(), QString());

    // A date range: refused, and the grid still shows both rows.
    w->DateTimePicker1->setDate(QDate(2026, 3, 1));
    w->DateTimePicker2->setDate(QDate(2026, 3, 31));
    app.dialogs.answers.enqueue(true);
    click(w, "suiButton1");
    QCOMPARE(app.dialogs.messages.size(), 2);
    QCOMPARE(serials(app), QStringLiteral("1,2"));
    QCOMPARE(app.sj->ADOTable1->recordCount(), 2);
    delete w;
}

QTEST_MAIN(TstTscjl)
#include "tst_tscjl.moc"
