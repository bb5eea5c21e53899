// The archive component: bytes written, volumes, faults, streams and the file walk.

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

class TestBackupFile : public BackupFixture
{
    Q_OBJECT

private slots:
    void writesExactBytes_data();
    void writesExactBytes();
    void emptyListStillMakesAnArchive();
    void fileIdListComesFirst();
    void splitsOverVolumes();
    void tinyVolumeLimitAsksUntilCancelled();
    void roundTripsAtEveryLevel_data();
    void roundTripsAtEveryLevel();
    void fullDiskIsReported_data();
    void fullDiskIsReported();
    void exceptionsClearBusy();
    void cancelFromProgress();
    void shrinkingFileEndsItsSection();
    void refusesFilesOf2GiB();
    void incrementalTakesChangedFiles();
    void fileWalk();
    void streamMode();
    void dosDateTimeRoundTrip();
    void threadsDoNotChangeBytes();
};

void TestBackupFile::writesExactBytes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("level");
    QTest::addColumn<QByteArray>("title");
    // Expected blocks: size of the file part; negative for a block stored as it is.
    QTest::addColumn<QList<int>>("blocks");

    QTest::addRow("0 bytes") << QByteArray() << int(clMax) << QByteArray() << QList<int>{};
    QTest::addRow("16384 bytes") << prose(16384) << int(clMax) << QByteArray() << QList<int>{16384};
    QTest::addRow("16385 bytes") << prose(16385) << int(clMax) << QByteArray()
                                 << QList<int>{16384, 1};
    QTest::addRow("incompressible stored raw")
        << noise(20000) << int(clDefault) << QByteArray() << QList<int>{-16384, 3616};
    QTest::addRow("clNone stores full blocks")
        << prose(16384 + 100) << int(clNone) << QByteArray() << QList<int>{-16384, 100};
    QTest::addRow("clFastest with a title")
        << prose(5000) << int(clFastest) << QByteArray("Weekly backup") << QList<int>{5000};
}

void TestBackupFile::writesExactBytes()
{
    QFETCH(QByteArray, content);
    QFETCH(int, level);
    QFETCH(QByteArray, title);
    QFETCH(QList<int>, blocks);
    const int zlevel[] = {1, 0, -1, 9};

    const QString file = makeFile(QStringLiteral("exact/Data.FC"), content);
    const QString archive = path(QStringLiteral("exact.bak"));
    TBackupFile backup;
    backup.SetCompressionLevel(static_cast<TCompressionLevel>(level));
    backup.SetBackupTitle(s(QString::fromUtf8(title)));
    QVERIFY(backup.Backup({s(file)}, s(archive)));

    ArchiveBytes expected;
    expected.header(title, content.size(), 1).entry(file.toUtf8(), kSomeDosTime).ec2();
    int at = 0;
    for (int b : blocks) {
        const QByteArray part = content.mid(at, std::abs(b));
        at += std::abs(b);
        if (b < 0)
            expected.stored(part);
        else
            expected.zblock(part, zlevel[level]);
    }
    expected.end().end();
    QCOMPARE(readFile(archive), expected.bytes);
}

void TestBackupFile::emptyListStillMakesAnArchive()
{
    TBackupFile backup;
    Recorder rec;
    rec.attach(backup);
    const QString archive = path(QStringLiteral("empty.bak"));
    QVERIFY(backup.Backup({s(path(QStringLiteral("nothing-here-*.xyz")))}, s(archive)));
    QCOMPARE(readFile(archive), ArchiveBytes().header("", 0, 0).end().bytes);
    QCOMPARE(rec.events, QStringList({u"progress  0"_s, u"progress  100"_s}));
}

void TestBackupFile::fileIdListComesFirst()
{
    const QByteArray a = prose(300), b = prose(40);
    const QString fa = makeFile(QStringLiteral("ids/a.db"), a);
    const QString fb = makeFile(QStringLiteral("ids/b.db"), b);
    const QString archive = path(QStringLiteral("ids.bak"));
    TBackupFile backup;
    backup.SetSaveFileID(true);
    backup.SetCompressionLevel(clMax);
    QVERIFY(backup.Backup({s(fa), s(fb)}, s(archive)));

    const QByteArray list = fa.toUtf8() + "\t" + QByteArray::number(kSomeDosTime) + "=300\r\n" +
                            fb.toUtf8() + "\t" + QByteArray::number(kSomeDosTime) + "=40\r\n";
    const QByteArray bytes = readFile(archive);
    // The list's own date-time is that of its temporary file: take it from the archive.
    const int listTimeAt = 4 + 4 + 4 + 4 + 9;
    const std::int32_t listTime = qFromLittleEndian<std::int32_t>(bytes.constData() + listTimeAt);
    ArchiveBytes expected;
    expected.header("", 340 + list.size(), 2)
        .entry("FILE:LIST", listTime)
        .ec2()
        .zblock(list, 9)
        .end()
        .entry(fa.toUtf8(), kSomeDosTime)
        .ec2()
        .zblock(a, 9)
        .end()
        .entry(fb.toUtf8(), kSomeDosTime)
        .ec2()
        .zblock(b, 9)
        .end()
        .end();
    QCOMPARE(bytes, expected.bytes);
    QCOMPARE(backup.FilesProcessed(), 2);

    // The list is never restored and raises no restore event.
    QStringList offered;
    backup.OnRestoreFile = [&](TBackupFile&, std::string& f, std::int32_t, bool&) {
        offered << QString::fromStdString(f);
    };
    QVERIFY(backup.Restore(s(archive), s(path(QStringLiteral("ids-out")))));
    QCOMPARE(offered.size(), 2);
    QCOMPARE(QDir(path(QStringLiteral("ids-out"))).entryList(QDir::Files),
             QStringList({u"a.db"_s, u"b.db"_s}));
}

void TestBackupFile::splitsOverVolumes()
{
    const QByteArray content = noise(16384 + 500, 7);
    const QString file = makeFile(QStringLiteral("vol/big.db"), content);
    const QString archive = path(QStringLiteral("vol.bak"));
    // Room for the header, the entry and exactly one block in the first volume.
    const int before = 4 + 4 + 4 + 4 + file.toUtf8().size() + 4 + 4;
    TBackupFile backup;
    backup.SetCompressionLevel(clMax);
    backup.SetMaxSize(before + 16484 + 1);
    QList<int> disks;
    backup.OnNeedDisk = [&](TBackupFile&, std::uint16_t disk, bool&) { disks << disk; };
    QVERIFY(backup.Backup({s(file)}, s(archive)));
    QCOMPARE(disks, QList<int>({2}));

    ArchiveBytes first, second;
    first.header("", content.size(), 1)
        .entry(file.toUtf8(), kSomeDosTime)
        .ec2()
        .stored(content.left(16384))
        .end()
        .marker(2);
    second.ec2().zblock(content.mid(16384), 9).end().end();
    QCOMPARE(readFile(archive), first.bytes);
    QCOMPARE(readFile(path(QStringLiteral("vol.002"))), second.bytes);

    // Reading asks for the disk too and joins the parts.
    disks.clear();
    QVERIFY(backup.Restore(s(archive), s(path(QStringLiteral("vol-out")))));
    QCOMPARE(disks, QList<int>({2}));
    QCOMPARE(readFile(path(QStringLiteral("vol-out/big.db"))), content);
    std::int32_t restoredTime = 0;
    QVERIFY(fileDosDateTime(s(path(QStringLiteral("vol-out/big.db"))), restoredTime));
    QCOMPARE(restoredTime, kSomeDosTime);

    // Without a handler the caller's message box decides.
    backup.OnNeedDisk = nullptr;
    QStringList texts;
    backup.SetMessageBoxHandler([&](TBackupMessage kind, const std::string& text) {
        if (kind == TBackupMessage::NeedDisk)
            texts << QString::fromStdString(text);
        return false;
    });
    QVERIFY(!backup.Restore(s(archive), s(path(QStringLiteral("vol-out2")))));
    QCOMPARE(texts, QStringList({u"Please insert disk 2 and click OK to continue."_s}));
}

void TestBackupFile::tinyVolumeLimitAsksUntilCancelled()
{
    const QString file = makeFile(QStringLiteral("tiny/a.db"), prose(100));
    TBackupFile backup;
    backup.SetMaxSize(1000);
    int asked = 0;
    backup.OnNeedDisk = [&](TBackupFile&, std::uint16_t disk, bool& cont) {
        QCOMPARE(int(disk), asked + 2);
        if (++asked == 3)
            cont = false;
    };
    QVERIFY(!backup.Backup({s(file)}, s(path(QStringLiteral("tiny.bak")))));
    QCOMPARE(asked, 3);
    QCOMPARE(backup.LastError(), 0);
}

void TestBackupFile::roundTripsAtEveryLevel_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QByteArray>("content");
    for (int level : {int(clFastest), int(clNone), int(clDefault), int(clMax)}) {
        QTest::addRow("level %d text", level) << level << prose(100000);
        QTest::addRow("level %d mixed", level) << level << (noise(30000) + prose(30000) + noise(7));
    }
}

void TestBackupFile::roundTripsAtEveryLevel()
{
    QFETCH(int, level);
    QFETCH(QByteArray, content);
    const QString tag =
        QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_'));
    const QString file = makeFile(QStringLiteral("rt/%1.db").arg(tag), content);
    const QString second = makeFile(QStringLiteral("rt/%1.empty").arg(tag), QByteArray());
    const QString archive = path(QStringLiteral("rt-%1.bak").arg(tag));
    TBackupFile backup;
    backup.SetCompressionLevel(static_cast<TCompressionLevel>(level));
    QVERIFY(backup.Backup({s(file), s(second)}, s(archive)));
    const QString out = path(QStringLiteral("rt-out-%1").arg(tag));
    QVERIFY(backup.Restore(s(archive), s(out)));
    QCOMPARE(backup.FilesProcessed(), 2);
    QCOMPARE(readFile(out + u"/"_s + tag + u".db"_s), content);
    QVERIFY(QFileInfo::exists(out + u"/"_s + tag + u".empty"_s));
    std::int32_t t = 0;
    QVERIFY(fileDosDateTime(s(out + u"/"_s + tag + u".empty"_s), t));
    QCOMPARE(t, kSomeDosTime);
}

void TestBackupFile::fullDiskIsReported_data()
{
    QTest::addColumn<int>("room");
    QTest::addRow("header") << 5;
    QTest::addRow("entry name") << 20;
    QTest::addRow("inside a block") << 2000;
    QTest::addRow("end record") << -4; // everything but the last 4 bytes
}

void TestBackupFile::fullDiskIsReported()
{
    QFETCH(int, room);
    const QString file = makeFile(QStringLiteral("full/a.db"), noise(40000));
    TBackupFile backup;
    Recorder rec;
    rec.attach(backup);
    std::ostringstream whole;
    backup.SetBackupStream(&whole);
    QVERIFY(backup.Backup({s(file)}, TBackupFile::kStreamName));
    if (room < 0)
        room += static_cast<int>(whole.str().size());

    FullDiskBuffer buffer(static_cast<std::size_t>(room));
    std::ostream out(&buffer);
    backup.SetBackupStream(&out);
    rec.errors.clear();
    QVERIFY(!backup.Backup({s(file)}, TBackupFile::kStreamName));
    QCOMPARE(rec.errors, QList<int>({4}));
    QCOMPARE(backup.LastError(), 4);

    // Without an error handler the caller's message box shows the text.
    FullDiskBuffer again(static_cast<std::size_t>(room));
    std::ostream out2(&again);
    backup.SetBackupStream(&out2);
    backup.OnError = nullptr;
    QStringList boxes;
    backup.SetMessageBoxHandler([&](TBackupMessage kind, const std::string& text) {
        boxes << (kind == TBackupMessage::Error ? u"error: "_s : u"other: "_s) +
                     QString::fromStdString(text);
        return true;
    });
    QVERIFY(!backup.Backup({s(file)}, TBackupFile::kStreamName));
    QCOMPARE(boxes, QStringList({u"error: Cannot write to archive"_s}));
}

void TestBackupFile::exceptionsClearBusy()
{
    const QString name = path(QStringLiteral("garbage.bak"));
    writeFile(name, QByteArray("\x01\x00", 2));
    TBackupFile backup;
    QVERIFY_THROWS_EXCEPTION(ArchiveException, backup.Restore(s(name), s(dir_.path())));
    QVERIFY(!backup.Busy());
    // An unreadable listed file leaves Backup as an exception while the sizes are totalled.
    const QString locked = makeFile(QStringLiteral("locked.db"), "x");
    QFile::setPermissions(locked, QFileDevice::Permissions());
    if (::access(s(locked).c_str(), R_OK) != 0) {
        QVERIFY_THROWS_EXCEPTION(ArchiveException,
                                 backup.Backup({s(locked)}, s(path(QStringLiteral("l.bak")))));
        QVERIFY(!backup.Busy());
    }
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // Still usable.
    QVERIFY(backup.Backup({s(locked)}, s(path(QStringLiteral("l.bak")))));
}

void TestBackupFile::cancelFromProgress()
{
    const QString file = makeFile(QStringLiteral("cancel/a.db"), noise(50000));
    const QString archive = path(QStringLiteral("cancel.bak"));
    TBackupFile backup;
    backup.SetSetArchiveFlag(true);
    int blocks = 0;
    int messageLoops = 0;
    backup.SetProcessMessagesHandler([&] { ++messageLoops; });
    backup.OnProgress = [&](TBackupFile&, const std::string& f, TPercentage, bool& cont) {
        if (!f.empty() && ++blocks == 2)
            cont = false;
    };
    QVERIFY(!backup.Backup({s(file)}, s(archive)));
    QCOMPARE(blocks, 2);
    QCOMPARE(messageLoops, 2); // the message loop runs after every block
    QCOMPARE(backup.LastError(), 0);
    // Two blocks and the section end, but no end record.
    const QByteArray bytes = readFile(archive);
    QCOMPARE(bytes.right(4), QByteArray(4, '\0'));
    QCOMPARE(bytes.size(), 16 + file.toUtf8().size() + 4 + 4 + 2 * (4 + 16384) + 4);
    // The file was not packed completely: its archive attribute stays set.
    QVERIFY(archiveAttributeSet(s(file)));
}

void TestBackupFile::shrinkingFileEndsItsSection()
{
    const QByteArray content = noise(3 * 16384, 3);
    const QString file = makeFile(QStringLiteral("shrink/a.db"), content);
    const QString archive = path(QStringLiteral("shrink.bak"));
    TBackupFile backup;
    backup.SetCompressionThreads(1);
    bool cut = false;
    backup.OnProgress = [&](TBackupFile&, const std::string& f, TPercentage, bool&) {
        if (!f.empty() && !cut) {
            cut = true;
            QVERIFY(::truncate(f.c_str(), 20000) == 0);
        }
    };
    QVERIFY(backup.Backup({s(file)}, s(archive)));
    backup.OnProgress = nullptr;
    QVERIFY(backup.Restore(s(archive), s(path(QStringLiteral("shrink-out")))));
    QCOMPARE(readFile(path(QStringLiteral("shrink-out/a.db"))), content.left(20000));
}

void TestBackupFile::refusesFilesOf2GiB()
{
    const QString big = path(QStringLiteral("big/huge.db"));
    QDir().mkpath(path(QStringLiteral("big")));
    const int fd = ::open(s(big).c_str(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    const bool sparse = ::ftruncate(fd, off_t(1) << 31) == 0;
    ::close(fd);
    if (!sparse)
        QSKIP("no sparse files here");
    const QString archive = path(QStringLiteral("big.bak"));
    writeFile(archive, "earlier archive");
    TBackupFile backup;
    Recorder rec;
    rec.attach(backup);
    QVERIFY(!backup.Backup({s(big)}, s(archive)));
    QCOMPARE(rec.errors, QList<int>({1}));
    QCOMPARE(readFile(archive), QByteArray("earlier archive"));
    QFile::remove(big);
}

void TestBackupFile::incrementalTakesChangedFiles()
{
    const QString file = makeFile(QStringLiteral("incr/a.db"), prose(1000));
    makeFile(QStringLiteral("incr/b.db"), prose(10));
    QVERIFY(setArchiveAttribute(s(file)));
    if (!clearArchiveAttribute(s(file)))
        QSKIP("no extended attributes here");
    QVERIFY(!archiveAttributeSet(s(file)));
    QVERIFY(setArchiveAttribute(s(file)));

    TBackupFile backup;
    QVERIFY(!backup.SetArchiveFlag());
    backup.SetBackupMode(bmIncremental);
    QVERIFY(backup.SetArchiveFlag());
    backup.SetSetArchiveFlag(false);
    backup.SetBackupMode(bmIncremental); // unchanged: the flag stays as it is
    QVERIFY(!backup.SetArchiveFlag());
    backup.SetSetArchiveFlag(true);

    const std::string pattern = s(path(QStringLiteral("incr/*.db")));
    const QString archive = path(QStringLiteral("incr.bak"));
    QVERIFY(backup.Backup({pattern}, s(archive)));
    QCOMPARE(backup.FileCount(), 2);
    QVERIFY(!archiveAttributeSet(s(file)));
    QVERIFY(backup.Backup({pattern}, s(archive)));
    QCOMPARE(backup.FileCount(), 0);
    // A change of content (or only of the time) sets the attribute again.
    writeFile(file, prose(1001));
    QVERIFY(backup.Backup({pattern}, s(archive)));
    QCOMPARE(backup.FileCount(), 1);
}

void TestBackupFile::fileWalk()
{
    makeFile(QStringLiteral("walk/Alpha.DB"), "1");
    makeFile(QStringLiteral("walk/beta.txt"), "2");
    makeFile(QStringLiteral("walk/sub.db/inner.db"), "3");
    makeFile(QStringLiteral("walk/sub.db/deeper.db/x.db"), "4");
    makeFile(QStringLiteral("walk/other/skipped.db"), "5");
    makeFile(QStringLiteral("walk/self.db"), "6");
    const QString w = path(QStringLiteral("walk"));
    const QString archive = w + u"/self.db"_s;

    auto names = [&](const std::vector<std::string>& entries, const std::string& archiveName) {
        QStringList out;
        for (const std::string& n : buildBackupList(entries, archiveName, false))
            out << QString::fromStdString(n).mid(w.size() + 1);
        return out;
    };
    QCOMPARE(names({s(w + u"/*.db"_s)}, s(archive)), QStringList({u"Alpha.DB"_s}));
    // Recursion enters only folders that match the pattern; an absolute archive name given
    // in other case is still left out.
    QCOMPARE(names({s(w + u"/*.DB /S"_s)}, s(archive.toUpper())),
             QStringList({u"Alpha.DB"_s, u"sub.db/deeper.db/x.db"_s, u"sub.db/inner.db"_s}));
    QCOMPARE(names({s(w + u"/alpha.db"_s), s(w + u"/ALPHA.db"_s), s(w + u"/b?ta.*"_s)}, "self.db"),
             QStringList({u"Alpha.DB"_s, u"beta.txt"_s}));
    // A relative archive name is not expanded and so does not leave the file out.
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(w);
    QCOMPARE(names({"self.db", "./sub.db/../beta.txt"}, "self.db"),
             QStringList({u"self.db"_s, u"beta.txt"_s}));
    QCOMPARE(names({"SELF.DB"}, "x"), QStringList({u"self.db"_s}));
    QDir::setCurrent(cwd);
    QVERIFY(wildcardMatch("*.*", "README"));
    QVERIFY(wildcardMatch("a*b*c", "aXXbYYbZc"));
    QVERIFY(!wildcardMatch("a*b?c", "abc"));
}

void TestBackupFile::streamMode()
{
    const QByteArray content = prose(40000);
    const QString file = makeFile(QStringLiteral("stream/a.db"), content);
    TBackupFile backup;
    std::ostringstream out;
    backup.SetBackupStream(&out);
    backup.SetMaxSize(100); // volumes are not available on streams
    QVERIFY(backup.Backup({s(file)}, ":STREAM"));
    std::istringstream in(out.str());
    backup.SetRestoreStream(&in);
    QVERIFY(backup.Restore(":STREAM", s(path(QStringLiteral("stream-out")))));
    QCOMPARE(readFile(path(QStringLiteral("stream-out/a.db"))), content);

    // A volume marker cannot be followed on a stream.
    std::istringstream marked(ArchiveBytes().header("", 0, 0).marker(2).bytes.toStdString());
    backup.SetRestoreStream(&marked);
    QVERIFY_THROWS_EXCEPTION(ArchiveException, backup.Restore(":STREAM", s(dir_.path())));
}

void TestBackupFile::dosDateTimeRoundTrip()
{
    std::time_t t = 0;
    QVERIFY(timeFromDosDateTime(kSomeDosTime, t));
    QCOMPARE(dosDateTimeFromTime(t), kSomeDosTime);
    QCOMPARE(QString::fromStdString(dosDateTimeToIso(kSomeDosTime)),
             QStringLiteral("2024-05-06T07:08:10"));
    QCOMPARE(dosDateTimeFromTime(0), std::int32_t((1 << 5 | 1) << 16)); // before 1980
    QVERIFY(!timeFromDosDateTime(0, t));                                // month 0
}

void TestBackupFile::threadsDoNotChangeBytes()
{
    const QByteArray content = noise(100000, 9) + prose(300000) + noise(5, 2);
    const QString file = makeFile(QStringLiteral("threads/a.db"), content);
    QByteArray reference;
    for (unsigned threads : {1u, 2u, 5u}) {
        TBackupFile backup;
        backup.SetCompressionLevel(clMax);
        backup.SetCompressionThreads(threads);
        std::ostringstream out;
        backup.SetBackupStream(&out);
        QVERIFY(backup.Backup({s(file)}, ":STREAM"));
        const QByteArray bytes = QByteArray::fromStdString(out.str());
        if (reference.isEmpty())
            reference = bytes;
        QCOMPARE(bytes, reference);
    }
}

QTEST_APPLESS_MAIN(TestBackupFile)
#include "tst_backupfile.moc"
