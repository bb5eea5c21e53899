// The program ends while every window is open: the working windows in the
// main window, the separate ones on top (business cards, owner details,
// photo preview, calendar). Closing the main window and freeing it must not
// touch anything already freed (run under the sanitizers to see it fail).
#include "TestApp.h"
#include "Tmain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace lumo;
using lumo::test::TestApp;

class TestExitWindows : public QObject
{
    Q_OBJECT
private slots:
    void everyWindowOpenWhenTheProgramEnds_data();
    void everyWindowOpenWhenTheProgramEnds();
};

void TestExitWindows::everyWindowOpenWhenTheProgramEnds_data()
{
    QTest::addColumn<bool>("closeFirst");
    QTest::addRow("main window closed, then freed") << true;
    QTest::addRow("main window freed at once") << false;
}

void TestExitWindows::everyWindowOpenWhenTheProgramEnds()
{
    QFETCH(bool, closeFirst);
    TestApp app;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("和平区"));
    auto* w = new Tmain(*app.ctx);
    w->show();
    w->findChild<QComboBox*>(QStringLiteral("suiComboBox1"))
        ->setCurrentText(QStringLiteral("管理员"));
    QTest::keyClicks(w->findChild<QLineEdit*>(QStringLiteral("suiEdit1")), QStringLiteral("admin"));
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("suiButton1")), Qt::LeftButton);

    // A search opens the results window and the owner entry.
    QTest::mouseClick(w->findChild<QToolButton*>(QStringLiteral("toolbutton4")), Qt::LeftButton);
    QVERIFY(w->mdiArea()->currentSubWindow());
    QList<QPointer<QWidget>> windows;
    const auto before = QApplication::topLevelWidgets();
    // Every entry that opens a window, each enabled as a permitted user
    // finds it (the working windows lock the others while open).
    for (QAction* entry : {w->N15, w->N10, w->N3, w->N30, w->N2, w->N6, w->N7}) {
        entry->setEnabled(true);
        entry->trigger();
    }
    w->openPhotoPreview();
    QApplication::processEvents();
    for (QWidget* t : QApplication::topLevelWidgets())
        if (!before.contains(t) && t->isVisible())
            windows << t;
    QStringList names;
    for (const QPointer<QWidget>& t : windows)
        names << t->objectName();
    for (const char* name : {"Tfz", "Tmp", "Twnl", "Ttx"})
        QVERIFY2(names.contains(QLatin1String(name)), qPrintable(names.join(QLatin1Char(' '))));
    QVERIFY(w->mdiArea()->subWindowList().size() >= 4);

    if (closeFirst) {
        w->close();
        QApplication::processEvents();
    }
    delete w;
    QApplication::processEvents();
    for (const QPointer<QWidget>& t : windows)
        QVERIFY(t.isNull());
}

QTEST_MAIN(TestExitWindows)
#include "tst_exitwindows.moc"
