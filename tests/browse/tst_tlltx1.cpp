#include "Dataset.h"
#include "FakeMainFrame.h"
#include "PricePerMetre.h"
#include "TestApp.h"
#include "Tlltx1.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <QtTest>

using namespace lumo;

namespace
{

QString makePicture(test::TestApp& app, const QString& name, Qt::GlobalColor color)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(color);
    const QString file = app.path(name);
    image.save(file);
    return file;
}

Tlltx1* openBrowser(test::TestApp& app, test::FakeMainFrame& frame)
{
    frame.show();
    auto* form = new Tlltx1(*app.ctx, frame);
    frame.showChild(form);
    return form;
}

} // namespace

class TestTlltx1 : public QObject
{
    Q_OBJECT
private slots:
    void pricePerSquareMetre_data();
    void pricePerSquareMetre();
    void initialFilterRunsTheSearchStatement();
    void filterOfTheMainWindowDecidesTheRows();
    void stepsShowLastTwiceThenFirst();
    void emptyAndSingleResults();
    void mouseOverPanelPausesAndPictureResumes();
    void photosFollowTheRecord();
    void typingChangesNothingAndClickCloses();
    void smallScreenScalesContents();
};

void TestTlltx1::pricePerSquareMetre_data()
{
    QTest::addColumn<QVariant>("price");
    QTest::addColumn<QVariant>("area");
    QTest::addColumn<QString>("expected");
    QTest::addRow("100 / 120") << QVariant(100.0) << QVariant(120.0) << QStringLiteral("8333");
    QTest::addRow("50 / 80") << QVariant(50.0) << QVariant(80.0) << QStringLiteral("6250");
    QTest::addRow("cut, not rounded")
        << QVariant(99.99) << QVariant(33.3) << QStringLiteral("30027");
    QTest::addRow("price 0") << QVariant(0.0) << QVariant(120.0) << QStringLiteral("0");
    QTest::addRow("price empty") << QVariant() << QVariant(120.0) << QStringLiteral("0");
    QTest::addRow("price negative") << QVariant(-5.0) << QVariant(10.0) << QStringLiteral("0");
    QTest::addRow("area 0") << QVariant(100.0) << QVariant(0.0) << QStringLiteral("0");
    QTest::addRow("area empty") << QVariant(100.0) << QVariant() << QStringLiteral("0");
    QTest::addRow("large") << QVariant(50000.0) << QVariant(0.5) << QStringLiteral("1000000000");
}

void TestTlltx1::pricePerSquareMetre()
{
    QFETCH(QVariant, price);
    QFETCH(QVariant, area);
    QFETCH(QString, expected);
    QCOMPARE(lumo::pricePerSquareMetre(price, area), expected);
}

void TestTlltx1::initialFilterRunsTheSearchStatement()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    app.addListing(2, QStringLiteral("卖"), QStringLiteral("东区"), QStringLiteral("二室"),
                   QStringLiteral("南北"), 3, 120, 100);
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("西区"));
    app.addListing(3, QStringLiteral("租"), QStringLiteral("西区"));
    Tlltx1* form = openBrowser(app, frame);
    QCOMPARE(form->windowTitle(), QStringLiteral("信息浏览"));
    QCOMPARE(app.sj->ADOQuery1->sql(),
             (QStringList{QStringLiteral("select * from fcxx where sb='卖'"),
                          QStringLiteral("and 楼层 between 0 and 999"),
                          QStringLiteral("and 面积 between 0 and 99999"),
                          QStringLiteral("and 序号 between 1 and 2999999"),
                          QStringLiteral("ORDER BY 序号")}));
    QVERIFY(app.sj->ADOQuery1->active());
    QCOMPARE(form->DBMemo2->toPlainText(), QStringLiteral("地址1"));
    QCOMPARE(form->Edit1->text(), QStringLiteral("6250"));
    QVERIFY(form->Timer1->isActive());
    QCOMPARE(form->Timer1->interval(), 5000);
    form->Timer1Timer();
    QCOMPARE(form->DBMemo2->toPlainText(), QStringLiteral("地址2"));
    QCOMPARE(form->DBEdit2->text(), QStringLiteral("二室"));
    QCOMPARE(form->DBEdit7->text(), QStringLiteral("120"));
    QCOMPARE(form->DBEdit8->text(), QStringLiteral("100"));
    QCOMPARE(form->Edit1->text(), QStringLiteral("8333"));
}

void TestTlltx1::filterOfTheMainWindowDecidesTheRows()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    app.addListing(1, QStringLiteral("租"), QStringLiteral("东区"), QStringLiteral("二室"),
                   QStringLiteral("南北"), 2);
    app.addListing(2, QStringLiteral("租"), QStringLiteral("东区"), QStringLiteral("二室"),
                   QStringLiteral("南北"), 6);
    app.addListing(3, QStringLiteral("租"), QStringLiteral("西区"), QStringLiteral("二室"),
                   QStringLiteral("南北"), 7);
    frame.filter.saleRentCaption = QStringLiteral("租房");
    frame.filter.districtValues = QStringLiteral("东区");
    frame.filter.floorLow = QStringLiteral("5");
    frame.filter.floorHigh = QStringLiteral("3");
    Tlltx1* form = openBrowser(app, frame);
    QVERIFY(app.sj->ADOQuery1->sql().contains(QStringLiteral("and 楼层 between 5 and 999")));
    QCOMPARE(app.sj->ADOQuery1->recordCount(), 1);
    QCOMPARE(form->DBMemo2->toPlainText(), QStringLiteral("地址2"));
    // Later changes of the filter do not touch an open browser.
    frame.filter.districtValues = QStringLiteral("西区");
    form->Timer1Timer();
    form->Timer1Timer();
    QCOMPARE(form->DBMemo2->toPlainText(), QStringLiteral("地址2"));
}

void TestTlltx1::stepsShowLastTwiceThenFirst()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    for (int i = 1; i <= 3; ++i)
        app.addListing(i, QStringLiteral("卖"), QStringLiteral("东区"));
    Tlltx1* form = openBrowser(app, frame);
    QStringList seen{form->DBMemo2->toPlainText()};
    for (int i = 0; i < 5; ++i) {
        form->Timer1Timer();
        seen << form->DBMemo2->toPlainText();
    }
    QCOMPARE(seen, (QStringList{QStringLiteral("地址1"), QStringLiteral("地址2"),
                                QStringLiteral("地址3"), QStringLiteral("地址3"),
                                QStringLiteral("地址1"), QStringLiteral("地址2")}));
}

void TestTlltx1::emptyAndSingleResults()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    Tlltx1* form = openBrowser(app, frame);
    QCOMPARE(form->Edit1->text(), QStringLiteral("0"));
    QCOMPARE(form->DBMemo2->toPlainText(), QString());
    form->Timer1Timer();
    form->Timer1Timer();
    QCOMPARE(form->Edit1->text(), QStringLiteral("0"));
    QVERIFY(app.dialogs.messages.isEmpty());
    form->close();

    app.addListing(7, QStringLiteral("卖"), QStringLiteral("东区"), QStringLiteral("二室"),
                   QStringLiteral("南北"), 3, 0, 100);
    Tlltx1* single = openBrowser(app, frame);
    // Area 0: no division by zero.
    QCOMPARE(single->Edit1->text(), QStringLiteral("0"));
    for (int i = 0; i < 3; ++i) {
        single->Timer1Timer();
        QCOMPARE(single->DBMemo2->toPlainText(), QStringLiteral("地址7"));
    }
}

void TestTlltx1::mouseOverPanelPausesAndPictureResumes()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("东区"));
    Tlltx1* form = openBrowser(app, frame);
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY(form->Timer1->isActive());

    QTest::mouseMove(form->Panel1, QPoint(5, 5));
    QTRY_VERIFY(!form->Timer1->isActive());
    QVERIFY(frame.hideCheckListsCount > 0);
    const int hidden = frame.hideCheckListsCount;

    QTest::mouseMove(form->Image1, QPoint(20, 20));
    QTRY_VERIFY(form->Timer1->isActive());
    QVERIFY(frame.hideCheckListsCount > hidden);
}

void TestTlltx1::photosFollowTheRecord()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    for (int i = 1; i <= 4; ++i)
        app.addListing(i, QStringLiteral("卖"), QStringLiteral("东区"));
    const QString red = makePicture(app, QStringLiteral("red.png"), Qt::red);
    const QString blue = makePicture(app, QStringLiteral("blue.png"), Qt::blue);
    app.exec(QStringLiteral("UPDATE fcxx SET 相片='%1' WHERE 序号=1").arg(red));
    app.exec(QStringLiteral("UPDATE fcxx SET 相片='%1' WHERE 序号=3")
                 .arg(app.path(QStringLiteral("missing.png"))));
    app.exec(QStringLiteral("UPDATE fcxx SET 相片='%1' WHERE 序号=4").arg(blue));
    Tlltx1* form = openBrowser(app, frame);

    QVERIFY(form->Image1->hasPicture());
    QCOMPARE(form->Image1->picture().toImage().pixelColor(0, 0), QColor(Qt::red));
    QVERIFY(!form->Label16->isVisibleTo(form));
    QCOMPARE(form->Label16->text(), QStringLiteral("无 房 型"));

    form->Timer1Timer(); // no photo path: the red photo goes
    QVERIFY(!form->Image1->hasPicture());
    QVERIFY(form->Label16->isVisibleTo(form));
    form->Timer1Timer(); // a file that is not there
    QVERIFY(!form->Image1->hasPicture());
    QVERIFY(form->Label16->isVisibleTo(form));
    form->Timer1Timer();
    QCOMPARE(form->Image1->picture().toImage().pixelColor(0, 0), QColor(Qt::blue));
    QVERIFY(app.dialogs.messages.isEmpty());
}

void TestTlltx1::typingChangesNothingAndClickCloses()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("东区"));
    QPointer<Tlltx1> form = openBrowser(app, frame);
    QTest::keyClicks(form->DBEdit2, QStringLiteral("x1"));
    QTest::keyClicks(form->DBMemo1, QStringLiteral("abc"));
    QCOMPARE(form->DBEdit2->text(), QStringLiteral("二室"));
    QCOMPARE(form->DBMemo1->toPlainText(), QStringLiteral("备注"));
    QCOMPARE(app.scalar(QStringLiteral("SELECT 户型 FROM fcxx WHERE 序号=1")).toString(),
             QStringLiteral("二室"));

    QTest::mouseClick(form->Image1, Qt::LeftButton);
    QTRY_VERIFY(form.isNull());
    // The query stays open on the browser's statement.
    QVERIFY(app.sj->ADOQuery1->active());
}

void TestTlltx1::smallScreenScalesContents()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    app.screen.h = 600;
    Tlltx1* form = openBrowser(app, frame);
    QCOMPARE(form->Panel1->width(), 200); // 257 × 78 / 100
    QCOMPARE(form->Label16->font().pixelSize(), 59);
}

QTEST_MAIN(TestTlltx1)
#include "tst_tlltx1.moc"
