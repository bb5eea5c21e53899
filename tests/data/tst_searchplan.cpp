// The engine's plan for the property search on the delivered database: a
// chosen district, layout or orientation is looked up through an index
// instead of walking every listing of the intention, and the ranges are
// answered in the index. Both the statement and the row-id statement the
// result grid runs are checked.
#include "DataSource.h"
#include "Dataset.h"
#include "SearchStatement.h"
#include "TestApp.h"

#include <QFile>
#include <QSqlQuery>
#include <QtTest>

using namespace lumo;
using namespace lumo::test;

Q_DECLARE_METATYPE(lumo::SearchFilter)

class TestSearchPlan : public QObject
{
    Q_OBJECT
private slots:
    void plan_data();
    void plan();
    void resultOrderAndRowsUnchanged();
    void olderRegisterGetsIndexesWhenOpened();
};

namespace
{

QString planOf(TestApp& app, const QString& statement)
{
    QSqlQuery q(app.sj->lumo1());
    if (!q.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + statement))
        return QStringLiteral("error: ") + statement;
    QStringList details;
    while (q.next())
        details << q.value(3).toString();
    return details.join(QStringLiteral(" / "));
}

QString rowidStatement(const QStringList& lines)
{
    QString text = lines.join(QLatin1Char('\n'));
    text.replace(text.indexOf(QLatin1Char('*')), 1, QStringLiteral("rowid"));
    return text;
}

} // namespace

void TestSearchPlan::plan_data()
{
    QTest::addColumn<SearchFilter>("filter");
    // What the plan of the row-id statement must contain.
    QTest::addColumn<QString>("expected");

    const SearchFilter initial;
    QTest::addRow("initial filter")
        << initial << QStringLiteral("COVERING INDEX fcxx_sb_xh (SB=? AND 序号>?");
    SearchFilter floors = initial;
    floors.floorLow = QStringLiteral("5");
    floors.floorHigh = QStringLiteral("6");
    QTest::addRow("floor range") << floors << QStringLiteral("COVERING INDEX fcxx_sb_xh");
    SearchFilter price = initial;
    price.rangeCaption = QStringLiteral("价格");
    price.rangeLow = QStringLiteral("20");
    price.rangeHigh = QStringLiteral("50");
    QTest::addRow("price range") << price << QStringLiteral("COVERING INDEX fcxx_sb_xh");

    SearchFilter district = initial;
    district.districtValues = QStringLiteral("和平区");
    QTest::addRow("one district") << district
                                  << QStringLiteral(
                                         "INDEX fcxx_qy (SB=? AND 区域=? AND 楼层>? AND 楼层<?)");
    SearchFilter districts = district;
    districts.districtValues = QStringLiteral("和平区','沈河区");
    QTest::addRow("two districts") << districts << QStringLiteral("INDEX fcxx_qy (SB=? AND 区域=?");
    SearchFilter layout = initial;
    layout.layoutValues = QStringLiteral("二室一厅");
    QTest::addRow("layout") << layout << QStringLiteral("INDEX fcxx_hx (SB=? AND 户型=?");
    SearchFilter orientation = initial;
    orientation.orientationValues = QStringLiteral("南北','东西");
    orientation.saleRentCaption = QStringLiteral("租房");
    QTest::addRow("two orientations, rent")
        << orientation << QStringLiteral("INDEX fcxx_cx (SB=? AND 朝向=?");

    SearchFilter narrow = initial;
    narrow.districtValues = QStringLiteral("和平区");
    narrow.orientationValues = QStringLiteral("南北");
    narrow.layoutValues = QStringLiteral("二室一厅");
    narrow.floorLow = QStringLiteral("5");
    narrow.floorHigh = QStringLiteral("20");
    // Whichever of the three the engine takes, the floor range goes with it.
    QTest::addRow("district, orientation, layout, floors")
        << narrow << QStringLiteral("AND 楼层>? AND 楼层<?)");
    SearchFilter narrowTwo = narrow;
    narrowTwo.districtValues = QStringLiteral("和平区','沈河区");
    narrowTwo.orientationValues.clear();
    QTest::addRow("two districts, layout, floors")
        << narrowTwo << QStringLiteral("AND 楼层>? AND 楼层<?)");
}

void TestSearchPlan::plan()
{
    QFETCH(SearchFilter, filter);
    QFETCH(QString, expected);
    TestApp app;
    const QStringList lines = buildSearchStatement(filter);
    const QString rowidPlan = planOf(app, rowidStatement(lines));
    QVERIFY2(rowidPlan.contains(expected), qPrintable(rowidPlan));
    const QString fullPlan = planOf(app, lines.join(QLatin1Char('\n')));
    QVERIFY2(fullPlan.startsWith(QStringLiteral("SEARCH fcxx USING INDEX")), qPrintable(fullPlan));
    const bool listFilter = !filter.districtValues.isEmpty() || !filter.layoutValues.isEmpty() ||
                            !filter.orientationValues.isEmpty();
    // A chosen list entry is never found by walking the whole intention.
    if (listFilter) {
        QVERIFY2(!rowidPlan.contains(QStringLiteral("fcxx_sb_xh")), qPrintable(rowidPlan));
        QVERIFY2(!fullPlan.contains(QStringLiteral("fcxx_sb_xh")), qPrintable(fullPlan));
    }
}

// Whatever index answers it, a search delivers the rows the statement
// selects, in serial order, with their values.
void TestSearchPlan::resultOrderAndRowsUnchanged()
{
    TestApp app;
    // Serial numbers in an order unlike their row order.
    const int serials[] = {9, 3, 7, 1, 5, 8, 2, 6, 4};
    for (int s : serials)
        app.addListing(s, s % 3 ? QStringLiteral("卖") : QStringLiteral("租"),
                       s % 2 ? QStringLiteral("和平区") : QStringLiteral("沈河区"),
                       QStringLiteral("二室一厅"), QStringLiteral("南北"), s);
    SearchFilter f;
    f.districtValues = QStringLiteral("和平区','沈河区");
    f.floorLow = QStringLiteral("2");
    f.floorHigh = QStringLiteral("8");
    Dataset* q = app.sj->ADOQuery1;
    q->setSql(buildSearchStatement(f));
    q->open();
    QList<int> found;
    for (q->first(); !q->eof(); q->next())
        found << q->value(QStringLiteral("序号")).toInt();
    QCOMPARE(found, QList<int>({2, 4, 5, 7, 8}));
    QCOMPARE(q->recordCount(), 5);
    QVERIFY(q->allLoaded());
    q->moveTo(4);
    QCOMPARE(q->value(QStringLiteral("楼层")).toInt(), 8);
    QCOMPARE(q->value(QStringLiteral("区域")).toString(), QStringLiteral("沈河区"));
}

// A register of the version before the search indexes is given them, and
// their statistics, when the program opens it; the open connection plans
// with them at once.
void TestSearchPlan::olderRegisterGetsIndexesWhenOpened()
{
    TestApp::Options options;
    options.openData = false;
    TestApp app(options);
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("older"));
        db.setDatabaseName(app.path(QStringLiteral("lumo.fc")));
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const char* sql :
             {"DROP INDEX fcxx_qy", "DROP INDEX fcxx_hx", "DROP INDEX fcxx_cx",
              "DROP INDEX fcxx_sb_xh", "CREATE INDEX fcxx_sb_xh ON fcxx (SB, 序号)",
              "DROP TABLE sqlite_stat1", "PRAGMA user_version = 1"})
            QVERIFY2(q.exec(QString::fromUtf8(sql)), sql);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("older"));
    app.openData();
    SearchFilter district;
    district.districtValues = QStringLiteral("和平区");
    const QString plan = planOf(app, rowidStatement(buildSearchStatement(district)));
    QVERIFY2(plan.contains(QStringLiteral("INDEX fcxx_qy (SB=? AND 区域=?")), qPrintable(plan));
    QCOMPARE(app.scalar(QStringLiteral("SELECT stat FROM sqlite_stat1 WHERE idx = 'fcxx_sb_xh'"))
                 .toString(),
             QStringLiteral("200000 200000 1 1 1 1"));
}

QTEST_GUILESS_MAIN(TestSearchPlan)
#include "tst_searchplan.moc"
