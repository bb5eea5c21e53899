// The search results window: print list, stored widths and style,
// splitter, double click, closing.
#include "DataGrid.h"
#include "Dataset.h"
#include "FakeMainFrame.h"
#include "SearchStatement.h"
#include "SettingsStore.h"
#include "Tcxxs.h"
#include "TestApp.h"
#include "Tsj.h"
#include "Ttx.h"

#include <QHeaderView>
#include <QPushButton>
#include <QSplitter>
#include <QtTest>

using namespace lumo;
using namespace lumo::test;

namespace
{

// Runs the initial search on ADOQuery1, as the search button does.
void search(TestApp& app)
{
    Dataset* q = app.sj->ADOQuery1;
    q->close();
    q->setSql(buildSearchStatement(SearchFilter()));
    q->open();
    app.sj->ADOTable3->close();
}

struct Window {
    explicit Window(TestApp& app)
    {
        frame.show();
        form = new Tcxxs(*app.ctx, frame);
        frame.showChild(form);
        if (!QTest::qWaitForWindowExposed(&frame))
            qWarning("frame not exposed");
    }
    ~Window()
    {
        if (form)
            form->close();
    }
    FakeMainFrame frame;
    QPointer<Tcxxs> form;
};

int printRows(TestApp& app)
{
    return app.scalar(QStringLiteral("SELECT COUNT(*) FROM fzxx")).toInt();
}

} // namespace

class TestTcxxs : public QObject
{
    Q_OBJECT
private slots:
    void layoutAndDefaults();
    void importKeepsSerialsUnique();
    void removeFromPrintList();
    void printNeedsAnOpenList();
    void closingEmptiesPrintListAndStoresWidths();
    void storedWidthsAndStyleApplied();
    void styleButton();
    void splitterKeepsFivePixels();
    void doubleClickOpensPreview_data();
    void doubleClickOpensPreview();
};

void TestTcxxs::layoutAndDefaults()
{
    TestApp app;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
    search(app);
    Window w(app);
    Tcxxs* f = w.form;
    QCOMPARE(f->windowTitle(), QStringLiteral("查询结果"));
    QVERIFY(f->isMaximized());
    auto* grid = f->findChild<DataGrid*>(QStringLiteral("RxDBGrid1"));
    QVERIFY(grid);
    QCOMPARE(grid->model()->columnCount(), 13);
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("意向"));
    QCOMPARE(grid->model()->headerData(12, Qt::Horizontal).toString(), QStringLiteral("登记日期"));
    QCOMPARE(f->RxDBGrid2->model()->columnCount(), 13);
    QVERIFY(grid->editTriggers() == QAbstractItemView::NoEditTriggers);
    // No stored settings (1024-pixel screen: widths scaled by 120/100).
    QCOMPARE(grid->columnWidth(3), 115 * 120 / 100);
    QCOMPARE(f->RxDBGrid2->columnWidth(1), 32 * 120 / 100);
    QCOMPARE(f->bsSkinSpeedButton4->text(), QStringLiteral("界面表格"));
    QVERIFY(!f->skinnedGrids());
    QCOMPARE(grid->verticalHeader()->defaultSectionSize(), 20);
    QCOMPARE(f->RxDBGrid2->verticalHeader()->defaultSectionSize(), 20);
    for (const char* name : {"bsSkinSpeedButton3", "bsSkinSpeedButton2", "bsSkinSpeedButton1",
                             "Panel1", "Panel2", "Panel3", "Splitter1", "Bevel1", "Bevel2"})
        QVERIFY2(f->findChild<QWidget*>(QLatin1String(name)), name);
    QCOMPARE(f->bsSkinSpeedButton3->text(), QStringLiteral("导 入"));
    // The lower panel: 110 pixels scaled by 120/100, once laid out.
    QTRY_COMPARE(f->Panel1->height(), 110 * 120 / 100);
    QCOMPARE(f->lowerPanelHeight(), 110 * 120 / 100);
}

void TestTcxxs::importKeepsSerialsUnique()
{
    TestApp app;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
    app.addListing(2, QStringLiteral("卖"), QStringLiteral("沈河区"));
    search(app);
    Window w(app);
    Dataset* q = app.sj->ADOQuery1;
    q->first();
    QTest::mouseClick(w.form->bsSkinSpeedButton3, Qt::LeftButton);
    QTest::mouseClick(w.form->bsSkinSpeedButton3, Qt::LeftButton);
    QCOMPARE(printRows(app), 1);
    q->next();
    QTest::mouseClick(w.form->bsSkinSpeedButton3, Qt::LeftButton);
    q->first();
    QTest::mouseClick(w.form->bsSkinSpeedButton3, Qt::LeftButton);
    QCOMPARE(printRows(app), 2);
    QCOMPARE(app.scalar(QStringLiteral("SELECT COUNT(DISTINCT 序号) FROM fzxx")).toInt(), 2);
    // The 16 fields are copied; the detailed address is not.
    QCOMPARE(app.scalar(QStringLiteral("SELECT sb || 区域 || 房屋地址 || 权属 || 登记日期 || "
                                       "联系电话 || 房主 || 面积 FROM fzxx WHERE 序号 = 2"))
                 .toString(),
             QStringLiteral("卖沈河区地址2产权2026-12-0113800000000房主80.0"));
    QCOMPARE(w.form->RxDBGrid2->model()->rowCount(), 2);
    QCOMPARE(app.dialogs.messages, QStringList());
}

void TestTcxxs::removeFromPrintList()
{
    TestApp app;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
    search(app);
    Window w(app);
    // Nothing to delete: the list is not even open.
    QTest::mouseClick(w.form->bsSkinSpeedButton2, Qt::LeftButton);
    QCOMPARE(app.dialogs.messages, QStringList{QStringLiteral("没有可删除的信息？")});

    app.sj->ADOQuery1->first();
    QTest::mouseClick(w.form->bsSkinSpeedButton3, Qt::LeftButton);
    QCOMPARE(printRows(app), 1);
    QTest::mouseClick(w.form->bsSkinSpeedButton2, Qt::LeftButton);
    QCOMPARE(printRows(app), 0);
    QTest::mouseClick(w.form->bsSkinSpeedButton2, Qt::LeftButton);
    QCOMPARE(app.dialogs.messages.size(), 2);
    QCOMPARE(app.dialogs.messages.last(), QStringLiteral("没有可删除的信息？"));
}

void TestTcxxs::printNeedsAnOpenList()
{
    TestApp app;
    search(app);
    Window w(app);
    QVERIFY(!app.sj->ADOTable3->active());
    QTest::mouseClick(w.form->bsSkinSpeedButton1, Qt::LeftButton);
    QCOMPARE(w.frame.area->subWindowList().size(), 1);
    QCOMPARE(app.dialogs.messages, QStringList());
}

void TestTcxxs::closingEmptiesPrintListAndStoresWidths()
{
    TestApp app;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
    search(app);
    Window w(app);
    w.frame.menuEntry(QStringLiteral("N15"))->setEnabled(true);
    app.sj->ADOQuery1->first();
    QTest::mouseClick(w.form->bsSkinSpeedButton3, Qt::LeftButton);
    w.form->RxDBGrid1->setColumnWidth(1, 77);
    w.form->RxDBGrid1->setColumnWidth(12, 91);
    w.form->RxDBGrid2->setColumnWidth(0, 140);
    w.form->setLowerPanelHeight(150);
    const int grid1Serial = w.form->RxDBGrid1->columnWidth(0);
    w.form->close();
    QTRY_VERIFY(!w.form);

    QCOMPARE(printRows(app), 0);
    QVERIFY(!app.sj->ADOTable3->active());
    QCOMPARE(w.frame.resultsClosedCount, 1);
    QVERIFY(!w.frame.menuEntry(QStringLiteral("N15"))->isEnabled());
    // Widths under the column titles; the print-list grid's are not stored.
    QCOMPARE(app.store.ReadAppValue(QStringLiteral("意向")), QStringLiteral("77"));
    QCOMPARE(app.store.ReadAppValue(QStringLiteral("登记日期")), QStringLiteral("91"));
    QCOMPARE(app.store.ReadAppValue(QStringLiteral("序号")), QString::number(grid1Serial));
    QCOMPARE(app.store.ReadAppValue(QStringLiteral("SB")), QString());
    QCOMPARE(app.store.ReadAppValue(QStringLiteral("lrheight")), QStringLiteral("150"));
}

void TestTcxxs::storedWidthsAndStyleApplied()
{
    TestApp app;
    const SettingsStore& s = app.store;
    s.WriteAppValue(QStringLiteral("序号"), QStringLiteral("50"));
    s.WriteAppValue(QStringLiteral("意向"), QStringLiteral("61"));
    s.WriteAppValue(QStringLiteral("区域"), QStringLiteral("abc")); // skipped
    s.WriteAppValue(QStringLiteral("lrheight"), QStringLiteral("180"));
    s.WriteAppValue(QStringLiteral("bgrgb"), QString::number(0x00FFEEDD));
    s.WriteAppValue(QStringLiteral("bg"), QStringLiteral("1"));
    search(app);
    Window w(app);
    DataGrid* g = w.form->RxDBGrid1;
    QCOMPARE(g->columnWidth(0), 50);
    QCOMPARE(g->columnWidth(1), 61);
    QCOMPARE(g->columnWidth(2), 49 * 120 / 100);
    QCOMPARE(w.form->RxDBGrid2->columnWidth(1), 32 * 120 / 100);
    QTRY_COMPARE(w.form->Panel1->height(), 180);
    QCOMPARE(g->palette().color(QPalette::Base), QColor(0xDD, 0xEE, 0xFF));
    QCOMPARE(w.form->RxDBGrid2->palette().color(QPalette::Base), QColor(0xDD, 0xEE, 0xFF));
    QVERIFY(w.form->skinnedGrids());
    QCOMPARE(w.form->bsSkinSpeedButton4->text(), QStringLiteral("普通表格"));
    QCOMPARE(g->verticalHeader()->defaultSectionSize(), 22);
    QCOMPARE(w.form->RxDBGrid2->verticalHeader()->defaultSectionSize(), 20);
}

void TestTcxxs::styleButton()
{
    TestApp app;
    search(app);
    {
        Window w(app);
        QTest::mouseClick(w.form->bsSkinSpeedButton4, Qt::LeftButton);
        QVERIFY(w.form->skinnedGrids());
        QCOMPARE(w.form->bsSkinSpeedButton4->text(), QStringLiteral("普通表格"));
        QCOMPARE(app.store.ReadAppValue(QStringLiteral("bg")), QStringLiteral("1"));
        QCOMPARE(w.form->RxDBGrid1->verticalHeader()->defaultSectionSize(), 25);
        QCOMPARE(w.form->RxDBGrid2->verticalHeader()->defaultSectionSize(), 25);
    }
    {
        // Reopened: the stored style with its own cell heights.
        Window w(app);
        QVERIFY(w.form->skinnedGrids());
        QCOMPARE(w.form->RxDBGrid1->verticalHeader()->defaultSectionSize(), 22);
        QTest::mouseClick(w.form->bsSkinSpeedButton4, Qt::LeftButton);
        QVERIFY(!w.form->skinnedGrids());
        QCOMPARE(w.form->bsSkinSpeedButton4->text(), QStringLiteral("界面表格"));
        QCOMPARE(app.store.ReadAppValue(QStringLiteral("bg")), QStringLiteral("2"));
        QCOMPARE(w.form->RxDBGrid1->verticalHeader()->defaultSectionSize(), 25);
        QVERIFY(w.form->Panel1->isVisible());
    }
    Window w(app);
    QVERIFY(!w.form->skinnedGrids());
    QCOMPARE(w.form->RxDBGrid1->verticalHeader()->defaultSectionSize(), 20);
}

void TestTcxxs::splitterKeepsFivePixels()
{
    TestApp app;
    search(app);
    Window w(app);
    QSplitter* s = w.form->Splitter1;
    const int total = s->sizes().value(0) + s->sizes().value(1);
    s->setSizes({total, 0});
    w.form->Splitter1Moved();
    QVERIFY(w.form->lowerPanelHeight() >= 5);
    QTRY_VERIFY(w.form->Panel1->height() >= 5);
}

void TestTcxxs::doubleClickOpensPreview_data()
{
    QTest::addColumn<int>("listings");   // rows the search finds
    QTest::addColumn<QString>("date");   // 登记日期 of every row, as stored
    QTest::addColumn<bool>("printGrid"); // double click in the print-list grid
    QTest::addColumn<int>("row");        // row clicked, -1 below the last row
    QTest::addColumn<bool>("opens");
    QTest::addRow("on a row") << 2 << QStringLiteral("2026-03-01") << false << 1 << true;
    QTest::addRow("below the last row") << 2 << QStringLiteral("2026-03-01") << false << -1 << true;
    QTest::addRow("empty result") << 0 << QString() << false << -1 << true;
    QTest::addRow("empty print list") << 1 << QStringLiteral("2026-03-01") << true << -1 << true;
    QTest::addRow("no date") << 1 << QString() << false << 0 << true;
    QTest::addRow("date zero") << 1 << QStringLiteral("0") << false << 0 << false;
}

// A double click anywhere in either grid opens the preview unless the
// current search row's registration date is the number 0.
void TestTcxxs::doubleClickOpensPreview()
{
    QFETCH(int, listings);
    QFETCH(QString, date);
    QFETCH(bool, printGrid);
    QFETCH(int, row);
    QFETCH(bool, opens);
    TestApp app;
    for (int i = 1; i <= listings; ++i)
        app.addListing(i, QStringLiteral("卖"), QStringLiteral("和平区"));
    app.exec(date.isNull() ? QStringLiteral("UPDATE fcxx SET 登记日期 = NULL")
                           : QStringLiteral("UPDATE fcxx SET 登记日期 = '%1'").arg(date));
    search(app);
    Window w(app);
    DataGrid* grid = printGrid ? w.form->RxDBGrid2 : w.form->RxDBGrid1;
    QWidget* area = grid->viewport();
    QPoint at(area->width() / 2, area->height() - 3);
    if (row >= 0)
        at = grid->visualRect(grid->model()->index(row, 2)).center();
    QVERIFY(row >= 0 || !grid->indexAt(at).isValid());
    QTest::mouseClick(area, Qt::LeftButton, {}, at);
    QTest::mouseDClick(area, Qt::LeftButton, {}, at);
    QCOMPARE(w.frame.photoPreviewCount, opens ? 1 : 0);
    if (row >= 0)
        QCOMPARE(app.sj->ADOQuery1->recNo(), row);
    for (Ttx* t : w.frame.findChildren<Ttx*>())
        delete t;

    // With the search query closed nothing opens.
    app.sj->ADOQuery1->close();
    QTest::mouseDClick(area, Qt::LeftButton, {}, at);
    QCOMPARE(w.frame.photoPreviewCount, opens ? 1 : 0);
}

QTEST_MAIN(TestTcxxs)
#include "tst_tcxxs.moc"
