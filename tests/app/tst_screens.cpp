// Every window on the screens agencies have: 800 by 600 up to 1920 by 1080,
// and desktops whose panels leave the frame less than the whole screen.
// Each window is opened through the main window's menus; every control it
// names must be shown, lie wholly inside the visible window and be the
// widget a click at its centre reaches.
#include "ElidedLabel.h"
#include "FilterBar.h"
#include "StatusPanels.h"
#include "TestApp.h"
#include "Tmain.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace lumo;
using lumo::test::TestApp;

namespace
{

// Screen sizes, the room the desktop's panels take, and the stored look
// ("jm": empty for the initial winxpblue, "2" mosphere, "4" plain).
void addDesks()
{
    QTest::addColumn<int>("screenWidth");
    QTest::addColumn<int>("screenHeight");
    QTest::addColumn<QMargins>("panels");
    QTest::addColumn<QString>("look");
    QTest::addRow("800x600") << 800 << 600 << QMargins() << QString();
    QTest::addRow("1024x768") << 1024 << 768 << QMargins() << QString();
    QTest::addRow("1366x768") << 1366 << 768 << QMargins() << QString();
    QTest::addRow("1920x1080") << 1920 << 1080 << QMargins() << QString();
    // A dock at the left and a panel at the top or bottom.
    QTest::addRow("800x600 dock") << 800 << 600 << QMargins(48, 24, 0, 0) << QString();
    QTest::addRow("1024x768 dock") << 1024 << 768 << QMargins(64, 0, 0, 32) << QString();
    QTest::addRow("800x600 mosphere") << 800 << 600 << QMargins() << QStringLiteral("2");
    QTest::addRow("800x600 plain") << 800 << 600 << QMargins() << QStringLiteral("4");
    QTest::addRow("1024x768 plain") << 1024 << 768 << QMargins() << QStringLiteral("4");
}

QRect globalRect(const QWidget* w)
{
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

// The part of `w` that is not cut away by the windows it stands in.
QRect visiblePart(const QWidget* w)
{
    QRect r = globalRect(w);
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        r &= globalRect(p);
        if (p->isWindow())
            break;
    }
    return r;
}

bool isAncestor(const QWidget* a, const QWidget* b)
{
    for (const QWidget* p = b->parentWidget(); p; p = p->parentWidget())
        if (p == a)
            return true;
    return false;
}

QString describe(const QWidget* w)
{
    const QRect r = globalRect(w);
    return QStringLiteral("%1 at %2,%3 %4x%5")
        .arg(w->objectName())
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height());
}

// Every control named is shown, wholly visible, reached by a click at its
// centre and clear of the other controls named; the window itself lies in
// the screen's available area.
void checkControls(QWidget* window, const QStringList& names, const QRect& available)
{
    QWidget* top = window->window();
    QVERIFY2(available.contains(top->frameGeometry()),
             qPrintable(QStringLiteral("%1: frame %2,%3 %4x%5 outside the available area")
                            .arg(top->objectName())
                            .arg(top->frameGeometry().x())
                            .arg(top->frameGeometry().y())
                            .arg(top->frameGeometry().width())
                            .arg(top->frameGeometry().height())));
    QList<QWidget*> controls;
    for (const QString& name : names) {
        QWidget* c = window->findChild<QWidget*>(name);
        if (!c && window->objectName() == name)
            c = window;
        QVERIFY2(c, qPrintable(QStringLiteral("no control ") + name));
        QVERIFY2(c->isVisible(), qPrintable(name + QStringLiteral(" is not shown")));
        QVERIFY2(c->width() > 4 && c->height() > 4, qPrintable(describe(c)));
        QVERIFY2(visiblePart(c) == globalRect(c),
                 qPrintable(describe(c) + QStringLiteral(" is cut off")));
        // A button's caption fits inside its frame.
        if (auto* b = qobject_cast<QPushButton*>(c)) {
            const int frame = b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
            const int caption = b->fontMetrics().horizontalAdvance(b->text());
            QVERIFY2(b->width() - 2 * frame - 4 >= caption,
                     qPrintable(describe(c) + QStringLiteral(" cuts its caption ") + b->text()));
        }
        const QPoint centre = top->mapFromGlobal(globalRect(c).center());
        QWidget* hit = top->childAt(centre);
        QVERIFY2(hit == c || isAncestor(c, hit),
                 qPrintable(describe(c) + QStringLiteral(" is covered by ") +
                            (hit ? describe(hit) : QStringLiteral("nothing"))));
        controls << c;
    }
    for (int i = 0; i < controls.size(); ++i)
        for (int k = i + 1; k < controls.size(); ++k) {
            QWidget* a = controls[i];
            QWidget* b = controls[k];
            if (isAncestor(a, b) || isAncestor(b, a))
                continue;
            QVERIFY2(!globalRect(a).intersects(globalRect(b)),
                     qPrintable(describe(a) + QStringLiteral(" overlaps ") + describe(b)));
        }
}

// Every control of a window of another subsystem, found by kind, is shown
// wholly and reached by a click at its centre.
void checkAllControls(QWidget* window, const QRect& available)
{
    QStringList names;
    for (QWidget* c : window->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c) ||
                             qobject_cast<QComboBox*>(c) || qobject_cast<QAbstractSpinBox*>(c) ||
                             qobject_cast<QAbstractItemView*>(c) || qobject_cast<QTabBar*>(c);
        if (!control || !c->isVisible() || c->objectName().isEmpty() ||
            c->objectName().startsWith(QStringLiteral("qt_")) || names.contains(c->objectName()))
            continue;
        // Parts of compound controls and cells' editors belong to them.
        bool inner = false;
        for (QWidget* p = c->parentWidget(); p && p != window; p = p->parentWidget())
            if (qobject_cast<QAbstractScrollArea*>(p) || qobject_cast<QAbstractSpinBox*>(p) ||
                qobject_cast<QComboBox*>(p))
                inner = true;
        if (!inner)
            names << c->objectName();
    }
    QVERIFY2(!names.isEmpty(), qPrintable(window->objectName()));
    QWidget* top = window->window();
    QVERIFY2(available.contains(top->frameGeometry()),
             qPrintable(top->objectName() + QStringLiteral(" outside the available area")));
    for (const QString& name : names) {
        QWidget* c = window->findChild<QWidget*>(name);
        QVERIFY2(visiblePart(c) == globalRect(c),
                 qPrintable(describe(c) + QStringLiteral(" is cut off")));
        QWidget* hit = top->childAt(top->mapFromGlobal(globalRect(c).center()));
        QVERIFY2(hit == c || isAncestor(c, hit),
                 qPrintable(describe(c) + QStringLiteral(" is covered by ") +
                            (hit ? describe(hit) : QStringLiteral("nothing"))));
    }
}

QWidget* shownTopLevel(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

void login(Tmain& w)
{
    w.findChild<QComboBox*>(QStringLiteral("suiComboBox1"))
        ->setCurrentText(QStringLiteral("管理员"));
    QTest::keyClicks(w.findChild<QLineEdit*>(QStringLiteral("suiEdit1")), QStringLiteral("admin"));
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("suiButton1")), Qt::LeftButton);
}

struct Desktop {
    TestApp app;
    std::unique_ptr<Tmain> w;

    Desktop(int width, int height, const QMargins& panels, const QString& look = QString())
    {
        app.store.WriteAppValue(QStringLiteral("jm"), look);
        app.screen.w = width;
        app.screen.h = height;
        app.screen.panels = panels;
        app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
        app.addListing(2, QStringLiteral("卖"), QStringLiteral("沈河区"));
        w = std::make_unique<Tmain>(*app.ctx);
        app.screen.showMaximized(w.get());
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        // The mouse rests on the frame's background, away from the filter
        // bar, whatever an earlier test left under it.
        QWidget* background = w->mdiArea()->viewport();
        QTest::mouseMove(background, QPoint(5, background->height() - 5));
    }
    QRect available() const { return app.screen.availableGeometry(); }
    // Lets the layouts settle after a window opened or the frame changed.
    void settle() { QTest::qWait(20); }
    QMdiSubWindow* child() const { return w->mdiArea()->currentSubWindow(); }
};

const QStringList kBar = {
    QStringLiteral("FlatButton1"),
    QStringLiteral("Button1"),
    QStringLiteral("ToolButton1"),
    QStringLiteral("FlatSpinEditInteger1"),
    QStringLiteral("FlatSpinEditInteger2"),
    QStringLiteral("ToolButton2"),
    QStringLiteral("FlatEdit1"),
    QStringLiteral("FlatEdit2"),
    QStringLiteral("FlatEdit3"),
    QStringLiteral("ToolButton3"),
    QStringLiteral("FlatComboBox1"),
    QStringLiteral("FlatComboBox2"),
    QStringLiteral("ToolButton6"),
    QStringLiteral("suiButton4"),
    QStringLiteral("FlatComboBox3"),
    QStringLiteral("FlatComboBox4"),
    QStringLiteral("ToolButton5"),
    QStringLiteral("toolbutton4"),
    QStringLiteral("suiButton2"),
};

} // namespace

class TestScreens : public QObject
{
    Q_OBJECT
private slots:
    void loginPanel_data() { addDesks(); }
    void loginPanel();
    void mainWindow_data() { addDesks(); }
    void mainWindow();
    void entryForm_data() { addDesks(); }
    void entryForm();
    void resultsWindow_data() { addDesks(); }
    void resultsWindow();
    void deletionWindow_data() { addDesks(); }
    void deletionWindow();
    void otherWindows_data();
    void otherWindows();
    void refreshAfterSearchResetsFilter();
};

void TestScreens::loginPanel()
{
    QFETCH(int, screenWidth);
    QFETCH(int, screenHeight);
    QFETCH(QMargins, panels);
    QFETCH(QString, look);
    Desktop d(screenWidth, screenHeight, panels, look);
    d.settle();
    checkControls(d.w.get(),
                  {QStringLiteral("suiImagePanel1"), QStringLiteral("StatusPanel0"),
                   QStringLiteral("StatusPanel1"), QStringLiteral("StatusPanel2")},
                  d.available());
    checkControls(d.w->suiImagePanel1,
                  {QStringLiteral("suiComboBox1"), QStringLiteral("suiEdit1"),
                   QStringLiteral("suiEdit2"), QStringLiteral("suiButton1"),
                   QStringLiteral("suiButton3")},
                  d.available());
    // Centred across the window.
    const int left = d.w->suiImagePanel1->mapTo(d.w.get(), QPoint(0, 0)).x();
    QVERIFY(qAbs(left - (d.w->width() - d.w->suiImagePanel1->width()) / 2) <= 1);
}

void TestScreens::mainWindow()
{
    QFETCH(int, screenWidth);
    QFETCH(int, screenHeight);
    QFETCH(QMargins, panels);
    QFETCH(QString, look);
    Desktop d(screenWidth, screenHeight, panels, look);
    login(*d.w);
    d.settle();
    // Maximised: the frame fills the available area.
    QCOMPARE(d.w->frameGeometry(), d.available());
    QStringList names = kBar;
    names << QStringLiteral("StatusPanel0") << QStringLiteral("StatusPanel1")
          << QStringLiteral("StatusPanel2") << QStringLiteral("bsSkinMainMenuBar1");
    checkControls(d.w.get(), names, d.available());

    // One row where it fits, else two; the bar is as high as its rows.
    FilterBar* bar = d.w->filterBar();
    const int rowHeight = bar->FlatComboBox1->height();
    const int rows = bar->twoRows() ? 2 : 1;
    QCOMPARE(globalRect(bar->FlatEdit1).top() > globalRect(bar->FlatButton1).bottom(),
             bar->twoRows());
    QVERIFY2(bar->height() <= rows * rowHeight + 24,
             qPrintable(QStringLiteral("bar %1 high for %2 rows").arg(bar->height()).arg(rows)));
    if (d.w->width() >= 1200)
        QVERIFY(!bar->twoRows());

    // Locked, with "关闭项目" at the right end of the bar.
    d.w->LockMenus();
    d.settle();
    names << QStringLiteral("SpeedButton1");
    checkControls(d.w.get(), names, d.available());
    const QRect close = globalRect(d.w->SpeedButton1);
    QVERIFY(close.width() <= 32 && close.height() <= 32);
    QVERIFY(globalRect(d.w->suiToolBar1).right() - close.right() <= 8);

    // Each floating check list drops below its box and leaves the search
    // buttons free, in one row or two.
    for (QWidget* box :
         {static_cast<QWidget*>(bar->FlatEdit1), static_cast<QWidget*>(bar->FlatEdit2),
          static_cast<QWidget*>(bar->FlatEdit3)}) {
        QTest::mouseMove(box);
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(box, &enter);
        QWidget* list = nullptr;
        for (QWidget* l : {static_cast<QWidget*>(bar->FlatCheckListBox1),
                           static_cast<QWidget*>(bar->FlatCheckListBox2),
                           static_cast<QWidget*>(bar->FlatCheckListBox3)})
            if (l->isVisible())
                list = l;
        QVERIFY(list);
        QCOMPARE(globalRect(list).left(), globalRect(box).left());
        QVERIFY(globalRect(list).top() >= globalRect(box).bottom());
        for (QWidget* button :
             {static_cast<QWidget*>(bar->toolbutton4), static_cast<QWidget*>(bar->suiButton2),
              static_cast<QWidget*>(d.w->SpeedButton1)})
            QVERIFY2(!globalRect(list).intersects(globalRect(button)),
                     qPrintable(describe(list) + QStringLiteral(" covers ") + describe(button)));
    }
    // The mouse over the frame's background hides them again.
    QWidget* background = d.w->mdiArea()->viewport();
    QTest::mouseMove(background, background->rect().center());
    for (QWidget* l : {static_cast<QWidget*>(bar->FlatCheckListBox1),
                       static_cast<QWidget*>(bar->FlatCheckListBox2),
                       static_cast<QWidget*>(bar->FlatCheckListBox3)})
        QTRY_VERIFY(!l->isVisible());

    // A hint longer than its panel is cut with an ellipsis, the panel keeps
    // its width.
    const QString longHint = QStringLiteral("客户的需要就是我们的需要！请在此输入更多的查询条件");
    QStatusTipEvent tip(longHint);
    QApplication::sendEvent(d.w.get(), &tip);
    QCOMPARE(d.w->StatusPanel0->text(), longHint);
    const QString shown = static_cast<ElidedLabel*>(d.w->StatusPanel0)->shownText();
    QVERIFY2(shown.endsWith(QChar(0x2026)) && shown.size() < longHint.size(), qPrintable(shown));

    // The status panels take their own widths where they fit; otherwise the
    // notice gives way, eliding its text.
    const int hint = screenWidth > 800 ? 180 : 155;
    const int room = d.w->statusPanels()->width();
    QCOMPARE(d.w->StatusPanel2->width(), 100);
    QCOMPARE(d.w->StatusPanel0->width(), hint);
    if (room >= hint + 765 + 100 + 4) {
        QCOMPARE(d.w->StatusPanel1->width(), 765);
    } else {
        QVERIFY(d.w->StatusPanel1->width() < 765);
        QVERIFY(d.w->StatusPanel2->geometry().right() < room);
    }
}

void TestScreens::entryForm()
{
    QFETCH(int, screenWidth);
    QFETCH(int, screenHeight);
    QFETCH(QMargins, panels);
    QFETCH(QString, look);
    Desktop d(screenWidth, screenHeight, panels, look);
    login(*d.w);
    d.w->N6->trigger();
    d.settle();
    QMdiSubWindow* form = d.child();
    QVERIFY(form);
    QCOMPARE(form->objectName(), QStringLiteral("Tlrxx"));
    checkControls(form, {QStringLiteral("suiButton2"),    QStringLiteral("ComboBox4"),
                         QStringLiteral("suiButton11"),   QStringLiteral("FlatComboBox3"),
                         QStringLiteral("Edit8"),         QStringLiteral("suiButton5"),
                         QStringLiteral("Edit1"),         QStringLiteral("suiButton4"),
                         QStringLiteral("FlatComboBox4"), QStringLiteral("suiButton6"),
                         QStringLiteral("FlatComboBox2"), QStringLiteral("BitBtn1"),
                         QStringLiteral("SpinEdit1"),     QStringLiteral("suiButton9"),
                         QStringLiteral("Edit3"),         QStringLiteral("suiButton8"),
                         QStringLiteral("SpinEdit3"),     QStringLiteral("bitbtn8"),
                         QStringLiteral("FlatComboBox1"), QStringLiteral("suiButton10"),
                         QStringLiteral("Edit6"),         QStringLiteral("suiButton3"),
                         QStringLiteral("Edit5"),         QStringLiteral("suiButton12"),
                         QStringLiteral("Edit4"),         QStringLiteral("suiButton1"),
                         QStringLiteral("edit2"),         QStringLiteral("Label1"),
                         QStringLiteral("DBGrid1"),       QStringLiteral("Button3"),
                         QStringLiteral("suiButton7"),    QStringLiteral("Button1"),
                         QStringLiteral("suiButton15")},
                  d.available());
    // Wider than 800 pixels the form scales its controls by 125/100: the
    // picture, the remarks box and, with its font, the address box.
    const bool wide = screenWidth > 800;
    auto* picture = form->findChild<QWidget*>(QStringLiteral("Label1"));
    QCOMPARE(picture->size(), wide ? QSize(351, 295) : QSize(281, 236));
    QCOMPARE(form->findChild<QWidget*>(QStringLiteral("edit2"))->height(), wide ? 51 : 41);
    auto* address = form->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    const int textHeight = address->fontMetrics().height();
    const int plainHeight = d.w->suiEdit1->fontMetrics().height();
    QVERIFY2(wide ? textHeight > plainHeight : textHeight == plainHeight,
             qPrintable(QStringLiteral("%1 / %2").arg(textHeight).arg(plainHeight)));
}

void TestScreens::resultsWindow()
{
    QFETCH(int, screenWidth);
    QFETCH(int, screenHeight);
    QFETCH(QMargins, panels);
    QFETCH(QString, look);
    Desktop d(screenWidth, screenHeight, panels, look);
    login(*d.w);
    QTest::mouseClick(d.w->filterBar()->toolbutton4, Qt::LeftButton);
    d.settle();
    QMdiSubWindow* results = d.child();
    QVERIFY(results);
    QCOMPARE(results->objectName(), QStringLiteral("Tcxxs"));
    checkControls(results,
                  {QStringLiteral("RxDBGrid1"), QStringLiteral("RxDBGrid2"),
                   QStringLiteral("bsSkinSpeedButton3"), QStringLiteral("bsSkinSpeedButton2"),
                   QStringLiteral("bsSkinSpeedButton1"), QStringLiteral("bsSkinSpeedButton4")},
                  d.available());
    // Wider than 800 pixels the window scales its controls by 120/100.
    const bool wide = screenWidth > 800;
    auto* button = results->findChild<QWidget*>(QStringLiteral("bsSkinSpeedButton3"));
    QCOMPARE(button->height(), wide ? 34 : 28);
    // The titles' text, 13 pixels high, grows with the window.
    auto* grid = results->findChild<QTableView*>(QStringLiteral("RxDBGrid1"));
    QCOMPARE(grid->horizontalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("序号")),
             2 * (wide ? 16 : 13));
    // The filter bar stays usable above the results, "关闭项目" included.
    checkControls(d.w.get(), QStringList(kBar) << QStringLiteral("SpeedButton1"), d.available());
}

void TestScreens::deletionWindow()
{
    QFETCH(int, screenWidth);
    QFETCH(int, screenHeight);
    QFETCH(QMargins, panels);
    QFETCH(QString, look);
    Desktop d(screenWidth, screenHeight, panels, look);
    login(*d.w);
    d.w->N7->trigger();
    d.settle();
    QMdiSubWindow* form = d.child();
    QVERIFY(form);
    QCOMPARE(form->objectName(), QStringLiteral("Tscjl"));
    checkControls(form,
                  {QStringLiteral("DBGrid1"), QStringLiteral("StaticText1"),
                   QStringLiteral("DateTimePicker1"), QStringLiteral("DateTimePicker2"),
                   QStringLiteral("suiButton1"), QStringLiteral("suiButton2"),
                   QStringLiteral("suiButton3")},
                  d.available());
}

void TestScreens::otherWindows_data()
{
    QTest::addColumn<int>("screenWidth");
    QTest::addColumn<int>("screenHeight");
    QTest::addColumn<QMargins>("panels");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("window");
    const struct {
        const char* label;
        int w, h;
        QMargins panels;
    } desks[] = {{"800x600", 800, 600, {}},
                 {"1024x768", 1024, 768, {}},
                 {"1366x768", 1366, 768, {}},
                 {"1920x1080", 1920, 1080, {}},
                 {"800x600 dock", 800, 600, QMargins(48, 24, 0, 0)}};
    const struct {
        const char* entry;
        const char* window;
    } windows[] = {{"N2", "Tsz"},  {"N30", "Tlltx1"}, {"N10", "Tmp"},
                   {"N3", "Twnl"}, {"N15", "Tfz"},    {"preview", "Ttx"}};
    for (const auto& d : desks)
        for (const auto& w : windows)
            QTest::addRow("%s %s", d.label, w.window)
                << d.w << d.h << d.panels << QString::fromLatin1(w.entry)
                << QString::fromLatin1(w.window);
}

// The windows of the other subsystems, opened from their menu entries (the
// owner details and the photo preview after a search).
void TestScreens::otherWindows()
{
    QFETCH(int, screenWidth);
    QFETCH(int, screenHeight);
    QFETCH(QMargins, panels);
    QFETCH(QString, entry);
    QFETCH(QString, window);
    Desktop d(screenWidth, screenHeight, panels);
    login(*d.w);
    if (entry == QStringLiteral("N15") || entry == QStringLiteral("preview")) {
        QTest::mouseClick(d.w->filterBar()->toolbutton4, Qt::LeftButton);
        d.settle();
    }
    if (entry == QStringLiteral("preview")) {
        auto* grid = d.child()->findChild<QTableView*>(QStringLiteral("RxDBGrid1"));
        const QModelIndex first = grid->model()->index(0, 0);
        grid->setCurrentIndex(first);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                           grid->visualRect(first).center());
    } else {
        QAction* a = d.w->menuEntry(entry);
        QVERIFY(a && a->isEnabled());
        a->trigger();
    }
    d.settle();
    QWidget* shown = shownTopLevel(window);
    if (!shown && d.child() && d.child()->objectName() == window)
        shown = d.child();
    QVERIFY2(shown, qPrintable(window + QStringLiteral(" did not open")));
    QVERIFY(QTest::qWaitForWindowExposed(shown->window()));
    d.settle();
    checkAllControls(shown, d.available());
    if (shown->isWindow()) {
        shown->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// With the results of a search open on a 1024-pixel screen, a click on
// "刷新" resets the filter and leaves the results window open.
void TestScreens::refreshAfterSearchResetsFilter()
{
    Desktop d(1024, 768, QMargins());
    login(*d.w);
    FilterBar* bar = d.w->filterBar();
    bar->FlatComboBox1->setCurrentText(QStringLiteral("5"));
    bar->FlatSpinEditInteger2->setValue(9);
    QTest::mouseClick(bar->toolbutton4, Qt::LeftButton);
    d.settle();
    QVERIFY(d.w->SpeedButton1->isVisible());
    QCOMPARE(d.w->mdiArea()->subWindowList().size(), 1);
    // Clicked where the user sees it: at the centre of the button.
    const QPoint centre = d.w->mapFromGlobal(globalRect(bar->suiButton2).center());
    QWidget* hit = d.w->childAt(centre);
    QCOMPARE(hit, bar->suiButton2);
    QTest::mouseClick(hit, Qt::LeftButton);
    QCOMPARE(bar->FlatComboBox1->currentText(), QStringLiteral("0"));
    QCOMPARE(bar->FlatSpinEditInteger2->value(), 1);
    QCOMPARE(d.w->mdiArea()->subWindowList().size(), 1);
    QCOMPARE(d.child()->objectName(), QStringLiteral("Tcxxs"));
}

QTEST_MAIN(TestScreens)
#include "tst_screens.moc"
