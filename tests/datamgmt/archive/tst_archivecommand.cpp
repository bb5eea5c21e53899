// "lumoctl archive": pack, unpack, list and verify with their exit codes.

#include "ArchiveBytes.h"
#include "ArchiveCommand.h"
#include "DosDateTime.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <sstream>

using namespace Qt::StringLiterals;
using namespace archivetest;

namespace
{

struct Run {
    int code = -1;
    QString out;
    QString err;
};

Run run(const QStringList& args)
{
    std::vector<std::string> v;
    for (const QString& a : args)
        v.push_back(a.toStdString());
    std::ostringstream out, err;
    Run r;
    r.code = lumo::archiveCommand(v, out, err);
    r.out = QString::fromStdString(out.str());
    r.err = QString::fromStdString(err.str());
    return r;
}

} // namespace

class TestArchiveCommand : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

private slots:
    void badUsage_data();
    void badUsage();
    void packListVerifyUnpack();
    void volumesAndModes();
    void verifyNamesTheDamagedEntry();
};

void TestArchiveCommand::badUsage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addRow("nothing") << QStringList();
    QTest::addRow("unknown subcommand") << QStringList({u"explode"_s});
    QTest::addRow("pack without files") << QStringList({u"pack"_s, u"a.bak"_s});
    QTest::addRow("bad level") << QStringList(
        {u"pack"_s, u"a.bak"_s, u"x"_s, u"--level"_s, u"5"_s});
    QTest::addRow("level without value")
        << QStringList({u"pack"_s, u"a.bak"_s, u"x"_s, u"--level"_s});
    QTest::addRow("bad max size") << QStringList(
        {u"pack"_s, u"a.bak"_s, u"x"_s, u"--max-size"_s, u"-4"_s});
    QTest::addRow("bad mode") << QStringList({u"unpack"_s, u"a.bak"_s, u"--mode"_s, u"some"_s});
    QTest::addRow("unknown option") << QStringList({u"list"_s, u"a.bak"_s, u"--xml"_s});
    QTest::addRow("verify two archives") << QStringList({u"verify"_s, u"a.bak"_s, u"b.bak"_s});
}

void TestArchiveCommand::badUsage()
{
    QFETCH(QStringList, args);
    const Run r = run(args);
    QCOMPARE(r.code, 2);
    QVERIFY(r.err.contains(u"usage:"_s));
    QVERIFY(r.out.isEmpty());
}

void TestArchiveCommand::packListVerifyUnpack()
{
    QDir().mkpath(path(u"src/sub"_s));
    const QByteArray a = prose(40000), b = noise(100);
    writeFile(path(u"src/a.db"_s), a);
    writeFile(path(u"src/sub/b.db"_s), b);
    lumo::setFileDosDateTime(path(u"src/a.db"_s).toStdString(), kSomeDosTime);
    const QString archive = path(u"out.bak"_s);

    Run r = run({u"pack"_s, archive, path(u"src/*"_s) + u" /s"_s, u"--title"_s, u"Nightly"_s,
                 u"--file-ids"_s, u"--level"_s, u"6"_s});
    QCOMPARE(r.code, 0);
    QVERIFY(r.err.isEmpty());

    r = run({u"list"_s, archive});
    QCOMPARE(r.code, 0);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], u"title: Nightly"_s);
    QVERIFY(lines[1].startsWith(u"total size: "_s));
    QCOMPARE(lines[2], u"file count: 2"_s);
    QVERIFY(lines[3].endsWith(u"  EC2  FILE:LIST"_s));
    QCOMPARE(lines[4], u"2024-05-06T07:08:10  40000  EC2  "_s + path(u"src/a.db"_s));
    QVERIFY(lines[5].endsWith(u"  100  EC2  "_s + path(u"src/sub/b.db"_s)));

    r = run({u"list"_s, archive, u"--json"_s});
    QCOMPARE(r.code, 0);
    const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(json.value(u"title"_s).toString(), u"Nightly"_s);
    QCOMPARE(json.value(u"fileCount"_s).toInt(), 2);
    const QJsonArray entries = json.value(u"entries"_s).toArray();
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries[1].toObject().value(u"size"_s).toInt(), 40000);
    QCOMPARE(entries[1].toObject().value(u"dateTime"_s).toString(), u"2024-05-06T07:08:10"_s);

    r = run({u"verify"_s, archive});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, u"ok: 3 entries, "_s +
                        QString::number(40100 + entries[0].toObject().value(u"size"_s).toInt()) +
                        u" bytes\n"_s);

    r = run({u"unpack"_s, archive, path(u"restored"_s)});
    QCOMPARE(r.code, 0);
    QCOMPARE(readFile(path(u"restored/a.db"_s)), a);
    QCOMPARE(readFile(path(u"restored/b.db"_s)), b);

    r = run({u"unpack"_s, archive, path(u"restored2"_s), u"--full-path"_s});
    QCOMPARE(r.code, 0);
    QCOMPARE(readFile(path(u"restored2"_s) + path(u"src/sub/b.db"_s)), b);

    r = run({u"unpack"_s, path(u"missing.bak"_s)});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(u"cannot open"_s));
}

void TestArchiveCommand::volumesAndModes()
{
    const QByteArray big = noise(50000, 5);
    QDir().mkpath(path(u"v"_s));
    writeFile(path(u"v/big.db"_s), big);
    const QString archive = path(u"v.bak"_s);
    QCOMPARE(run({u"pack"_s, archive, path(u"v/big.db"_s), u"--max-size"_s, u"17000"_s}).code, 0);
    QVERIFY(QFileInfo::exists(path(u"v.002"_s)));
    QVERIFY(QFileInfo::exists(path(u"v.004"_s)));
    QCOMPARE(run({u"verify"_s, archive}).code, 0);

    // Not overwritten, then overwritten.
    QDir().mkpath(path(u"vout"_s));
    writeFile(path(u"vout/big.db"_s), "keep");
    QCOMPARE(run({u"unpack"_s, archive, path(u"vout"_s), u"--mode"_s, u"no-overwrite"_s}).code, 0);
    QCOMPARE(readFile(path(u"vout/big.db"_s)), QByteArray("keep"));
    QCOMPARE(run({u"unpack"_s, archive, path(u"vout"_s)}).code, 0);
    QCOMPARE(readFile(path(u"vout/big.db"_s)), big);

    // A missing volume fails with a message.
    QFile::remove(path(u"v.003"_s));
    Run r = run({u"unpack"_s, archive, path(u"vout2"_s)});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(u"missing volume"_s));
    r = run({u"verify"_s, archive});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(u"v.003"_s));
}

void TestArchiveCommand::verifyNamesTheDamagedEntry()
{
    QByteArray z = ArchiveBytes::zlibStream(prose(3000), 9);
    z[z.size() - 2] = static_cast<char>(z[z.size() - 2] ^ 0x40);
    ArchiveBytes a;
    a.header("", 3003, 2)
        .entry("/x/good.db", kSomeDosTime)
        .ec2()
        .stored("abc")
        .end()
        .entry("/x/bad.db", kSomeDosTime)
        .ec2();
    const int blockAt = a.bytes.size();
    a.int32(z.size()).raw(z).end().end();
    writeFile(path(u"bad.bak"_s), a.bytes);
    const Run r = run({u"verify"_s, path(u"bad.bak"_s)});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(u"in entry /x/bad.db at offset "_s + QString::number(blockAt)),
             qPrintable(r.err));
    // Listing shows what could be read and fails too.
    QCOMPARE(run({u"list"_s, path(u"bad.bak"_s)}).code, 1);
}

QTEST_APPLESS_MAIN(TestArchiveCommand)
#include "tst_archivecommand.moc"
