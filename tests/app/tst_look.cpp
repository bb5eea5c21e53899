// Looks, window and grid colours, the paint program, the help file and the
// calculator entry of the main window.
#include "CalculatorDialog.h"
#include "Colors.h"
#include "Looks.h"
#include "OwnLook.h"
#include "PaintProgram.h"
#include "Skins.h"
#include "TestApp.h"
#include "Tmain.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QtTest>

#include <memory>

using lumo::Look;
using lumo::Tmain;
using lumo::test::TestApp;

namespace
{

const QString kSentinel = QStringLiteral("QLabel { color: #123456; }");

// The main window as the user starts it.
std::unique_ptr<Tmain> start(TestApp& app)
{
    // Whatever the last window left behind must not count as applied.
    qApp->setStyleSheet(QString());
    auto w = std::make_unique<Tmain>(*app.ctx);
    qApp->setStyleSheet(kSentinel);
    w->show();
    return w;
}

QString jm(TestApp& app)
{
    return app.store.ReadAppValue(QStringLiteral("jm"));
}

// Writes a user's skin into `folder`; returns the path of its "skin.ini".
QString writeSkin(const QString& folder, const QByteArray& sheet = "QPushButton { color: red; }")
{
    QDir().mkpath(folder);
    QFile ini(folder + QStringLiteral("/skin.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        return QString();
    ini.write("[Skin]\nName=test\nStyleSheet=look.qss\n");
    QFile qss(folder + QStringLiteral("/look.qss"));
    if (!qss.open(QIODevice::WriteOnly))
        return QString();
    qss.write(sheet);
    return ini.fileName();
}

} // namespace

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

class TestLook : public QObject
{
    Q_OBJECT
private slots:
    void nothingStoredStartsWinxpblue();
    void storedLookParsing_data();
    void storedLookParsing();
    void lookEntriesStoreAndApply_data();
    void lookEntriesStoreAndApply();
    void userSkinChosenAndRestored();
    void userSkinCancelledOrInvalid();
    void userSkinPathCutAt100();
    void missingUserSkinFallsBack();
    void windowColour();
    void paintProgram();
    void helpFile();
    void calculatorEntry();
};

void TestLook::nothingStoredStartsWinxpblue()
{
    TestApp app;
    auto w = start(app);
    QCOMPARE(qApp->styleSheet(), lumo::builtInStyleSheet(Look::WinXpBlue));
    QVERIFY(qApp->styleSheet().contains(QStringLiteral("QMenuBar")));
    QVERIFY(lumo::builtInStyleSheet(Look::Mosphere) != qApp->styleSheet());
    QCOMPARE(w->mdiArea()->background().color(), QColor(239, 236, 222)); // the initial colour
    QVERIFY(jm(app).isEmpty());
}

void TestLook::storedLookParsing_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("look");
    QTest::addColumn<QString>("file");
    QTest::newRow("empty") << QString() << int(Look::WinXpBlue) << QString();
    QTest::newRow("1") << QStringLiteral("1") << int(Look::WinXpBlue) << QString();
    QTest::newRow("2") << QStringLiteral("2") << int(Look::Mosphere) << QString();
    QTest::newRow("4") << QStringLiteral("4") << int(Look::Plain) << QString();
    QTest::newRow("other") << QStringLiteral("9x") << int(Look::WinXpBlue) << QString();
    QTest::newRow("3 path") << QStringLiteral("3/a/skin.ini") << int(Look::UserSkin)
                            << QStringLiteral("/a/skin.ini");
    const QString longPath = QStringLiteral("/") + QString(120, QLatin1Char('d'));
    QTest::newRow("3 long path") << QStringLiteral("3") + longPath << int(Look::UserSkin)
                                 << longPath.left(100);
}

void TestLook::storedLookParsing()
{
    QFETCH(QString, stored);
    QFETCH(int, look);
    QFETCH(QString, file);
    const lumo::StoredLook parsed = lumo::parseStoredLook(stored);
    QCOMPARE(int(parsed.look), look);
    QCOMPARE(parsed.skinFile, file);
}

void TestLook::lookEntriesStoreAndApply_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("look");
    QTest::newRow("winxpblue") << QStringLiteral("N110") << QStringLiteral("1")
                               << int(Look::WinXpBlue);
    QTest::newRow("mosphere") << QStringLiteral("N23") << QStringLiteral("2")
                              << int(Look::Mosphere);
    QTest::newRow("plain") << QStringLiteral("windows1") << QStringLiteral("4") << int(Look::Plain);
}

void TestLook::lookEntriesStoreAndApply()
{
    QFETCH(QString, entry);
    QFETCH(QString, stored);
    QFETCH(int, look);
    TestApp app;
    const QString expected = lumo::builtInStyleSheet(Look(look));
    {
        auto w = start(app);
        if (Look(look) == Look::WinXpBlue) // start from another look
            w->menuEntry(QStringLiteral("N23"))->trigger();
        QAction* action = w->menuEntry(entry);
        QVERIFY(action);
        action->trigger();
        // Every window changes at once: the look is the application's.
        QCOMPARE(qApp->styleSheet(), expected);
        QCOMPARE(jm(app), stored);
    }
    // The next start shows the stored look.
    auto w = start(app);
    QCOMPARE(qApp->styleSheet(), expected);
}

void TestLook::userSkinChosenAndRestored()
{
    TestApp app;
    const QString skin = writeSkin(app.dir.path() + QStringLiteral("/myskin"),
                                   "QLabel { background: url(back.png); }");
    {
        auto w = start(app);
        app.dialogs.fileNames.enqueue(skin);
        w->menuEntry(QStringLiteral("N31"))->trigger();
        QCOMPARE(jm(app), QStringLiteral("3") + skin);
        QVERIFY(qApp->styleSheet().contains(app.dir.path() + QStringLiteral("/myskin/back.png")));
    }
    auto w = start(app);
    QVERIFY(qApp->styleSheet().contains(QStringLiteral("/myskin/back.png")));

    // The delivered example skin loads too.
    lumo::UserSkin example;
    QString error;
    QVERIFY2(lumo::loadUserSkin(QString::fromLocal8Bit(qgetenv("LUMO_BUILD_APP_DIR")) +
                                    QStringLiteral("/Skin/skin.ini"),
                                &example, &error),
             qPrintable(error));
    QVERIFY(example.styleSheet.contains(QStringLiteral("QPushButton")));
}

void TestLook::userSkinCancelledOrInvalid()
{
    TestApp app;
    auto w = start(app);
    w->menuEntry(QStringLiteral("N23"))->trigger();
    const QString before = qApp->styleSheet();

    w->menuEntry(QStringLiteral("N31"))->trigger(); // cancelled
    QCOMPARE(jm(app), QStringLiteral("2"));
    QCOMPARE(qApp->styleSheet(), before);
    QVERIFY(app.dialogs.messages.isEmpty());

    // A "skin.ini" naming no style sheet changes nothing and says why.
    const QString folder = app.dir.path() + QStringLiteral("/broken");
    QDir().mkpath(folder);
    QFile ini(folder + QStringLiteral("/skin.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Other]\nx=1\n");
    ini.close();
    app.dialogs.fileNames.enqueue(ini.fileName());
    w->menuEntry(QStringLiteral("N31"))->trigger();
    QCOMPARE(jm(app), QStringLiteral("2"));
    QCOMPARE(qApp->styleSheet(), before);
    QCOMPARE(app.dialogs.messages.size(), 1);
}

void TestLook::userSkinPathCutAt100()
{
    TestApp app;
    // A skin whose path is exactly 100 characters long.
    QString folder = app.dir.path() + QStringLiteral("/s");
    const int fill = 100 - int(folder.size()) - int(QStringLiteral("/skin.ini").size());
    QVERIFY(fill > 2);
    folder += QString(fill, QLatin1Char('k'));
    const QString skin = writeSkin(folder, "QLabel { color: #abcdef; }");
    QCOMPARE(skin.size(), 100);

    // Stored whole with more behind it, read back cut at 100: that skin.
    app.store.WriteAppValue(QStringLiteral("jm"),
                            QStringLiteral("3") + skin + QStringLiteral("/extra/skin.ini"));
    auto w = start(app);
    QVERIFY(qApp->styleSheet().contains(QStringLiteral("#abcdef")));
}

void TestLook::missingUserSkinFallsBack()
{
    TestApp app;
    QString longFolder = app.dir.path();
    while (longFolder.size() < 110)
        longFolder += QStringLiteral("/deep_folder");
    const QString skin = writeSkin(longFolder);
    QVERIFY(!skin.isEmpty());
    {
        auto w = start(app);
        app.dialogs.fileNames.enqueue(skin);
        w->menuEntry(QStringLiteral("N31"))->trigger();
        QCOMPARE(jm(app), QStringLiteral("3") + skin); // stored whole
        QVERIFY(qApp->styleSheet().contains(QStringLiteral("color: red")));
    }
    // Cut at 100 characters the path names nothing: winxpblue.
    {
        auto w = start(app);
        QCOMPARE(qApp->styleSheet(), lumo::builtInStyleSheet(Look::WinXpBlue));
    }
    // A skin file that has gone: winxpblue as well.
    app.store.WriteAppValue(QStringLiteral("jm"), QStringLiteral("3/no/such/skin.ini"));
    auto w = start(app);
    QCOMPARE(qApp->styleSheet(), lumo::builtInStyleSheet(Look::WinXpBlue));
    QVERIFY(app.dialogs.messages.isEmpty());
}

void TestLook::windowColour()
{
    TestApp app;
    const QColor chosen(0x5C, 0x8A, 0xDE);
    {
        auto w = start(app);
        QWidget other;
        const QPalette otherPalette = other.palette();

        app.dialogs.colors.enqueue(QColor()); // cancelled
        w->menuEntry(QStringLiteral("N24"))->trigger();
        QVERIFY(app.store.ReadAppValue(QStringLiteral("rgb")).isEmpty());

        app.dialogs.colors.enqueue(chosen);
        w->menuEntry(QStringLiteral("N24"))->trigger();
        QCOMPARE(app.store.ReadAppValue(QStringLiteral("rgb")),
                 QString::number(0xDE8A5C)); // 0x00BBGGRR
        QCOMPARE(w->mdiArea()->background().color(), chosen);
        QCOMPARE(other.palette(), otherPalette); // other windows keep theirs

        // The colour dialog offers the five presets, then white.
        const QList<QColor> custom = app.dialogs.lastCustomColors;
        QCOMPARE(custom.size(), 16);
        QCOMPARE(custom.at(0), QColor(0xEF, 0xEC, 0xDE));
        QCOMPARE(custom.at(3), QColor(0x3F, 0x7E, 0x7E));
        QCOMPARE(custom.at(4), QColor(0xF9, 0xFA, 0xDE));
        QCOMPARE(custom.at(5), QColor(Qt::white));
    }
    // Applied at the next start and by windows opening later.
    auto w = start(app);
    QCOMPARE(w->mdiArea()->background().color(), chosen);
    QCOMPARE(lumo::storedWindowColor(app.store, Qt::black), chosen);
}

void TestLook::paintProgram()
{
    TestApp app;
    auto w = start(app);
    const QByteArray oldPath = qgetenv("PATH");
    const QString bin = app.dir.path() + QStringLiteral("/bin");
    QDir().mkpath(bin);
    qputenv("PATH", bin.toLocal8Bit());

    w->menuEntry(QStringLiteral("N29"))->trigger();
    QCOMPARE(
        app.dialogs.messages,
        QStringList{QStringLiteral("您的系统未安装画图程序！[kolourpaint/pinta/mtpaint/gimp]")});

    // A paint program on PATH is started without parameters.
    const QString marker = app.dir.path() + QStringLiteral("/painted");
    QFile script(bin + QStringLiteral("/mtpaint"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QByteArray("#!/bin/sh\necho \"$#\" > '") + marker.toLocal8Bit() + "'\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(lumo::findPaintProgram(), script.fileName());
    w->menuEntry(QStringLiteral("N29"))->trigger();
    qputenv("PATH", oldPath);
    auto written = [&marker] {
        QFile out(marker);
        return out.open(QIODevice::ReadOnly) ? out.readAll().trimmed() : QByteArray();
    };
    QTRY_COMPARE(written(), QByteArray("0")); // no parameters
    QCOMPARE(app.dialogs.messages.size(), 1);
}

void TestLook::helpFile()
{
    TestApp app;
    auto w = start(app);
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");

    w->menuEntry(QStringLiteral("N28"))->trigger();
    QCOMPARE(app.dialogs.messages, QStringList{QStringLiteral("未找到帮助文件！[lumo.html]")});
    QVERIFY(catcher.urls.isEmpty());

    QFile help(app.path(QStringLiteral("lumo.html")));
    QVERIFY(help.open(QIODevice::WriteOnly));
    help.write("<html></html>");
    help.close();
    w->menuEntry(QStringLiteral("N28"))->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(help.fileName())});
    QCOMPARE(app.dialogs.messages.size(), 1);
}

void TestLook::calculatorEntry()
{
    TestApp app;
    auto w = start(app);
    w->menuEntry(QStringLiteral("N14"))->trigger();
    auto* calc = w->findChild<lumo::CalculatorDialog*>(QStringLiteral("bsSkinCalculator1"));
    QVERIFY(calc);
    QTRY_VERIFY(calc->isVisible());
    QTest::keyClicks(calc, QStringLiteral("7*6="));
    QCOMPARE(calc->display->text(), QStringLiteral("42"));
    // A second click brings the same calculator forward.
    w->menuEntry(QStringLiteral("N14"))->trigger();
    QCOMPARE(w->findChildren<lumo::CalculatorDialog*>().size(), 1);
    QCOMPARE(calc->display->text(), QStringLiteral("42"));
}

QTEST_MAIN(TestLook)
#include "tst_look.moc"
