// The entry form: serial numbers, adding, correcting, the rent/sale switch,
// number boxes, lookup lists, look-ahead, photo and stored widths.
#include "DataGrid.h"
#include "Dataset.h"
#include "FakeMainFrame.h"
#include "SettingsStore.h"
#include "TestApp.h"
#include "Tlrxx.h"
#include "Tsj.h"

#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace lumo;
using namespace lumo::test;

namespace
{

struct Form {
    explicit Form(TestApp& app)
    {
        // Listings added by the test are read afresh.
        app.sj->ADOTable1->close();
        app.sj->ADOTable1->open();
        frame.show();
        form = new Tlrxx(*app.ctx, frame);
        frame.showChild(form);
        if (!QTest::qWaitForWindowExposed(&frame))
            qWarning("frame not exposed");
    }
    ~Form()
    {
        if (form)
            form->close();
    }
    FakeMainFrame frame;
    QPointer<Tlrxx> form;
};

QList<int> serials(TestApp& app)
{
    QList<int> l;
    QSqlQuery q(app.sj->lumo1());
    q.exec(QStringLiteral("SELECT 序号 FROM fcxx ORDER BY rowid"));
    while (q.next())
        l << q.value(0).toInt();
    return l;
}

void fill(Tlrxx* f)
{
    f->ComboBox4->setCurrentText(QStringLiteral("卖"));
    f->FlatComboBox3->setEditText(QStringLiteral("和平区"));
    f->Edit8->setText(QStringLiteral("中山路1号"));
    f->Edit1->setText(QStringLiteral("中街附近"));
    f->SpinEdit1->setValue(6);
    f->SpinEdit3->setValue(12);
    f->Edit3->setText(QStringLiteral("88.5"));
    f->Edit6->setText(QStringLiteral("45"));
    f->Edit5->setText(QStringLiteral("王伟"));
    f->Edit4->setText(QStringLiteral("13900000000"));
    f->edit2->setPlainText(QStringLiteral("南北通透"));
}

} // namespace

class TestTlrxx : public QObject
{
    Q_OBJECT
private slots:
    void opensWithListsAndInitialTexts();
    void missingListsGiveEmptyItems();
    void serialNumbers_data();
    void serialNumbers();
    void addWritesEveryField();
    void emptyNumbersStoreZero();
    void invalidNumberWritesNothing();
    void correctionKeepsSerialAndDate();
    void loadingRentRowLeavesIntentionCaptions();
    void rentSaleSwitch();
    void numberBoxesFilterTyping();
    void lookAheadSuggestsAddress();
    void lookAheadWhileCorrectingKeepsTheRow();
    void photoChosenAndShown();
    void pictureFilterForTheFileDialog();
    void closingStoresWidthsAndUnlocks();
};

void TestTlrxx::opensWithListsAndInitialTexts()
{
    TestApp app;
    app.store.writeProfileString(QStringLiteral("gj"), QStringLiteral("s"), QStringLiteral("2"));
    app.store.writeProfileString(QStringLiteral("gj"), QStringLiteral("s1"),
                                 QStringLiteral("和平区"));
    app.store.writeProfileString(QStringLiteral("gj"), QStringLiteral("s2"),
                                 QStringLiteral("沈河区"));
    Form w(app);
    Tlrxx* f = w.form;
    QCOMPARE(f->windowTitle(), QStringLiteral("房源信息录入系统"));
    QCOMPARE(f->FlatComboBox3->count(), 3);
    QCOMPARE(f->FlatComboBox3->itemText(2), QStringLiteral("其它区"));
    QCOMPARE(f->FlatComboBox3->currentText(), QString());
    QCOMPARE(f->FlatComboBox4->currentText(), QStringLiteral("南北"));
    QCOMPARE(f->FlatComboBox2->currentText(), QStringLiteral("二室一厅"));
    QCOMPARE(f->ComboBox4->currentText(), QStringLiteral("卖"));
    QCOMPARE(f->FlatComboBox1->currentText(), QStringLiteral("产权"));
    QCOMPARE(f->FlatComboBox1->itemText(2), QStringLiteral("其它"));
    QCOMPARE(f->Button1->text(), QStringLiteral("添加"));
    QCOMPARE(f->Button3->text(), QStringLiteral("修改"));
    QVERIFY(!f->dbImage1->isVisible());
    QVERIFY(f->Label1->isVisible());
    // Wide screen: the bottom panel is 320 - 20 pixels high.
    QCOMPARE(f->Panel1->height(), 300);
    QCOMPARE(f->DBGrid1->model()->columnCount(), 17);
}

void TestTlrxx::missingListsGiveEmptyItems()
{
    TestApp app;
    app.screen.w = 800;
    Form w(app);
    Tlrxx* f = w.form;
    QCOMPARE(f->FlatComboBox4->count(), 11);
    QCOMPARE(f->FlatComboBox4->itemText(0), QString());
    QCOMPARE(f->FlatComboBox4->itemText(10), QStringLiteral("其它"));
    QCOMPARE(f->FlatComboBox2->count(), 11);
    QCOMPARE(f->FlatComboBox3->count(), 7);
    QCOMPARE(f->FlatComboBox3->itemText(6), QStringLiteral("其它区"));
    QCOMPARE(f->Panel1->height(), 192);
}

void TestTlrxx::serialNumbers_data()
{
    QTest::addColumn<QList<int>>("existing"); // in table order
    QTest::addColumn<int>("adds");
    QTest::addColumn<QList<int>>("expected"); // new numbers
    QTest::newRow("empty table") << QList<int>{} << 1 << QList<int>{1};
    QTest::newRow("last row 57, larger elsewhere") << QList<int>{100, 57} << 1 << QList<int>{58};
    QTest::newRow("two adds in a row") << QList<int>{3} << 2 << QList<int>{4, 5};
    // The next number is already taken: the next free one is used.
    QTest::newRow("next number taken") << QList<int>{58, 59, 61, 57} << 2 << QList<int>{60, 62};
}

void TestTlrxx::serialNumbers()
{
    QFETCH(QList<int>, existing);
    QFETCH(int, adds);
    QFETCH(QList<int>, expected);
    TestApp app;
    for (int s : existing)
        app.addListing(s, QStringLiteral("卖"), QStringLiteral("和平区"));
    Form w(app);
    fill(w.form);
    for (int i = 0; i < adds; ++i)
        QTest::mouseClick(w.form->Button1, Qt::LeftButton);
    QCOMPARE(app.dialogs.messages, QStringList());
    QCOMPARE(serials(app), existing + expected);
    // Unchanged boxes: the same data twice.
    QCOMPARE(app.scalar(QStringLiteral("SELECT COUNT(DISTINCT 房屋地址 || 面积 || 房主) FROM fcxx "
                                       "WHERE 房主 = '王伟'"))
                 .toInt(),
             1);
    QCOMPARE(w.form->Edit1->text(), QStringLiteral("中街附近"));
}

void TestTlrxx::addWritesEveryField()
{
    TestApp app;
    Form w(app);
    fill(w.form);
    w.form->Edit7->setText(QStringLiteral("/pics/a.jpg"));
    w.form->FlatComboBox1->setEditText(QStringLiteral("使用权"));
    QTest::mouseClick(w.form->Button1, Qt::LeftButton);
    QSqlQuery q(app.sj->lumo1());
    QVERIFY(q.exec(QStringLiteral("SELECT * FROM fcxx")));
    QVERIFY(q.next());
    const QStringList expected = {
        QStringLiteral("1"),           QStringLiteral("卖"),        QStringLiteral("和平区"),
        QStringLiteral("中街附近"),    QStringLiteral("二室一厅"),  QStringLiteral("6"),
        QStringLiteral("南北"),        QStringLiteral("12"),        QStringLiteral("88.5"),
        QStringLiteral("使用权"),      QStringLiteral("45"),        QStringLiteral("南北通透"),
        QStringLiteral("2026-12-09"),  QStringLiteral("中山路1号"), QStringLiteral("/pics/a.jpg"),
        QStringLiteral("13900000000"), QStringLiteral("王伟")};
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(q.value(i).toString(), expected[i]);
    QCOMPARE(app.sj->ADOTable1->value(QStringLiteral("序号")).toInt(), 1);
}

void TestTlrxx::emptyNumbersStoreZero()
{
    TestApp app;
    Form w(app);
    QTest::mouseClick(w.form->Button1, Qt::LeftButton);
    QCOMPARE(app.scalar(QStringLiteral("SELECT 面积 + 价格 FROM fcxx")).toDouble(), 0.0);
    QCOMPARE(app.scalar(QStringLiteral("SELECT typeof(面积) FROM fcxx")).toString(),
             QStringLiteral("real"));
}

void TestTlrxx::invalidNumberWritesNothing()
{
    TestApp app;
    app.addListing(5, QStringLiteral("卖"), QStringLiteral("和平区"));
    Form w(app);
    fill(w.form);
    for (const QString& bad : {QStringLiteral("1..2"), QStringLiteral(".")}) {
        w.form->Edit6->setText(bad);
        QTest::mouseClick(w.form->Button1, Qt::LeftButton);
        QCOMPARE(app.dialogs.messages.last(),
                 QStringLiteral("'%1' is 不是一个有效的浮点值").arg(bad));
    }
    QCOMPARE(serials(app), QList<int>{5});
    QCOMPARE(app.sj->ADOTable1->state(), Dataset::State::Browse);

    // While confirming, the caption turns back to "添加" first; a bad number
    // then writes nothing to the row.
    QTest::mouseClick(w.form->Button3, Qt::LeftButton);
    QCOMPARE(w.form->Button1->text(), QStringLiteral("确认"));
    w.form->Edit3->setText(QStringLiteral("3..4"));
    QTest::mouseClick(w.form->Button1, Qt::LeftButton);
    QCOMPARE(app.dialogs.messages.size(), 3);
    QCOMPARE(w.form->Button1->text(), QStringLiteral("添加"));
    QCOMPARE(w.form->Button3->text(), QStringLiteral("刷新"));
    QCOMPARE(app.scalar(QStringLiteral("SELECT 面积 FROM fcxx")).toDouble(), 80.0);
    QCOMPARE(app.sj->ADOTable1->state(), Dataset::State::Browse);
}

void TestTlrxx::correctionKeepsSerialAndDate()
{
    TestApp app;
    app.addListing(7, QStringLiteral("租"), QStringLiteral("沈河区"));
    app.addListing(8, QStringLiteral("卖"), QStringLiteral("和平区"), QStringLiteral("三室"),
                   QStringLiteral("东西"), 4, 123.25, 60);
    Form w(app);
    Tlrxx* f = w.form;
    Dataset* t = app.sj->ADOTable1;
    t->last();
    QTest::mouseClick(f->Button3, Qt::LeftButton);
    QCOMPARE(f->Button1->text(), QStringLiteral("确认"));
    QCOMPARE(f->Button3->text(), QStringLiteral("刷新"));
    QCOMPARE(f->Edit3->text(), QStringLiteral("123.25"));
    QCOMPARE(f->Edit6->text(), QStringLiteral("60"));
    QCOMPARE(f->SpinEdit1->value(), 4);
    QCOMPARE(f->FlatComboBox2->currentText(), QStringLiteral("三室"));
    QCOMPARE(f->FlatComboBox1->currentText(), QStringLiteral("产权"));
    QCOMPARE(f->Edit8->text(), QStringLiteral("详细地址"));
    // The stored path was empty: the path box stays empty.
    QCOMPARE(f->Edit7->text(), QString());

    app.clock.current = app.clock.current.addDays(30);
    f->Edit5->setText(QStringLiteral("李明"));
    f->Edit3->setText(QStringLiteral("99"));
    QTest::mouseClick(f->Button1, Qt::LeftButton);
    QCOMPARE(app.dialogs.messages, QStringList());
    QCOMPARE(f->Button1->text(), QStringLiteral("添加"));
    QCOMPARE(f->Button3->text(), QStringLiteral("刷新"));
    QCOMPARE(app.scalar(QStringLiteral("SELECT 序号 || '|' || 登记日期 || '|' || 房主 || '|' || "
                                       "面积 FROM fcxx WHERE rowid = 2"))
                 .toString(),
             QStringLiteral("8|2026-12-01|李明|99.0"));
    QCOMPARE(app.scalar(QStringLiteral("SELECT COUNT(*) FROM fcxx")).toInt(), 2);

    // "刷新" in the place of "修改" clears the boxes but the detailed address.
    QTest::mouseClick(f->Button3, Qt::LeftButton);
    QCOMPARE(f->Button3->text(), QStringLiteral("修改"));
    QCOMPARE(f->Edit5->text(), QString());
    QCOMPARE(f->Edit3->text(), QString());
    QCOMPARE(f->SpinEdit1->value(), 0);
    QCOMPARE(f->ComboBox4->currentText(), QString());
    QCOMPARE(f->Edit8->text(), QStringLiteral("详细地址"));

    // The reset button does the same and hides the picture.
    f->Edit5->setText(QStringLiteral("x"));
    QTest::mouseClick(f->suiButton7, Qt::LeftButton);
    QCOMPARE(f->Edit5->text(), QString());
    QVERIFY(!f->dbImage1->isVisible());
}

void TestTlrxx::loadingRentRowLeavesIntentionCaptions()
{
    // Loading a row writes its intention as text; only a change made in
    // the box itself switches the ownership list and the column title.
    TestApp app;
    app.addListing(7, QStringLiteral("租"), QStringLiteral("沈河区"));
    app.exec(QStringLiteral("UPDATE fcxx SET 权属 = '半年'"));
    Form w(app);
    Tlrxx* f = w.form;
    app.sj->ADOTable1->first();
    QTest::mouseClick(f->Button3, Qt::LeftButton);
    QCOMPARE(f->ComboBox4->currentText(), QStringLiteral("租"));
    QCOMPARE(f->FlatComboBox1->currentText(), QStringLiteral("半年"));
    QCOMPARE(f->bitbtn8->text(), QStringLiteral("权 属"));
    QCOMPARE(f->FlatComboBox1->count(), 3);
    QCOMPARE(f->FlatComboBox1->itemText(2), QStringLiteral("其它"));
    QCOMPARE(f->DBGrid1->model()->headerData(9, Qt::Horizontal).toString(), QStringLiteral("权属"));
    // Confirming stores the loaded texts unchanged.
    QTest::mouseClick(f->Button1, Qt::LeftButton);
    QCOMPARE(app.scalar(QStringLiteral("SELECT sb || 权属 FROM fcxx")).toString(),
             QStringLiteral("租半年"));
}

void TestTlrxx::rentSaleSwitch()
{
    TestApp app;
    Form w(app);
    Tlrxx* f = w.form;
    f->ComboBox4->setCurrentText(QStringLiteral("租"));
    QCOMPARE(f->bitbtn8->text(), QStringLiteral("打租方式"));
    QCOMPARE(f->FlatComboBox1->currentText(), QStringLiteral("季度"));
    QStringList items;
    for (int i = 0; i < f->FlatComboBox1->count(); ++i)
        items << f->FlatComboBox1->itemText(i);
    QCOMPARE(items,
             (QStringList{QStringLiteral("每月"), QStringLiteral("季度"), QStringLiteral("半年"),
                          QStringLiteral("年度"), QStringLiteral("其他")}));
    QCOMPARE(f->DBGrid1->model()->headerData(9, Qt::Horizontal).toString(), QStringLiteral("租期"));

    f->ComboBox4->setCurrentText(QStringLiteral("卖"));
    QCOMPARE(f->bitbtn8->text(), QStringLiteral("权 属"));
    QCOMPARE(f->FlatComboBox1->currentText(), QStringLiteral("产权"));
    QCOMPARE(f->FlatComboBox1->count(), 3);
    QCOMPARE(f->FlatComboBox1->itemText(2), QStringLiteral("其他"));
    QCOMPARE(f->DBGrid1->model()->headerData(9, Qt::Horizontal).toString(), QStringLiteral("权属"));
}

void TestTlrxx::numberBoxesFilterTyping()
{
    TestApp app;
    Form w(app);
    for (QLineEdit* box : {w.form->Edit3, w.form->Edit6}) {
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("1a-2.5,x.9 "));
        QCOMPARE(box->text(), QStringLiteral("12.5.9"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("12.5."));
        QApplication::clipboard()->setText(QStringLiteral("777"));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("12.5."));
        QTest::keyClick(box, Qt::Key_Left);
        QTest::keyClick(box, Qt::Key_3);
        QCOMPARE(box->text(), QStringLiteral("12.53."));
        // Delete types no character (some systems send it with the text
        // DEL): it still deletes.
        QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7f)));
        QApplication::sendEvent(box, &del);
        QCOMPARE(box->text(), QStringLiteral("12.53"));
    }
}

void TestTlrxx::lookAheadSuggestsAddress()
{
    TestApp app;
    for (int i = 1; i <= 30; ++i)
        app.addListing(i, QStringLiteral("卖"), QStringLiteral("和平区"));
    app.exec(QStringLiteral("UPDATE fcxx SET 详细地址 = '北京街' || 序号"));
    Form w(app);
    Tlrxx* f = w.form;
    Dataset* t = app.sj->ADOTable1;
    f->Edit1->setFocus();
    // Chinese text comes through the input method: the text, then a key up.
    f->Edit1->setText(QStringLiteral("地址2"));
    QTest::keyRelease(f->Edit1, Qt::Key_2);
    QVERIFY(f->FlatEdit1->isVisible());
    QCOMPARE(f->FlatEdit1->text(), QStringLiteral("地址2"));
    QTest::keyClick(f->Edit1, Qt::Key_5);
    QCOMPARE(f->FlatEdit1->text(), QStringLiteral("地址25"));
    QCOMPARE(t->value(QStringLiteral("序号")).toInt(), 25);
    // Nothing found: nothing changes.
    QTest::keyClick(f->Edit1, Qt::Key_X);
    QCOMPARE(f->FlatEdit1->text(), QStringLiteral("地址25"));
    QTest::keyClick(f->Edit1, Qt::Key_Backspace);
    QTest::keyClick(f->Edit1, Qt::Key_Backspace);
    QTest::keyClick(f->Edit1, Qt::Key_Return);
    QCOMPARE(f->Edit1->text(), QStringLiteral("地址2"));
    QVERIFY(!f->FlatEdit1->isVisible());
    QCOMPARE(t->value(QStringLiteral("序号")).toInt(), 2);

    f->Edit8->setFocus();
    f->Edit8->setText(QStringLiteral("北京街1"));
    QTest::keyRelease(f->Edit8, Qt::Key_1);
    QVERIFY(f->FlatEdit2->isVisible());
    QCOMPARE(f->FlatEdit2->text(), QStringLiteral("北京街1"));
    QTest::mouseClick(f->FlatEdit2, Qt::LeftButton);
    QVERIFY(!f->FlatEdit2->isVisible());

    // Mouse over the form hides the suggestions and the check lists.
    QTest::keyClicks(f->Edit8, QStringLiteral("9"));
    QVERIFY(f->FlatEdit2->isVisible());
    const int before = w.frame.hideCheckListsCount;
    QTest::mouseMove(f->suiButton5);
    QTRY_VERIFY(!f->FlatEdit2->isVisible());
    QVERIFY(w.frame.hideCheckListsCount > before);
}

// A keystroke in an address box while correcting finds its suggestion but
// leaves the table on the row being corrected, so "确认" changes that row and
// no other.
void TestTlrxx::lookAheadWhileCorrectingKeepsTheRow()
{
    TestApp app;
    for (int i = 1; i <= 3; ++i)
        app.addListing(i, QStringLiteral("卖"), QStringLiteral("和平区"));
    app.exec(QStringLiteral("UPDATE fcxx SET 详细地址 = '北京街' || 序号, 房屋地址 = '中街' || "
                            "序号, 房主 = '房主' || 序号"));
    Form w(app);
    Tlrxx* f = w.form;
    Dataset* t = app.sj->ADOTable1;
    t->moveTo(1);
    QTest::mouseClick(f->Button3, Qt::LeftButton);
    QCOMPARE(f->Edit8->text(), QStringLiteral("北京街2"));

    // Backspace leaves "北京街", which the first row matches; then an
    // address that only the first row begins with.
    f->Edit8->setFocus();
    f->Edit8->end(false);
    QTest::keyClick(f->Edit8, Qt::Key_Backspace);
    QVERIFY(f->FlatEdit2->isVisible());
    QCOMPARE(f->FlatEdit2->text(), QStringLiteral("北京街1"));
    QCOMPARE(t->recNo(), 1);
    f->Edit1->setFocus();
    f->Edit1->setText(QStringLiteral("中街"));
    QTest::keyRelease(f->Edit1, Qt::Key_Return);
    QCOMPARE(f->Edit1->text(), QStringLiteral("中街1"));
    QCOMPARE(t->recNo(), 1);
    f->Edit5->setText(QStringLiteral("李明"));
    QTest::mouseClick(f->Button1, Qt::LeftButton);
    QCOMPARE(app.dialogs.messages, QStringList());

    auto row = [&app](int serial) {
        return app
            .scalar(QStringLiteral("SELECT 详细地址 || '|' || 房屋地址 || '|' || 房主 FROM fcxx "
                                   "WHERE 序号 = %1")
                        .arg(serial))
            .toString();
    };
    QCOMPARE(row(1), QStringLiteral("北京街1|中街1|房主1"));
    QCOMPARE(row(2), QStringLiteral("北京街|中街1|李明"));
    QCOMPARE(row(3), QStringLiteral("北京街3|中街3|房主3"));

    // In adding mode the look-ahead moves the table to the found row.
    f->Edit8->setFocus();
    QTest::keyClick(f->Edit8, Qt::Key_3);
    QCOMPARE(t->value(QStringLiteral("序号")).toInt(), 3);
}

void TestTlrxx::photoChosenAndShown()
{
    TestApp app;
    const QString good = app.path(QStringLiteral("room.png"));
    QImage img(20, 10, QImage::Format_RGB32);
    img.fill(Qt::red);
    QVERIFY(img.save(good));
    const QString bad = app.path(QStringLiteral("broken.jpg"));
    QFile f(bad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();

    Form w(app);
    Tlrxx* form = w.form;
    app.dialogs.fileNames.enqueue(good);
    QTest::mouseClick(form->Label1, Qt::LeftButton);
    QVERIFY(form->dbImage1->isVisible());
    QCOMPARE(form->Edit7->text(), good);

    app.dialogs.fileNames.enqueue(bad);
    QTest::mouseClick(form->dbImage1, Qt::LeftButton);
    QCOMPARE(app.dialogs.messages.size(), 1);
    QCOMPARE(form->Edit7->text(), good);

    // The path goes into the next added row; a grid click shows the row's
    // picture, or "无房型" when it cannot be loaded.
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    QCOMPARE(app.scalar(QStringLiteral("SELECT 相片 FROM fcxx")).toString(), good);
    app.exec(QStringLiteral("INSERT INTO fcxx (序号, 相片) VALUES (2, 'missing.jpg')"));
    app.sj->ADOTable1->refresh();
    app.sj->ADOTable1->first();
    form->DBGrid1CellClick();
    QVERIFY(form->dbImage1->isVisible());
    app.sj->ADOTable1->last();
    form->DBGrid1CellClick();
    QVERIFY(!form->dbImage1->isVisible());
    QVERIFY(form->Label1->isVisible());
}

void TestTlrxx::pictureFilterForTheFileDialog()
{
    // The picture filter in the toolkit's form: one "text (patterns)" per
    // entry, so the dialog lists the picture files.
    const QStringList filters = Tlrxx::pictureFilter().split(QStringLiteral(";;"));
    QCOMPARE(filters.size(), 7);
    QCOMPARE(filters[0],
             QStringLiteral("All Image (*.gif *.jpg *.jpeg *.bmp *.ico *.emf *.wmf *.tiff)"));
    QCOMPARE(filters[1], QStringLiteral("CompuServe GIF Image (*.gif) (*.gif)"));
    QCOMPARE(filters[5],
             QStringLiteral("Enhanced Metafiles (*.emf,wmf,tiff) (*.emf *.wmf *.tiff)"));
    QCOMPARE(filters[6], QStringLiteral("All File (*.*) (*.*)"));
}

void TestTlrxx::closingStoresWidthsAndUnlocks()
{
    TestApp app;
    {
        Form w(app);
        w.form->ComboBox4->setCurrentText(QStringLiteral("租"));
        w.form->DBGrid1->setColumnWidth(9, 66);
        w.form->DBGrid1->setColumnWidth(0, 44);
        QTest::mouseClick(w.form->suiButton15, Qt::LeftButton);
        QTRY_VERIFY(!w.form);
        QVERIFY(w.frame.unlockCount >= 1);
        QVERIFY(!w.frame.locked);
    }
    const auto lr = [&app](const char16_t* name) {
        return app.store.ReadSectionValue(QStringLiteral("lr"), QString::fromUtf16(name));
    };
    QCOMPARE(lr(u"租期"), QStringLiteral("66"));
    QCOMPARE(lr(u"权属"), QString());
    QCOMPARE(lr(u"序号"), QStringLiteral("44"));

    // Reopened: widths come back under the sale titles; "权属" is missing.
    app.store.WriteSectionValue(QStringLiteral("lr"), QStringLiteral("房主"), QStringLiteral("71"));
    Form w(app);
    QCOMPARE(w.form->DBGrid1->columnWidth(0), 44);
    QCOMPARE(w.form->DBGrid1->columnWidth(16), 71);
}

QTEST_MAIN(TestTlrxx)
#include "tst_tlrxx.moc"
