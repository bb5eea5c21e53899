// What the user sees of the windows' own colours and fonts under each look:
// window bodies, grids, the settings window's mode buttons and the photo
// preview's zoom, opened through the main window and checked in its pixels.
#include "Colors.h"
#include "Dataset.h"
#include "TestApp.h"
#include "Tmain.h"
#include "Tsj.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace lumo;
using lumo::test::TestApp;

namespace
{

const QColor kStoredWindow(0x5C, 0x8A, 0xDE);
const QColor kStoredGrid(0xAD, 0xCF, 0xB3);

struct Looks {
    const char* name;
    const char* entry;
};
const Looks kLooks[] = {
    {"winxpblue", "N110"}, {"mosphere", "N23"}, {"初级界面", "windows1"}, {"user's skin", "N31"}};

// A user's skin that, like many, sets grid, button and text colours and
// fonts of its own.
const QByteArray kUserSkin = "QTableView { background-color: #203040; color: #f0f0f0; }\n"
                             "QHeaderView::section { background-color: #405060; }\n"
                             "QPushButton { color: #2040a0; font-size: 8pt; }\n"
                             "QLabel, QLineEdit, QPlainTextEdit { font-size: 8pt; }\n"
                             "QMdiSubWindow, QDialog { background-color: #334455; }\n";

QString writeUserSkin(const QString& folder)
{
    QDir().mkpath(folder);
    QFile ini(folder + QStringLiteral("/skin.ini"));
    QFile sheet(folder + QStringLiteral("/look.qss"));
    if (!ini.open(QIODevice::WriteOnly) || !sheet.open(QIODevice::WriteOnly))
        return QString();
    ini.write("[Skin]\nName=test\nStyleSheet=look.qss\n");
    sheet.write(kUserSkin);
    return ini.fileName();
}

void addLookColumn()
{
    QTest::addColumn<QString>("entry");
}

QString store(const QColor& color)
{
    return QString::number(colorToValue(color));
}

// The main window as the user has it after choosing a look and logging in.
std::unique_ptr<Tmain> startWithLook(TestApp& app, const QString& entry)
{
    auto w = std::make_unique<Tmain>(*app.ctx);
    w->show();
    if (entry == QStringLiteral("N31"))
        app.dialogs.fileNames.enqueue(writeUserSkin(app.dir.path() + QStringLiteral("/skin")));
    w->menuEntry(entry)->trigger();
    w->findChild<QComboBox*>(QStringLiteral("suiComboBox1"))
        ->setCurrentText(QStringLiteral("管理员"));
    QTest::keyClicks(w->findChild<QLineEdit*>(QStringLiteral("suiEdit1")), QStringLiteral("admin"));
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("suiButton1")), Qt::LeftButton);
    return w;
}

// Whether the look chosen by `entry` is the application's now.
bool lookInEffect(const QString& entry)
{
    const QString sheet = qApp->styleSheet();
    if (entry == QStringLiteral("N110"))
        return sheet.startsWith(QStringLiteral("/* winxpblue"));
    if (entry == QStringLiteral("N23"))
        return sheet.startsWith(QStringLiteral("/* mosphere"));
    if (entry == QStringLiteral("N31"))
        return sheet.contains(QStringLiteral("#203040"));
    return sheet.isEmpty();
}

QWidget* topLevel(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

// The colour the user sees at `point` of `widget`, taken from a grab of its
// whole window.
QColor seen(QWidget* widget, const QPoint& point)
{
    QWidget* window = widget->window();
    const QImage image = window->grab().toImage();
    return image.pixelColor(widget->mapTo(window, point));
}

bool near(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) <= 2 && qAbs(a.green() - b.green()) <= 2 &&
           qAbs(a.blue() - b.blue()) <= 2;
}

QByteArray describe(const QColor& got, const QColor& expected, const QString& where)
{
    return (where + QStringLiteral(": seen ") + got.name() + QStringLiteral(", expected ") +
            expected.name())
        .toUtf8();
}

// The middle of the largest part of `widget` that none of its visible
// children covers: where its own background shows.
QPoint uncoveredPoint(QWidget* widget)
{
    QRegion free(widget->rect());
    for (QWidget* child : widget->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child->isVisible() && !child->isWindow())
            free -= child->geometry();
    QRect best;
    for (const QRect& r : free)
        if (r.width() * r.height() > best.width() * best.height())
            best = r;
    return best.isValid() ? best.center() : QPoint(-1, -1);
}

// Below the last row of a grid: its background, away from any cell.
QPoint belowRows(QTableView* grid)
{
    const int rows = grid->model()->rowCount();
    const int y =
        rows == 0 ? 4 : grid->rowViewportPosition(rows - 1) + grid->rowHeight(rows - 1) + 4;
    return QPoint(grid->viewport()->width() / 2, y);
}

// The right end of the widest cell of an even row that is not selected,
// past its short text; (-1, -1) when there is none.
QPoint cellBackground(QTableView* grid)
{
    const QAbstractItemModel* m = grid->model();
    for (int row = 0; row < m->rowCount(); row += 2) {
        if (grid->selectionModel()->isRowSelected(row, QModelIndex()) ||
            grid->currentIndex().row() == row)
            continue;
        QRect widest;
        for (int column = 0; column < m->columnCount(); ++column) {
            const QRect cell = grid->visualRect(m->index(row, column));
            if (cell.width() > widest.width() && grid->viewport()->rect().contains(cell))
                widest = cell;
        }
        if (widest.width() > 60)
            return QPoint(widest.right() - 4, widest.center().y());
    }
    return QPoint(-1, -1);
}

struct WindowCase {
    const char* kind;
    const char* entry; // menu entry; empty: the search button
    const char* window;
    // Where the window's background shows, and its design colour.
    const char* body;
    QColor bodyDesign;
    bool bodyTakesStored;
    const char* grids[2];
    QColor gridDesign;
};

const WindowCase kWindows[] = {
    {"entry form",
     "N6",
     "Tlrxx",
     "body",
     QColor(0xEF, 0xEC, 0xDE),
     true,
     {"DBGrid1", nullptr},
     QColor()},
    {"deletion",
     "N7",
     "Tscjl",
     "Panel1",
     QColor(0xEF, 0xEC, 0xDE),
     true,
     {"DBGrid1", nullptr},
     QColor(0xF9, 0xF8, 0xE6)},
    {"results",
     "",
     "Tcxxs",
     "Panel2",
     QColor(0xEA, 0xF2, 0xF2),
     false,
     {"RxDBGrid1", "RxDBGrid2"},
     QColor(0xEF, 0xEC, 0xDE)},
    {"results skinned",
     "",
     "Tcxxs",
     "Panel2",
     QColor(0xEA, 0xF2, 0xF2),
     false,
     {"RxDBGrid1", "RxDBGrid2"},
     QColor(0xEF, 0xEC, 0xDE)},
    {"results style switched",
     "",
     "Tcxxs",
     "Panel2",
     QColor(0xEA, 0xF2, 0xF2),
     false,
     {"RxDBGrid1", "RxDBGrid2"},
     QColor(0xEF, 0xEC, 0xDE)},
};

const WindowCase* windowCase(const QString& kind)
{
    for (const WindowCase& c : kWindows)
        if (kind == QString::fromUtf8(c.kind))
            return &c;
    return nullptr;
}

// Opens a working window through its menu entry or the search button.
QMdiSubWindow* openWindow(Tmain& w, const WindowCase& c)
{
    if (*c.entry)
        w.menuEntry(QString::fromLatin1(c.entry))->trigger();
    else
        QTest::mouseClick(w.findChild<QToolButton*>(QStringLiteral("toolbutton4")), Qt::LeftButton);
    QMdiSubWindow* sub = w.mdiArea()->currentSubWindow();
    if (!sub || sub->objectName() != QLatin1String(c.window))
        return nullptr;
    if (QLatin1String(c.kind) == QLatin1String("results style switched"))
        QTest::mouseClick(sub->findChild<QPushButton*>(QStringLiteral("bsSkinSpeedButton4")),
                          Qt::LeftButton);
    QApplication::processEvents();
    return sub;
}

// Rows that carry text in a grab of `widget` (pixels well apart from its
// most common colour, the background): how tall its text is drawn.
int inkHeight(QWidget* widget)
{
    const QImage image = widget->window()->grab().toImage();
    const QRect area =
        QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size()).adjusted(2, 2, -2, -2);
    QHash<int, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[qGray(image.pixel(x, y))];
    int background = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(background))
            background = it.key();
    int top = -1;
    int bottom = -1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qAbs(qGray(image.pixel(x, y)) - background) > 30) {
                if (top < 0)
                    top = y;
                bottom = y;
                break;
            }
    return top < 0 ? 0 : bottom - top + 1;
}

// Pixels of clearly red text on a button.
int redPixels(QWidget* button)
{
    const QImage image = button->window()->grab().toImage();
    const QRect area(button->mapTo(button->window(), QPoint(0, 0)), button->size());
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 170 && c.green() < 90 && c.blue() < 90)
                ++count;
        }
    return count;
}

} // namespace

class TestOwnLook : public QObject
{
    Q_OBJECT
private slots:
    void init() { qApp->setStyleSheet(QString()); }

    void windowAndGridColours_data();
    void windowAndGridColours();
    void mainWindowColour_data();
    void mainWindowColour();
    void openWindowsKeepTheirColours();
    void activeModeButtonRed_data();
    void activeModeButtonRed();
    void previewTextFollowsZoom_data();
    void previewTextFollowsZoom();
};

void TestOwnLook::windowAndGridColours_data()
{
    addLookColumn();
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("stored");
    for (const Looks& look : kLooks)
        for (const WindowCase& c : kWindows)
            for (bool stored : {false, true})
                QTest::addRow("%s, %s, %s", look.name, c.kind,
                              stored ? "stored colours" : "design colours")
                    << QString::fromLatin1(look.entry) << QString::fromUtf8(c.kind) << stored;
}

void TestOwnLook::windowAndGridColours()
{
    QFETCH(QString, entry);
    QFETCH(QString, kind);
    QFETCH(bool, stored);
    const WindowCase& c = *windowCase(kind);
    TestApp app;
    for (int serial = 1; serial <= 3; ++serial)
        app.addListing(serial, QStringLiteral("卖"), QStringLiteral("和平区"));
    app.sj->ADOTable1->refresh(); // the register grids show the new rows
    if (stored) {
        app.store.WriteAppValue(QStringLiteral("rgb"), store(kStoredWindow));
        app.store.WriteAppValue(QStringLiteral("bgrgb"), store(kStoredGrid));
    }
    if (kind == QStringLiteral("results skinned"))
        app.store.WriteAppValue(QStringLiteral("bg"), QStringLiteral("1"));
    auto w = startWithLook(app, entry);
    QVERIFY(lookInEffect(entry));
    QMdiSubWindow* sub = openWindow(*w, c);
    QVERIFY(sub);

    auto* body = sub->findChild<QWidget*>(QLatin1String(c.body));
    QVERIFY(body);
    const QPoint free = uncoveredPoint(body);
    QVERIFY2(free.x() >= 0, c.body);
    const QColor bodyColor = stored && c.bodyTakesStored ? kStoredWindow : c.bodyDesign;
    const QColor bodySeen = seen(body, free);
    QVERIFY2(near(bodySeen, bodyColor), describe(bodySeen, bodyColor, QLatin1String(c.body)));

    // The entry form's grid is drawn in the system's tool-tip colour.
    const QColor gridDesign = c.gridDesign.isValid()
                                  ? c.gridDesign
                                  : QApplication::palette().color(QPalette::ToolTipBase);
    const QColor gridColor = stored ? kStoredGrid : gridDesign;
    for (const char* name : c.grids) {
        if (!name)
            continue;
        auto* grid = sub->findChild<QTableView*>(QLatin1String(name));
        QVERIFY2(grid, name);
        const QString where = QLatin1String(name);
        const QColor empty = seen(grid->viewport(), belowRows(grid));
        QVERIFY2(near(empty, gridColor), describe(empty, gridColor, where));
        // The cells as well, where the grid has rows (the print list has none).
        if (grid->model()->rowCount() >= 3) {
            const QPoint cell = cellBackground(grid);
            QVERIFY2(cell.x() >= 0, name);
            const QColor inCell = seen(grid->viewport(), cell);
            QVERIFY2(near(inCell, gridColor),
                     describe(inCell, gridColor, where + QStringLiteral(" cell")));
        }
    }
}

void TestOwnLook::mainWindowColour_data()
{
    addLookColumn();
    QTest::addColumn<bool>("stored");
    for (const Looks& look : kLooks)
        for (bool stored : {false, true})
            QTest::addRow("%s, %s", look.name, stored ? "stored colour" : "initial colour")
                << QString::fromLatin1(look.entry) << stored;
}

void TestOwnLook::mainWindowColour()
{
    QFETCH(QString, entry);
    QFETCH(bool, stored);
    TestApp app;
    if (stored)
        app.store.WriteAppValue(QStringLiteral("rgb"), store(kStoredWindow));
    auto w = startWithLook(app, entry);
    QVERIFY(lookInEffect(entry));
    QWidget* area = w->mdiArea()->viewport();
    const QColor expected = stored ? kStoredWindow : QColor(0xEF, 0xEC, 0xDE);
    const QColor got = seen(area, area->rect().center());
    QVERIFY2(near(got, expected), describe(got, expected, QStringLiteral("main window")));
}

void TestOwnLook::openWindowsKeepTheirColours()
{
    TestApp app;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
    auto w = startWithLook(app, QStringLiteral("N110"));
    const WindowCase& entryForm = *windowCase(QStringLiteral("entry form"));
    QMdiSubWindow* sub = openWindow(*w, entryForm);
    QVERIFY(sub);
    auto* grid = sub->findChild<QTableView*>(QStringLiteral("DBGrid1"));
    const QColor before = seen(grid->viewport(), belowRows(grid));

    // "表格背景色彩" only stores the colour: the open grid keeps its own.
    app.dialogs.colors.enqueue(kStoredGrid);
    w->menuEntry(QStringLiteral("N25"))->trigger();
    QCOMPARE(app.store.ReadAppValue(QStringLiteral("bgrgb")), store(kStoredGrid));
    QVERIFY(app.store.ReadAppValue(QStringLiteral("rgb")).isEmpty());
    QVERIFY(near(seen(grid->viewport(), belowRows(grid)), before));

    // Another look changes every open window at once, but not their own
    // colours.
    QWidget* body = sub->findChild<QWidget*>(QStringLiteral("body"));
    const QPoint free = uncoveredPoint(body);
    for (const char* look : {"N23", "windows1", "N110"}) {
        w->menuEntry(QLatin1String(look))->trigger();
        QVERIFY2(lookInEffect(QLatin1String(look)), look);
        QVERIFY2(near(seen(grid->viewport(), belowRows(grid)), before), look);
        QVERIFY2(near(seen(body, free), QColor(0xEF, 0xEC, 0xDE)), look);
    }

    // The next entry form shows the new grid colour.
    sub->findChild<QPushButton*>(QStringLiteral("suiButton15"))->click();
    QTRY_VERIFY(!w->findChild<QMdiSubWindow*>(QStringLiteral("Tlrxx")));
    sub = openWindow(*w, entryForm);
    QVERIFY(sub);
    grid = sub->findChild<QTableView*>(QStringLiteral("DBGrid1"));
    const QColor after = seen(grid->viewport(), belowRows(grid));
    QVERIFY2(near(after, kStoredGrid), describe(after, kStoredGrid, QStringLiteral("DBGrid1")));
}

void TestOwnLook::activeModeButtonRed_data()
{
    addLookColumn();
    for (const Looks& look : kLooks)
        QTest::addRow("%s", look.name) << QString::fromLatin1(look.entry);
}

void TestOwnLook::activeModeButtonRed()
{
    QFETCH(QString, entry);
    TestApp app;
    auto w = startWithLook(app, entry);
    QVERIFY(lookInEffect(entry));
    w->menuEntry(QStringLiteral("N2"))->trigger();
    QMdiSubWindow* sub = w->mdiArea()->currentSubWindow();
    QVERIFY(sub && sub->objectName() == QStringLiteral("Tsz"));
    auto* pages = sub->findChild<QTabWidget*>(QStringLiteral("suiPageControl1"));
    pages->setCurrentWidget(sub->findChild<QWidget*>(QStringLiteral("suiTabSheet3")));
    auto* add = sub->findChild<QPushButton*>(QStringLiteral("suiButton3"));
    auto* change = sub->findChild<QPushButton*>(QStringLiteral("suiButton2"));
    QVERIFY(add->isVisible());
    QCOMPARE(redPixels(add), 0);
    QCOMPARE(redPixels(change), 0);

    QTest::mouseClick(add, Qt::LeftButton); // add mode
    QVERIFY2(redPixels(add) > 10, "增 加 is not drawn red in add mode");
    QCOMPARE(redPixels(change), 0);

    // A user found by the password lookup makes "修 改" available.
    sub->findChild<QComboBox*>(QStringLiteral("suiComboBox1"))
        ->setCurrentText(QStringLiteral("管理员"));
    auto* password = sub->findChild<QLineEdit*>(QStringLiteral("Edit5"));
    QTest::keyClicks(password, QStringLiteral("admin"));
    QTest::keyClick(password, Qt::Key_Return);
    QVERIFY(change->isEnabled());
    QTest::mouseClick(change, Qt::LeftButton); // change mode
    QVERIFY2(redPixels(change) > 10, "修 改 is not drawn red in change mode");
    QCOMPARE(redPixels(add), 0);
}

void TestOwnLook::previewTextFollowsZoom_data()
{
    addLookColumn();
    for (const Looks& look : kLooks)
        QTest::addRow("%s", look.name) << QString::fromLatin1(look.entry);
}

void TestOwnLook::previewTextFollowsZoom()
{
    QFETCH(QString, entry);
    TestApp app;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"), QStringLiteral("二室"),
                   QStringLiteral("南北"), 12, 88, 95);
    auto w = startWithLook(app, entry);
    QVERIFY(lookInEffect(entry));
    QMdiSubWindow* results = openWindow(*w, *windowCase(QStringLiteral("results")));
    QVERIFY(results);
    auto* grid = results->findChild<QTableView*>(QStringLiteral("RxDBGrid1"));
    const QPoint cell = grid->visualRect(grid->model()->index(0, 0)).center();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QTRY_VERIFY(topLevel(QStringLiteral("Ttx")));
    QWidget* preview = topLevel(QStringLiteral("Ttx"));
    auto* unit = preview->findChild<QLabel*>(QStringLiteral("Label4"));      // "万元"
    auto* floor = preview->findChild<QLineEdit*>(QStringLiteral("DBEdit4")); // "12"
    auto* down = preview->findChild<QToolButton*>(QStringLiteral("SpinButton1Down"));
    auto* up = preview->findChild<QToolButton*>(QStringLiteral("SpinButton1Up"));
    const int unitShown = inkHeight(unit);
    const int floorShown = inkHeight(floor);
    QVERIFY(unitShown > 0 && floorShown > 0);

    for (int i = 0; i < 4; ++i) // the down arrow enlarges
        QTest::mouseClick(down, Qt::LeftButton);
    const int unitLarge = inkHeight(unit);
    const int floorLarge = inkHeight(floor);
    QVERIFY2(unitLarge > unitShown,
             qPrintable(QStringLiteral("万元 %1 -> %2").arg(unitShown).arg(unitLarge)));
    QVERIFY2(floorLarge > floorShown,
             qPrintable(QStringLiteral("floor %1 -> %2").arg(floorShown).arg(floorLarge)));

    for (int i = 0; i < 8; ++i) // the up arrow shrinks
        QTest::mouseClick(up, Qt::LeftButton);
    const int unitSmall = inkHeight(unit);
    const int floorSmall = inkHeight(floor);
    QVERIFY2(unitSmall < unitShown,
             qPrintable(QStringLiteral("万元 %1 -> %2").arg(unitShown).arg(unitSmall)));
    QVERIFY2(floorSmall < floorShown,
             qPrintable(QStringLiteral("floor %1 -> %2").arg(floorShown).arg(floorSmall)));
    preview->close();
}

QTEST_MAIN(TestOwnLook)
#include "tst_ownlook.moc"
