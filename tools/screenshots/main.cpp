// Takes the pictures of the manual: the main window before and after
// login in two looks, and the calculator. Windows are built offscreen with
// a temporary application folder, exactly as a user gets them.
#include "CalculatorDialog.h"
#include "Looks.h"
#include "Skins.h"
#include "TestApp.h"
#include "Tmain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>

namespace
{

bool save(QWidget* w, const QString& folder, const char* name)
{
    QApplication::processEvents();
    QTest::qWait(200);
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    const bool ok = w->grab().save(path);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("LUMO_DELIVERED_DB"))
        qputenv("LUMO_DELIVERED_DB", LUMO_DELIVERED_DB_PATH);
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSize(10);
    QApplication::setFont(font);
    if (argc < 2) {
        std::fprintf(stderr, "usage: lumo_screenshots <folder>\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(folder);

    lumo::test::TestApp fixture;
    fixture.store.WriteAppValue(QStringLiteral("gs"), QStringLiteral("安居房产中介"));
    fixture.screen.w = 1024;
    fixture.screen.h = 700;
    bool ok = true;
    {
        lumo::Tmain w(*fixture.ctx);
        w.resize(1024, 700);
        w.show();
        ok &= save(&w, folder, "login.png");

        w.suiComboBox1->setCurrentText(QStringLiteral("管理员"));
        w.suiEdit1->setText(QStringLiteral("admin"));
        w.suiButton1->click();
        w.resize(1024, 700);
        ok &= save(&w, folder, "main.png");

        w.menuEntry(QStringLiteral("N23"))->trigger();
    }
    {
        // The look chosen above, at the next start.
        lumo::Tmain w(*fixture.ctx);
        w.resize(1024, 700);
        w.show();
        w.suiComboBox1->setCurrentText(QStringLiteral("管理员"));
        w.suiEdit1->setText(QStringLiteral("admin"));
        w.suiButton1->click();
        w.resize(1024, 700);
        ok &= save(&w, folder, "mosphere.png");
        w.menuEntry(QStringLiteral("N110"))->trigger();
    }
    {
        lumo::CalculatorDialog calc;
        calc.show();
        for (const char* key : {"1", "2", "0", "0", "0", "0", "*", "2", ".", "5", "%", "="})
            QTest::keyClicks(&calc, QLatin1String(key));
        for (const char* key : {"MS"})
            calc.button(QLatin1String(key))->click();
        ok &= save(&calc, folder, "calculator.png");
    }
    return ok ? 0 : 1;
}
