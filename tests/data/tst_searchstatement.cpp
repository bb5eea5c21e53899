// The search statement built from the filter state.
#include "SearchStatement.h"

#include <QtTest>

using lumo::SearchFilter;

Q_DECLARE_METATYPE(lumo::SearchFilter)

class TestSearchStatement : public QObject
{
    Q_OBJECT
private slots:
    void initialFilter();
    void lines_data();
    void lines();
    void apostrophes();
};

void TestSearchStatement::initialFilter()
{
    const QStringList expected = {
        QStringLiteral("select * from fcxx where sb='卖'"),
        QStringLiteral("and 楼层 between 0 and 999"),
        QStringLiteral("and 面积 between 0 and 99999"),
        QStringLiteral("and 序号 between 1 and 2999999"),
        QStringLiteral("ORDER BY 序号"),
    };
    QCOMPARE(lumo::buildSearchStatement(SearchFilter()), expected);
}

// Each row changes the initial filter and names the lines expected between
// the first line and the floor line (conditions), and the three range
// lines.
void TestSearchStatement::lines_data()
{
    QTest::addColumn<SearchFilter>("filter");
    QTest::addColumn<QStringList>("expected");

    const QString sale = QStringLiteral("select * from fcxx where sb='卖'");
    const QString floors = QStringLiteral("and 楼层 between 0 and 999");
    const QString area = QStringLiteral("and 面积 between 0 and 99999");
    const QString serials = QStringLiteral("and 序号 between 1 and 2999999");
    const QString order = QStringLiteral("ORDER BY 序号");

    SearchFilter f;
    f.districtValues = QStringLiteral("和平区','沈河区");
    QTest::newRow("two districts")
        << f << QStringList{sale,    QStringLiteral("and 区域 in ('和平区','沈河区')"),
                            floors,  area,
                            serials, order};
    f = SearchFilter();
    f.districtValues = QStringLiteral("其它区");
    QTest::newRow("other district")
        << f << QStringList{sale, QStringLiteral("and 区域 in ('其它区')"), floors, area, serials,
                            order};
    for (const char16_t* v : {u"所有区", u"区域"}) {
        f = SearchFilter();
        f.districtValues = QString::fromUtf16(v);
        QTest::newRow(qPrintable(QStringLiteral("district ") + f.districtValues))
            << f << QStringList{sale, floors, area, serials, order};
    }
    f = SearchFilter();
    f.orientationValues = QStringLiteral("南北");
    f.layoutValues = QStringLiteral("二室一厅','其它");
    QTest::newRow("orientation and layout")
        << f
        << QStringList{sale,
                       QStringLiteral("and 朝向 in ('南北')"),
                       QStringLiteral("and 户型 in ('二室一厅','其它')"),
                       floors,
                       area,
                       serials,
                       order};
    f = SearchFilter();
    f.orientationValues = QStringLiteral("所有");
    f.layoutValues = QStringLiteral("户型");
    QTest::newRow("all orientations, layout caption")
        << f << QStringList{sale, floors, area, serials, order};

    f = SearchFilter();
    f.firstSerial = 7;
    f.lastSerial = 7;
    QTest::newRow("equal serials")
        << f
        << QStringList{sale, floors, area, QStringLiteral("and 序号 between 7 and 2999999"), order};
    f.firstSerial = 9;
    f.lastSerial = 3;
    QTest::newRow("reversed serials")
        << f
        << QStringList{sale, floors, area, QStringLiteral("and 序号 between 9 and 2999999"), order};
    f.firstSerial = 3;
    f.lastSerial = 9;
    QTest::newRow("serial range") << f
                                  << QStringList{sale, floors, area,
                                                 QStringLiteral("and 序号 between 3 and 9"), order};

    f = SearchFilter();
    f.floorLow = QStringLiteral("5");
    f.floorHigh = QStringLiteral("3");
    QTest::newRow("reversed floors")
        << f
        << QStringList{sale, QStringLiteral("and 楼层 between 5 and 999"), area, serials, order};
    f.floorLow = QStringLiteral("2");
    f.floorHigh = QStringLiteral("10");
    QTest::newRow("floor range compares as numbers")
        << f
        << QStringList{sale, QStringLiteral("and 楼层 between 2 and 10"), area, serials, order};

    f = SearchFilter();
    f.rangeCaption = QStringLiteral("价格");
    f.rangeLow = QStringLiteral("30");
    f.rangeHigh = QStringLiteral("200");
    QTest::newRow("price range") << f
                                 << QStringList{sale, floors,
                                                QStringLiteral("and 价格 between 30 and 200"),
                                                serials, order};
    f.rangeLow = QStringLiteral("200");
    f.rangeHigh = QStringLiteral("30");
    QTest::newRow("reversed price")
        << f
        << QStringList{sale, floors, QStringLiteral("and 价格 between 200 and 99999"), serials,
                       order};
    f.rangeCaption = QStringLiteral("面积");
    f.rangeLow = QStringLiteral("9");
    f.rangeHigh = QStringLiteral("50");
    QTest::newRow("area range") << f
                                << QStringList{sale, floors,
                                               QStringLiteral("and 面积 between 9 and 50"), serials,
                                               order};

    const QString rent = QStringLiteral("select * from fcxx where sb='租'");
    const struct {
        const char16_t* caption;
        bool condition;
    } terms[] = {{u"全部", false},   {u"季度", true}, {u"半年", true},
                 {u"无权属", false}, {u"产权", true}, {u"使用权", true}};
    for (const auto& t : terms) {
        f = SearchFilter();
        f.saleRentCaption = QStringLiteral("租房");
        f.ownershipCaption = QString::fromUtf16(t.caption);
        QStringList lines{rent};
        if (t.condition)
            lines << QStringLiteral("and 权属 in ('") + f.ownershipCaption + QStringLiteral("')");
        lines << floors << area << serials << order;
        QTest::newRow(qPrintable(QStringLiteral("rent ") + f.ownershipCaption)) << f << lines;
    }
}

void TestSearchStatement::lines()
{
    QFETCH(SearchFilter, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(lumo::buildSearchStatement(filter), expected);
}

void TestSearchStatement::apostrophes()
{
    QCOMPARE(lumo::quoteSqlText(QStringLiteral("O'Neil's")), QStringLiteral("O''Neil''s"));
    QCOMPARE(lumo::quoteSqlText(QStringLiteral("和平区")), QStringLiteral("和平区"));

    SearchFilter f;
    f.ownershipCaption = QStringLiteral("它'的");
    f.districtValues =
        lumo::quoteSqlText(QStringLiteral("A'B")) + QStringLiteral("','") + QStringLiteral("C");
    const QStringList lines = lumo::buildSearchStatement(f);
    QCOMPARE(lines.at(1), QStringLiteral("and 区域 in ('A''B','C')"));
    QCOMPARE(lines.at(2), QStringLiteral("and 权属 in ('它''的')"));
}

QTEST_MAIN(TestSearchStatement)
#include "tst_searchstatement.moc"
