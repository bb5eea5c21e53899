#include "Dataset.h"
#include "FakeMainFrame.h"
#include "Tdyyl.h"
#include "TestApp.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QtTest>

using namespace lumo;

namespace
{

int pdfPageCount(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(f.readAll());
    return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

void fillPrintList(test::TestApp& app, int rows)
{
    for (int i = 1; i <= rows; ++i)
        app.exec(
            QStringLiteral("INSERT INTO fzxx (序号, 楼层, 房龄, 面积, 价格, sb, 区域, 房屋地址, "
                           "户型, 朝向, 权属, 备注) VALUES (%1, 3, 5, 80, 50, '卖', '东区', "
                           "'和平路%1号', '二室', '南北', '产权', '备注%1')")
                .arg(i));
    app.sj->ADOTable3->close();
    app.sj->ADOTable3->open();
}

} // namespace

class TestTdyyl : public QObject
{
    Q_OBJECT
private slots:
    void withoutPrinterWritesPdfAndSaysWhere();
    void printsToChosenPrinterFile();
    void unwritableFolderIsReported();
};

void TestTdyyl::withoutPrinterWritesPdfAndSaysWhere()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("this machine has a printer");
    test::TestApp app;
    test::FakeMainFrame frame;
    app.store.WriteAppValue(QStringLiteral("gs"), QStringLiteral("星光地产"));
    app.store.WriteAppValue(QStringLiteral("dh"), QStringLiteral("88886666"));
    fillPrintList(app, 25);
    app.sj->ADOTable3->moveTo(2);

    QPointer<Tdyyl> form = new Tdyyl(*app.ctx, frame);
    const QString file = form->lastOutput();
    QVERIFY(file.startsWith(app.appDir() + QLatin1Char('/')));
    QVERIFY(file.endsWith(QStringLiteral(".pdf")));
    QVERIFY(QFile::exists(file));
    QCOMPARE(pdfPageCount(file), 2);
    const QStringList texts = form->QuickRep1.textsOnPage(1);
    QCOMPARE(texts.at(0), QStringLiteral("《星光地产》"));
    QVERIFY(texts.contains(QStringLiteral("88886666")));
    QVERIFY(texts.contains(QStringLiteral("和平路1号")));
    QVERIFY(form->QuickRep1.textsOnPage(2).contains(QStringLiteral("和平路25号")));
    QCOMPARE(app.dialogs.messages.size(), 1);
    QVERIFY(app.dialogs.messages.at(0).contains(QDir::toNativeSeparators(file)));
    // The print list keeps its rows and its position; the window frees itself.
    QCOMPARE(app.sj->ADOTable3->recNo(), 2);
    QTRY_VERIFY(form.isNull());

    // A second printout does not overwrite the first.
    QPointer<Tdyyl> again = new Tdyyl(*app.ctx, frame);
    QVERIFY(again->lastOutput() != file);
    QVERIFY(QFile::exists(file));
}

void TestTdyyl::printsToChosenPrinterFile()
{
    test::TestApp app;
    test::FakeMainFrame frame;
    fillPrintList(app, 0);
    const QString file = app.path(QStringLiteral("chosen.pdf"));
    frame.printer()->setOutputFormat(QPrinter::PdfFormat);
    frame.printer()->setOutputFileName(file);

    auto* form = new Tdyyl(*app.ctx, frame);
    QCOMPARE(form->lastOutput(), file);
    QCOMPARE(pdfPageCount(file), 1);
    // An empty list: title (brackets only, nothing stored) and header.
    const QStringList texts = form->QuickRep1.textsOnPage(1);
    QCOMPARE(texts.at(0), QStringLiteral("《》"));
    QCOMPARE(texts.size(), 3 + 9);
    QVERIFY(app.dialogs.messages.isEmpty());
}

void TestTdyyl::unwritableFolderIsReported()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("this machine has a printer");
    test::TestApp app;
    test::FakeMainFrame frame;
    fillPrintList(app, 1);
    // The application folder is gone: the PDF cannot be written.
    const QString root = app.folders.root;
    app.folders.root = root + QStringLiteral("/missing");
    auto* form = new Tdyyl(*app.ctx, frame);
    app.folders.root = root;
    QVERIFY(form->lastOutput().isEmpty());
    QCOMPARE(app.dialogs.messages.size(), 1);
    QVERIFY(app.dialogs.messages.at(0).startsWith(QStringLiteral("无法写入文件")));
}

QTEST_MAIN(TestTdyyl)
#include "tst_tdyyl.moc"
