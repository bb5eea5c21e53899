// The archive component reading back: restore rules, full paths, names
// leaving the folder, truncated and damaged archives, old names.

#include "ArchiveAttribute.h"
#include "ArchiveBytes.h"
#include "BackupFile.h"
#include "BackupFixture.h"
#include "DosDateTime.h"
#include "FileWalk.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace Qt::StringLiterals;

#include <fcntl.h>
#include <sstream>
#include <streambuf>
#include <unistd.h>

using namespace lumo;
using namespace archivetest;

class TestBackupRestore : public BackupFixture
{
    Q_OBJECT

private slots:
    void restoreModes_data();
    void restoreModes();
    void restoreFileEventRedirects();
    void fullPathRestore_data();
    void fullPathRestore();
    void refusesNamesLeavingTheFolder_data();
    void refusesNamesLeavingTheFolder();
    void truncatedArchivesNeverSucceed();
    void damagedArchives_data();
    void damagedArchives();
    void missingArchiveIsSilent();
    void nonUtf8NamesReadAsGb18030();
};

void TestBackupRestore::restoreModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("target"); // 0 missing, -1 older, 0x10 equal, 1 newer
    QTest::addColumn<bool>("restored");
    const int missing = 0, older = -1, equal = 0x10, newer = 1;
    const struct {
        const char* name;
        int mode;
        bool expected[4];
    } rows[] = {
        {"rmAll", rmAll, {true, true, true, true}},
        {"rmNoOverwrite", rmNoOverwrite, {true, false, false, false}},
        {"rmNewer", rmNewer, {true, true, false, false}},
        {"rmExisting", rmExisting, {false, true, true, true}},
        {"rmExistingNewer", rmExistingNewer, {false, true, false, false}},
    };
    const int targets[4] = {missing, older, equal, newer};
    const char* targetNames[4] = {"missing", "older", "equal", "newer"};
    for (const auto& row : rows)
        for (int t = 0; t < 4; ++t)
            QTest::addRow("%s %s", row.name, targetNames[t])
                << row.mode << targets[t] << row.expected[t];
}

void TestBackupRestore::restoreModes()
{
    QFETCH(int, mode);
    QFETCH(int, target);
    QFETCH(bool, restored);
    const QString tag =
        QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_'));
    const QString out = path(QStringLiteral("modes/") + tag);
    QDir().mkpath(out);
    const QString archive = out + u".bak"_s;
    writeFile(archive, ArchiveBytes()
                           .header("", 7, 1)
                           .entry("c:\\data\\lumo.fc", kSomeDosTime)
                           .ec2()
                           .stored("archive")
                           .end()
                           .end()
                           .bytes);
    if (target != 0) {
        const std::int32_t oneDay = 1 << 16;
        const std::int32_t time =
            target == 0x10 ? kSomeDosTime : kSomeDosTime + (target < 0 ? -oneDay : oneDay);
        makeFile(QStringLiteral("modes/%1/lumo.fc").arg(tag), "current", time);
    }
    TBackupFile backup;
    backup.SetRestoreMode(static_cast<TRestoreMode>(mode));
    bool offered = false, decision = false;
    backup.OnRestoreFile = [&](TBackupFile&, std::string&, std::int32_t fa, bool& doRestore) {
        offered = true;
        decision = doRestore;
        QCOMPARE(fa, kSomeDosTime);
    };
    QVERIFY(backup.Restore(s(archive), s(out)));
    QVERIFY(offered);
    QCOMPARE(decision, restored);
    const QByteArray now = readFile(out + u"/lumo.fc"_s);
    if (restored)
        QCOMPARE(now, QByteArray("archive"));
    else
        QCOMPARE(now, target == 0 ? QByteArray() : QByteArray("current"));
    QCOMPARE(QFileInfo::exists(out + u"/lumo.fc"_s), restored || target != 0);
}

void TestBackupRestore::restoreFileEventRedirects()
{
    const QString archive = path(QStringLiteral("redirect.bak"));
    writeFile(archive, ArchiveBytes()
                           .header("", 2, 1)
                           .entry("/somewhere/a.db", kSomeDosTime)
                           .ec2()
                           .stored("hi")
                           .end()
                           .end()
                           .bytes);
    TBackupFile backup;
    const std::string elsewhere = s(path(QStringLiteral("redirected/deeper/b.db")));
    backup.OnRestoreFile = [&](TBackupFile&, std::string& f, std::int32_t, bool&) {
        f = elsewhere;
    };
    QVERIFY(backup.Restore(s(archive), s(path(QStringLiteral("redirect-out")))));
    QCOMPARE(readFile(QString::fromStdString(elsewhere)), QByteArray("hi"));
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("redirect-out/a.db"))));
}

void TestBackupRestore::fullPathRestore_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("fullPath");
    QTest::addColumn<QString>("expected");
    QTest::addRow("windows name, full path")
        << QByteArray("c:\\data\\a.db") << true << QStringLiteral("data/a.db");
    QTest::addRow("windows name, file part")
        << QByteArray("c:\\data\\a.db") << false << QStringLiteral("a.db");
    QTest::addRow("posix name, full path")
        << QByteArray("/srv/data/a.db") << true << QStringLiteral("srv/data/a.db");
    QTest::addRow("posix name, file part")
        << QByteArray("/srv/data/a.db") << false << QStringLiteral("a.db");
    QTest::addRow("mixed separators")
        << QByteArray("D:/x\\y/a.db") << true << QStringLiteral("x/y/a.db");
}

void TestBackupRestore::fullPathRestore()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, fullPath);
    QFETCH(QString, expected);
    const QString tag =
        QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_'));
    const QString archive = path(QStringLiteral("fp-%1.bak").arg(tag));
    writeFile(archive, ArchiveBytes()
                           .header("", 3, 1)
                           .entry(stored, kSomeDosTime)
                           .ec2()
                           .stored("abc")
                           .end()
                           .end()
                           .bytes);
    const QString out = path(QStringLiteral("fp-out-%1").arg(tag));
    TBackupFile backup;
    backup.SetRestoreFullPath(fullPath);
    QVERIFY(backup.Restore(s(archive), s(out))); // the missing folder is created
    QCOMPARE(readFile(out + u"/"_s + expected), QByteArray("abc"));
}

void TestBackupRestore::refusesNamesLeavingTheFolder_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("fullPath");
    QTest::addColumn<bool>("toStoredPath");
    QTest::addRow("dot-dot below drive") << QByteArray("c:\\..\\evil.txt") << true << false;
    QTest::addRow("dot-dot deeper") << QByteArray("c:\\a\\..\\..\\evil.txt") << true << false;
    QTest::addRow("posix dot-dot") << QByteArray("/../evil.txt") << true << false;
    QTest::addRow("second root") << QByteArray("//evil.txt") << true << false;
    QTest::addRow("second drive") << QByteArray("c:\\d:\\evil.txt") << true << false;
    QTest::addRow("file part is dot-dot") << QByteArray("c:\\x\\..") << false << false;
    QTest::addRow("empty file part") << QByteArray("c:\\x\\") << false << false;
    QTest::addRow("relative name to stored path") << QByteArray("evil.txt") << false << true;
}

void TestBackupRestore::refusesNamesLeavingTheFolder()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, fullPath);
    QFETCH(bool, toStoredPath);
    const QString tag =
        QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_'));
    const QString base = path(QStringLiteral("trav-%1").arg(tag));
    QDir().mkpath(base + u"/inner"_s);
    const QString archive = base + u"/x.bak"_s;
    // A sound entry follows the bad one: it is still restored.
    writeFile(archive, ArchiveBytes()
                           .header("", 8, 2)
                           .entry(stored, kSomeDosTime)
                           .ec2()
                           .stored("evil")
                           .end()
                           .entry((base + u"/inner/good.txt"_s).toUtf8(), kSomeDosTime)
                           .ec2()
                           .stored("good")
                           .end()
                           .end()
                           .bytes);
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(base + u"/inner"_s);
    TBackupFile backup;
    Recorder rec;
    rec.attach(backup);
    backup.SetRestoreFullPath(fullPath);
    const bool ok =
        backup.Restore(s(archive), toStoredPath ? std::string() : s(base + u"/inner"_s));
    QDir::setCurrent(cwd);
    QVERIFY(!ok);
    QCOMPARE(rec.errors, QList<int>({1}));
    const QString good =
        fullPath ? base + u"/inner"_s + base + u"/inner/good.txt"_s : base + u"/inner/good.txt"_s;
    QCOMPARE(readFile(good), QByteArray("good"));
    QVERIFY(!QFileInfo::exists(base + u"/evil.txt"_s));
    QVERIFY(!QFileInfo::exists(base + u"/inner/evil.txt"_s));
    QVERIFY(!QFileInfo::exists(dir_.path() + u"/evil.txt"_s));
    QVERIFY(!QFileInfo::exists(QStringLiteral("/evil.txt")));
    QVERIFY(!backup.Busy());
}

void TestBackupRestore::truncatedArchivesNeverSucceed()
{
    const QString a = makeFile(QStringLiteral("trunc/a.db"), prose(20000));
    const QString b = makeFile(QStringLiteral("trunc/b.db"), noise(300));
    const QString archive = path(QStringLiteral("trunc.bak"));
    TBackupFile backup;
    backup.SetCompressionLevel(clMax);
    QVERIFY(backup.Backup({s(a), s(b)}, s(archive)));
    const QByteArray whole = readFile(archive);
    const QString cut = path(QStringLiteral("trunc-cut.bak"));
    const QString out = path(QStringLiteral("trunc-out"));
    for (int size = 0; size < whole.size(); ++size) {
        writeFile(cut, whole.left(size));
        bool ok = true;
        try {
            ok = backup.Restore(s(cut), s(out));
        } catch (const ArchiveException& e) {
            ok = false;
            QCOMPARE(QString::fromLatin1(e.what()), QStringLiteral("Cannot read archive"));
        }
        QVERIFY2(!ok, qPrintable(QStringLiteral("cut at %1").arg(size)));
        QVERIFY(!backup.Busy());
    }
}

void TestBackupRestore::damagedArchives_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("error");      // recorded error, or
    QTest::addColumn<QString>("thrown"); // exception text

    const QByteArray plain = prose(5000);
    QByteArray zs = ArchiveBytes::zlibStream(plain, 9);
    QByteArray flipped = zs;
    flipped[zs.size() / 2] = static_cast<char>(flipped[zs.size() / 2] ^ 0x55);
    QByteArray badAdler = zs;
    badAdler[zs.size() - 1] = static_cast<char>(badAdler[zs.size() - 1] ^ 1);
    const QByteArray tooLong = ArchiveBytes::zlibStream(QByteArray(16385, 'x'), 9);
    auto one = [](const QByteArray& section) {
        return ArchiveBytes()
            .header("", 5000, 1)
            .entry("/x/a.db", kSomeDosTime)
            .raw(section)
            .end()
            .bytes;
    };
    auto block = [](const QByteArray& z) {
        return ArchiveBytes().ec2().int32(z.size()).raw(z).end().bytes;
    };

    QTest::addRow("flipped deflate byte") << one(block(flipped)) << int(rmAll) << 6 << QString();
    QTest::addRow("wrong checksum") << one(block(badAdler)) << int(rmAll) << 6 << QString();
    QTest::addRow("inflates beyond 16384") << one(block(tooLong)) << int(rmAll) << 6 << QString();
    QTest::addRow("garbage after stream")
        << one(block(zs + "junk")) << int(rmAll) << 6 << QString();
    QTest::addRow("block length 16385 restored")
        << one(ArchiveBytes().ec2().int32(-16385).raw(QByteArray(16385, 'a')).end().bytes)
        << int(rmAll) << 1 << QString();
    QTest::addRow("block length -2^31 restored")
        << one(ArchiveBytes().ec2().int32(INT32_MIN).bytes) << int(rmAll) << 1 << QString();
    QTest::addRow("block length -2^31 skipped")
        << one(ArchiveBytes().ec2().int32(INT32_MIN).bytes) << int(rmExisting) << 0
        << QStringLiteral("Cannot read archive");
    QTest::addRow("unknown signature restored")
        << one(QByteArray("EC3\0", 4) + ArchiveBytes().end().bytes) << int(rmAll) << 1 << QString();
    QTest::addRow("unknown signature skipped")
        << one(QByteArray("EC3\0", 4) + ArchiveBytes().end().bytes) << int(rmExisting) << 0
        << QStringLiteral("Invalid archive type");
    QTest::addRow("negative record length")
        << ArchiveBytes().header("", 0, 0).int32(-5).end().bytes << int(rmAll) << 0
        << QStringLiteral("Cannot read archive");
    QTest::addRow("huge title length") << ArchiveBytes().int32(0x7FFFFFF0).bytes << int(rmAll) << 0
                                       << QStringLiteral("Cannot read archive");
    QTest::addRow("malformed volume marker")
        << ArchiveBytes().header("", 0, 0).text("NEXT:DISKab2").end().bytes << int(rmAll) << 0
        << QStringLiteral("Cannot read archive");
}

void TestBackupRestore::damagedArchives()
{
    QFETCH(QByteArray, archive);
    QFETCH(int, mode);
    QFETCH(int, error);
    QFETCH(QString, thrown);
    const QString name = path(QStringLiteral("damaged.bak"));
    writeFile(name, archive);
    TBackupFile backup;
    Recorder rec;
    rec.attach(backup);
    backup.SetRestoreMode(static_cast<TRestoreMode>(mode));
    QString caught;
    bool ok = true;
    try {
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        ok = backup.Restore(s(name), s(path(QStringLiteral("damaged-out/") + tag)));
    } catch (const ArchiveException& e) {
        caught = QString::fromLatin1(e.what());
        ok = false;
    }
    QVERIFY(!ok);
    QCOMPARE(caught, thrown);
    QCOMPARE(rec.errors, error ? QList<int>{error} : QList<int>{});
    QVERIFY(!backup.Busy());
}

void TestBackupRestore::missingArchiveIsSilent()
{
    TBackupFile backup;
    Recorder rec;
    rec.attach(backup);
    int boxes = 0;
    backup.SetMessageBoxHandler([&](TBackupMessage, const std::string&) { return ++boxes > 0; });
    QVERIFY(!backup.Restore(s(path(QStringLiteral("no-such.bak"))), s(dir_.path())));
    QVERIFY(rec.events.isEmpty());
    QVERIFY(rec.errors.isEmpty());
    QCOMPARE(boxes, 0);
}

void TestBackupRestore::nonUtf8NamesReadAsGb18030()
{
    // "房源.db" in GB18030.
    const QByteArray gbName("\xB7\xBF\xD4\xB4.db");
    const QString archive = path(QStringLiteral("gb.bak"));
    writeFile(archive, ArchiveBytes()
                           .header("", 1, 1)
                           .entry("c:\\" + gbName, kSomeDosTime)
                           .ec2()
                           .stored("z")
                           .end()
                           .end()
                           .bytes);
    TBackupFile backup;
    QVERIFY(backup.Restore(s(archive), s(path(QStringLiteral("gb-out")))));
    QCOMPARE(readFile(path(QStringLiteral("gb-out/")) + QString::fromUtf8("房源.db")),
             QByteArray("z"));
}

QTEST_APPLESS_MAIN(TestBackupRestore)
#include "tst_backuprestore.moc"
