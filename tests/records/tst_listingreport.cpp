#include "Dataset.h"
#include "ListingReport.h"
#include "TestApp.h"

#include <QFile>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace lumo;

namespace
{

const QStringList kCaptions = {
    QStringLiteral("区域"), QStringLiteral("详细地址"), QStringLiteral("户型"),
    QStringLiteral("楼层"), QStringLiteral("朝向"),     QStringLiteral("房龄"),
    QStringLiteral("权属"), QStringLiteral("面积"),     QStringLiteral("价格")};

ListingRow row(int n)
{
    ListingRow r;
    r.district = QStringLiteral("东区");
    r.address = QStringLiteral("和平路%1号").arg(n);
    r.layout = QStringLiteral("二室一厅");
    r.floor = QStringLiteral("3");
    r.orientation = QStringLiteral("南北");
    r.age = QStringLiteral("5");
    r.ownership = QStringLiteral("产权");
    r.area = QStringLiteral("80.5");
    r.price = QStringLiteral("50");
    r.remark = QStringLiteral("备注%1").arg(n);
    return r;
}

// Pages of a PDF as its page tree counts them.
int pdfPageCount(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(f.readAll());
    return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

struct Rendered {
    QTemporaryDir dir;
    QString file;
    ListingReport report;
    bool ok = false;
};

void render(Rendered& out, const QVector<ListingRow>& rows)
{
    out.file = out.dir.filePath(QStringLiteral("report.pdf"));
    QPdfWriter pdf(out.file);
    out.ok = out.report.render(&pdf, rows, QStringLiteral("星光地产"),
                               QStringLiteral("0571-88886666"), QDate(2026, 12, 9));
}

} // namespace

class TestListingReport : public QObject
{
    Q_OBJECT
private slots:
    void emptyListPrintsTitleAndHeaderOnly();
    void oneRowPrintsValuesAndRemarkLine();
    void manyRowsRepeatHeaderWithoutTitle();
    void longValuesAreCutAtTheirField();
    void withoutAgencyValuesTitleIsBrackets();
    void readRowsKeepsPrintListPosition();
};

void TestListingReport::emptyListPrintsTitleAndHeaderOnly()
{
    Rendered r;
    render(r, {});
    QVERIFY(r.ok);
    QCOMPARE(r.report.pagesRendered(), 1);
    QCOMPARE(pdfPageCount(r.file), 1);
    const QStringList expected =
        QStringList{QStringLiteral("《星光地产》"), QStringLiteral("联系电话："),
                    QStringLiteral("0571-88886666"), QStringLiteral("2026/12/9")} +
        kCaptions;
    QCOMPARE(r.report.textsOnPage(1), expected);
}

void TestListingReport::oneRowPrintsValuesAndRemarkLine()
{
    Rendered r;
    render(r, {row(1)});
    QVERIFY(r.ok);
    QCOMPARE(pdfPageCount(r.file), 1);
    const QStringList detail = r.report.textsOnPage(1).mid(4 + kCaptions.size());
    QCOMPARE(detail,
             (QStringList{QStringLiteral("东区"), QStringLiteral("和平路1号"),
                          QStringLiteral("二室一厅"), QStringLiteral("3"), QStringLiteral("楼"),
                          QStringLiteral("南北"), QStringLiteral("5"), QStringLiteral("年"),
                          QStringLiteral("产权"), QStringLiteral("80.5"), QStringLiteral("50"),
                          QStringLiteral("详细信息:"), QStringLiteral("备注1")}));

    // Positions in millimetres: the detail band follows the title and the
    // header (9.3 mm each); the remark line starts 6.6 mm into the band.
    const auto find = [&](const QString& text) {
        for (const auto& d : r.report.drawnTexts())
            if (d.text == text)
                return d;
        return ListingReport::DrawnText{};
    };
    QCOMPARE(find(QStringLiteral("《星光地产》")).pointSize, 22.0);
    QCOMPARE(find(QStringLiteral("价格")).rect.left(), 167.2 + 0.5);
    QCOMPARE(find(QStringLiteral("东区")).rect.top(), 18.6);
    QCOMPARE(find(QStringLiteral("备注1")).rect.left(), 18.5);
    QVERIFY(qAbs(find(QStringLiteral("备注1")).rect.top() - (18.6 + 6.6)) < 1e-9);
    QCOMPARE(find(QStringLiteral("备注1")).rect.width(), 168.0);
}

void TestListingReport::manyRowsRepeatHeaderWithoutTitle()
{
    const int first = ListingReport::rowsOnFirstPage();
    QCOMPARE(first, 19);
    QCOMPARE(ListingReport::rowsOnFollowingPages(), 20);

    QVector<ListingRow> rows;
    for (int i = 1; i <= first + 1; ++i)
        rows << row(i);
    Rendered r;
    render(r, rows);
    QVERIFY(r.ok);
    QCOMPARE(r.report.pagesRendered(), 2);
    QCOMPARE(pdfPageCount(r.file), 2);

    const QStringList page1 = r.report.textsOnPage(1);
    const QStringList page2 = r.report.textsOnPage(2);
    QVERIFY(page1.contains(QStringLiteral("和平路19号")));
    QVERIFY(!page1.contains(QStringLiteral("和平路20号")));
    QCOMPARE(page2.mid(0, kCaptions.size()), kCaptions);
    QVERIFY(page2.contains(QStringLiteral("和平路20号")));
    QVERIFY(!page2.contains(QStringLiteral("《星光地产》")));
    QVERIFY(!page2.contains(QStringLiteral("联系电话：")));
    // The header starts page 2 at its top.
    for (const auto& d : r.report.drawnTexts())
        if (d.page == 2 && d.text == QStringLiteral("区域"))
            QCOMPARE(d.rect.top(), 2.6);

    QCOMPARE(ListingReport::pageCount(0), 1);
    QCOMPARE(ListingReport::pageCount(19), 1);
    QCOMPARE(ListingReport::pageCount(20), 2);
    QCOMPARE(ListingReport::pageCount(39), 2);
    QCOMPARE(ListingReport::pageCount(40), 3);
}

void TestListingReport::longValuesAreCutAtTheirField()
{
    ListingRow r1 = row(1);
    r1.remark = QString(200, QChar(u'房'));
    r1.address = QString(40, QChar(u'路'));
    Rendered r;
    render(r, {r1});
    QVERIFY(r.ok);
    QString remark;
    QString address;
    for (const auto& d : r.report.drawnTexts()) {
        if (d.text.startsWith(QChar(u'房')))
            remark = d.text;
        if (d.text.startsWith(QChar(u'路')))
            address = d.text;
    }
    // One line of 11-point characters in 168 mm holds far fewer than 200.
    QVERIFY(!remark.isEmpty());
    QVERIFY2(remark.size() < 60, qPrintable(QString::number(remark.size())));
    QVERIFY(QString(200, QChar(u'房')).startsWith(remark));
    QVERIFY(!address.isEmpty());
    QVERIFY(address.size() < 40);
}

void TestListingReport::withoutAgencyValuesTitleIsBrackets()
{
    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath(QStringLiteral("r.pdf")));
    ListingReport report;
    QVERIFY(report.render(&pdf, {}, QString(), QString(), QDate(2026, 1, 5)));
    const QStringList texts = report.textsOnPage(1);
    QCOMPARE(texts.at(0), QStringLiteral("《》"));
    QCOMPARE(texts.at(1), QStringLiteral("联系电话："));
    QCOMPARE(texts.at(2), QStringLiteral("2026/1/5"));
}

void TestListingReport::readRowsKeepsPrintListPosition()
{
    test::TestApp app;
    app.exec(QStringLiteral("INSERT INTO fzxx (序号, 楼层, 房龄, 面积, 价格, sb, 区域, 房屋地址, "
                            "户型, 朝向, 权属, 备注) VALUES (4, 6, 10, 95.5, 120, '卖', '西区', "
                            "'长江路', '三室', '东西', '使用权', '近地铁')"));
    app.exec(QStringLiteral("INSERT INTO fzxx (序号, 区域) VALUES (9, '北区')"));
    Dataset* list = app.sj->ADOTable3;
    list->close();
    list->open();
    list->last();
    const QVector<ListingRow> rows = ListingReport::readRows(*list);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].district, QStringLiteral("西区"));
    QCOMPARE(rows[0].address, QStringLiteral("长江路"));
    QCOMPARE(rows[0].floor, QStringLiteral("6"));
    QCOMPARE(rows[0].age, QStringLiteral("10"));
    QCOMPARE(rows[0].area, QStringLiteral("95.5"));
    QCOMPARE(rows[0].price, QStringLiteral("120"));
    QCOMPARE(rows[0].ownership, QStringLiteral("使用权"));
    QCOMPARE(rows[0].remark, QStringLiteral("近地铁"));
    QCOMPARE(rows[1].floor, QString());
    QCOMPARE(list->recNo(), 1);
}

QTEST_MAIN(TestListingReport)
#include "tst_listingreport.moc"
