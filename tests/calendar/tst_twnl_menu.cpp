// "万年历" in the main window opens one more perpetual calendar each time.
#include "TestApp.h"
#include "Tmain.h"
#include "Twnl.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>

using lumo::Tmain;
using lumo::Twnl;
using lumo::test::TestApp;

class TestTwnlMenu : public QObject
{
    Q_OBJECT
private slots:
    void menuEntryOpensWindows();
};

void TestTwnlMenu::menuEntryOpensWindows()
{
    TestApp app;
    app.clock.current = QDateTime(QDate(2000, 1, 1), QTime(12, 0));
    Tmain w(*app.ctx);
    w.show();
    auto* entry = w.findChild<QAction*>(QStringLiteral("N3"));
    QVERIFY(entry);
    QCOMPARE(entry->text(), QStringLiteral("万年历"));
    QVERIFY(entry->isEnabled());

    entry->trigger();
    entry->trigger();
    const QList<Twnl*> windows = w.findChildren<Twnl*>();
    QCOMPARE(windows.size(), 2);
    for (Twnl* calendar : windows) {
        QVERIFY(calendar->isVisible());
        QVERIFY(calendar->isWindow());
        QVERIFY(calendar->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(calendar->FlatEdit1->text(), QStringLiteral("四柱: 己卯  丙子  戊午  戊午"));
    }
    windows.first()->close();
    QTRY_COMPARE(w.findChildren<Twnl*>().size(), 1);
}

QTEST_MAIN(TestTwnlMenu)
#include "tst_twnl_menu.moc"
