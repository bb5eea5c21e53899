// Import by update: the duplicate test, the numbering of new rows, and
// failures that must leave the register as it was.
#include "DataFixtures.h"
#include "Dataset.h"
#include "ExchangeFile.h"
#include "ImportUpdate.h"

#include <QFileInfo>
#include <QRandomGenerator>

using namespace lumo;
using namespace lumo::test;

namespace
{

DataEnv envOf(TestApp& app, DataProgress& progress)
{
    return DataEnv{app.sj.get(), app.store, app.folders, app.clock, progress};
}

void clearRegister(TestApp& app)
{
    app.exec(QStringLiteral("DELETE FROM fcxx"));
}

// The rule as stated, walking the register for every exchange row.
bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    const bool an = a.typeId() == QMetaType::LongLong || a.typeId() == QMetaType::Double;
    const bool bn = b.typeId() == QMetaType::LongLong || b.typeId() == QMetaType::Double;
    if (an || bn)
        return an && bn && a.toDouble() == b.toDouble();
    return a.toString() == b.toString();
}

QList<QVariantList> quadraticImport(QList<QVariantList> reg, const QList<QVariantList>& ext)
{
    // Positions of the compared fields among the sixteen of listingFields().
    QVector<int> cmp;
    for (const QString& f : comparedFields())
        cmp << int(listingFields().indexOf(f));
    for (const QVariantList& e : ext) {
        qlonglong next = 1;
        if (!reg.isEmpty() && reg.last().at(0).toLongLong() > 0)
            next = reg.last().at(0).toLongLong() + 1;
        bool found = false;
        for (const QVariantList& r : reg) {
            bool same = true;
            for (int i : cmp)
                same = same && sameValue(r.at(i), e.at(i));
            if (same) {
                found = true;
                break;
            }
        }
        if (!found) {
            QVariantList n = e;
            n[0] = next;
            reg << n;
        }
    }
    return reg;
}

QVariantMap randomListing(QRandomGenerator& g, int serial)
{
    auto pick = [&](const QVariantList& choices) {
        return choices.at(g.bounded(int(choices.size())));
    };
    const QVariant null;
    return listing(
        serial,
        {{QStringLiteral("SB"), pick({QStringLiteral("出售"), QStringLiteral("出租")})},
         {QStringLiteral("区域"), pick({QStringLiteral("和平区"), null})},
         {QStringLiteral("房屋地址"), pick({QStringLiteral("a"), QStringLiteral("A"), null})},
         {QStringLiteral("户型"), QStringLiteral("二室")},
         {QStringLiteral("楼层"), pick({3, 4, null})},
         {QStringLiteral("朝向"), QStringLiteral("南北")},
         {QStringLiteral("房龄"), pick({5, null})},
         {QStringLiteral("面积"), pick({80.0, 80.5, null})},
         {QStringLiteral("权属"), QStringLiteral("个人")},
         {QStringLiteral("价格"), pick({50.0, 60.0})},
         {QStringLiteral("联系电话"), pick({QStringLiteral("1"), QStringLiteral(""), null})}});
}

} // namespace

class TestExchangeImport : public QObject
{
    Q_OBJECT
private slots:
    void missingExchangeFile();
    void sameRegisterAddsNothing();
    void emptyRegisterNumbersFromOne();
    void duplicateTest_data();
    void duplicateTest();
    void identicalExchangeRowsBothImported();
    void agreesWithQuadraticRule_data();
    void agreesWithQuadraticRule();
    void failuresLeaveRegister_data();
    void failuresLeaveRegister();
};

void TestExchangeImport::missingExchangeFile()
{
    TestApp app;
    DataProgress progress;
    DataEnv env = envOf(app, progress);
    // The update database is removed in every case, a stale one too.
    writeFile(app.path(QStringLiteral("lumo.up")), QByteArray("stale"));
    const DataResult r = importByUpdate(env);
    QVERIFY(!r.ok);
    QCOMPARE(r.message,
             QStringLiteral("外部数据文件 fcsj.su 不存在？\r\n\r请将外部数据文件拷贝到 ") +
                 app.appDir() + QStringLiteral("/ 目录内！"));
    QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("lumo.up"))));
}

void TestExchangeImport::sameRegisterAddsNothing()
{
    TestApp app;
    DataProgress progress;
    DataEnv env = envOf(app, progress);
    clearRegister(app);
    insertRows(app.sj->lumo1(),
               {listing(1), listing(2, {{QStringLiteral("区域"), QVariant()}}), listing(5)});
    QVERIFY(exportExchange(env).ok);
    QFile::rename(app.path(QStringLiteral("fcsj.su")), app.path(QStringLiteral("copy")));
    QFile::rename(app.path(QStringLiteral("copy")), app.path(QStringLiteral("fcsj.su")));
    const DataResult r = importByUpdate(env);
    QVERIFY2(r.ok, qPrintable(r.fullText()));
    QCOMPARE(r.message, QStringLiteral("外部数据文件数据以完全导入系统内！！！"));
    QCOMPARE(r.added, 0);
    QCOMPARE(registerRows(app.sj->lumo1()).size(), 3);
    QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("lumo.up"))));
    QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("bak/lumo.fc"))));
}

void TestExchangeImport::emptyRegisterNumbersFromOne()
{
    TestApp app;
    DataProgress progress;
    DataEnv env = envOf(app, progress);
    clearRegister(app);
    app.sj->ADOTable1->refresh();
    makeExchange(app, {listing(30), listing(10), listing(20)});
    const DataResult r = importByUpdate(env);
    QVERIFY2(r.ok, qPrintable(r.fullText()));
    QCOMPARE(r.added, 3);
    const auto rows = registerRows(app.sj->lumo1());
    QCOMPARE(rows.size(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(rows.at(i).at(0).toInt(), i + 1);
    // In the order of the exchange file, fields copied.
    QCOMPARE(rows.at(0).at(3).toString(), QStringLiteral("南京街30号"));
    QCOMPARE(rows.at(2).at(3).toString(), QStringLiteral("南京街20号"));
    QCOMPARE(rows.at(1).at(listingFields().indexOf(QStringLiteral("登记日期"))).toString(),
             QStringLiteral("2026-01-02"));
    // The register dataset shows them.
    QCOMPARE(app.sj->ADOTable1->recordCount(), 3);
}

void TestExchangeImport::duplicateTest_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("imported");
    QTest::newRow("价格") << QStringLiteral("价格") << QVariant(99.0) << false;
    QTest::newRow("备注") << QStringLiteral("备注") << QVariant(QStringLiteral("别的")) << false;
    QTest::newRow("相片") << QStringLiteral("相片") << QVariant() << false;
    QTest::newRow("房主") << QStringLiteral("房主") << QVariant(QStringLiteral("李四")) << false;
    QTest::newRow("登记日期") << QStringLiteral("登记日期")
                              << QVariant(QStringLiteral("2020-05-05")) << false;
    QTest::newRow("序号") << QStringLiteral("序号") << QVariant(9) << true;
    QTest::newRow("区域 null") << QStringLiteral("区域") << QVariant() << true;
    QTest::newRow("房屋地址 case")
        << QStringLiteral("房屋地址") << QVariant(QStringLiteral("南京街1號")) << true;
    QTest::newRow("楼层") << QStringLiteral("楼层") << QVariant(4) << true;
    QTest::newRow("联系电话 empty text")
        << QStringLiteral("联系电话") << QVariant(QStringLiteral("")) << true;
}

void TestExchangeImport::duplicateTest()
{
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(bool, imported);
    TestApp app;
    DataProgress progress;
    DataEnv env = envOf(app, progress);
    clearRegister(app);
    insertRows(app.sj->lumo1(), {listing(1), listing(2)});
    makeExchange(app, {listing(1, {{field, value}})});
    const DataResult r = importByUpdate(env);
    QVERIFY2(r.ok, qPrintable(r.fullText()));
    QCOMPARE(r.added, imported ? 1 : 0);
    const auto rows = registerRows(app.sj->lumo1());
    QCOMPARE(rows.size(), imported ? 3 : 2);
    if (imported)
        QCOMPARE(rows.last().at(0).toInt(), 3);
}

void TestExchangeImport::identicalExchangeRowsBothImported()
{
    TestApp app;
    DataProgress progress;
    DataEnv env = envOf(app, progress);
    clearRegister(app);
    insertRows(app.sj->lumo1(), {listing(1)});
    makeExchange(app, {listing(7), listing(7)});
    DataResult r = importByUpdate(env);
    QVERIFY2(r.ok, qPrintable(r.fullText()));
    QCOMPARE(r.added, 2);
    auto rows = registerRows(app.sj->lumo1());
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(1).at(0).toInt(), 2);
    QCOMPARE(rows.at(2).at(0).toInt(), 3);

    // A row equal to one imported earlier in the same run (same new
    // number) is not imported again.
    makeExchange(
        app, {listing(9), listing(4, {{QStringLiteral("房屋地址"), QStringLiteral("南京街9号")}})});
    r = importByUpdate(env);
    QVERIFY2(r.ok, qPrintable(r.fullText()));
    QCOMPARE(r.added, 1);
}

void TestExchangeImport::agreesWithQuadraticRule_data()
{
    QTest::addColumn<quint32>("seed");
    // With the keys squeezed into four values nearly every lookup meets
    // other rows' keys: only the comparison with the stored row decides.
    QTest::addColumn<bool>("collisions");
    for (quint32 seed : {1u, 2u, 3u, 4u})
        QTest::addRow("seed %u", seed) << seed << false;
    for (quint32 seed : {5u, 6u})
        QTest::addRow("seed %u, colliding keys", seed) << seed << true;
}

void TestExchangeImport::agreesWithQuadraticRule()
{
    QFETCH(quint32, seed);
    QFETCH(bool, collisions);
    TestApp app;
    DataProgress progress;
    DataEnv env = envOf(app, progress);
    QRandomGenerator g(seed);
    if (collisions)
        setRowKeyFinishForTesting([](std::uint64_t k) { return (k & 3) + 1; });
    const auto restore = qScopeGuard([] { setRowKeyFinishForTesting(nullptr); });
    QList<QVariantMap> reg, ext;
    for (int i = 0; i < 80; ++i)
        reg << randomListing(g, i + 1 + (i / 7) * 3);
    // Exchange rows: copies of register rows (some with a non-compared or a
    // compared field changed), repeats of earlier exchange rows, new rows.
    const QStringList changeable = {QStringLiteral("价格"),     QStringLiteral("备注"),
                                    QStringLiteral("区域"),     QStringLiteral("房屋地址"),
                                    QStringLiteral("楼层"),     QStringLiteral("面积"),
                                    QStringLiteral("联系电话"), QStringLiteral("序号")};
    for (int i = 0; i < 80; ++i) {
        const int kind = int(g.bounded(4));
        if (kind == 0 || (kind == 1 && ext.isEmpty())) {
            QVariantMap row = reg.at(int(g.bounded(int(reg.size()))));
            const QVariantMap other = randomListing(g, int(g.bounded(1, 90)));
            const QString f = changeable.at(int(g.bounded(int(changeable.size()))));
            if (g.bounded(2))
                row[f] = other.value(f);
            ext << row;
        } else if (kind == 1) {
            ext << ext.at(int(g.bounded(int(ext.size()))));
        } else {
            ext << randomListing(g, int(g.bounded(1, 90)));
        }
    }
    clearRegister(app);
    insertRows(app.sj->lumo1(), reg);
    makeExchange(app, ext);
    const QList<QVariantList> before = registerRows(app.sj->lumo1());
    QList<QVariantList> exchange;
    {
        QTemporaryDir d;
        TBackupFile reader;
        QVERIFY(reader.Restore(fromQ(app.path(QStringLiteral("fcsj.su"))), fromQ(d.path())));
        withDatabase(d.path() + QStringLiteral("/lumo.fc"),
                     [&](QSqlDatabase db) { exchange = registerRows(db); });
    }
    const QList<QVariantList> expected = quadraticImport(before, exchange);
    QVERIFY(expected.size() > before.size());
    QVERIFY(expected.size() < before.size() + exchange.size());

    const DataResult r = importByUpdate(env);
    QVERIFY2(r.ok, qPrintable(r.fullText()));
    const QList<QVariantList> after = registerRows(app.sj->lumo1());
    QCOMPARE(after.size(), expected.size());
    for (int i = 0; i < after.size(); ++i)
        for (int c = 0; c < listingFields().size(); ++c)
            QVERIFY2(
                sameValue(after.at(i).at(c), expected.at(i).at(c)),
                qPrintable(QStringLiteral("row %1 field %2").arg(i).arg(listingFields().at(c))));
}

void TestExchangeImport::failuresLeaveRegister_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("serial taken part-way") << QStringLiteral("serial");
    QTest::newRow("progress callback fails in the loop") << QStringLiteral("callback");
    QTest::newRow("damaged exchange file, stale lumo.up") << QStringLiteral("damaged");
}

void TestExchangeImport::failuresLeaveRegister()
{
    QFETCH(QString, fault);
    TestApp app;
    clearRegister(app);
    // The last row in natural order has a lower number than another row:
    // the third new number collides with it.
    insertRows(app.sj->lumo1(), {listing(5), listing(2)});
    QList<QVariantMap> rows;
    for (int i = 0; i < 200; ++i)
        rows << listing(100 + i);
    makeExchange(app, rows);
    if (fault == QLatin1String("damaged")) {
        QFile::copy(deliveredDatabase(), app.path(QStringLiteral("lumo.up")));
        QFile f(app.path(QStringLiteral("fcsj.su")));
        QVERIFY(f.open(QIODevice::ReadWrite));
        const QByteArray bytes = f.readAll();
        f.resize(bytes.size() / 2);
    }
    const QList<QVariantList> before = registerRows(app.sj->lumo1());
    FailingProgress progress(fault == QLatin1String("callback") ? FailingProgress::When::AfterText
                                                                : FailingProgress::When::Never);
    DataEnv env = envOf(app, progress);
    const DataResult r = importByUpdate(env);
    QVERIFY(!r.ok);
    QCOMPARE(r.added, 0);
    QCOMPARE(r.message, fault == QLatin1String("damaged")
                            ? QStringLiteral("数据文件未被正确解压缩？数据导入不成功！")
                            : QStringLiteral("外部数据导入失败，系统内的数据没有改变！"));
    QVERIFY(!r.detail.isEmpty());
    QCOMPARE(registerRows(app.sj->lumo1()), before);
    QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("lumo.up"))));
    QVERIFY(!app.sj->lwb().isOpen());
    // The register is usable afterwards.
    insertRows(app.sj->lumo1(), {listing(6)});
}

QTEST_MAIN(TestExchangeImport)
#include "tst_exchangeimport.moc"
