#include "Folders.h"

#include <QCoreApplication>
#include <QDir>
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

QString Folders::desktopDir() const
{
    const QString dir = fromEnv("LUMO_DESKTOP_DIR");
    if (!dir.isEmpty())
        return dir;
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString Folders::applicationsDir() const
{
    const QString dir = fromEnv("LUMO_APPLICATIONS_DIR");
    if (!dir.isEmpty())
        return dir;
    return QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
}

} // namespace lumo
