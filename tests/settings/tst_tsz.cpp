// The settings window, driven through its controls.
#include "DataGrid.h"
#include "Dataset.h"
#include "FakeMainFrame.h"
#include "LookupLists.h"
#include "PasswordLeaks.h"
#include "Passwords.h"
#include "RevealLog.h"
#include "SettingsStore.h"
#include "TestApp.h"
#include "Tsz.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

using namespace lumo;
using namespace lumo::test;

class TstTsz : public QObject
{
    Q_OBJECT

private:
    static QPointer<Tsz> openWindow(TestApp& app, FakeMainFrame& frame)
    {
        frame.show();
        auto* w = new Tsz(*app.ctx, frame);
        frame.showChild(w);
        return w;
    }
    static void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Types text as key events; Chinese text goes in as one key's text.
    static void typeText(QWidget* w, const QString& text)
    {
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, text, Qt::NoModifier);
    }
    // Opens the in-place editor of a lookup cell.
    static QLineEdit* cellEditor(Tsz& w, int row, int column)
    {
        QTableWidget* grid = w.StringGrid1;
        // Moving to a cell opens its editor. A closed editor is hidden and
        // freed later: the open one is the visible one.
        grid->setCurrentCell(row, column);
        for (QLineEdit* editor : grid->viewport()->findChildren<QLineEdit*>())
            if (editor->isVisible())
                return editor;
        return nullptr;
    }
    static QString profile(TestApp& app, const char* section, const QString& key)
    {
        return app.store.readProfileString(QString::fromLatin1(section), key,
                                           QStringLiteral("<absent>"));
    }
    // The users in table order as level/name, with the password that each
    // row's stored 密码 verifies among `candidates` ("?" for none).
    static QString usersTable(TestApp& app, const QStringList& candidates)
    {
        QStringList rows;
        QSqlQuery q(app.sj->lumo1());
        q.exec(QStringLiteral("select 用户, 密码, 姓名 from ma order by rowid"));
        while (q.next()) {
            QString password = QStringLiteral("?");
            for (const QString& c : candidates)
                if (verifyPassword(q.value(1), c))
                    password = c;
            rows << q.value(0).toString() + QLatin1Char('/') + password + QLatin1Char('/') +
                        q.value(2).toString();
        }
        return rows.join(QLatin1Char(';'));
    }
    // Every text of the users table, for looking for typed passwords.
    static QByteArray usersBytes(TestApp& app)
    {
        return app
            .scalar(QStringLiteral("select group_concat(ifnull(用户, '') || ifnull(密码, '') || "
                                   "ifnull(姓名, ''), '|') from ma"))
            .toString()
            .toUtf8();
    }

private slots:
    void agencyDetails();
    void lookupListsShownAndWritten();
    void malformedCountKeepsItsList();
    void lookupGridLinesResize();
    void addingUser();
    void changingUser_data();
    void changingUser();
    void levels();
    void revealRecord();
};

void TstTsz::agencyDetails()
{
    TestApp app;
    app.store.WriteAppValue(QStringLiteral("gs"), QStringLiteral("旧公司"));
    FakeMainFrame frame;
    QPointer<Tsz> w = openWindow(app, frame);
    QCOMPARE(w->windowTitle(), QStringLiteral("软件设置 ver3.0"));
    QCOMPARE(w->suiPageControl1->currentWidget(), w->suiTabSheet3);
    QCOMPARE(w->Edit1->text(), QStringLiteral("旧公司"));
    w->Edit1->clear();
    typeText(w->Edit1, QStringLiteral("新房产"));
    typeText(w->Edit2, QStringLiteral("024-1234"));
    click(w->Button1);
    QCOMPARE(app.store.ReadAppValue(QStringLiteral("gs")), QStringLiteral("新房产"));
    QCOMPARE(app.store.ReadAppValue(QStringLiteral("dh")), QStringLiteral("024-1234"));
    QVERIFY(app.dialogs.messages.isEmpty());

    click(w->suiButton1);
    QCOMPARE(frame.unlockCount, 1);
    QTRY_VERIFY(w.isNull());
}

void TstTsz::lookupListsShownAndWritten()
{
    TestApp app;
    for (const LookupSection& section : lookupSections())
        writeLookupDefaults(app.store, section);
    FakeMainFrame frame;
    QPointer<Tsz> w = openWindow(app, frame);
    w->suiPageControl1->setCurrentWidget(w->suiTabSheet2);
    QTableWidget* grid = w->StringGrid1;
    QCOMPARE(grid->rowCount(), 21);
    QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("朝向"));
    QCOMPARE(grid->item(20, 0)->text(), QStringLiteral("20"));
    QCOMPARE(grid->item(3, 1)->text(), QStringLiteral("皇姑区"));
    QCOMPARE(grid->item(7, 1)->text(), QString()); // districts count 6
    QCOMPARE(grid->item(10, 3)->text(), QStringLiteral("插间"));
    QVERIFY(!(grid->item(0, 1)->flags() & Qt::ItemIsEditable));
    QVERIFY(!(grid->item(5, 0)->flags() & Qt::ItemIsEditable));

    // Clearing row 3 of the districts: s3 empty, the count stays.
    QLineEdit* editor = cellEditor(*w, 3, 1);
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    QCOMPARE(profile(app, "gj", QStringLiteral("s3")), QString());
    QCOMPARE(profile(app, "gj", QStringLiteral("s")), QStringLiteral("6"));
    QCOMPARE(profile(app, "gj", QStringLiteral("s4")), QStringLiteral("大东区"));
    QTest::keyClick(editor, Qt::Key_Return);

    // A seventh district, typed key by key: written as it is typed.
    editor = cellEditor(*w, 7, 1);
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("ab"));
    QCOMPARE(profile(app, "gj", QStringLiteral("s")), QStringLiteral("7"));
    QCOMPARE(profile(app, "gj", QStringLiteral("s7")), QStringLiteral("ab"));
    QTest::keyClick(editor, Qt::Key_Return);

    // A whole column emptied: every entry empty, the count as last written.
    QCOMPARE(profile(app, "hx", QStringLiteral("s")), QStringLiteral("10"));
    for (int r = 1; r < 21; ++r)
        grid->item(r, 3)->setText(QString());
    QTest::keyClick(grid, Qt::Key_Shift);
    for (int k = 1; k <= 20; ++k)
        QCOMPARE(profile(app, "hx", QStringLiteral("s%1").arg(k)), QString());
    QCOMPARE(profile(app, "hx", QStringLiteral("s")), QStringLiteral("10"));
    // The other sections are rewritten as they stand.
    QCOMPARE(profile(app, "cx", QStringLiteral("s")), QStringLiteral("10"));
    QCOMPARE(profile(app, "cx", QStringLiteral("s11")), QString());
    delete w;
}

// A count that is not a number: the conversion error is shown, the column
// stays empty and locked, and key releases in the grid write the other lists
// but leave that section as it is.
void TstTsz::malformedCountKeepsItsList()
{
    TestApp app;
    for (const LookupSection& section : lookupSections())
        writeLookupDefaults(app.store, section);
    app.store.writeProfileString(QStringLiteral("cx"), QStringLiteral("s"), QStringLiteral("7x"));
    FakeMainFrame frame;
    QPointer<Tsz> w = openWindow(app, frame);
    w->suiPageControl1->setCurrentWidget(w->suiTabSheet2);
    QCOMPARE(app.dialogs.messages, QStringList{QStringLiteral("'7x' is 不是一个有效的整数值")});
    QTableWidget* grid = w->StringGrid1;
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("和平区"));
    QCOMPARE(grid->item(1, 2)->text(), QString());
    QCOMPARE(grid->item(1, 3)->text(), QStringLiteral("单间"));
    QVERIFY(!(grid->item(1, 2)->flags() & Qt::ItemIsEditable));
    QVERIFY(!grid->item(1, 2)->toolTip().isEmpty());
    QCOMPARE(cellEditor(*w, 4, 2), nullptr);

    QLineEdit* editor = cellEditor(*w, 7, 1);
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("ab"));
    QCOMPARE(profile(app, "gj", QStringLiteral("s7")), QStringLiteral("ab"));
    QCOMPARE(profile(app, "cx", QStringLiteral("s")), QStringLiteral("7x"));
    QCOMPARE(profile(app, "cx", QStringLiteral("s1")), QStringLiteral("南北"));
    QCOMPARE(profile(app, "cx", QStringLiteral("s10")), QStringLiteral("西北"));
    QCOMPARE(app.dialogs.messages.size(), 1);
    delete w;
}

// The lines between the header cells resize the columns, the lines between
// the number cells the rows; a drag elsewhere resizes nothing.
void TstTsz::lookupGridLinesResize()
{
    TestApp app;
    FakeMainFrame frame;
    QPointer<Tsz> w = openWindow(app, frame);
    w->suiPageControl1->setCurrentWidget(w->suiTabSheet2);
    QTableWidget* grid = w->StringGrid1;
    QVERIFY(QTest::qWaitForWindowExposed(grid));
    QWidget* area = grid->viewport();
    auto drag = [area](QPoint from, QPoint by) {
        QTest::mousePress(area, Qt::LeftButton, {}, from);
        QTest::mouseMove(area, from + by / 2);
        QTest::mouseMove(area, from + by);
        QTest::mouseRelease(area, Qt::LeftButton, {}, from + by);
    };
    const int headerMiddle = grid->rowViewportPosition(0) + grid->rowHeight(0) / 2;
    const int numberMiddle = grid->columnViewportPosition(0) + grid->columnWidth(0) / 2;

    // The line right of "区域", taken one pixel off.
    const int areaLine = grid->columnViewportPosition(1) + grid->columnWidth(1);
    drag(QPoint(areaLine - 1, headerMiddle), QPoint(40, 0));
    QCOMPARE(grid->columnWidth(1), 129 + 40);
    QCOMPARE(grid->columnWidth(2), 142);
    // Narrowed below the smallest width: the smallest width.
    const int layoutLine = grid->columnViewportPosition(3) + grid->columnWidth(3);
    drag(QPoint(layoutLine, headerMiddle), QPoint(-400, 0));
    QCOMPARE(grid->columnWidth(3), 8);

    // The line below row 2 in the number column.
    const int rowLine = grid->rowViewportPosition(2) + grid->rowHeight(2);
    drag(QPoint(numberMiddle, rowLine), QPoint(0, 16));
    QCOMPARE(grid->rowHeight(2), 24 + 16);
    QCOMPARE(grid->rowHeight(3), 24);

    // The same column line inside the body rows is no handle.
    const int bodyMiddle = grid->rowViewportPosition(5) + grid->rowHeight(5) / 2;
    const int widthBefore = grid->columnWidth(1);
    drag(QPoint(grid->columnViewportPosition(1) + widthBefore, bodyMiddle), QPoint(30, 0));
    QCOMPARE(grid->columnWidth(1), widthBefore);
    delete w;
}

void TstTsz::addingUser()
{
    TestApp app;
    FakeMainFrame frame;
    QPointer<Tsz> w = openWindow(app, frame);
    QCOMPARE(w->suiComboBox1->currentText(), QStringLiteral("管理员"));
    QCOMPARE(w->suiComboBox1->count(), 1);
    QVERIFY(!w->Edit6->isEnabled());
    QVERIFY(!w->Button3->isEnabled());

    click(w->suiButton3);
    QCOMPARE(w->addFlag(), 1);
    QCOMPARE(w->changeFlag(), 0);
    QCOMPARE(w->suiButton3->palette().color(QPalette::ButtonText), QColor(Qt::red));
    QVERIFY(w->Button3->isEnabled());
    QVERIFY(w->Edit6->isEnabled());

    // Missing input: one message at a time, in the order of checking.
    w->suiComboBox1->setEditText(QString());
    click(w->Button3);
    typeText(w->suiComboBox1->lineEdit(), QStringLiteral("业务员"));
    click(w->Button3);
    QTest::keyClicks(w->Edit5, QStringLiteral("pw1"));
    click(w->Button3);
    QTest::keyClicks(w->Edit6, QStringLiteral("pw2"));
    click(w->Button3);
    QCOMPARE(app.dialogs.messages,
             (QStringList{QStringLiteral("请输入用户级别"), QStringLiteral("请输入用户密码"),
                          QStringLiteral("请输入密码确认"), QStringLiteral("请输入用户姓名")}));
    QCOMPARE(w->addFlag(), 1);

    // Enter in the password box leaves the confirmation as typed.
    QTest::keyClick(w->Edit5, Qt::Key_Return);
    QCOMPARE(w->Edit6->text(), QStringLiteral("pw2"));
    typeText(w->Edit7, QStringLiteral("小李"));
    click(w->Button3);
    QCOMPARE(app.dialogs.messages.size(), 4);
    // The stored password is the hash of the confirmation's text; neither
    // typed text is kept in any readable form.
    QCOMPARE(
        usersTable(app, {QStringLiteral("admin"), QStringLiteral("pw1"), QStringLiteral("pw2")}),
        QStringLiteral("管理员/admin/系统管理员;业务员/pw2/小李"));
    QCOMPARE(findPassword(usersBytes(app), {QStringLiteral("pw1"), QStringLiteral("pw2")}),
             QString());
    QCOMPARE(w->addFlag(), 0);
    QVERIFY(!w->Button3->isEnabled());
    QVERIFY(!w->Edit5->isEnabled());
    QVERIFY(w->suiButton3->palette().color(QPalette::ButtonText) != QColor(Qt::red));
    delete w;
}

void TstTsz::changingUser_data()
{
    QTest::addColumn<bool>("plain");
    QTest::addRow("hashed register") << false;
    QTest::addRow("plain-text register of an earlier version") << true;
}

void TstTsz::changingUser()
{
    QFETCH(bool, plain);
    TestApp app;
    // A register of an earlier version holds its passwords in plain text.
    if (plain)
        app.exec(QStringLiteral("update ma set 密码 = 'admin'"));
    app.exec(
        QStringLiteral("insert into ma (用户, 密码, 姓名) values ('业务员', '%1', '小王')")
            .arg(plain ? QStringLiteral("x1-secret") : hashPassword(QStringLiteral("x1-secret"))));
    app.sj->ma->refresh();
    const QStringList candidates = {QStringLiteral("admin"), QStringLiteral("x1-secret"),
                                    QStringLiteral("new-secret"), QStringLiteral("hack-secret")};
    FakeMainFrame frame;
    QPointer<Tsz> w = openWindow(app, frame);
    QVERIFY(!w->suiButton2->isEnabled());

    // The lookup: level and old password, Enter. A wrong one finds nobody.
    QTest::keyClicks(w->Edit5, QStringLiteral("Admin"));
    QTest::keyClick(w->Edit5, Qt::Key_Return);
    QVERIFY(!w->suiButton2->isEnabled());
    QCOMPARE(w->Edit7->text(), QString());
    w->Edit5->clear();
    QTest::keyClicks(w->Edit5, QStringLiteral("admin"));
    QTest::keyClick(w->Edit5, Qt::Key_Return);
    QCOMPARE(w->Edit7->text(), QStringLiteral("系统管理员"));
    QVERIFY(w->suiButton2->isEnabled());
    // A plain-text row found is hashed at once; the others wait.
    QVERIFY(isPasswordHash(
        app.scalar(QStringLiteral("select 密码 from ma where 姓名 = '系统管理员'")).toString()));
    QCOMPARE(isPasswordHash(
                 app.scalar(QStringLiteral("select 密码 from ma where 姓名 = '小王'")).toString()),
             !plain);

    click(w->suiButton2);
    QCOMPARE(w->changeFlag(), 1);
    QCOMPARE(w->Edit7->text(), QString());
    click(w->Button3);
    QCOMPARE(app.dialogs.messages, QStringList{QStringLiteral("请输入用户密码")});
    QTest::keyClicks(w->Edit5, QStringLiteral("new-secret"));
    QTest::keyClicks(w->Edit6, QStringLiteral("new-secret"));
    typeText(w->Edit7, QStringLiteral("老张"));
    click(w->Button3);
    QCOMPARE(usersTable(app, candidates),
             QStringLiteral("管理员/new-secret/老张;业务员/x1-secret/小王"));
    QCOMPARE(w->changeFlag(), 0);
    // Storing a user hashed every remaining plain-text row.
    QCOMPARE(findPassword(usersBytes(app), candidates), QString());

    // The changed password is found by the next lookup, the old one not.
    click(w->suiButton2);
    QTest::keyClicks(w->Edit5, QStringLiteral("admin"));
    QTest::keyClick(w->Edit5, Qt::Key_Return);
    QCOMPARE(w->Edit7->text(), QString());
    w->Edit5->clear();
    QTest::keyClicks(w->Edit5, QStringLiteral("new-secret"));
    QTest::keyClick(w->Edit5, Qt::Key_Return);
    QCOMPARE(w->Edit7->text(), QStringLiteral("老张"));

    // A later lookup that finds nothing: no row is changed, the user is told.
    click(w->suiButton2);
    QTest::keyClicks(w->Edit5, QStringLiteral("wrong"));
    QTest::keyClick(w->Edit5, Qt::Key_Return);
    QTest::keyClicks(w->Edit6, QStringLiteral("hack-secret"));
    typeText(w->Edit7, QStringLiteral("某人"));
    click(w->Button3);
    QCOMPARE(usersTable(app, candidates),
             QStringLiteral("管理员/new-secret/老张;业务员/x1-secret/小王"));
    QCOMPARE(app.dialogs.messages.size(), 2);
    QCOMPARE(w->changeFlag(), 1);
    delete w;
}

void TstTsz::levels()
{
    TestApp app;
    app.exec(QStringLiteral("insert into jb (级别) values ('业务员')"));
    app.exec(QStringLiteral("insert into ma (用户, 密码, 姓名) values ('业务员', 'x1', '小王')"));
    app.sj->dj->refresh();
    FakeMainFrame frame;
    QPointer<Tsz> w = openWindow(app, frame);
    QCOMPARE(w->suiComboBox1->count(), 2);
    w->suiPageControl1->setCurrentWidget(w->suiTabSheet4);
    DataGrid* grid = w->DBGridEh1;
    QCOMPARE(grid->model()->columnCount(), 7);
    QCOMPARE(grid->columnWidth(0), 80);

    click(w->suiButton4);
    QCOMPARE(app.scalar(QStringLiteral("select count(*) from jb")).toInt(), 3);
    QCOMPARE(
        app.scalar(QStringLiteral("select count(*) from jb where 级别 is null and 房源录入 = 0 "
                                  "and 数据管理 = 0"))
            .toInt(),
        1);
    // A level without a name: another "增 加" and a click only remind.
    click(w->suiButton4);
    QCOMPARE(app.dialogs.messages, QStringList{QStringLiteral("请输入级别！")});
    QCOMPARE(app.scalar(QStringLiteral("select count(*) from jb")).toInt(), 3);
    const QRect cell = grid->visualRect(grid->model()->index(2, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(app.dialogs.messages.size(), 2);

    // Named and ticked in the grid.
    QVERIFY(grid->model()->setData(grid->model()->index(2, 0), QStringLiteral("经理")));
    QVERIFY(grid->model()->setData(grid->model()->index(2, 3), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(app.scalar(QStringLiteral("select 名片管理 from jb where 级别 = '经理'")).toInt(), 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(app.dialogs.messages.size(), 2);

    // Refilling the level list when the password tab is laid out again
    // leaves the level grid on the level the user chose.
    grid->setCurrentIndex(grid->model()->index(1, 0));
    w->suiPageControl1->setCurrentWidget(w->suiTabSheet3);
    w->suiTabSheet3->resize(w->suiTabSheet3->size() + QSize(10, 10));
    QCOMPARE(w->suiComboBox1->count(), 3);
    w->suiPageControl1->setCurrentWidget(w->suiTabSheet4);
    QCOMPARE(app.sj->dj->recNo(), 1);
    QCOMPARE(grid->currentIndex().row(), 1);

    // Deleting a level at once; its users stay in the users table.
    click(w->suiButton5);
    QVERIFY(app.dialogs.questions.isEmpty());
    QCOMPARE(app.scalar(QStringLiteral("select count(*) from jb where 级别 = '业务员'")).toInt(),
             0);
    QCOMPARE(app.scalar(QStringLiteral("select count(*) from ma where 用户 = '业务员'")).toInt(),
             1);
    delete w;
}

void TstTsz::revealRecord()
{
    TestApp app;
    const Reveal rows[] = {
        {7, QStringLiteral("管理员"), QStringLiteral("系统管理员"), QStringLiteral("业务员"),
         QStringLiteral("小李"), QStringLiteral("2026-12-01T09:00:00")},
        {8, QStringLiteral("业务员"), QStringLiteral("小李"), QStringLiteral("业务员"),
         QStringLiteral("小李"), QStringLiteral("2026-12-03T15:30:00")},
        {7, QStringLiteral("经理"), QStringLiteral("老张"), QStringLiteral("经理"),
         QStringLiteral("老张"), QStringLiteral("2026-12-02T11:00:00")},
    };
    for (const Reveal& r : rows)
        recordReveal(app.sj->lumo1(), r);
    FakeMainFrame frame;
    QPointer<Tsz> w = openWindow(app, frame);
    QCOMPARE(w->suiPageControl1->tabText(w->suiPageControl1->indexOf(w->suiTabSheet5)),
             QStringLiteral("查看记录"));
    QTabBar* tabs = w->suiPageControl1->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {},
                      tabs->tabRect(w->suiPageControl1->indexOf(w->suiTabSheet5)).center());
    QCOMPARE(w->suiPageControl1->currentWidget(), w->suiTabSheet5);
    QTableWidget* grid = w->StringGrid2;
    auto column = [grid](int c) {
        QStringList texts;
        for (int r = 0; r < grid->rowCount(); ++r)
            texts << grid->item(r, c)->text();
        return texts;
    };
    // Newest first.
    QCOMPARE(column(0), (QStringList{QStringLiteral("2026-12-03 15:30:00"),
                                     QStringLiteral("2026-12-02 11:00:00"),
                                     QStringLiteral("2026-12-01 09:00:00")}));
    QCOMPARE(column(1),
             (QStringList{QStringLiteral("8"), QStringLiteral("7"), QStringLiteral("7")}));
    QCOMPARE(grid->item(2, 3)->text(), QStringLiteral("系统管理员"));
    QCOMPARE(grid->item(2, 5)->text(), QStringLiteral("小李"));
    QCOMPARE(w->Label7->text(), QStringLiteral("共 3 条记录"));

    // By listing, by user (accepted or logged in), both, and no match.
    QTest::keyClicks(w->Edit8, QStringLiteral("7"));
    QCOMPARE(column(3), (QStringList{QStringLiteral("老张"), QStringLiteral("系统管理员")}));
    QCOMPARE(w->Label7->text(), QStringLiteral("共 2 条记录"));
    typeText(w->Edit9, QStringLiteral("小李"));
    QCOMPARE(column(3), QStringList{QStringLiteral("系统管理员")});
    w->Edit8->clear();
    QCOMPARE(column(1), (QStringList{QStringLiteral("8"), QStringLiteral("7")}));
    QTest::keyClicks(w->Edit8, QStringLiteral("x"));
    QCOMPARE(grid->rowCount(), 0);
    QCOMPARE(w->Label7->text(), QStringLiteral("共 0 条记录"));
    QVERIFY(!(grid->item(0, 0) && (grid->item(0, 0)->flags() & Qt::ItemIsEditable)));

    // A reveal made meanwhile shows when the tab is chosen again.
    w->Edit8->clear();
    w->Edit9->clear();
    recordReveal(app.sj->lumo1(), {9, QStringLiteral("管理员"), QStringLiteral("系统管理员"),
                                   QStringLiteral("管理员"), QStringLiteral("系统管理员"),
                                   QStringLiteral("2026-12-09T08:00:00")});
    w->suiPageControl1->setCurrentWidget(w->suiTabSheet3);
    w->suiPageControl1->setCurrentWidget(w->suiTabSheet5);
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("9"));
    QCOMPARE(w->Label7->text(), QStringLiteral("共 4 条记录"));
    QVERIFY(app.dialogs.messages.isEmpty());
    delete w;
}

QTEST_MAIN(TstTsz)
#include "tst_tsz.moc"
