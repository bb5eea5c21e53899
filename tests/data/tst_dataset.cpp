// The dataset layer over the delivered database: cursor, field access, row
// changes and locate, as the windows rely on them.
#include "DataError.h"
#include "DataSource.h"
#include "Dataset.h"
#include "DatasetModel.h"
#include "TestApp.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <functional>

using namespace lumo;
using lumo::test::TestApp;

class TestDataset : public QObject
{
    Q_OBJECT
private slots:
    void openAtStart();
    void scanAndEndOfData();
    void emptyTableIsAtEnd();
    void locateIsExactAndCaseSensitive();
    void locateFindsNumbersAndMissesNull();
    void deleteMovesToNextRow();
    void deleteLastRowMovesBack();
    void insertGoesToTheEndAndBecomesCurrent();
    void newSerialFromLastRow_data();
    void newSerialFromLastRow();
    void editPostsOnlyTheRow();
    void badNumberIsRefused();
    void datesAndYesNoConvert();
    void queryOfSelectAllCanDelete();
    void nonSelectStatementRunsThenFails();
    void largeTableReadsLazily();
    void searchQueryKnowsItsWholeResult();
    void modelFollowsRowsAndSwitchesDataset();
    void missingDatabaseGivesEngineText();
    void movingAwayFromUntouchedNewRowAddsNothing();
    void failedOpenLeavesDatasetClosed();
    void databaseWithoutATableFailsCleanly();
};

void TestDataset::openAtStart()
{
    TestApp app;
    Tsj& sj = *app.sj;
    for (Dataset* d : {sj.ADOTable1, sj.ADOTable3, sj.ADOTable4, sj.ma, sj.dj})
        QVERIFY2(d->active(), qPrintable(d->objectName()));
    for (Dataset* d : {sj.ADOQuery1, sj.ADOQuery2, sj.wb})
        QVERIFY2(!d->active(), qPrintable(d->objectName()));
    QCOMPARE(sj.DataSource5->dataset(), sj.ADOTable4);
    QCOMPARE(sj.dj->displayText(QStringLiteral("级别")), QStringLiteral("管理员"));
    QCOMPARE(sj.dj->value(QStringLiteral("数据管理")).toBool(), true);
}

void TestDataset::scanAndEndOfData()
{
    TestApp app;
    for (int i = 1; i <= 3; ++i)
        app.addListing(i, QStringLiteral("卖"), QStringLiteral("和平区"));
    Dataset* t = app.sj->ADOTable1;
    t->refresh();
    QList<int> seen;
    for (t->first(); !t->eof(); t->next())
        seen << t->value(QStringLiteral("序号")).toInt();
    QCOMPARE(seen, (QList<int>{1, 2, 3}));
    // After next() from the last row the last row stays current.
    QCOMPARE(t->value(QStringLiteral("序号")).toInt(), 3);
    t->last();
    QVERIFY(t->eof());
    QCOMPARE(t->value(QStringLiteral("序号")).toInt(), 3);
}

void TestDataset::emptyTableIsAtEnd()
{
    TestApp app;
    Dataset* t = app.sj->ADOTable1;
    QVERIFY(t->isEmpty());
    t->first();
    QVERIFY(t->eof());
    QVERIFY(t->value(QStringLiteral("序号")).isNull());
    for (auto op : {&Dataset::remove, &Dataset::edit}) {
        try {
            (t->*op)();
            QFAIL("an empty dataset accepted the operation");
        } catch (const DataError& e) {
            QCOMPARE(e.text(), QStringLiteral("无法在空数据集上执行该操作"));
        }
    }
}

void TestDataset::locateIsExactAndCaseSensitive()
{
    TestApp app;
    app.exec(QStringLiteral("INSERT INTO jb (级别) VALUES ('Manager'), ('manager2'), ('经理')"));
    Dataset* dj = app.sj->dj;
    dj->refresh();
    QVERIFY(!dj->locate(QStringLiteral("级别"), QStringLiteral("manager")));
    QVERIFY(!dj->locate(QStringLiteral("级别"), QStringLiteral("Manage")));
    QVERIFY(dj->locate(QStringLiteral("级别"), QStringLiteral("经理")));
    QCOMPARE(dj->displayText(QStringLiteral("级别")), QStringLiteral("经理"));
    QVERIFY(dj->locate(QStringLiteral("级别"), QStringLiteral("Manager")));
    QCOMPARE(dj->recNo(), 1);
}

void TestDataset::locateFindsNumbersAndMissesNull()
{
    TestApp app;
    app.addListing(5, QStringLiteral("卖"), QStringLiteral("和平区"));
    app.addListing(9, QStringLiteral("租"), QStringLiteral("沈河区"));
    Dataset* t = app.sj->ADOTable1;
    t->refresh();
    QVERIFY(t->locate(QStringLiteral("序号"), 9));
    QCOMPARE(t->value(QStringLiteral("区域")).toString(), QStringLiteral("沈河区"));
    QVERIFY(!t->locate(QStringLiteral("序号"), 7));
    QVERIFY(!t->locate(QStringLiteral("序号"), QVariant()));
}

void TestDataset::deleteMovesToNextRow()
{
    TestApp app;
    for (int i = 1; i <= 3; ++i)
        app.addListing(i, QStringLiteral("卖"), QStringLiteral("和平区"));
    Dataset* t = app.sj->ADOTable1;
    t->refresh();
    QVERIFY(t->locate(QStringLiteral("序号"), 2));
    t->remove();
    QCOMPARE(t->value(QStringLiteral("序号")).toInt(), 3);
    QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM fcxx")).toInt(), 2);
}

void TestDataset::deleteLastRowMovesBack()
{
    TestApp app;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
    app.addListing(2, QStringLiteral("卖"), QStringLiteral("和平区"));
    Dataset* t = app.sj->ADOTable1;
    t->refresh();
    t->last();
    t->remove();
    QCOMPARE(t->value(QStringLiteral("序号")).toInt(), 1);
    QVERIFY(!t->eof());
    // Emptying with "while not at end, delete" ends on an empty dataset.
    while (!t->eof())
        t->remove();
    QVERIFY(t->isEmpty());
}

void TestDataset::insertGoesToTheEndAndBecomesCurrent()
{
    TestApp app;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
    Dataset* t = app.sj->ADOTable1;
    t->refresh();
    t->first();
    t->insert();
    t->setValue(QStringLiteral("序号"), 2);
    t->setValue(QStringLiteral("sb"), QStringLiteral("租"));
    QCOMPARE(t->value(QStringLiteral("SB")).toString(), QStringLiteral("租"));
    t->post();
    QCOMPARE(t->recNo(), 1);
    QCOMPARE(t->value(QStringLiteral("序号")).toInt(), 2);
    t->last();
    QCOMPARE(t->value(QStringLiteral("SB")).toString(), QStringLiteral("租"));
}

// New serial numbers are the last row's plus 1, or 1 when that value is
// missing or not greater than 0.
void TestDataset::newSerialFromLastRow_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<int>("expected");
    QTest::addRow("empty table") << QString() << 1;
    QTest::addRow("last row 57, larger elsewhere") << QStringLiteral("(100),(57)") << 58;
    QTest::addRow("last row 0") << QStringLiteral("(3),(0)") << 1;
    QTest::addRow("last row without serial") << QStringLiteral("(3),(NULL)") << 1;
}

void TestDataset::newSerialFromLastRow()
{
    QFETCH(QString, rows);
    QFETCH(int, expected);
    TestApp app;
    if (!rows.isEmpty())
        app.exec(QStringLiteral("INSERT INTO fcxx (序号) VALUES ") + rows);
    Dataset* t = app.sj->ADOTable1;
    t->refresh();
    t->last();
    const QVariant last = t->value(QStringLiteral("序号"));
    const int next = (last.isNull() || last.toInt() <= 0) ? 1 : last.toInt() + 1;
    QCOMPARE(next, expected);
}

void TestDataset::editPostsOnlyTheRow()
{
    TestApp app;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
    app.addListing(2, QStringLiteral("卖"), QStringLiteral("和平区"));
    Dataset* t = app.sj->ADOTable1;
    t->refresh();
    t->locate(QStringLiteral("序号"), 2);
    t->edit();
    t->setValue(QStringLiteral("区域"), QStringLiteral("铁西区"));
    t->post();
    QCOMPARE(app.scalar(QStringLiteral("SELECT 区域 FROM fcxx WHERE 序号=2")).toString(),
             QStringLiteral("铁西区"));
    QCOMPARE(app.scalar(QStringLiteral("SELECT 区域 FROM fcxx WHERE 序号=1")).toString(),
             QStringLiteral("和平区"));
    // A cancelled edit writes nothing.
    t->edit();
    t->setValue(QStringLiteral("区域"), QStringLiteral("东陵区"));
    t->cancel();
    QCOMPARE(t->value(QStringLiteral("区域")).toString(), QStringLiteral("铁西区"));
}

void TestDataset::badNumberIsRefused()
{
    TestApp app;
    Dataset* t = app.sj->ADOTable1;
    t->insert();
    try {
        t->setValue(QStringLiteral("面积"), QStringLiteral("12a"));
        QFAIL("a bad number was accepted");
    } catch (const DataError& e) {
        QCOMPARE(e.text(), QStringLiteral("'12a' is 不是一个有效的浮点值"));
    }
    t->cancel();
    QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM fcxx")).toInt(), 0);
}

void TestDataset::datesAndYesNoConvert()
{
    TestApp app;
    Dataset* t = app.sj->ADOTable4;
    t->insert();
    t->setValue(QStringLiteral("序号"), 1);
    t->setValue(QStringLiteral("日期"), QDate(2026, 12, 9));
    t->post();
    QCOMPARE(app.scalar(QStringLiteral("SELECT 日期 FROM dh")).toString(),
             QStringLiteral("2026-12-09"));
    QCOMPARE(t->value(QStringLiteral("日期")).toDate(), QDate(2026, 12, 9));
    QCOMPARE(t->displayText(QStringLiteral("日期")), QStringLiteral("2026/12/9"));

    Dataset* dj = app.sj->dj;
    dj->edit();
    dj->setValue(QStringLiteral("房源删除"), false);
    dj->post();
    QCOMPARE(app.scalar(QStringLiteral("SELECT 房源删除 FROM jb")).toInt(), 0);
    QCOMPARE(dj->value(QStringLiteral("房源删除")).toBool(), false);
}

void TestDataset::queryOfSelectAllCanDelete()
{
    TestApp app;
    for (int i = 1; i <= 4; ++i)
        app.addListing(i, i % 2 ? QStringLiteral("卖") : QStringLiteral("租"),
                       QStringLiteral("和平区"));
    Dataset* q = app.sj->ADOQuery1;
    q->clearSql();
    q->addSql(QStringLiteral("select * from fcxx where sb='卖'"));
    q->addSql(QStringLiteral("ORDER BY 序号"));
    QCOMPARE(q->sqlText(), QStringLiteral("select * from fcxx where sb='卖'\nORDER BY 序号"));
    q->open();
    QCOMPARE(q->recordCount(), 2);
    q->first();
    q->remove();
    QCOMPARE(q->value(QStringLiteral("序号")).toInt(), 3);
    QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM fcxx")).toInt(), 3);
}

void TestDataset::nonSelectStatementRunsThenFails()
{
    TestApp app;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
    Dataset* q = app.sj->ADOQuery1;
    q->clearSql();
    q->addSql(QStringLiteral("delete from fcxx"));
    QVERIFY_THROWS_EXCEPTION(DataError, q->open());
    QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM fcxx")).toInt(), 0);
    QVERIFY(!q->active());
}

void TestDataset::largeTableReadsLazily()
{
    TestApp app;
    app.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n "
                            "WHERE i < 20000) INSERT INTO fcxx (序号, SB) SELECT i, '卖' FROM n"));
    Dataset* t = app.sj->ADOTable1;
    t->refresh();
    QVERIFY(t->loadedCount() < 1000);
    QVERIFY(!t->allLoaded());
    QVERIFY(t->locate(QStringLiteral("序号"), 15000));
    QCOMPARE(t->value(QStringLiteral("序号")).toInt(), 15000);
    t->last();
    QCOMPARE(t->value(QStringLiteral("序号")).toInt(), 20000);
    QCOMPARE(t->recordCount(), 20000);
    // Rows whose values were dropped from memory are read again.
    QCOMPARE(t->valueAt(0, 0).toInt(), 1);
    QCOMPARE(t->valueAt(12345, 0).toInt(), 12346);
}

// A search's row count is known when it opens, so a grid's model has every
// row at once and any row is read directly, the last one included.
void TestDataset::searchQueryKnowsItsWholeResult()
{
    TestApp app;
    app.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n "
                            "WHERE i < 20000) INSERT INTO fcxx (序号, SB, 楼层) SELECT 20001 - i, "
                            "CASE WHEN i % 2 THEN '卖' ELSE '租' END, i FROM n"));
    Dataset* q = app.sj->ADOQuery1;
    q->setSql(
        {QStringLiteral("select * from fcxx where sb='卖'"), QStringLiteral("ORDER BY 序号")});
    q->open();
    QVERIFY(q->allLoaded());
    QCOMPARE(q->loadedCount(), 10000);
    DatasetModel model(app.sj->DataSource1);
    QCOMPARE(model.rowCount(), 10000);
    QVERIFY(!model.canFetchMore({}));
    // Serial numbers 2, 4, ... 20000 in order.
    QCOMPARE(model.data(model.index(9999, 0)).toString(), QStringLiteral("20000"));
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("2"));
    QCOMPARE(model.data(model.index(5000, 0)).toString(), QStringLiteral("10002"));
    q->last();
    QCOMPARE(q->recNo(), 9999);
    QCOMPARE(q->value(QStringLiteral("楼层")).toInt(), 1);
    // Rows changed after the search show their new values.
    app.exec(QStringLiteral("UPDATE fcxx SET 楼层 = 99 WHERE 序号 = 4"));
    q->refresh();
    QCOMPARE(q->recNo(), 9999);
    QCOMPARE(q->valueAt(1, q->fieldIndex(QStringLiteral("楼层"))).toInt(), 99);
}

void TestDataset::modelFollowsRowsAndSwitchesDataset()
{
    TestApp app;
    app.exec(QStringLiteral("INSERT INTO dh (序号, 名称) VALUES (1, '甲'), (2, '乙')"));
    app.sj->ADOTable4->refresh();
    DatasetModel model(app.sj->DataSource5);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("名称"));
    QCOMPARE(model.data(model.index(1, 1)).toString(), QStringLiteral("乙"));

    app.sj->ADOTable4->first();
    app.sj->ADOTable4->remove();
    QCOMPARE(model.rowCount(), 1);

    Dataset* q = app.sj->ADOQuery2;
    q->setSql(
        {QStringLiteral("select * from dh where 序号>0 "), QStringLiteral("and 名称 like '%乙%'")});
    q->open();
    app.sj->DataSource5->setDataset(q);
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("乙"));
}

void TestDataset::missingDatabaseGivesEngineText()
{
    TestApp::Options options;
    options.openData = false;
    TestApp app(options);
    QFile::remove(app.path(QStringLiteral("lumo.fc")));
    try {
        Tsj sj(QStringLiteral("lumo.fc"));
        QFAIL("opened a missing database");
    } catch (const DataError& e) {
        QVERIFY2(e.text().contains(QStringLiteral("unable to open")), qPrintable(e.text()));
    }
    QVERIFY(!QFile::exists(app.path(QStringLiteral("lumo.fc"))));
}

// Leaving a new row that nothing was typed into drops it; a row with a
// typed value is written.
void TestDataset::movingAwayFromUntouchedNewRowAddsNothing()
{
    TestApp app;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
    Dataset* t = app.sj->ADOTable1;
    t->refresh();
    const QList<std::pair<const char*, std::function<void()>>> moves = {
        {"first", [t] { t->first(); }},   {"next", [t] { t->next(); }},
        {"last", [t] { t->last(); }},     {"locate", [t] { t->locate(QStringLiteral("序号"), 1); }},
        {"insert", [t] { t->insert(); }},
    };
    for (const auto& [name, move] : moves) {
        t->insert();
        move();
        t->cancel();
        QVERIFY2(app.scalar(QStringLiteral("SELECT count(*) FROM fcxx")).toInt() == 1, name);
    }
    t->insert();
    t->setValue(QStringLiteral("序号"), 2);
    t->first();
    QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM fcxx")).toInt(), 2);
    QCOMPARE(t->value(QStringLiteral("序号")).toInt(), 1);
}

void TestDataset::failedOpenLeavesDatasetClosed()
{
    TestApp app;
    Dataset* q = app.sj->ADOQuery1;
    QSignalSpy resets(q, &Dataset::rowsReset);
    q->setSql({QStringLiteral("select * from fcxx where no_such_field = 1")});
    QVERIFY_THROWS_EXCEPTION(DataError, q->open());
    QVERIFY(!q->active());
    // A failing row in the middle of the first rows.
    app.exec(QStringLiteral("INSERT INTO fcxx (序号) VALUES (1), (2)"));
    q->setSql({QStringLiteral("select 序号, json_extract(case when 序号 = 2 then 'x' else '{}' "
                              "end, '$') from fcxx")});
    QVERIFY_THROWS_EXCEPTION(DataError, q->open());
    QVERIFY(!q->active());
    QCOMPARE(q->recNo(), -1);
    q->setSql({QStringLiteral("select * from fcxx")});
    q->open();
    QCOMPARE(q->recordCount(), 2);
}

// A database file that lacks one of the tables ends the start with the
// engine's text and leaves no query behind on a removed connection.
void TestDataset::databaseWithoutATableFailsCleanly()
{
    TestApp::Options options;
    options.openData = false;
    TestApp app(options);
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fix"));
        db.setDatabaseName(app.path(QStringLiteral("lumo.fc")));
        QVERIFY(db.open());
        QSqlQuery(db).exec(QStringLiteral("DROP TABLE jb"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fix"));
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*still in use.*")));
    try {
        Tsj sj(QStringLiteral("lumo.fc"));
        QFAIL("opened a database without jb");
    } catch (const DataError& e) {
        QVERIFY2(e.text().contains(QStringLiteral("jb")), qPrintable(e.text()));
    }
}

QTEST_GUILESS_MAIN(TestDataset)
#include "tst_dataset.moc"
