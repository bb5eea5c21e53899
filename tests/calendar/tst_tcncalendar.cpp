// The lunar grid: cell texts and colours, painting, the date setters and the user's clicks
// and keys, which never leave the shown month.
#include "TCnCalendar.h"

#include <QAbstractItemView>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

using lumo::TCnCalendar;

namespace
{

QAbstractItemView* viewOf(TCnCalendar& grid)
{
    return grid.findChild<QAbstractItemView*>(QStringLiteral("qt_calendar_calendarview"));
}

// The view cell showing `day`: of the shown month, or of a neighbouring month when
// `otherMonth` is set.
QRect cellRect(TCnCalendar& grid, int day, bool otherMonth = false)
{
    QAbstractItemView* view = viewOf(grid);
    for (int row = 1; row < view->model()->rowCount(); ++row) {
        for (int col = 0; col < view->model()->columnCount(); ++col) {
            const QModelIndex index = view->model()->index(row, col);
            if (index.data().toInt() != day)
                continue;
            const bool outside = (row == 1 && day > 7) || (row >= 4 && day < 15);
            if (outside == otherMonth)
                return view->visualRect(index);
        }
    }
    return QRect();
}

int countColour(const QImage& image, const QRect& rect, const QColor& colour)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += image.pixelColor(x, y).rgb() == colour.rgb();
    return n;
}

struct ShownGrid {
    TCnCalendar grid;
    explicit ShownGrid(const QDate& date)
    {
        grid.resize(470, 240);
        grid.setSelectedDate(date);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
    }
};

} // namespace

class TestTCnCalendar : public QObject
{
    Q_OBJECT
private slots:
    void cellTexts_data();
    void cellTexts();
    void paintsTextsAndColours();
    void setters();
    void stemBranchTexts();
    void clickSelectsDaysOfTheMonthOnly();
    void keysStayInTheMonth();
};

void TestTCnCalendar::cellTexts_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("mark");
    const QColor none;
    const QColor red(255, 0, 0);
    const QColor green(0, 128, 0);
    QTest::addRow("lunar new year") << QDate(2024, 2, 10) << 0 << QStringLiteral("10 新年") << red;
    QTest::addRow("term") << QDate(2024, 2, 4) << 0 << QStringLiteral("4 立春") << green;
    QTest::addRow("little new year") << QDate(2024, 2, 2) << 0 << QStringLiteral("2 小年") << red;
    QTest::addRow("plain day") << QDate(2024, 2, 5) << 0 << QStringLiteral("5 廿六") << none;
    QTest::addRow("day 20") << QDate(2024, 2, 29) << 0 << QStringLiteral("29 廿十") << none;
    QTest::addRow("leap month first day")
        << QDate(2023, 3, 22) << 0 << QStringLiteral("22 二月") << red;
    QTest::addRow("month first day") << QDate(2023, 2, 20) << 0 << QStringLiteral("20 二月") << red;
    QTest::addRow("first day beats term")
        << QDate(1903, 7, 24) << 0 << QStringLiteral("24 六月") << red;
    QTest::addRow("new year beats term")
        << QDate(1901, 2, 19) << 0 << QStringLiteral("19 新年") << red;
    QTest::addRow("term beats little new year")
        << QDate(1903, 1, 21) << 0 << QStringLiteral("21 大寒") << green;
    QTest::addRow("first covered day")
        << QDate(1901, 1, 1) << 0 << QStringLiteral("1 十一") << none;
    QTest::addRow("last covered day")
        << QDate(2050, 12, 31) << 0 << QStringLiteral("31 十八") << none;
    QTest::addRow("1900") << QDate(1900, 12, 5) << 0 << QStringLiteral("5") << none;
    QTest::addRow("2051") << QDate(2051, 1, 5) << 0 << QStringLiteral("5") << none;
    QTest::addRow("mode 1 day") << QDate(1901, 1, 1) << 1 << QStringLiteral("1 己卯") << none;
    QTest::addRow("mode 1 term day") << QDate(2024, 2, 4) << 1 << QStringLiteral("4 戊戌") << none;
    QTest::addRow("mode 1 first day")
        << QDate(2024, 2, 10) << 1 << QStringLiteral("10 新年") << red;
}

void TestTCnCalendar::cellTexts()
{
    QFETCH(QDate, date);
    QFETCH(int, mode);
    QFETCH(QString, text);
    QFETCH(QColor, mark);
    const lumo::LunarCell cell = TCnCalendar::cellFor(date, mode);
    QCOMPARE(cell.text, text);
    QCOMPARE(cell.mark, mark);
}

// The painted cells carry the mark colours; days of other months stay blank.
void TestTCnCalendar::paintsTextsAndColours()
{
    ShownGrid shown(QDate(2024, 2, 15));
    TCnCalendar& grid = shown.grid;
    const QPalette palette = grid.palette();

    QCOMPARE(grid.look(QDate(2024, 2, 5)).foreground, palette.color(QPalette::Text));
    QCOMPARE(grid.look(QDate(2024, 2, 5)).background, palette.color(QPalette::Base));
    QCOMPARE(grid.look(QDate(2024, 2, 15)).background, palette.color(QPalette::Highlight));
    QCOMPARE(grid.look(QDate(2024, 2, 15)).foreground, palette.color(QPalette::HighlightedText));
    QCOMPARE(grid.look(QDate(2024, 2, 10)).foreground, TCnCalendar::red);

    QAbstractItemView* view = viewOf(grid);
    const QImage image = view->viewport()->grab().toImage();
    const QRect newYear = cellRect(grid, 10);
    const QRect term = cellRect(grid, 4);
    const QRect plain = cellRect(grid, 5);
    const QRect selected = cellRect(grid, 15);
    const QRect january = cellRect(grid, 31, true);
    QVERIFY(newYear.isValid() && term.isValid() && plain.isValid() && january.isValid());

    QVERIFY(countColour(image, newYear, TCnCalendar::red) > 0);
    QCOMPARE(countColour(image, newYear, TCnCalendar::green), 0);
    QVERIFY(countColour(image, term, TCnCalendar::green) > 0);
    QCOMPARE(countColour(image, plain, TCnCalendar::red), 0);
    QCOMPARE(countColour(image, plain, TCnCalendar::green), 0);
    QVERIFY(countColour(image, plain, palette.color(QPalette::Text)) > 0);
    QVERIFY(countColour(image, selected, palette.color(QPalette::Highlight)) > 0);
    // 31 January stands in the first row and is drawn empty.
    const QRect inner = january.adjusted(1, 1, -1, -1);
    QCOMPARE(countColour(image, inner, palette.color(QPalette::Base)),
             inner.width() * inner.height());

    // Outside the tables the cells show only their numbers, in the grid's colour.
    grid.setSelectedDate(QDate(1900, 1, 15));
    const QImage old = view->viewport()->grab().toImage();
    QCOMPARE(countColour(old, cellRect(grid, 31), TCnCalendar::red), 0);
    QCOMPARE(grid.look(QDate(1900, 1, 31)).text, QStringLiteral("31"));
}

void TestTCnCalendar::setters()
{
    TCnCalendar grid;
    grid.setSelectedDate(QDate(2024, 1, 31));
    QSignalSpy changes(&grid, &TCnCalendar::OnChange);

    // Values that change nothing.
    QVERIFY(grid.setDay(0));
    QVERIFY(grid.setDay(-3));
    QVERIFY(grid.setDay(32));
    QVERIFY(grid.setDay(31));
    QVERIFY(grid.setMonth(13));
    QVERIFY(grid.setMonth(1));
    QVERIFY(grid.setYear(0));
    QVERIFY(grid.setYear(2024));
    QCOMPARE(changes.count(), 0);

    // 31 February is no date: refused, the date stays.
    QVERIFY(!grid.setMonth(2));
    QCOMPARE(grid.selectedDate(), QDate(2024, 1, 31));
    QCOMPARE(changes.count(), 0);

    QVERIFY(grid.setDay(29));
    QVERIFY(grid.setMonth(2));
    QCOMPARE(grid.selectedDate(), QDate(2024, 2, 29));
    QCOMPARE(grid.monthShown(), 2);
    QCOMPARE(changes.count(), 2);
    QVERIFY(!grid.setYear(2023));
    QCOMPARE(grid.selectedDate(), QDate(2024, 2, 29));
    QVERIFY(grid.setDay(1));
    QVERIFY(grid.setYear(1882));
    QCOMPARE(grid.selectedDate(), QDate(1882, 2, 1));
    QCOMPARE(changes.count(), 4);
}

void TestTCnCalendar::stemBranchTexts()
{
    TCnCalendar grid;
    grid.setSelectedDate(QDate(1901, 1, 1));
    QCOMPARE(grid.snnz(), QStringLiteral("辛丑"));
    QCOMPARE(grid.snrz(), QStringLiteral("己卯"));
    QCOMPARE(grid.sz(), QStringLiteral("辛丑  ") + grid.snyz() + QStringLiteral("  己卯"));
    grid.setSelectedDate(QDate(1900, 6, 1));
    QCOMPARE(grid.snnz(), QStringLiteral("庚子"));
    QVERIFY(grid.snrz().isEmpty());
    QVERIFY(grid.sz().isEmpty());
}

void TestTCnCalendar::clickSelectsDaysOfTheMonthOnly()
{
    ShownGrid shown(QDate(2024, 2, 15));
    TCnCalendar& grid = shown.grid;
    QSignalSpy changes(&grid, &TCnCalendar::OnChange);
    QWidget* viewport = viewOf(grid)->viewport();

    QTest::mouseClick(viewport, Qt::LeftButton, {}, cellRect(grid, 10).center());
    QCOMPARE(grid.selectedDate(), QDate(2024, 2, 10));
    QCOMPARE(changes.count(), 1);

    // Days of January and March stand in empty cells.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, cellRect(grid, 30, true).center());
    QTest::mouseClick(viewport, Qt::LeftButton, {}, cellRect(grid, 2, true).center());
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, cellRect(grid, 2, true).center());
    QCOMPARE(grid.selectedDate(), QDate(2024, 2, 10));
    QCOMPARE(grid.monthShown(), 2);
    QCOMPARE(changes.count(), 1);
}

void TestTCnCalendar::keysStayInTheMonth()
{
    ShownGrid shown(QDate(2024, 2, 1));
    TCnCalendar& grid = shown.grid;
    QWidget* view = viewOf(grid);
    view->setFocus();

    QTest::keyClick(view, Qt::Key_Left);
    QTest::keyClick(view, Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_PageUp);
    QTest::keyClick(view, Qt::Key_PageDown);
    QCOMPARE(grid.selectedDate(), QDate(2024, 2, 1));
    QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(grid.selectedDate(), QDate(2024, 2, 2));
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(grid.selectedDate(), QDate(2024, 2, 9));

    grid.setSelectedDate(QDate(2024, 2, 27));
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(grid.selectedDate(), QDate(2024, 2, 29));
    QCOMPARE(grid.monthShown(), 2);
}

QTEST_MAIN(TestTCnCalendar)
#include "tst_tcncalendar.moc"
