#include "Installation.h"

#include "Folders.h"
#include "PlatformHelpers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace lumo
{

namespace
{

const QString kRegister = QStringLiteral("lumo.fc");

QString join(const QString& dir, const QString& name)
{
    return dir + QLatin1Char('/') + name;
}

// Copies `from` over `to` unless `from` is missing, both are the same file,
// or `to` already is a copy (same size, not older).
void copyReplacing(const QString& from, const QString& to)
{
    const QFileInfo source(from);
    if (!source.isFile() || sameFile(from, to))
        return;
    const QFileInfo target(to);
    if (target.isFile() && target.size() == source.size() &&
        target.lastModified() >= source.lastModified())
        return;
    QDir().mkpath(target.absolutePath());
    QFile::remove(to);
    QFile::copy(from, to);
}

// Every file under `from` into the same place under `to`.
void copyTree(const QString& from, const QString& to)
{
    const QDir root(from);
    if (!root.exists())
        return;
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        copyReplacing(file, join(to, root.relativeFilePath(file)));
    }
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Earlier builds started the program on a register in the build's own
// folder. When the installation folder still holds the delivered register
// untouched (byte for byte) and the build's register differs from it, the
// build's register is the one with the agency's data: it takes the
// delivered one's place. Nothing else is ever replaced.
void adoptBuildRegister(const QString& sourceDir, const QString& installDir)
{
    const QString delivered = join(sourceDir, QStringLiteral("lumo.fc.delivered"));
    const QString built = join(sourceDir, kRegister);
    const QString installed = join(installDir, kRegister);
    if (!QFileInfo(delivered).isFile() || !QFileInfo(built).isFile() ||
        !QFileInfo(installed).isFile() || sameFile(built, installed))
        return;
    const QByteArray fresh = contents(delivered);
    if (fresh.isEmpty() || contents(installed) != fresh || contents(built) == fresh)
        return;
    const QString staged = installed + QStringLiteral(".new");
    QFile::remove(staged);
    // Replaced in one step: there is always a register in the folder.
    if (QFile::copy(built, staged) && std::rename(QFile::encodeName(staged).constData(),
                                                  QFile::encodeName(installed).constData()) != 0)
        QFile::remove(staged);
}

} // namespace

bool runsFromPackage(const Folders& folders)
{
    return QFileInfo::exists(join(folders.appDir(), QStringLiteral("lumo.package")));
}

bool sameFile(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

void installProgramFiles(const Folders& folders, const QString& sourceDir,
                         const QString& installDir)
{
    QDir().mkpath(installDir);
    const QString target = join(installDir, kRegister);
    // A dangling link counts as a register too: it is never replaced.
    if (!QFileInfo::exists(target) && !QFileInfo(target).isSymLink()) {
        QString source = join(sourceDir, kRegister);
        if (!QFileInfo::exists(source))
            source = join(sourceDir, QStringLiteral("lumo.fc.delivered"));
        if (QFileInfo(source).isFile()) {
            QFile::copy(source, target);
            // The packaged register is read-only; the user's copy is not.
            QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner |
                                              QFile::WriteUser);
        }
    }
    copyReplacing(join(sourceDir, QStringLiteral("lumo.html")),
                  join(installDir, QStringLiteral("lumo.html")));
    copyTree(join(sourceDir, QStringLiteral("lumo_images")),
             join(installDir, QStringLiteral("lumo_images")));
    copyTree(join(sourceDir, QStringLiteral("Skin")), join(installDir, QStringLiteral("Skin")));
    copyTree(join(sourceDir, QStringLiteral("icons/hicolor")), folders.iconThemeDir());
}

void installProgramFile(const Folders& folders, const QString& installed)
{
    const QString program = folders.programFile();
    if (sameFile(program, installed))
        return;
    QDir().mkpath(QFileInfo(installed).absolutePath());
    QFile::remove(installed);
    if (runsFromPackage(folders))
        QFile::link(program, installed);
    else
        QFile::copy(program, installed);
}

void makeDesktopEntries(const Folders& folders, const QString& installDir)
{
    const QString program = join(installDir, QStringLiteral("lumo"));
    // The same file name as the package's own menu entry, so that the
    // user's entry stands in for it instead of showing a second one.
    CreateApplicationEntry(folders, program, programEntryText(), QStringLiteral("velmora.desktop"));
    CreateApplicationEntry(folders, join(installDir, QStringLiteral("lumo.html")),
                           manualEntryText(), QStringLiteral("velmora-manual.desktop"));
    CreateDesktopShortcut(folders, program, QStringLiteral("Korvane"));
}

QString prepareWorkingFolder(const Folders& folders)
{
    const QString dir = folders.installDir();
    // The installed program works in its own folder, wherever it is started.
    const QString appDir = QFileInfo(folders.appDir()).canonicalFilePath();
    if (!appDir.isEmpty() && appDir == QFileInfo(dir).canonicalFilePath())
        return dir;
    if (!runsFromPackage(folders))
        return {};
    installProgramFiles(folders, folders.appDir(), dir);
    return dir;
}

QString installForUser(const Folders& folders)
{
    const QString dir = folders.installDir();
    const QString installed = join(dir, QStringLiteral("lumo"));
    const bool firstInstallation = !QFileInfo::exists(installed);
    installProgramFile(folders, installed);
    const QString tool = join(folders.appDir(), QStringLiteral("lumoctl"));
    if (QFileInfo(tool).isFile())
        copyReplacing(tool, join(dir, QStringLiteral("lumoctl")));
    installProgramFiles(folders, folders.appDir(), dir);
    adoptBuildRegister(folders.appDir(), dir);
    // The skins also land directly in the installation folder, as the
    // program's own installation step puts them; only the first time, since
    // that copy never replaces a file.
    if (firstInstallation)
        CopyFilesSilently(join(folders.appDir(), QStringLiteral("Skin/*.*")),
                          dir + QLatin1Char('/'));
    makeDesktopEntries(folders, dir);
    return dir;
}

} // namespace lumo
