// The Qt dialogs behind the dialog seam: the question box shows the buttons
// asked for, and its first button answers true.
#include "Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

using namespace lumo;

class TestDialogs : public QObject
{
    Q_OBJECT
private slots:
    void questionButtons_data();
    void questionButtons();
};

void TestDialogs::questionButtons_data()
{
    QTest::addColumn<Dialogs::Buttons>("buttons");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<bool>("answer");
    const int yesNo = QMessageBox::Yes | QMessageBox::No;
    const int okCancel = QMessageBox::Ok | QMessageBox::Cancel;
    QTest::addRow("yes") << Dialogs::Buttons::YesNo << yesNo << int(QMessageBox::Yes) << true;
    QTest::addRow("no") << Dialogs::Buttons::YesNo << yesNo << int(QMessageBox::No) << false;
    QTest::addRow("ok") << Dialogs::Buttons::OkCancel << okCancel << int(QMessageBox::Ok) << true;
    QTest::addRow("cancel") << Dialogs::Buttons::OkCancel << okCancel << int(QMessageBox::Cancel)
                            << false;
}

void TestDialogs::questionButtons()
{
    QFETCH(Dialogs::Buttons, buttons);
    QFETCH(int, shown);
    QFETCH(int, clicked);
    QFETCH(bool, answer);
    QtDialogs dialogs;
    int seen = -1;
    QString text;
    // The box is modal: look at it and answer it from the event loop.
    QTimer::singleShot(0, this, [&] {
        QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        seen = int(box->standardButtons());
        text = box->text();
        box->button(QMessageBox::StandardButton(clicked))->click();
    });
    QCOMPARE(dialogs.question(nullptr, QStringLiteral("删除当前记录吗?"), QString(), buttons),
             answer);
    QCOMPARE(seen, shown);
    QCOMPARE(text, QStringLiteral("删除当前记录吗?"));
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
