// The archive component: bytes written, round trips, restore rules, volumes and faults.

#include "ArchiveAttribute.h"
#include "ArchiveBytes.h"
#include "BackupFile.h"
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

namespace
{

std::string s(const QString& q)
{
    return q.toStdString();
}

// An output that accepts `room` bytes and then fails, like a full disk.
class FullDiskBuffer : public std::streambuf
{
public:
    explicit FullDiskBuffer(std::size_t room) : room_(room) {}
    std::string written;

protected:
    std::streamsize xsputn(const char* data, std::streamsize n) override
    {
        const std::size_t take = std::min<std::size_t>(room_ - written.size(), std::size_t(n));
        written.append(data, take);
        return static_cast<std::streamsize>(take);
    }
    int_type overflow(int_type c) override
    {
        if (written.size() >= room_ || traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::eof();
        written.push_back(traits_type::to_char_type(c));
        return c;
    }

private:
    std::size_t room_;
};

struct Recorder {
    QStringList events;
    QList<int> errors;
    QStringList boxes;
    void attach(TBackupFile& b)
    {
        b.OnProgress = [this](TBackupFile&, const std::string& f, TPercentage p, bool&) {
            events << QStringLiteral("progress %1 %2").arg(QString::fromStdString(f)).arg(p);
        };
        b.OnError = [this](TBackupFile&, std::int32_t code, const std::string&) { errors << code; };
    }
};

} // namespace

class TestBackupFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }
    QString makeFile(const QString& name, const QByteArray& data, std::int32_t dos = kSomeDosTime)
    {
        const QString p = path(name);
        QDir().mkpath(QFileInfo(p).absolutePath());
        writeFile(p, data);
        setFileDosDateTime(s(p), dos);
        return p;
    }

private slots:
    void writesExactBytes_data();
    void writesExactBytes();
    void emptyListStillMakesAnArchive();
    void fileIdListComesFirst();
    void splitsOverVolumes();
    void tinyVolumeLimitAsksUntilCancelled();
    void roundTripsAtEveryLevel_data();
    void roundTripsAtEveryLevel();
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
    void fullDiskIsReported_data();
    void fullDiskIsReported();
    void exceptionsClearBusy();
    void missingArchiveIsSilent();
    void cancelFromProgress();
    void shrinkingFileEndsItsSection();
    void refusesFilesOf2GiB();
    void incrementalTakesChangedFiles();
    void fileWalk();
    void streamMode();
    void nonUtf8NamesReadAsGb18030();
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

void TestBackupFile::restoreModes_data()
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

void TestBackupFile::restoreModes()
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

void TestBackupFile::restoreFileEventRedirects()
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

void TestBackupFile::fullPathRestore_data()
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

void TestBackupFile::fullPathRestore()
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

void TestBackupFile::refusesNamesLeavingTheFolder_data()
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

void TestBackupFile::refusesNamesLeavingTheFolder()
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

void TestBackupFile::truncatedArchivesNeverSucceed()
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

void TestBackupFile::damagedArchives_data()
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

void TestBackupFile::damagedArchives()
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

void TestBackupFile::missingArchiveIsSilent()
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

void TestBackupFile::nonUtf8NamesReadAsGb18030()
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
