// Takes the pictures of the manual: the main window before and after
// login in two looks, the calculator, and the working windows (entry form,
// search results, owner details, deletion, settings, business cards,
// perpetual calendar) over a small register of a dozen listings. Windows are built
// offscreen with a temporary application folder, exactly as a user gets them.
#include "CalculatorDialog.h"
#include "Dataset.h"
#include "Looks.h"
#include "Skins.h"
#include "Startup.h"
#include "TestApp.h"
#include "Tmain.h"
#include "Tsj.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <memory>

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

// The visible top-level window of that name, opened by the main window.
QWidget* topLevel(const char* name)
{
    QApplication::processEvents();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    std::printf("FAILED no window %s\n", name);
    return nullptr;
}

bool saveTopLevel(const char* window, const QString& folder, const char* name)
{
    QWidget* w = topLevel(window);
    if (!w)
        return false;
    const bool ok = save(w, folder, name);
    w->close();
    return ok;
}

// A small register as an agency keeps it: sale and rent listings in several
// districts, and a few business cards.
void fillRegister(lumo::test::TestApp& fixture)
{
    struct Listing {
        const char* sb;
        const char* district;
        const char* address;
        const char* layout;
        int floor;
        const char* orientation;
        int age;
        double area;
        const char* ownership;
        double price;
        const char* remark;
        const char* date;
        const char* detail;
        const char* phone;
        const char* owner;
    };
    static const Listing listings[] = {
        {"卖", "和平区", "南京街", "二室一厅", 5, "南北", 8, 78.5, "产权", 62, "南北通透，采光好",
         "2026-11-03", "南京南街12号3单元502", "13840012345", "王伟"},
        {"租", "沈河区", "中街", "一室一厅", 3, "南", 12, 45, "每月", 1600, "家具家电齐全",
         "2026-11-05", "中街路88号2-3-1", "13904056789", "李芳"},
        {"卖", "铁西区", "兴华街", "三室二厅", 11, "南北", 3, 128, "产权", 105, "精装修，拎包入住",
         "2026-11-08", "兴华北街7号1单元1102", "13609881234", "张强"},
        {"卖", "皇姑区", "北陵大街", "二室二厅", 2, "东西", 15, 86.3, "使用权", 48, "学区房",
         "2026-11-10", "北陵大街45号4-2-2", "13998765432", "刘敏"},
        {"租", "大东区", "小北街", "二室一厅", 6, "南", 20, 64, "季度", 2100, "有暖气，煤气",
         "2026-11-12", "小北街103号6-1", "13700023456", "陈静"},
        {"卖", "沈河区", "青年大街", "四室二厅", 18, "南北", 2, 186, "产权", 260, "近地铁，带车库",
         "2026-11-15", "青年大街216号B座1801", "13840098765", "杨磊"},
        {"租", "和平区", "太原街", "一室", 4, "西", 25, 32, "每月", 1200, "交通便利", "2026-11-18",
         "太原北街3号4-4", "15004023456", "赵丽"},
        {"卖", "东陵区", "文化路", "三室一厅", 7, "东南", 6, 112, "产权", 88, "小区环境好",
         "2026-11-20", "文化东路18号7-2", "13516087654", "黄杰"},
        {"租", "铁西区", "沈辽路", "二室一厅", 1, "北", 18, 70, "半年", 1500, "简单装修",
         "2026-11-22", "沈辽中路66号1-1-1", "13889123456", "周洋"},
        {"卖", "大东区", "长江街", "复式", 9, "南北", 4, 156, "产权", 135, "急售，可议价",
         "2026-11-25", "长江北街9号9-1", "13322334455", "吴涛"},
        {"租", "皇姑区", "三好街", "三室一厅", 12, "南", 7, 105, "年度", 3800, "精装修",
         "2026-11-28", "三好街52号12-3", "18640012345", "徐艳"},
        {"卖", "其它区", "沈北路", "别墅", 1, "南", 1, 320, "产权", 560, "独门独院", "2026-12-01",
         "沈北路1号别墅区A-6", "13998001122", "孙勇"},
    };
    int serial = 1;
    for (const Listing& l : listings) {
        fixture.exec(QStringLiteral("INSERT INTO fcxx (序号, SB, 区域, 房屋地址, 户型, 楼层, 朝向, "
                                    "房龄, 面积, 权属, 价格, 备注, 登记日期, 详细地址, 相片, "
                                    "联系电话, 房主) VALUES (%1, '%2', '%3', '%4', '%5', %6, '%7', "
                                    "%8, %9, '%10', %11, '%12', '%13', '%14', '', '%15', '%16')")
                         .arg(serial++)
                         .arg(QString::fromUtf8(l.sb), QString::fromUtf8(l.district),
                              QString::fromUtf8(l.address), QString::fromUtf8(l.layout))
                         .arg(l.floor)
                         .arg(QString::fromUtf8(l.orientation))
                         .arg(l.age)
                         .arg(l.area)
                         .arg(QString::fromUtf8(l.ownership))
                         .arg(l.price)
                         .arg(QString::fromUtf8(l.remark), QString::fromUtf8(l.date),
                              QString::fromUtf8(l.detail), QString::fromUtf8(l.phone),
                              QString::fromUtf8(l.owner)));
    }
    fixture.exec(QStringLiteral(
        "INSERT INTO dh (序号, 名称, 地址, 电话, 备注, 日期) VALUES "
        "(1, '沈阳市房产交易中心', '沈河区市府大路260号', '024-22712345', '过户手续', "
        "'2026-10-12'),"
        "(2, '和平区不动产登记处', '和平区南京南街1号', '024-23456789', '产权登记', '2026-10-20'),"
        "(3, '华夏银行按揭部', '沈河区青年大街51号', '024-22561234', '张经理，贷款', '2026-11-02'),"
        "(4, '诚信搬家公司', '大东区小北街20号', '13804001234', '', '2026-11-09'),"
        "(5, '宏达装修公司', '铁西区兴华街88号', '024-25678901', '装修报价', '2026-11-16')"));
}

std::unique_ptr<lumo::Tmain> startAsAdministrator(lumo::test::TestApp& fixture)
{
    auto w = std::make_unique<lumo::Tmain>(*fixture.ctx);
    w->resize(1024, 700);
    w->show();
    w->suiComboBox1->setCurrentText(QStringLiteral("管理员"));
    w->suiEdit1->setText(QStringLiteral("admin"));
    w->suiButton1->click();
    w->resize(1024, 700);
    return w;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("LUMO_DELIVERED_DB"))
        qputenv("LUMO_DELIVERED_DB", LUMO_DELIVERED_DB_PATH);
    QApplication app(argc, argv);
    // Chinese Qt texts and locale, as the program shows them.
    lumo::startApplication(app);
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

    fillRegister(fixture);
    // The program opens these tables at its start, before the rows above
    // existed in this fixture: read them again as a fresh start would.
    fixture.sj->ADOTable1->refresh();
    fixture.sj->ADOTable4->refresh();
    fixture.clock.current = QDateTime(QDate(2027, 2, 6), QTime(10, 30));
    {
        // The search of the filter bar: the sale listings in the results
        // window, then the owner of the current row.
        auto w = startAsAdministrator(fixture);
        w->findChild<QToolButton*>(QStringLiteral("toolbutton4"))->click();
        if (auto* grid = w->findChild<QTableView*>(QStringLiteral("RxDBGrid1")))
            // Two listings collected into the print list, the third current.
            for (int row : {0, 2, 3}) {
                grid->setCurrentIndex(grid->model()->index(row, 0));
                if (row != 3)
                    w->findChild<QPushButton*>(QStringLiteral("bsSkinSpeedButton3"))->click();
            }
        ok &= save(w.get(), folder, "results.png");
        w->menuEntry(QStringLiteral("N15"))->trigger();
        ok &= saveTopLevel("Tfz", folder, "owner.png");
        w->menuEntry(QStringLiteral("N11"))->trigger();
    }
    {
        auto w = startAsAdministrator(fixture);
        w->menuEntry(QStringLiteral("N6"))->trigger();
        ok &= save(w.get(), folder, "entry.png");
    }
    {
        // The button panel is placed from the screen's right edge: let the
        // screen be as wide as the window once the offscreen screen has
        // fitted the window to its own size.
        auto w = startAsAdministrator(fixture);
        QTest::qWait(200);
        const int screenWidth = fixture.screen.w;
        fixture.screen.w = w->width();
        w->menuEntry(QStringLiteral("N7"))->trigger();
        ok &= save(w.get(), folder, "delete.png");
        fixture.screen.w = screenWidth;
    }
    {
        auto w = startAsAdministrator(fixture);
        w->menuEntry(QStringLiteral("N2"))->trigger();
        ok &= save(w.get(), folder, "settings.png");
    }
    {
        auto w = startAsAdministrator(fixture);
        w->menuEntry(QStringLiteral("N10"))->trigger();
        ok &= saveTopLevel("Tmp", folder, "cards.png");
        // The lunar new year's month: marks of the month's first day, the
        // new year and the solar terms.
        w->menuEntry(QStringLiteral("N3"))->trigger();
        ok &= saveTopLevel("Twnl", folder, "calendar.png");
    }
    return ok ? 0 : 1;
}
