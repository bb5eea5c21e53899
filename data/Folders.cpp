#include "Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace lumo
{

namespace
{
QString fromEnv(const char* name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}
} // namespace

QString Folders::appDir() const
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath());
}

QString Folders::programFile() const
{
    return QCoreApplication::applicationFilePath();
}

QString Folders::currentDir() const
{
    return QDir::currentPath();
}

QString Folders::configDir() const
{
    const QString dir = fromEnv("LUMO_CONFIG_DIR");
    if (!dir.isEmpty())
        return QDir::cleanPath(dir);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Velmora");
}

QString Folders::installDir() const
{
    const QString dir = fromEnv("LUMO_INSTALL_DIR");
    if (!dir.isEmpty())
        return QDir::cleanPath(dir);
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Velmorix");
}

QString xdgUserDir(const QString& kind)
{
    QProcess process;
    process.start(QStringLiteral("xdg-user-dir"), {kind}, QIODevice::ReadOnly);
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    const QString dir = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    if (dir.isEmpty() || QDir::isRelativePath(dir))
        return {};
    const QString clean = QDir::cleanPath(dir);
    if (clean == QDir::cleanPath(QDir::homePath()))
        return {};
    return clean;
}

QString Folders::desktopDir() const
{
    const QString dir = fromEnv("LUMO_DESKTOP_DIR");
    if (!dir.isEmpty())
        return dir;
    const QString xdg = xdgUserDir(QStringLiteral("DESKTOP"));
    if (!xdg.isEmpty())
        return xdg;
    return QDir::homePath() + QStringLiteral("/Desktop");
}

QString Folders::applicationsDir() const
{
    const QString dir = fromEnv("LUMO_APPLICATIONS_DIR");
    if (!dir.isEmpty())
        return dir;
    return QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
}

QString Folders::iconThemeDir() const
{
    const QString dir = fromEnv("LUMO_ICON_THEME_DIR");
    if (!dir.isEmpty())
        return dir;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/icons/hicolor");
}

} // namespace lumo
