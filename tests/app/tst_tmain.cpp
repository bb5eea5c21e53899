// The main window: creation, first showing, login, locking and closing.
#include "Dataset.h"
#include "FilterBar.h"
#include "LookupLists.h"
#include "Passwords.h"
#include "StatusPanels.h"
#include "TestApp.h"
#include "Tmain.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QSqlQuery>
#include <QTest>
#include <QToolButton>

using namespace lumo;
using lumo::test::TestApp;

namespace
{

const QStringList kProtected = {QStringLiteral("N2"), QStringLiteral("N16"), QStringLiteral("N6"),
                                QStringLiteral("N7"), QStringLiteral("N10")};
const QStringList kPermissionEntries = {QStringLiteral("N2"),  QStringLiteral("N16"),
                                        QStringLiteral("N15"), QStringLiteral("N10"),
                                        QStringLiteral("N7"),  QStringLiteral("N6")};

void login(Tmain& w, const QString& level, const QString& password)
{
    auto* levels = w.findChild<QComboBox*>(QStringLiteral("suiComboBox1"));
    auto* edit = w.findChild<QLineEdit*>(QStringLiteral("suiEdit1"));
    levels->setCurrentText(level);
    edit->clear();
    QTest::keyClicks(edit, password);
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("suiButton1")), Qt::LeftButton);
}

QAction* entry(const Tmain& w, const QString& name)
{
    QAction* a = w.findChild<QAction*>(name);
    if (!a)
        qFatal("no menu entry %s", qPrintable(name));
    return a;
}

} // namespace

class TestTmain : public QObject
{
    Q_OBJECT
private slots:
    void menuTreeAndLockedStart();
    void menuTreeInOrder();
    void dataErrorsStayInTheHandlers();
    void login_data();
    void login();
    void enterFindsUserAndTypingClearsWelcome();
    void levelWithoutPermissions();
    void levelDeletedFromJbIsRefused();
    void caption_data();
    void caption();
    void restoreEntriesFromSlotNames();
    void lookupDefaultsAtCreation();
    void malformedCountStopsAtItsSection_data();
    void malformedCountStopsAtItsSection();
    void firstStartAndInstallation();
    void installationKeepsExistingRegister();
    void statusBar_data();
    void statusBar();
    void closeProjectWithoutChildClosesProgram();
    void entryFormOpensOnce();
};

void TestTmain::menuTreeAndLockedStart()
{
    TestApp app;
    Tmain w(*app.ctx);
    w.show();
    QCOMPARE(w.windowTitle(), QStringLiteral("《管理系统》"));
    const QList<std::pair<QString, QString>> captions = {
        {QStringLiteral("N1"), QStringLiteral(" 文 件  ")},
        {QStringLiteral("Edit1"), QStringLiteral("编 辑  ")},
        {QStringLiteral("N4"), QStringLiteral("管 理  ")},
        {QStringLiteral("Help1"), QStringLiteral("帮 助  ")},
        {QStringLiteral("N17"), QStringLiteral("数据修复与压缩")},
        {QStringLiteral("N27"), QStringLiteral("替换方式")},
        {QStringLiteral("N15"), QStringLiteral("联系房主")},
        {QStringLiteral("N24"), QStringLiteral("背 景 色 彩")},
        {QStringLiteral("About1_OLD"), QStringLiteral("关于")},
    };
    for (const auto& [name, caption] : captions)
        QCOMPARE(entry(w, name)->text(), caption);
    QVERIFY(!entry(w, QStringLiteral("N20"))->isVisible());
    QVERIFY(entry(w, QStringLiteral("N12"))->isSeparator());
    for (const QString& name : kProtected)
        QVERIFY2(!entry(w, name)->isEnabled(), qPrintable(name));
    QVERIFY(!entry(w, QStringLiteral("N15"))->isEnabled());
    QVERIFY(!w.findChild<QToolButton*>(QStringLiteral("SpeedButton1"))->isHidden());
    QVERIFY(!w.findChild<QToolBar*>(QStringLiteral("suiToolBar1"))->isVisibleTo(&w));
    QVERIFY(w.findChild<QWidget*>(QStringLiteral("suiImagePanel1"))->isVisibleTo(&w));
    QCOMPARE(w.findChild<QComboBox*>(QStringLiteral("suiComboBox1"))->itemText(0),
             QStringLiteral("查询用户"));
    QCOMPARE(w.findChild<QComboBox*>(QStringLiteral("suiComboBox1"))->itemText(1),
             QStringLiteral("管理员"));
}

// Writes a menu as "name[caption]" items, "-" for separators, "(hidden)"
// after hidden entries and the submenu's items in braces.
QString menuTree(const QList<QAction*>& actions)
{
    QStringList items;
    for (QAction* a : actions) {
        if (a->isSeparator()) {
            items << QStringLiteral("-");
            continue;
        }
        QString item = a->objectName() + QLatin1Char('[') + a->text() + QLatin1Char(']');
        if (!a->isVisible())
            item += QStringLiteral("(hidden)");
        if (a->menu())
            item += QLatin1Char('{') + menuTree(a->menu()->actions()) + QLatin1Char('}');
        items << item;
    }
    return items.join(QLatin1Char(' '));
}

void TestTmain::menuTreeInOrder()
{
    TestApp app;
    app.store.WriteSlotValue(QStringLiteral("Velmora"), QStringLiteral("2"),
                             QStringLiteral("2026年12月8日星期二"));
    Tmain w(*app.ctx);
    w.show();
    const QString expected = QStringLiteral(
        "N1[ 文 件  ]{N2[软件设置] N16[数据管理]{N17[数据修复与压缩] N20[人工备份数据](hidden) "
        "N21[导出数据文件] N19[导入外部数据]{N26[更新方式] N27[替换方式]} "
        "N18[恢复备份数据]{rb1[1](hidden) rb2[2026年12月8日星期二] rb3[3](hidden) rb4[4](hidden) "
        "rb5[5](hidden)}} N5[打印设置] N11[关闭项目] - N13[退出]} "
        "Edit1[编 辑  ]{EditUndo1[撤消] - EditCut1[剪贴] EditCopy1[拷贝] EditPaste1[粘贴]} "
        "N4[管 理  ]{N6[房源录入] N7[房源删除] N10[名片管理] N15[联系房主]} "
        "Help1[帮 助  ]{N30[自动浏览] N29[画图型] N14[计算器] N3[万年历] N22[换肤]{N110[winxpblue] "
        "N23[mosphere] windows1[初级界面] N31[自定义界面] N24[背 景 色 彩] N25[表格背景色彩]} "
        "N28[帮助] About1_OLD[关于]}");
    QCOMPARE(menuTree(w.bsSkinMainMenuBar1->actions()), expected);
    QCOMPARE(entry(w, QStringLiteral("N12")), w.N12);

    // The editing entries carry their shortcuts; the top-level ones open
    // their menus from the keyboard.
    QCOMPARE(w.EditUndo1->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    QCOMPARE(w.EditCut1->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
    QCOMPARE(w.EditCopy1->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
    QCOMPARE(w.EditPaste1->shortcut(), QKeySequence(QStringLiteral("Ctrl+V")));
    const QList<std::pair<QString, QString>> topKeys = {
        {QStringLiteral("N1Shortcut"), QStringLiteral("Ctrl+F")},
        {QStringLiteral("Edit1Shortcut"), QStringLiteral("Ctrl+D")},
        {QStringLiteral("N4Shortcut"), QStringLiteral("Ctrl+G")},
        {QStringLiteral("Help1Shortcut"), QStringLiteral("Ctrl+H")},
    };
    for (const auto& [name, keys] : topKeys) {
        auto* s = w.findChild<QShortcut*>(name);
        QVERIFY2(s, qPrintable(name));
        QCOMPARE(s->key(), QKeySequence(keys));
    }
}

// With the database connection gone (as after a restore), the login scan
// and the window entries report the error instead of ending the program.
void TestTmain::dataErrorsStayInTheHandlers()
{
    TestApp app;
    Tmain w(*app.ctx);
    w.show();
    app.sj->disconnectLumo1();
    auto* levels = w.findChild<QComboBox*>(QStringLiteral("suiComboBox1"));
    auto* edit = w.findChild<QLineEdit*>(QStringLiteral("suiEdit1"));
    levels->setCurrentText(QStringLiteral("管理员"));
    QTest::keyClicks(edit, QStringLiteral("admin"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(app.dialogs.messages.size(), 1);
    QVERIFY(w.findChild<QLineEdit*>(QStringLiteral("suiEdit2"))->text().isEmpty());

    app.dialogs.messages.clear();
    entry(w, QStringLiteral("N2"))->setEnabled(true);
    entry(w, QStringLiteral("N2"))->trigger();
    QVERIFY(w.isVisible());
}

void TestTmain::login_data()
{
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("menuBar");
    QTest::addColumn<QString>("welcome");
    QTest::addColumn<bool>("hashed");
    // Every case twice: over hashed rows, and over the plain-text rows of a
    // register from an earlier version.
    struct Case {
        const char* name;
        QString level;
        QString password;
        bool accepted;
        bool menuBar;
        QString welcome;
    };
    QList<Case> cases;
    auto add = [&cases](const char* name, const QString& level, const QString& password,
                        bool accepted, bool menuBar, const QString& welcome) {
        cases.append({name, level, password, accepted, menuBar, welcome});
    };
    add("guest without password", QStringLiteral("查询用户"), QString(), true, false, QString());
    add("guest with any text", QStringLiteral("查询用户"), QStringLiteral("xyz"), true, false,
        QString());
    add("administrator", QStringLiteral("管理员"), QStringLiteral("admin"), true, true,
        QStringLiteral("系统管理员 - 欢迎您的使用！"));
    add("wrong password", QStringLiteral("管理员"), QStringLiteral("Admin"), false, true,
        QString());
    add("password of another level", QStringLiteral("管理员"), QStringLiteral("agent1"), false,
        true, QString());
    add("second user of a level", QStringLiteral("业务员"), QStringLiteral("agent2"), true, true,
        QStringLiteral("李四 - 欢迎您的使用！"));
    add("first user of a level, first of two equal rows", QStringLiteral("业务员"),
        QStringLiteral("agent1"), true, true, QStringLiteral("张三 - 欢迎您的使用！"));
    add("no password against a null password", QStringLiteral("业务员"), QString(), false, true,
        QString());
    add("level differing in letter case", QStringLiteral("Agent"), QStringLiteral("pw"), false,
        true, QString());
    add("password differing in letter case", QStringLiteral("agent"), QStringLiteral("PW"), false,
        true, QString());
    add("level of lower-case letters", QStringLiteral("agent"), QStringLiteral("pw"), true, true,
        QStringLiteral("小写 - 欢迎您的使用！"));
    for (bool hashed : {true, false})
        for (const Case& c : cases)
            QTest::addRow("%s, %s", hashed ? "hashed" : "plain", c.name)
                << c.level << c.password << c.accepted << c.menuBar << c.welcome << hashed;
}

void TestTmain::login()
{
    QFETCH(QString, level);
    QFETCH(QString, password);
    QFETCH(bool, accepted);
    QFETCH(bool, menuBar);
    QFETCH(QString, welcome);
    QFETCH(bool, hashed);
    TestApp app;
    if (!hashed)
        app.exec(QStringLiteral("UPDATE ma SET 密码 = 'admin'"));
    app.exec(QStringLiteral("INSERT INTO jb (级别, 房源录入, 名片管理) VALUES ('业务员', 1, 1)"));
    app.exec(QStringLiteral("INSERT INTO jb (级别) VALUES ('agent')"));
    QSqlQuery insert(app.sj->lumo1());
    insert.prepare(QStringLiteral("INSERT INTO ma VALUES (?, ?, ?)"));
    for (const auto& [user, pass, name] :
         {std::tuple{"业务员", "agent1", "张三"}, std::tuple{"业务员", "agent2", "李四"},
          std::tuple{"业务员", "agent1", "重复"}, std::tuple{"业务员", "", "无密码"},
          std::tuple{"agent", "pw", "小写"}}) {
        const QString text = QString::fromUtf8(pass);
        insert.addBindValue(QString::fromUtf8(user));
        insert.addBindValue(text.isEmpty() ? QVariant()
                            : hashed       ? QVariant(hashPassword(text))
                                           : QVariant(text));
        insert.addBindValue(QString::fromUtf8(name));
        QVERIFY(insert.exec());
    }
    app.sj->ma->refresh();
    app.sj->dj->refresh();
    Tmain w(*app.ctx);
    w.show();
    ::login(w, level, password);

    auto* panel = w.findChild<QWidget*>(QStringLiteral("suiImagePanel1"));
    QCOMPARE(panel->isVisibleTo(&w), !accepted);
    QCOMPARE(w.findChild<QToolBar*>(QStringLiteral("suiToolBar1"))->isVisibleTo(&w), accepted);
    QCOMPARE(w.findChild<QMenuBar*>(QStringLiteral("bsSkinMainMenuBar1"))->isVisibleTo(&w),
             menuBar);
    QCOMPARE(w.findChild<QLineEdit*>(QStringLiteral("suiEdit2"))->text(), welcome);
    if (accepted) {
        QVERIFY(app.dialogs.messages.isEmpty());
        // Entries hidden by the level's permissions cannot be chosen at all.
        for (const QString& name : kProtected)
            QVERIFY2(entry(w, name)->isEnabled() || !entry(w, name)->isVisible(), qPrintable(name));
        QVERIFY(w.findChild<QToolButton*>(QStringLiteral("SpeedButton1"))->isHidden());
    } else {
        QCOMPARE(app.dialogs.messages, QStringList{QStringLiteral("不可识别的用户？")});
        for (const QString& name : kProtected)
            QVERIFY2(!entry(w, name)->isEnabled(), qPrintable(name));
    }
    // The login is kept for the windows that record who used them.
    const QString name = welcome.section(QStringLiteral(" - "), 0, 0);
    QCOMPARE(w.loggedInUser().level, accepted ? level : QString());
    QCOMPARE(w.loggedInUser().name, name);
    // The accepted row of a plain-text register now holds the hash.
    if (accepted && !welcome.isEmpty()) {
        const QString stored =
            app.scalar(QStringLiteral("SELECT 密码 FROM ma WHERE 姓名 = '%1'").arg(name))
                .toString();
        QVERIFY2(isPasswordHash(stored), qPrintable(stored));
        QVERIFY(verifyPassword(stored, password));
    }
    if (accepted && level == QStringLiteral("业务员")) {
        QVERIFY(entry(w, QStringLiteral("N6"))->isVisible());
        QVERIFY(entry(w, QStringLiteral("N10"))->isVisible());
        QVERIFY(!entry(w, QStringLiteral("N2"))->isVisible());
        QVERIFY(!entry(w, QStringLiteral("N7"))->isVisible());
    }
}

void TestTmain::enterFindsUserAndTypingClearsWelcome()
{
    TestApp app;
    Tmain w(*app.ctx);
    w.show();
    auto* levels = w.findChild<QComboBox*>(QStringLiteral("suiComboBox1"));
    auto* edit = w.findChild<QLineEdit*>(QStringLiteral("suiEdit1"));
    auto* welcome = w.findChild<QLineEdit*>(QStringLiteral("suiEdit2"));
    levels->setCurrentText(QStringLiteral("管理员"));
    QTest::keyClicks(edit, QStringLiteral("admin"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(welcome->text(), QStringLiteral("系统管理员 - 欢迎您的使用！"));
    QTest::keyClick(edit, Qt::Key_X);
    QCOMPARE(welcome->text(), QString());
    // The welcome box takes no typing.
    QTest::keyClicks(welcome, QStringLiteral("abc"));
    QCOMPARE(welcome->text(), QString());
}

void TestTmain::levelWithoutPermissions()
{
    TestApp app;
    app.exec(QStringLiteral("INSERT INTO jb (级别) VALUES ('访客')"));
    app.exec(QStringLiteral("INSERT INTO ma VALUES ('访客', 'g', '王五')"));
    app.sj->ma->refresh();
    app.sj->dj->refresh();
    Tmain w(*app.ctx);
    w.show();
    ::login(w, QStringLiteral("访客"), QStringLiteral("g"));
    QVERIFY(w.findChild<QMenuBar*>(QStringLiteral("bsSkinMainMenuBar1"))->isVisibleTo(&w));
    for (const QString& name : kPermissionEntries)
        QVERIFY2(!entry(w, name)->isVisible(), qPrintable(name));
    for (const QString& name : {QStringLiteral("N5"), QStringLiteral("N11"), QStringLiteral("N3")})
        QVERIFY2(entry(w, name)->isVisible(), qPrintable(name));
}

void TestTmain::levelDeletedFromJbIsRefused()
{
    TestApp app;
    app.exec(QStringLiteral("INSERT INTO ma VALUES ('旧级别', 'old', '赵六')"));
    app.sj->ma->refresh();
    Tmain w(*app.ctx);
    w.show();
    ::login(w, QStringLiteral("旧级别"), QStringLiteral("old"));
    QCOMPARE(app.dialogs.messages, QStringList{QStringLiteral("不可识别的用户？")});
    QVERIFY(w.findChild<QWidget*>(QStringLiteral("suiImagePanel1"))->isVisibleTo(&w));
    for (const QString& name : kProtected)
        QVERIFY(!entry(w, name)->isEnabled());
}

void TestTmain::caption_data()
{
    QTest::addColumn<QString>("agency");
    QTest::addColumn<QString>("caption");
    QTest::addRow("no agency name") << QString() << QStringLiteral("《管理系统》");
    QTest::addRow("agency name") << QStringLiteral("安居房产")
                                 << QStringLiteral("《安居房产管理系统》");
}

void TestTmain::caption()
{
    QFETCH(QString, agency);
    QFETCH(QString, caption);
    TestApp app;
    if (!agency.isEmpty())
        app.store.WriteAppValue(QStringLiteral("gs"), agency);
    Tmain w(*app.ctx);
    QCOMPARE(w.windowTitle(), QStringLiteral("Velmora"));
    w.show();
    QCOMPARE(w.windowTitle(), caption);
}

void TestTmain::restoreEntriesFromSlotNames()
{
    TestApp app;
    app.store.WriteSlotValue(QStringLiteral("Velmora"), QStringLiteral("1"),
                             QStringLiteral("2026年12月7日星期一"));
    app.store.WriteSlotValue(QStringLiteral("Velmora"), QStringLiteral("3"),
                             QStringLiteral("2026年12月8日星期二"));
    Tmain w(*app.ctx);
    QVERIFY(w.rb1->isVisible());
    QCOMPARE(w.rb1->text(), QStringLiteral("2026年12月7日星期一"));
    QVERIFY(!w.rb2->isVisible());
    QVERIFY(w.rb3->isVisible());
    QVERIFY(!w.rb4->isVisible());
    QVERIFY(!w.rb5->isVisible());
}

void TestTmain::lookupDefaultsAtCreation()
{
    TestApp app;
    app.store.writeProfileString(QStringLiteral("gj"), QStringLiteral("s"), QStringLiteral("6"));
    app.store.writeProfileString(QStringLiteral("gj"), QStringLiteral("s3"), QString());
    Tmain w(*app.ctx);
    QCOMPARE(app.store.readProfileString(QStringLiteral("gj"), QStringLiteral("s3")),
             QStringLiteral("皇姑区"));
    QCOMPARE(app.store.readProfileString(QStringLiteral("hx"), QStringLiteral("s10")),
             QStringLiteral("插间"));
    QCOMPARE(app.store.readProfileString(QStringLiteral("cx"), QStringLiteral("s")), QString());
}

void TestTmain::malformedCountStopsAtItsSection_data()
{
    QTest::addColumn<int>("bad"); // 0 districts, 1 orientations, 2 layouts
    QTest::addRow("gj") << 0;
    QTest::addRow("cx") << 1;
    QTest::addRow("hx") << 2;
}

// The sections are handled one after the other: the lists before the one
// whose count is no number are filled, the error is shown, and the rest of
// the creation steps is skipped.
void TestTmain::malformedCountStopsAtItsSection()
{
    QFETCH(int, bad);
    const QStringList sections = {QStringLiteral("gj"), QStringLiteral("cx"), QStringLiteral("hx")};
    TestApp app;
    app.store.writeProfileString(sections[bad], QStringLiteral("s"), QStringLiteral("x"));
    Tmain w(*app.ctx);
    QCOMPARE(app.dialogs.messages, QStringList{QStringLiteral("'x' is 不是一个有效的整数值")});
    const QListWidget* lists[] = {w.suiToolBar1->FlatCheckListBox1,
                                  w.suiToolBar1->FlatCheckListBox2,
                                  w.suiToolBar1->FlatCheckListBox3};
    const int defaults[] = {6, 10, 10};
    for (int i = 0; i < 3; ++i) {
        const QString where = sections[i];
        // "所有…", the entries and "其它…" for a list read, nothing after.
        QCOMPARE(lists[i]->count(), i < bad ? defaults[i] + 2 : 0);
        // The defaults of the failing section are written before its count
        // is read; those of the later sections are not.
        QVERIFY2(app.store.readProfileString(sections[i], QStringLiteral("s1")).isEmpty() ==
                     (i > bad),
                 qPrintable(where));
    }
}

void TestTmain::firstStartAndInstallation()
{
    TestApp::Options options;
    options.startedBefore = false;
    options.installed = false;
    TestApp app(options);
    QFile help(app.path(QStringLiteral("lumo.html")));
    QVERIFY(help.open(QIODevice::WriteOnly));
    help.write("<html></html>");
    help.close();
    {
        Tmain w(*app.ctx);
        w.show();
        QCOMPARE(app.dialogs.messages.size(), 2);
        QCOMPARE(app.dialogs.messages[0],
                 QStringLiteral("软件首次运行，请先进入设置界面，对软件进行设置！"));
        QCOMPARE(app.dialogs.messages[1],
                 QStringLiteral("软件以安装到 [") + app.folders.installDir() +
                     QStringLiteral("]目录内\n\r请点击桌面上的[Korvane]图标运行！"));
    }
    const QString install = app.folders.installDir();
    QVERIFY(QFile::exists(install + QStringLiteral("/lumo")));
    QVERIFY(QFile::exists(install + QStringLiteral("/lumo.fc")));
    QVERIFY(QFile::exists(install + QStringLiteral("/lumo.html")));
    QVERIFY(QFile::exists(app.folders.desktopDir() + QStringLiteral("/Korvane.desktop")));
    QFile entry(app.folders.applicationsDir() + QStringLiteral("/velmora.desktop"));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    QVERIFY2(text.contains(QStringLiteral("Exec=\"") + install + QStringLiteral("/lumo\"")),
             qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Path=") + install));
    QVERIFY(
        QFile::exists(app.folders.applicationsDir() + QStringLiteral("/velmora-manual.desktop")));

    // The next start shows neither message.
    app.dialogs.messages.clear();
    Tmain again(*app.ctx);
    again.show();
    QVERIFY(app.dialogs.messages.isEmpty());
}

void TestTmain::installationKeepsExistingRegister()
{
    TestApp::Options options;
    options.installed = false;
    TestApp app(options);
    QDir().mkpath(app.folders.installDir());
    QFile kept(app.folders.installDir() + QStringLiteral("/lumo.fc"));
    QVERIFY(kept.open(QIODevice::WriteOnly));
    kept.write("the agency's own register");
    kept.close();
    Tmain w(*app.ctx);
    w.show();
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("the agency's own register"));
    QVERIFY(QFile::exists(app.folders.installDir() + QStringLiteral("/lumo")));
}

void TestTmain::statusBar_data()
{
    QTest::addColumn<int>("screenWidth");
    QTest::addColumn<int>("panel0");
    QTest::addRow("800 wide") << 800 << 155;
    QTest::addRow("801 wide") << 801 << 180;
}

void TestTmain::statusBar()
{
    QFETCH(int, screenWidth);
    QFETCH(int, panel0);
    TestApp app;
    app.screen.w = screenWidth;
    Tmain w(*app.ctx);
    w.show();
    QCOMPARE(w.StatusPanel0->width(), panel0);
    // The notice takes 765 pixels where the bar has room for them (the
    // screen tests cover the narrow bars).
    QCOMPARE(w.statusPanels()->panelWidth(1), 765);
    QCOMPARE(w.StatusPanel1->width(), qMin(765, w.statusPanels()->width() - panel0 - 100 - 4));
    // The login panel stands centred across the window.
    QCOMPARE(w.findChild<QWidget*>(QStringLiteral("suiImagePanel1"))->x(),
             w.centralWidget()->width() / 2 - 280 / 2);
    app.clock.current = QDateTime(QDate(2026, 12, 9), QTime(7, 5, 9));
    QTRY_COMPARE(w.StatusPanel2->text(), QStringLiteral("07:05:09   "));
}

void TestTmain::closeProjectWithoutChildClosesProgram()
{
    TestApp app;
    Tmain w(*app.ctx);
    w.show();
    ::login(w, QStringLiteral("管理员"), QStringLiteral("admin"));
    QVERIFY(w.isVisible());
    w.LockMenus();
    entry(w, QStringLiteral("N11"))->trigger();
    QVERIFY(!w.isVisible());
    for (const QString& name : kProtected)
        QVERIFY(entry(w, name)->isEnabled());
}

void TestTmain::entryFormOpensOnce()
{
    TestApp app;
    Tmain w(*app.ctx);
    w.show();
    ::login(w, QStringLiteral("管理员"), QStringLiteral("admin"));
    entry(w, QStringLiteral("N6"))->trigger();
    QCOMPARE(w.mdiArea()->subWindowList().size(), 1);
    QVERIFY(!entry(w, QStringLiteral("N6"))->isEnabled());
    // Even when the entry is reached again, no second form opens.
    entry(w, QStringLiteral("N6"))->setEnabled(true);
    entry(w, QStringLiteral("N6"))->trigger();
    QCOMPARE(w.mdiArea()->subWindowList().size(), 1);
    QCOMPARE(w.mdiArea()->subWindowList().first()->objectName(), QStringLiteral("Tlrxx"));
}

QTEST_MAIN(TestTmain)
#include "tst_tmain.moc"
