// The design font "宋体" resolves to an installed Chinese font once the main
// window exists, so text in it is drawn without falling back glyph by glyph.
#include "DesignFonts.h"
#include "TestApp.h"
#include "Tmain.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QTextLayout>
#include <QtTest>

using namespace lumo;
using namespace lumo::test;

class TestDesignFonts : public QObject
{
    Q_OBJECT
private slots:
    void designFontIsAnInstalledChineseFont();
};

void TestDesignFonts::designFontIsAnInstalledChineseFont()
{
    if (QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty())
        QSKIP("no Chinese font installed");
    TestApp app;
    Tmain window(*app.ctx);
    QFont design(QStringLiteral("宋体"));
    design.setPixelSize(13);
    const QString family = QFontInfo(design).family();
    QVERIFY2(QFontDatabase::families(QFontDatabase::SimplifiedChinese).contains(family),
             qPrintable(family));
    QVERIFY(substituteDesignFonts().contains(family));

    // A cell's text is shaped with the one font: every glyph run of a mixed
    // Chinese and Latin text comes from the first choice.
    QTextLayout layout(QStringLiteral("和平区 二室一厅 2024/1/1 南北通透"), design);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    QVERIFY(!runs.isEmpty());
    for (const QGlyphRun& run : runs)
        QVERIFY2(run.rawFont().familyName().compare(family, Qt::CaseInsensitive) == 0,
                 qPrintable(run.rawFont().familyName()));
}

QTEST_MAIN(TestDesignFonts)
#include "tst_designfonts.moc"
