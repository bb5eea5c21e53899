// The settings file with private-profile semantics, the registry helpers and
// the lookup lists.
#include "DataError.h"
#include "IniFile.h"
#include "LookupLists.h"
#include "SettingsStore.h"
#include "TestSeams.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace lumo;

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void profileMatchesSectionsAndKeysWithoutCase();
    void profileWriteFailureNamesTheFile();
    void registryHelpersUseTheirSubkeys();
    void lookupDefaultsOnFirstStart();
    void lookupDefaultRestoredForClearedKey();
    void lookupCountLimitsAndMalformedCount();
};

void TestSettings::profileMatchesSectionsAndKeysWithoutCase()
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("lumo.ini")), QStringLiteral("lumo.ini"));
    QCOMPARE(ini.readString(QStringLiteral("gj"), QStringLiteral("s"), QStringLiteral("6")),
             QStringLiteral("6"));
    ini.writeString(QStringLiteral("gj"), QStringLiteral("s1"), QStringLiteral("和平区"));
    ini.writeString(QStringLiteral("GJ"), QStringLiteral("S1"), QStringLiteral("沈河区"));
    ini.writeString(QStringLiteral("cx"), QStringLiteral("s1"), QStringLiteral("南北"));
    ini.writeString(QStringLiteral("gj"), QStringLiteral("s2"), QString());
    QCOMPARE(ini.readString(QStringLiteral("Gj"), QStringLiteral("s1"), QString()),
             QStringLiteral("沈河区"));
    QCOMPARE(ini.readString(QStringLiteral("cx"), QStringLiteral("S1"), QString()),
             QStringLiteral("南北"));
    // A present but empty entry reads as empty, not as the default.
    QCOMPARE(ini.readString(QStringLiteral("gj"), QStringLiteral("s2"), QStringLiteral("x")),
             QString());
    QFile f(ini.path());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    QCOMPARE(text.count(QStringLiteral("[gj]"), Qt::CaseInsensitive), 1);
    QVERIFY(text.contains(QStringLiteral("s2=\n")));
}

void TestSettings::profileWriteFailureNamesTheFile()
{
    QTemporaryDir dir;
    // A folder where the file should be makes every write fail.
    QDir(dir.path()).mkdir(QStringLiteral("lumo.ini"));
    IniFile ini(dir.filePath(QStringLiteral("lumo.ini")), QStringLiteral("lumo.ini"));
    try {
        ini.writeString(QStringLiteral("gj"), QStringLiteral("s1"), QStringLiteral("a"));
        QFAIL("write into a folder succeeded");
    } catch (const DataError& e) {
        QCOMPARE(e.text(), QStringLiteral("写 lumo.ini 失败"));
    }
}

void TestSettings::registryHelpersUseTheirSubkeys()
{
    QTemporaryDir dir;
    test::TestFolders folders(dir.path());
    SettingsStore store(folders);
    QCOMPARE(store.ReadAppValue(QStringLiteral("gs")), QString());
    store.WriteAppValue(QStringLiteral("gs"), QStringLiteral("安居房产"));
    store.WriteSectionValue(QStringLiteral("sc"), QStringLiteral("序号"), QStringLiteral("40"));
    store.WriteSlotValue(QStringLiteral("Velmora"), QStringLiteral("1"),
                         QStringLiteral("2026年12月9日星期三"));
    QCOMPARE(store.ReadAppValue(QStringLiteral("gs")), QStringLiteral("安居房产"));
    QCOMPARE(store.ReadSectionValue(QStringLiteral("file"), QStringLiteral("gs")),
             QStringLiteral("安居房产"));
    QCOMPARE(store.ReadSectionValue(QStringLiteral("sc"), QStringLiteral("序号")),
             QStringLiteral("40"));
    QCOMPARE(store.ReadSectionValue(QStringLiteral("lr"), QStringLiteral("序号")), QString());
    QCOMPARE(store.ReadSlotValue(QStringLiteral("Velmora"), QStringLiteral("1")),
             QStringLiteral("2026年12月9日星期三"));
    QCOMPARE(store.ReadSectionValue(QStringLiteral("rbf"), QStringLiteral("1")),
             QStringLiteral("2026年12月9日星期三"));
    // Another copy of the program sees a change at its next read.
    SettingsStore other(folders);
    store.WriteAppValue(QStringLiteral("dh"), QStringLiteral("024-1234"));
    QCOMPARE(other.ReadAppValue(QStringLiteral("dh")), QStringLiteral("024-1234"));
}

void TestSettings::lookupDefaultsOnFirstStart()
{
    QTemporaryDir dir;
    test::TestFolders folders(dir.path());
    SettingsStore store(folders);
    for (const LookupSection& s : lookupSections()) {
        writeLookupDefaults(store, s);
        QCOMPARE(store.readProfileString(s.section, QStringLiteral("s")), QString());
        QCOMPARE(readLookupList(store, s), s.defaults);
    }
    QCOMPARE(readLookupList(store, lookupSection(QStringLiteral("gj"))).size(), 6);
    QCOMPARE(readLookupList(store, lookupSection(QStringLiteral("hx"))).last(),
             QStringLiteral("插间"));
}

void TestSettings::lookupDefaultRestoredForClearedKey()
{
    QTemporaryDir dir;
    test::TestFolders folders(dir.path());
    SettingsStore store(folders);
    const LookupSection& gj = lookupSection(QStringLiteral("gj"));
    writeLookupDefaults(store, gj);
    store.writeProfileString(QStringLiteral("gj"), QStringLiteral("s"), QStringLiteral("7"));
    store.writeProfileString(QStringLiteral("gj"), QStringLiteral("s3"), QString());
    store.writeProfileString(QStringLiteral("gj"), QStringLiteral("s7"), QStringLiteral("于洪区"));
    writeLookupDefaults(store, gj);
    const QStringList list = readLookupList(store, gj);
    QCOMPARE(list.size(), 7);
    QCOMPARE(list[2], QStringLiteral("皇姑区"));
    QCOMPARE(list[6], QStringLiteral("于洪区"));
}

void TestSettings::lookupCountLimitsAndMalformedCount()
{
    QTemporaryDir dir;
    test::TestFolders folders(dir.path());
    SettingsStore store(folders);
    const LookupSection& cx = lookupSection(QStringLiteral("cx"));
    writeLookupDefaults(store, cx);
    store.writeProfileString(QStringLiteral("cx"), QStringLiteral("s"), QStringLiteral("2"));
    QCOMPARE(readLookupList(store, cx),
             (QStringList{QStringLiteral("南北"), QStringLiteral("双阳")}));
    store.writeProfileString(QStringLiteral("cx"), QStringLiteral("s"), QStringLiteral("12"));
    const QStringList twelve = readLookupList(store, cx);
    QCOMPARE(twelve.size(), 12);
    QCOMPARE(twelve[11], QString());
    store.writeProfileString(QStringLiteral("cx"), QStringLiteral("s"), QStringLiteral("x"));
    QVERIFY_THROWS_EXCEPTION(DataError, readLookupList(store, cx));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
