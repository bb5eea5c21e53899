// Installing the program for a user: the files, the register that is never
// replaced, the desktop entries and their folder, the packaged program.
#include "Folders.h"
#include "Installation.h"
#include "PlatformHelpers.h"
#include "TestApp.h"
#include "Tmain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace lumo;
using lumo::test::TestApp;
using lumo::test::TestFolders;

namespace
{

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// The delivered files of a build's application folder.
void makeDeliveredFiles(const QString& appDir)
{
    writeFile(appDir + QStringLiteral("/lumo.html"), "<html>手册</html>");
    writeFile(appDir + QStringLiteral("/lumo_images/main.png"), "png");
    writeFile(appDir + QStringLiteral("/Skin/skin.ini"), "[skin]");
    writeFile(appDir + QStringLiteral("/icons/hicolor/48x48/apps/velmora.png"), "icon");
    writeFile(appDir + QStringLiteral("/lumoctl"), "#!/bin/sh\n");
}

// One line "key=value" of a desktop entry.
QString entryValue(const QString& entry, const QString& key)
{
    for (const QString& line : entry.split(QLatin1Char('\n')))
        if (line.startsWith(key + QLatin1Char('=')))
            return line.mid(key.size() + 1);
    return QStringLiteral("<missing>");
}

// A program that runs from the installation folder itself.
class InstalledFolders : public TestFolders
{
public:
    using TestFolders::TestFolders;
    QString appDir() const override { return installDir(); }
    QString programFile() const override { return installDir() + QStringLiteral("/lumo"); }
};

} // namespace

class TestInstallation : public QObject
{
    Q_OBJECT

private slots:
    void entryContents_data();
    void entryContents();
    void desktopFolderFromXdgUserDir_data();
    void desktopFolderFromXdgUserDir();
    void installForUserKeepsTheRegister();
    void installFromTheInstallationFolderCopiesNothingOverItself();
    void registerOfEarlierBuildSessions_data();
    void registerOfEarlierBuildSessions();
    void packagedProgramWorksInTheUsersFolder();
};

void TestInstallation::entryContents_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QString>("path");
    QTest::addRow("plain") << QStringLiteral("/home/a/.local/share/Velmorix/lumo")
                           << QStringLiteral("\"/home/a/.local/share/Velmorix/lumo\"")
                           << QStringLiteral("/home/a/.local/share/Velmorix");
    QTest::addRow("spaces and Chinese")
        << QStringLiteral("/home/王 五/房产/lumo") << QStringLiteral("\"/home/王 五/房产/lumo\"")
        << QStringLiteral("/home/王 五/房产");
    // Reserved characters of the Exec quoting get a backslash, which the
    // string escapes double; field codes are doubled.
    QTest::addRow("reserved characters")
        << QStringLiteral("/opt/a$b`c\\d\"e%f/lumo")
        << QStringLiteral("\"/opt/a\\\\$b\\\\`c\\\\\\\\d\\\\\"e%%f/lumo\"")
        << QStringLiteral("/opt/a$b`c\\\\d\"e%f");
}

void TestInstallation::entryContents()
{
    QFETCH(QString, target);
    QFETCH(QString, exec);
    QFETCH(QString, path);
    QTemporaryDir dir;
    // Only a program is started directly; make the target one.
    const QString real = dir.path() + QStringLiteral("/lumo");
    writeFile(real, "#!/bin/sh\n");
    QFile::setPermissions(real, QFile::permissions(real) | QFile::ExeOwner);
    const QString entry = desktopEntry(target, programEntryText());
    QVERIFY(entry.startsWith(QStringLiteral("[Desktop Entry]\n")));
    QCOMPARE(entryValue(entry, QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(entryValue(entry, QStringLiteral("Name")), QStringLiteral("Korvane"));
    QCOMPARE(entryValue(entry, QStringLiteral("Name[zh_CN]")),
             QStringLiteral("Korvane 房产中介管理"));
    QCOMPARE(entryValue(entry, QStringLiteral("Comment[zh_CN]")),
             QStringLiteral("二手房出售、出租登记与查询"));
    QCOMPARE(entryValue(entry, QStringLiteral("Icon")), QStringLiteral("velmora"));
    QCOMPARE(entryValue(entry, QStringLiteral("Categories")), QStringLiteral("Office;"));
    QCOMPARE(entryValue(entry, QStringLiteral("Path")), path);
    // The target does not exist, so it is opened rather than started.
    QCOMPARE(entryValue(entry, QStringLiteral("Exec")), QStringLiteral("xdg-open ") + exec);
    const QString started = desktopEntry(real, programEntryText());
    QCOMPARE(entryValue(started, QStringLiteral("Exec")),
             QLatin1Char('"') + real + QLatin1Char('"'));
}

void TestInstallation::desktopFolderFromXdgUserDir_data()
{
    QTest::addColumn<QString>("answer"); // what the fake xdg-user-dir prints; "-" = not installed
    QTest::addColumn<QString>("expected");
    QTest::addRow("Chinese desktop") << QStringLiteral("HOME/桌面") << QStringLiteral("HOME/桌面");
    QTest::addRow("no tool") << QStringLiteral("-") << QStringLiteral("HOME/Desktop");
    QTest::addRow("home itself") << QStringLiteral("HOME") << QStringLiteral("HOME/Desktop");
    QTest::addRow("nothing") << QString() << QStringLiteral("HOME/Desktop");
}

void TestInstallation::desktopFolderFromXdgUserDir()
{
    QFETCH(QString, answer);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString home = dir.path() + QStringLiteral("/home");
    const QString bin = dir.path() + QStringLiteral("/bin");
    QDir().mkpath(home);
    QDir().mkpath(bin);
    if (answer != QStringLiteral("-")) {
        const QString script = bin + QStringLiteral("/xdg-user-dir");
        writeFile(script,
                  (QStringLiteral("#!/bin/sh\n[ \"$1\" = DESKTOP ] && echo '") +
                   QString(answer).replace(QStringLiteral("HOME"), home) + QStringLiteral("'\n"))
                      .toUtf8());
        QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
    }
    const QByteArray oldPath = qgetenv("PATH");
    const QByteArray oldHome = qgetenv("HOME");
    qunsetenv("LUMO_DESKTOP_DIR");
    qputenv("PATH", bin.toLocal8Bit());
    qputenv("HOME", home.toLocal8Bit());
    const QString found = Folders().desktopDir();
    qputenv("PATH", oldPath);
    qputenv("HOME", oldHome);
    QCOMPARE(found, QString(expected).replace(QStringLiteral("HOME"), home));
}

void TestInstallation::installForUserKeepsTheRegister()
{
    TestApp app;
    makeDeliveredFiles(app.appDir());
    const QString install = app.folders.installDir();
    writeFile(install + QStringLiteral("/lumo"), "an older program");
    writeFile(install + QStringLiteral("/lumo.fc"), "the agency's own register");
    writeFile(install + QStringLiteral("/skin.ini"), "[skin]");

    QCOMPARE(installForUser(app.folders), install);
    QCOMPARE(readAll(install + QStringLiteral("/lumo")), readAll(app.folders.programFile()));
    QCOMPARE(readAll(install + QStringLiteral("/lumo.fc")),
             QByteArray("the agency's own register"));
    QCOMPARE(readAll(install + QStringLiteral("/lumo.html")), QByteArray("<html>手册</html>"));
    QVERIFY(QFile::exists(install + QStringLiteral("/lumo_images/main.png")));
    QVERIFY(QFile::exists(install + QStringLiteral("/Skin/skin.ini")));
    QVERIFY(QFile::exists(install + QStringLiteral("/lumoctl")));
    QCOMPARE(readAll(app.folders.iconThemeDir() + QStringLiteral("/48x48/apps/velmora.png")),
             QByteArray("icon"));
    const QString entry = QString::fromUtf8(
        readAll(app.folders.applicationsDir() + QStringLiteral("/velmora.desktop")));
    QCOMPARE(entryValue(entry, QStringLiteral("Exec")),
             QLatin1Char('"') + install + QStringLiteral("/lumo\""));
    QCOMPARE(entryValue(entry, QStringLiteral("Path")), install);
    QVERIFY(QFile::exists(app.folders.desktopDir() + QStringLiteral("/Korvane.desktop")));
    const QString manual = QString::fromUtf8(
        readAll(app.folders.applicationsDir() + QStringLiteral("/velmora-manual.desktop")));
    QCOMPARE(entryValue(manual, QStringLiteral("Name[zh_CN]")), QStringLiteral("帮助文件"));

    // Again: no second copy of the skin, nothing else changes.
    QCOMPARE(installForUser(app.folders), install);
    QVERIFY(!QFile::exists(install + QStringLiteral("/skin.ini (2)")));
    QCOMPARE(readAll(install + QStringLiteral("/lumo.fc")),
             QByteArray("the agency's own register"));

    // A fresh folder gets the delivered register.
    QDir(install).removeRecursively();
    installForUser(app.folders);
    QCOMPARE(readAll(install + QStringLiteral("/lumo.fc")),
             readAll(app.path(QStringLiteral("lumo.fc"))));
    QVERIFY(QFileInfo(install + QStringLiteral("/lumo.fc")).isWritable());
}

void TestInstallation::installFromTheInstallationFolderCopiesNothingOverItself()
{
    TestApp::Options options;
    options.installed = false;
    TestApp app(options);
    InstalledFolders folders(app.dir.path());
    const QString install = folders.installDir();
    writeFile(install + QStringLiteral("/lumo"), "the program itself");
    writeFile(install + QStringLiteral("/lumo.html"), "<html>手册</html>");
    writeFile(install + QStringLiteral("/lumo.fc"), "the agency's own register");
    installForUser(folders);
    // Started from elsewhere, it still works in its own folder.
    QCOMPARE(prepareWorkingFolder(folders), install);
    QCOMPARE(readAll(install + QStringLiteral("/lumo")), QByteArray("the program itself"));
    QCOMPARE(readAll(install + QStringLiteral("/lumo.html")), QByteArray("<html>手册</html>"));
    QCOMPARE(readAll(install + QStringLiteral("/lumo.fc")),
             QByteArray("the agency's own register"));
}

void TestInstallation::registerOfEarlierBuildSessions_data()
{
    // What the build folder and the installation folder hold: "delivered"
    // is the untouched delivered register, anything else a used one.
    QTest::addColumn<QByteArray>("built");
    QTest::addColumn<QByteArray>("installed");
    QTest::addColumn<QByteArray>("expected");
    QTest::addRow("build's data replaces the untouched delivered one")
        << QByteArray("build data") << QByteArray("delivered") << QByteArray("build data");
    QTest::addRow("a used register is kept")
        << QByteArray("build data") << QByteArray("own data") << QByteArray("own data");
    QTest::addRow("nothing used anywhere")
        << QByteArray("delivered") << QByteArray("delivered") << QByteArray("delivered");
}

void TestInstallation::registerOfEarlierBuildSessions()
{
    QFETCH(QByteArray, built);
    QFETCH(QByteArray, installed);
    QFETCH(QByteArray, expected);
    TestApp::Options options;
    options.openData = false;
    TestApp app(options);
    const QByteArray delivered = readAll(lumo::test::deliveredDatabase());
    auto real = [&delivered](const QByteArray& v) { return v == "delivered" ? delivered : v; };
    writeFile(app.path(QStringLiteral("lumo.fc.delivered")), delivered);
    QFile::remove(app.path(QStringLiteral("lumo.fc")));
    writeFile(app.path(QStringLiteral("lumo.fc")), real(built));
    writeFile(app.folders.installDir() + QStringLiteral("/lumo.fc"), real(installed));
    installForUser(app.folders);
    QCOMPARE(readAll(app.folders.installDir() + QStringLiteral("/lumo.fc")), real(expected));
    QCOMPARE(readAll(app.path(QStringLiteral("lumo.fc"))), real(built));
}

void TestInstallation::packagedProgramWorksInTheUsersFolder()
{
    TestApp::Options options;
    options.installed = false;
    options.openData = false;
    TestApp app(options);
    makeDeliveredFiles(app.appDir());
    const QString install = app.folders.installDir();
    // An unpackaged program works where it was started.
    QCOMPARE(prepareWorkingFolder(app.folders), QString());
    QVERIFY(!QFile::exists(install + QStringLiteral("/lumo.fc")));

    writeFile(app.path(QStringLiteral("lumo.package")), "packaged");
    QFile::setPermissions(app.path(QStringLiteral("lumo.fc")), QFile::ReadOwner | QFile::ReadUser);
    QCOMPARE(prepareWorkingFolder(app.folders), install);
    QVERIFY(QFileInfo(install + QStringLiteral("/lumo.fc")).isWritable());
    QVERIFY(QFile::exists(install + QStringLiteral("/lumo.html")));
    QVERIFY(QFile::exists(install + QStringLiteral("/Skin/skin.ini")));

    // The program then runs there; its installation step links the
    // packaged program and makes the entries.
    QDir::setCurrent(install);
    app.openData();
    {
        Tmain w(*app.ctx);
        w.show();
        QCOMPARE(app.dialogs.messages.size(), 1);
        QVERIFY(app.dialogs.messages[0].startsWith(QStringLiteral("软件以安装到 [") + install));
    }
    const QFileInfo program(install + QStringLiteral("/lumo"));
    QVERIFY(program.isSymLink());
    QCOMPARE(program.symLinkTarget(), app.folders.programFile());
    QVERIFY(QFile::exists(install + QStringLiteral("/skin.ini")));
    const QString entry =
        QString::fromUtf8(readAll(app.folders.desktopDir() + QStringLiteral("/Korvane.desktop")));
    QCOMPARE(entryValue(entry, QStringLiteral("Path")), install);

    // A register kept there survives the next packaged start.
    app.exec(QStringLiteral("INSERT INTO dh (序号, 名称) VALUES (1, '张三')"));
    app.sj.reset();
    QCOMPARE(prepareWorkingFolder(app.folders), install);
    app.openData();
    QCOMPARE(app.scalar(QStringLiteral("SELECT COUNT(*) FROM dh WHERE 名称 = '张三'")).toInt(), 1);
}

QTEST_MAIN(TestInstallation)
#include "tst_installation.moc"
