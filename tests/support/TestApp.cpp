#include "TestApp.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace lumo::test
{

QString deliveredDatabase()
{
    const QString path = QString::fromLocal8Bit(qgetenv("LUMO_DELIVERED_DB"));
    if (path.isEmpty() || !QFile::exists(path))
        qFatal("LUMO_DELIVERED_DB does not name the delivered database");
    return path;
}

TestApp::TestApp() : TestApp(Options{}) {}

TestApp::TestApp(const Options& options)
    : folders(dir.path()), store(folders), m_oldCurrent(QDir::currentPath())
{
    QDir().mkpath(folders.appDir());
    QDir().mkpath(folders.configDir());
    qputenv("LUMO_CONFIG_DIR", folders.configDir().toLocal8Bit());
    qputenv("LUMO_INSTALL_DIR", folders.installDir().toLocal8Bit());
    qputenv("LUMO_DESKTOP_DIR", folders.desktopDir().toLocal8Bit());
    qputenv("LUMO_APPLICATIONS_DIR", folders.applicationsDir().toLocal8Bit());
    qputenv("LUMO_ICON_THEME_DIR", folders.iconThemeDir().toLocal8Bit());
    QFile::copy(deliveredDatabase(), path(QStringLiteral("lumo.fc")));
    QFile::setPermissions(path(QStringLiteral("lumo.fc")), QFile::ReadOwner | QFile::WriteOwner |
                                                               QFile::ReadUser | QFile::WriteUser);
    QFile program(folders.programFile());
    if (program.open(QIODevice::WriteOnly))
        program.write("#!/bin/sh\n");
    program.close();
    program.setPermissions(program.permissions() | QFile::ExeOwner | QFile::ExeUser);
    QDir::setCurrent(folders.appDir());
    if (options.startedBefore)
        store.WriteSectionValue(QStringLiteral("app"), QStringLiteral("started"),
                                QStringLiteral("1"));
    if (options.installed) {
        QDir().mkpath(folders.installDir());
        QFile marker(folders.installDir() + QStringLiteral("/lumo"));
        if (marker.open(QIODevice::WriteOnly))
            marker.write("#!/bin/sh\n");
    }
    if (options.openData)
        openData();
}

TestApp::~TestApp()
{
    ctx.reset();
    sj.reset();
    QDir::setCurrent(m_oldCurrent);
}

void TestApp::openData()
{
    sj = std::make_unique<Tsj>(QStringLiteral("lumo.fc"));
    ctx = std::make_unique<AppContext>(AppContext{*sj, store, folders, clock, dialogs, screen});
}

void TestApp::exec(const QString& sql)
{
    QSqlQuery q(sj->lumo1());
    if (!q.exec(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
}

QVariant TestApp::scalar(const QString& sql)
{
    QSqlQuery q(sj->lumo1());
    if (!q.exec(sql) || !q.next())
        qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    return q.value(0);
}

void TestApp::addListing(int serial, const QString& intention, const QString& district,
                         const QString& layout, const QString& orientation, int floor, double area,
                         double price)
{
    QSqlQuery q(sj->lumo1());
    q.prepare(QStringLiteral("INSERT INTO fcxx (序号, SB, 区域, 房屋地址, 户型, 楼层, 朝向, 房龄, "
                             "面积, 权属, 价格, 备注, 登记日期, 详细地址, 相片, 联系电话, 房主) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?, 5, ?, '产权', ?, '备注', "
                             "'2026-12-01', '详细地址', '', '13800000000', '房主')"));
    q.addBindValue(serial);
    q.addBindValue(intention);
    q.addBindValue(district);
    q.addBindValue(QStringLiteral("地址%1").arg(serial));
    q.addBindValue(layout);
    q.addBindValue(floor);
    q.addBindValue(orientation);
    q.addBindValue(area);
    q.addBindValue(price);
    if (!q.exec())
        qFatal("addListing: %s", qPrintable(q.lastError().text()));
}

} // namespace lumo::test
