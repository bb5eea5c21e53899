// LZRW1KH chunks and the "ECS" data sections that hold them.

#include "ArchiveBytes.h"
#include "BackupFile.h"
#include "DosDateTime.h"
#include "Lzrw1kh.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

#include <vector>

using namespace lumo;
using namespace archivetest;

namespace
{

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// Decodes a chunk; a null QByteArray stands for "malformed".
QByteArray decode(const QByteArray& chunk)
{
    std::vector<std::uint8_t> out(kLzrw1khBufferSize);
    const auto n = LZRW1KHDecompress(reinterpret_cast<const std::uint8_t*>(chunk.constData()),
                                     static_cast<std::uint16_t>(chunk.size()), out.data());
    if (!n)
        return QByteArray();
    return QByteArray(reinterpret_cast<const char*>(out.data()), *n).append("", 0) + QByteArray("");
}

QByteArray seventeenLiterals()
{
    QByteArray chunk = bytes({0x00, 0x00, 0x00});
    chunk += "ABCDEFGHIJKLMNOP";
    chunk += bytes({0x00, 0x00});
    chunk += "Q";
    return chunk;
}

} // namespace

class TestLzrw1kh : public QObject
{
    Q_OBJECT

private slots:
    void decodesChunks_data();
    void decodesChunks();
    void refusesMalformedChunks_data();
    void refusesMalformedChunks();
    void ecsSectionsRestoreAndSkip();
    void damagedEcsChunkIsError1();
};

void TestLzrw1kh::decodesChunks_data()
{
    QTest::addColumn<QByteArray>("chunk");
    QTest::addColumn<QByteArray>("expected");
    QTest::addRow("stored") << bytes({0x80, 'A', 0x00, 0xFF}) << bytes({'A', 0x00, 0xFF});
    QTest::addRow("stored, empty") << bytes({0x80}) << QByteArray("");
    QTest::addRow("literal") << bytes({0x00, 0x00, 0x00, 'A'}) << QByteArray("A");
    QTest::addRow("copy offset 1 length 18")
        << bytes({0x00, 0x40, 0x00, 'A', 0x00, 0x1F}) << QByteArray(19, 'A');
    QTest::addRow("copy offset 3 length 3")
        << bytes({0x00, 0x10, 0x00, 'a', 'b', 'c', 0x00, 0x30}) << QByteArray("abcabc");
    QTest::addRow("run of 16") << bytes({0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 'Z'})
                               << QByteArray(16, 'Z');
    QTest::addRow("run of 4111") << bytes({0x00, 0x80, 0x00, 0x00, 0x0F, 0xFF, 'Z'})
                                 << QByteArray(4111, 'Z');
    QTest::addRow("flag and control word only") << bytes({0x00, 0x12, 0x34}) << QByteArray("");
    QTest::addRow("17 literals need a second control word")
        << seventeenLiterals() << QByteArray("ABCDEFGHIJKLMNOPQ");
}

void TestLzrw1kh::decodesChunks()
{
    QFETCH(QByteArray, chunk);
    QFETCH(QByteArray, expected);
    const QByteArray got = decode(chunk);
    QVERIFY(!got.isNull());
    QCOMPARE(got, expected);
}

void TestLzrw1kh::refusesMalformedChunks_data()
{
    QTest::addColumn<QByteArray>("chunk");
    QTest::addRow("empty") << QByteArray();
    QTest::addRow("control word cut off") << bytes({0x00, 0x00});
    QTest::addRow("copy before the start") << bytes({0x00, 0x80, 0x00, 0x00, 0x1F});
    QTest::addRow("copy reaching back too far") << bytes({0x00, 0x40, 0x00, 'A', 0x00, 0x2F});
    QTest::addRow("copy cut off") << bytes({0x00, 0x80, 0x00, 0x00});
    QTest::addRow("run cut off") << bytes({0x00, 0x80, 0x00, 0x00, 0x00, 0x00});
    QTest::addRow("second control word without item") << seventeenLiterals().left(21);
    QByteArray overflow = bytes({0x00, 0xFF, 0xFF});
    for (int i = 0; i < 8; ++i)
        overflow += bytes({0x00, 0x0F, 0xFF, 'x'}); // 8 x 4111 bytes > 32783
    QTest::addRow("output beyond the buffer") << overflow;
    QTest::addRow("chunk longer than the buffer")
        << (bytes({0x80}) + QByteArray(int(kLzrw1khBufferSize), 'x'));
}

void TestLzrw1kh::refusesMalformedChunks()
{
    QFETCH(QByteArray, chunk);
    QVERIFY(decode(chunk).isNull());
}

void TestLzrw1kh::ecsSectionsRestoreAndSkip()
{
    QTemporaryDir dir;
    const QByteArray c1 = bytes({0x80}) + "stored part;";
    const QByteArray c2 = bytes({0x00, 0x40, 0x00, 'A', 0x00, 0x1F});
    const int t = (4 + c1.size()) + (4 + c2.size());
    const QByteArray expected = QByteArray("stored part;") + QByteArray(19, 'A');
    ArchiveBytes a;
    a.header("old", expected.size() * 2, 2);
    for (const char* name : {"c:\\old\\one.db", "c:\\old\\two.db"})
        a.entry(name, kSomeDosTime).ecs().int32(t).text(c1).text(c2);
    a.end();
    const QString archive = dir.filePath(QStringLiteral("old.bak"));
    writeFile(archive, a.bytes);

    TBackupFile backup;
    QStringList progress;
    backup.OnProgress = [&](TBackupFile&, const std::string& f, TPercentage p, bool&) {
        progress << QString::fromStdString(f).section(QLatin1Char('/'), -1) + u" "_s +
                        QString::number(p);
    };
    // The second file is not restored; its chunks still report progress.
    backup.OnRestoreFile = [](TBackupFile&, std::string& f, std::int32_t, bool& doRestore) {
        doRestore = f.find("one") != std::string::npos;
    };
    QVERIFY(backup.Restore(archive.toStdString(), dir.path().toStdString()));
    QCOMPARE(readFile(dir.filePath(QStringLiteral("one.db"))), expected);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("two.db"))));
    QCOMPARE(progress, QStringList({u"one.db 19"_s, u"one.db 50"_s, u"two.db 50"_s, u"two.db 50"_s,
                                    u" 100"_s}));
    std::int32_t time = 0;
    QVERIFY(fileDosDateTime(dir.filePath(QStringLiteral("one.db")).toStdString(), time));
    QCOMPARE(time, kSomeDosTime);
}

void TestLzrw1kh::damagedEcsChunkIsError1()
{
    QTemporaryDir dir;
    const QByteArray bad = bytes({0x00, 0x80, 0x00, 0x00, 0x1F}); // copy before the start
    const QString archive = dir.filePath(QStringLiteral("bad.bak"));
    writeFile(archive, ArchiveBytes()
                           .header("", 1, 1)
                           .entry("/x/a.db", kSomeDosTime)
                           .ecs()
                           .int32(4 + bad.size())
                           .text(bad)
                           .end()
                           .bytes);
    TBackupFile backup;
    QList<int> errors;
    backup.OnError = [&](TBackupFile&, std::int32_t e, const std::string&) { errors << e; };
    QVERIFY(!backup.Restore(archive.toStdString(), dir.path().toStdString()));
    QCOMPARE(errors, QList<int>({1}));
}

QTEST_APPLESS_MAIN(TestLzrw1kh)
#include "tst_lzrw1kh.moc"
