#include "PlatformHelpers.h"

#include "Folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace lumo
{

namespace
{

// A program is started as it is; any other file with the desktop's
// default application for it.
QString execLine(const QString& target)
{
    const QFileInfo info(target);
    if (info.isExecutable() && !info.isDir())
        return QLatin1Char('"') + target + QLatin1Char('"');
    return QStringLiteral("xdg-open \"%1\"").arg(target);
}

bool writeDesktopEntry(const QString& path, const QString& target, const QString& name)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString dir = QFileInfo(target).absolutePath();
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=%1\n"
                                        "Exec=%2\n"
                                        "Path=%3\n"
                                        "Terminal=false\n"
                                        "Categories=Office;\n")
                             .arg(name, execLine(target), dir);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    if (!file.commit())
        return false;
    // Desktop environments only start entries that are marked executable.
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
    return true;
}

} // namespace

QString ProgramDir(const Folders& folders)
{
    QString dir = folders.appDir();
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}

QString SystemDir()
{
    return QStringLiteral("/usr/bin/");
}

bool CreateDesktopShortcut(const Folders& folders, const QString& target, const QString& name)
{
    writeDesktopEntry(folders.desktopDir() + QLatin1Char('/') + name + QStringLiteral(".desktop"),
                      target, name);
    return true;
}

bool CreateApplicationEntry(const Folders& folders, const QString& target, const QString& name,
                            const QString& fileName)
{
    return writeDesktopEntry(folders.applicationsDir() + QLatin1Char('/') + fileName, target, name);
}

void CopyFilesSilently(const QString& pattern, const QString& folder)
{
    const QFileInfo info(pattern);
    QDir source(info.path());
    const QString filter =
        info.fileName() == QStringLiteral("*.*") ? QStringLiteral("*") : info.fileName();
    const QFileInfoList files = source.entryInfoList({filter}, QDir::Files | QDir::Hidden);
    QDir().mkpath(folder);
    for (const QFileInfo& f : files) {
        QString target = QDir(folder).filePath(f.fileName());
        for (int n = 2; QFileInfo::exists(target); ++n)
            target = QDir(folder).filePath(QStringLiteral("%1 (%2)").arg(f.fileName()).arg(n));
        QFile::copy(f.absoluteFilePath(), target);
    }
}

} // namespace lumo
