// The data-management entries of the main window: the backup on closing, the
// restore entries, export, the imports with the progress panel and the
// compaction, as the user reaches them.
#include "BackupSlots.h"
#include "DataFixtures.h"
#include "ProgressPanel.h"
#include "Tmain.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>

using namespace lumo;
using namespace lumo::test;

namespace
{

QAction* entry(const Tmain& w, const char* name)
{
    auto* a = w.findChild<QAction*>(QLatin1String(name));
    if (!a)
        qFatal("no entry %s", name);
    return a;
}

QString today(TestApp& app)
{
    return slotDateText(app.clock.today());
}

} // namespace

class TestTmainData : public QObject
{
    Q_OBJECT
private slots:
    void closingTakesBackupAndListsSlot();
    void failedBackupIsToldAndWindowStillCloses();
    void restoreEntryWritesSlotBack();
    void exportEntry();
    void replacementNoLeavesEverything();
    void replacementYesClosesWindow();
    void updateImportShowsProgressPanel();
    void compactionClosesWindow();
    void closingDuringImportIsRefused();
    void entriesDuringClosingBackupAreLocked_data();
    void entriesDuringClosingBackupAreLocked();
};

void TestTmainData::closingTakesBackupAndListsSlot()
{
    TestApp app;
    Tmain w(*app.ctx);
    w.show();
    QVERIFY(!w.rb1->isVisible());
    QVERIFY(w.close());
    QVERIFY(app.dialogs.messages.isEmpty());
    QVERIFY(QFileInfo::exists(slotFile(app.folders, today(app))));
    QCOMPARE(w.rb1->text(), today(app));
    QVERIFY(w.rb1->isVisible());
    QVERIFY(!w.rb2->isVisible());

    // A new window on another day lists both slots.
    app.clock.current = app.clock.current.addDays(1);
    Tmain w2(*app.ctx);
    w2.show();
    w2.close();
    QCOMPARE(w2.rb1->text(), slotDateText(app.clock.today().addDays(-1)));
    QCOMPARE(w2.rb2->text(), today(app));
}

void TestTmainData::failedBackupIsToldAndWindowStillCloses()
{
    TestApp app;
    QVERIFY(QDir().mkpath(app.path(QStringLiteral("fcxx.vvv/inside"))));
    Tmain w(*app.ctx);
    w.show();
    w.close();
    QVERIFY(!w.isVisible());
    // The archive component's error comes first in its own box, then the
    // window's message.
    QCOMPARE(app.dialogs.messages.size(), 2);
    QCOMPARE(app.dialogs.messages.at(0), QStringLiteral("Cannot write to archive"));
    QCOMPARE(app.dialogs.icons.at(0), Dialogs::Icon::Error);
    QVERIFY(app.dialogs.messages.at(1).contains(QStringLiteral("下次关闭程序时将再次备份")));
    QCOMPARE(app.dialogs.icons.at(1), Dialogs::Icon::Warning);
    QVERIFY(!w.rb1->isVisible());
    QCOMPARE(app.store.ReadSlotValue(QStringLiteral("Velmora"), QStringLiteral("cs")), QString());
}

void TestTmainData::restoreEntryWritesSlotBack()
{
    TestApp app;
    app.addListing(1, QStringLiteral("出售"), QStringLiteral("和平区"));
    Tmain w(*app.ctx);
    w.show();
    entry(w, "N20")->trigger();
    QVERIFY(w.rb1->isVisible());
    app.addListing(2, QStringLiteral("出售"), QStringLiteral("和平区"));
    // The entry restores the backup its caption names, whatever the
    // registry says meanwhile.
    app.store.WriteSlotValue(QStringLiteral("Velmora"), QStringLiteral("1"),
                             QStringLiteral("其它"));

    w.rb1->trigger();
    QCOMPARE(app.dialogs.messages,
             (QStringList{QStringLiteral("强烈建议,在恢复数据库前必须关闭所有与数据库连接的程序！"),
                          QStringLiteral("数据恢复完毕！")}));
    QVERIFY(app.sj->lumo1Connected());
    QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM fcxx")).toInt(), 1);
    QVERIFY(w.bsSkinMainMenuBar1->isEnabled());

    // The slot file deleted by hand: the entry stays and its restore fails
    // with the window's message alone; the database stays as it was.
    QFile::remove(slotFile(app.folders, today(app)));
    app.dialogs.messages.clear();
    w.rb1->trigger();
    QCOMPARE(app.dialogs.messages,
             (QStringList{QStringLiteral("强烈建议,在恢复数据库前必须关闭所有与数据库连接的程序！"),
                          QStringLiteral("数据恢复错误，可能是有其它程序正在使用数据库！")}));
    QVERIFY(w.rb1->isVisible());
    QVERIFY(app.sj->lumo1Connected());
    QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM fcxx")).toInt(), 1);
}

void TestTmainData::exportEntry()
{
    TestApp app;
    Tmain w(*app.ctx);
    w.show();
    auto* bar1 = w.findChild<QProgressBar*>(QStringLiteral("suiProgressBar1"));
    QList<int> values;
    connect(bar1, &QProgressBar::valueChanged, this, [&](int v) { values << v; });
    entry(w, "N21")->trigger();
    QCOMPARE(app.dialogs.messages,
             QStringList{QStringLiteral("以将数据保存到 ") + app.appDir() +
                         QStringLiteral("/ 目录内！\r\n\r\n数据文件名为 fcsj.su")});
    QVERIFY(QFileInfo::exists(app.path(QStringLiteral("fcsj.su"))));
    // The window's progress handler moved bar 1 and hid it at 100; the
    // panel itself stays hidden.
    QVERIFY(!values.isEmpty());
    QVERIFY(!bar1->isVisibleTo(w.suiImagePanel3));
    QVERIFY(!w.suiImagePanel3->isVisible());
}

void TestTmainData::replacementNoLeavesEverything()
{
    TestApp app;
    app.addListing(1, QStringLiteral("出售"), QStringLiteral("和平区"));
    makeExchange(app, {listing(5)});
    const QByteArray before = fingerprint(app.path(QStringLiteral("lumo.fc")));
    Tmain w(*app.ctx);
    w.show();
    app.dialogs.answers.enqueue(false);
    entry(w, "N27")->trigger();
    QCOMPARE(app.dialogs.questions,
             QStringList{QStringLiteral("确实要替换数据库吗？替换后原来的数据将全部删除！")});
    QVERIFY(app.dialogs.messages.isEmpty());
    QVERIFY(app.sj->lumo1Connected());
    QVERIFY(w.isVisible());
    QCOMPARE(fingerprint(app.path(QStringLiteral("lumo.fc"))), before);
    QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("lumo.up"))));
}

void TestTmainData::replacementYesClosesWindow()
{
    TestApp app;
    makeExchange(app, {listing(5), listing(6)});
    Tmain w(*app.ctx);
    w.show();
    app.dialogs.answers.enqueue(true);
    entry(w, "N27")->trigger();
    QCOMPARE(app.dialogs.messages, QStringList{QStringLiteral("数据更新完毕，请重新启动软件！")});
    QVERIFY(!w.isVisible());
    // The close backed up the new database.
    QVERIFY(QFileInfo::exists(slotFile(app.folders, today(app))));
    withDatabase(app.path(QStringLiteral("lumo.fc")),
                 [](QSqlDatabase db) { QCOMPARE(registerRows(db).size(), 2); });
}

void TestTmainData::updateImportShowsProgressPanel()
{
    TestApp app;
    app.exec(QStringLiteral("DELETE FROM fcxx"));
    QList<QVariantMap> rows;
    for (int i = 1; i <= 400; ++i)
        rows << listing(i);
    insertRows(app.sj->lumo1(), rows.mid(0, 200));
    makeExchange(app, rows);
    Tmain w(*app.ctx);
    w.show();
    auto* panel = w.findChild<QFrame*>(QStringLiteral("suiImagePanel3"));
    auto* bar1 = w.findChild<QProgressBar*>(QStringLiteral("suiProgressBar1"));
    auto* bar2 = w.findChild<QProgressBar*>(QStringLiteral("suiProgressBar2"));
    auto* label7 = w.findChild<QLineEdit*>(QStringLiteral("Label7"));
    auto* animation = w.findChild<FileCopyAnimation*>(QStringLiteral("Animate1"));
    QVERIFY(panel && bar1 && bar2 && label7 && animation);
    QVERIFY(!panel->isVisible());
    QCOMPARE(label7->text(), QStringLiteral("正在解压数据..."));

    QList<int> values1, values2;
    bool shownWhileWorking = true;
    bool animating = true;
    auto watch = [&](QList<int>& values, int v) {
        values << v;
        shownWhileWorking = shownWhileWorking && panel->isVisible();
        animating = animating && animation->active();
    };
    connect(bar1, &QProgressBar::valueChanged, this, [&](int v) { watch(values1, v); });
    connect(bar2, &QProgressBar::valueChanged, this, [&](int v) { watch(values2, v); });
    QStringList texts;
    connect(label7, &QLineEdit::textChanged, this, [&](const QString& t) { texts << t; });

    entry(w, "N26")->trigger();
    QCOMPARE(app.dialogs.messages,
             QStringList{QStringLiteral("外部数据文件数据以完全导入系统内！！！")});
    QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM fcxx")).toInt(), 400);
    QVERIFY(shownWhileWorking && animating);
    QVERIFY(values1.contains(50) && values1.contains(100));
    QVERIFY(values2.contains(50) && values2.contains(100));
    QVERIFY(texts.contains(QStringLiteral("数据正在更新...")));
    QVERIFY(!panel->isVisible());
    QVERIFY(!animation->active());
    QVERIFY(w.isVisible());

    // The status line is not set back: a second import starts with the text
    // the first one left.
    QCOMPARE(label7->text(), QStringLiteral("数据正在更新..."));
    texts.clear();
    entry(w, "N26")->trigger();
    QVERIFY(!texts.contains(QStringLiteral("正在解压数据...")));
    QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM fcxx")).toInt(), 400);
}

void TestTmainData::compactionClosesWindow()
{
    TestApp app;
    Tmain w(*app.ctx);
    w.show();
    entry(w, "N17")->trigger();
    QCOMPARE(app.dialogs.messages,
             (QStringList{QStringLiteral("强烈建议,在整理数据库前必须关闭所有与数据库连接的程序！"),
                          QStringLiteral("数据库整理完成，请重新启动程序！")}));
    QVERIFY(!w.isVisible());
    QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("lumo.~fc"))));
    QVERIFY(QFileInfo::exists(slotFile(app.folders, today(app))));
}

void TestTmainData::closingDuringImportIsRefused()
{
    TestApp app;
    app.exec(QStringLiteral("DELETE FROM fcxx"));
    QList<QVariantMap> rows;
    for (int i = 1; i <= 300; ++i)
        rows << listing(i);
    makeExchange(app, rows);
    Tmain w(*app.ctx);
    w.show();
    auto* bar1 = w.findChild<QProgressBar*>(QStringLiteral("suiProgressBar1"));
    auto* label7 = w.findChild<QLineEdit*>(QStringLiteral("Label7"));
    connect(bar1, &QProgressBar::valueChanged, &w, [&](int v) {
        if (v == 50 && label7->text() == QStringLiteral("数据正在更新..."))
            w.close();
    });
    entry(w, "N26")->trigger();
    // The close asked for while the register was being written was refused
    // and took no backup of a half-written file.
    QVERIFY(w.isVisible());
    QVERIFY(!QFileInfo::exists(slotFile(app.folders, today(app))));
    QCOMPARE(app.dialogs.messages.last(), QStringLiteral("外部数据文件数据以完全导入系统内！！！"));
    QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM fcxx")).toInt(), 300);
    // Afterwards the window closes with its daily backup.
    w.close();
    QVERIFY(!w.isVisible());
    QVERIFY(QFileInfo::exists(slotFile(app.folders, today(app))));
}

void TestTmainData::entriesDuringClosingBackupAreLocked_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addRow("更新方式") << QStringLiteral("N26");
    QTest::addRow("替换方式") << QStringLiteral("N27");
    QTest::addRow("数据修复与压缩") << QStringLiteral("N17");
    QTest::addRow("恢复备份数据") << QStringLiteral("rb1");
    QTest::addRow("a second close") << QStringLiteral("close");
}

void TestTmainData::entriesDuringClosingBackupAreLocked()
{
    // While the closing backup archives the database, the message loop runs
    // after every block; a data entry chosen then (by click or by shortcut)
    // must not write the database under the backup.
    QFETCH(QString, chosen);
    TestApp app;
    QList<QVariantMap> rows;
    for (int i = 1; i <= 3000; ++i)
        rows << listing(i);
    app.exec(QStringLiteral("DELETE FROM fcxx"));
    {
        QSqlDatabase db = app.sj->lumo1();
        db.transaction();
        insertRows(db, rows);
        db.commit();
    }
    makeExchange(app, {listing(5)});
    // A slot of an earlier day for the restore entry.
    app.clock.current = app.clock.current.addDays(-1);
    {
        Tmain earlier(*app.ctx);
        earlier.show();
        earlier.close();
    }
    app.clock.current = app.clock.current.addDays(1);
    app.dialogs.messages.clear();

    Tmain w(*app.ctx);
    w.show();
    for (QAction* a : {w.N16, w.N26, w.N27, w.N17, w.rb1})
        a->setEnabled(true);
    auto* bar1 = w.findChild<QProgressBar*>(QStringLiteral("suiProgressBar1"));
    bool tried = false;
    bool lockedMeanwhile = false;
    connect(bar1, &QProgressBar::valueChanged, &w, [&](int v) {
        if (tried || v < 30)
            return;
        tried = true;
        lockedMeanwhile = !w.N16->isEnabled() && !w.bsSkinMainMenuBar1->isEnabled();
        app.dialogs.answers.enqueue(true);
        if (chosen == QLatin1String("close"))
            w.close();
        else
            w.findChild<QAction*>(chosen)->trigger();
        // A click on the menu bar is held back as well.
        QTest::mouseClick(w.bsSkinMainMenuBar1, Qt::LeftButton);
    });
    QVERIFY(w.close());
    QVERIFY(tried);
    QVERIFY(lockedMeanwhile);
    QVERIFY(!w.isVisible());
    // Nothing ran besides the backup: no question, no message, the register
    // as it was, and today's slot a sound copy of it.
    QVERIFY(app.dialogs.questions.isEmpty());
    QVERIFY2(app.dialogs.messages.isEmpty(),
             qPrintable(app.dialogs.messages.join(QLatin1Char('|'))));
    QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM fcxx")).toInt(), 3000);
    QTemporaryDir out;
    TBackupFile reader;
    QVERIFY(reader.Restore(fromQ(slotFile(app.folders, today(app))), fromQ(out.path())));
    withDatabase(out.path() + QStringLiteral("/lumo.fc"), [](QSqlDatabase db) {
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
        QCOMPARE(registerRows(db).size(), 3000);
    });
    QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("lumo.up"))));
    // The entries have their state back.
    QVERIFY(w.N16->isEnabled());
    QVERIFY(w.bsSkinMainMenuBar1->isEnabled());
}

QTEST_MAIN(TestTmainData)
#include "tst_tmaindata.moc"
