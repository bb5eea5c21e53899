#include "Dataset.h"
#include "FakeMainFrame.h"
#include "TestApp.h"
#include "Ttx.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QToolButton>
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

void search(test::TestApp& app)
{
    Dataset* q = app.sj->ADOQuery1;
    q->close();
    q->setSql(
        {QStringLiteral("select * from fcxx where sb='卖'"), QStringLiteral("ORDER BY 序号")});
    q->open();
}

QColor shownColor(const Ttx& w)
{
    return w.Image1->pixmap().toImage().pixelColor(0, 0);
}

void activate(Ttx& w)
{
    QEvent e(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &e);
}

} // namespace

class TestTtx : public QObject
{
    Q_OBJECT
private slots:
    void showsCurrentRowAndPhoto();
    void zoomLimits_data();
    void zoomLimits();
    void photoFollowsOnActivation();
    void closesWhenQueryClosed();
    void remarkCannotBeTypedAndClickCloses();
};

void TestTtx::showsCurrentRowAndPhoto()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("东区"), QStringLiteral("三室"),
                   QStringLiteral("东西"), 6, 95, 120);
    app.exec(QStringLiteral("UPDATE fcxx SET 相片='%1' WHERE 序号=1")
                 .arg(makePicture(app, QStringLiteral("a.png"), Qt::green)));
    search(app);
    auto* w = new Ttx(*app.ctx, frame, &frame);
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("图形预览"));
    QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(w->size(), QSize(536, 542));
    QCOMPARE(w->Image1->geometry(), QRect(0, 0, 536, 421));
    QCOMPARE(w->DBEdit9->text(), QStringLiteral("地址1"));
    QCOMPARE(w->DBEdit2->text(), QStringLiteral("三室"));
    QCOMPARE(w->DBEdit4->text(), QStringLiteral("6"));
    QCOMPARE(w->DBEdit7->text(), QStringLiteral("95"));
    QCOMPARE(w->DBEdit8->text(), QStringLiteral("120"));
    QCOMPARE(w->DBMemo1->toPlainText(), QStringLiteral("备注"));
    QVERIFY(!w->DBEdit9->isEnabled());
    QCOMPARE(shownColor(*w), QColor(Qt::green));
    w->close();
}

void TestTtx::zoomLimits_data()
{
    QTest::addColumn<QString>("clicks"); // d = down arrow, u = up arrow
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("enlarged");
    QTest::addColumn<int>("reduced");
    // 536 × 1.1 rounded at every step: 590, 649, 714, 785.
    QTest::addRow("four down") << QStringLiteral("dddd") << 785 << 4 << 0;
    QTest::addRow("fifth down does nothing") << QStringLiteral("ddddd") << 785 << 4 << 0;
    // 536 × 0.9 rounded at every step: 482, 434, 391, 352.
    QTest::addRow("five up") << QStringLiteral("uuuuu") << 352 << 0 << 4;
    QTest::addRow("four up then down") << QStringLiteral("uuuud") << 387 << 1 << 4;
    QTest::addRow("down then up") << QStringLiteral("du") << 531 << 1 << 1;
}

void TestTtx::zoomLimits()
{
    QFETCH(QString, clicks);
    QFETCH(int, width);
    QFETCH(int, enlarged);
    QFETCH(int, reduced);
    test::TestApp app;
    test::FakeMainFrame frame;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("东区"));
    search(app);
    auto* w = new Ttx(*app.ctx, frame, &frame);
    const QPoint corner = w->pos();
    for (QChar c : clicks)
        QTest::mouseClick(c == u'd' ? w->SpinButton1Down : w->SpinButton1Up, Qt::LeftButton);
    QCOMPARE(w->width(), width);
    QCOMPARE(int(w->enlargements()), enlarged);
    QCOMPARE(int(w->reductions()), reduced);
    QCOMPARE(w->pos(), corner);
    // The picture scales with the window.
    QCOMPARE(w->Image1->width(), width);
    w->close();
}

void TestTtx::photoFollowsOnActivation()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    for (int i = 1; i <= 4; ++i)
        app.addListing(i, QStringLiteral("卖"), QStringLiteral("东区"));
    app.exec(QStringLiteral("UPDATE fcxx SET 相片='%1' WHERE 序号=2")
                 .arg(makePicture(app, QStringLiteral("b.png"), Qt::blue)));
    app.exec(QStringLiteral("UPDATE fcxx SET 相片='%1' WHERE 序号=4")
                 .arg(app.path(QStringLiteral("gone.png"))));
    search(app);
    auto* w = new Ttx(*app.ctx, frame, &frame);
    // No photo path: an empty picture area.
    QVERIFY(w->Image1->pixmap().isNull());

    app.sj->ADOQuery1->next();
    QCOMPARE(w->DBEdit9->text(), QStringLiteral("地址2"));
    activate(*w);
    QCOMPARE(shownColor(*w), QColor(Qt::blue));

    // A record without a photo clears the earlier photo.
    app.sj->ADOQuery1->next();
    activate(*w);
    QVERIFY(w->Image1->pixmap().isNull());

    // A file that cannot be read: an empty picture and no error box.
    app.sj->ADOQuery1->moveTo(1);
    activate(*w);
    QCOMPARE(shownColor(*w), QColor(Qt::blue));
    app.sj->ADOQuery1->moveTo(3);
    activate(*w);
    QVERIFY(w->Image1->pixmap().isNull());
    QVERIFY(app.dialogs.messages.isEmpty());
    w->close();
}

void TestTtx::closesWhenQueryClosed()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("东区"));
    search(app);
    QPointer<Ttx> w = new Ttx(*app.ctx, frame, &frame);
    app.sj->ADOQuery1->close();
    activate(*w);
    QTRY_VERIFY(w.isNull());
    QVERIFY(app.dialogs.messages.isEmpty());
}

void TestTtx::remarkCannotBeTypedAndClickCloses()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    app.addListing(1, QStringLiteral("卖"), QStringLiteral("东区"));
    search(app);
    QPointer<Ttx> w = new Ttx(*app.ctx, frame, &frame);
    QTest::keyClicks(w->DBMemo1, QStringLiteral("xyz"));
    QCOMPARE(w->DBMemo1->toPlainText(), QStringLiteral("备注"));
    QTest::mouseClick(w->Image1, Qt::LeftButton);
    QTRY_VERIFY(w.isNull());
    QVERIFY(app.sj->ADOQuery1->active());
}

QTEST_MAIN(TestTtx)
#include "tst_ttx.moc"
