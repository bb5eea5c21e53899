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

// A value of a desktop entry's string key: backslashes, line breaks and
// tabs escaped, a leading space kept.
QString escapeValue(const QString& value)
{
    QString out;
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (c == QLatin1Char(' ') && i == 0)
            out += QStringLiteral("\\s");
        else
            out += c;
    }
    return out;
}

// One argument of an Exec line: in double quotes, with the characters the
// quoting rules reserve escaped by a backslash and field codes ("%") doubled.
QString execArgument(const QString& arg)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : arg) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            out += QLatin1Char('%');
        out += c;
    }
    return out + QLatin1Char('"');
}

// A program is started as it is; any other file with the desktop's
// default application for it.
QString execLine(const QString& target)
{
    const QFileInfo info(target);
    if (info.isExecutable() && !info.isDir())
        return execArgument(target);
    return QStringLiteral("xdg-open ") + execArgument(target);
}

bool writeDesktopEntry(const QString& path, const QString& target, const DesktopEntryText& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(desktopEntry(target, text).toUtf8());
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

DesktopEntryText programEntryText()
{
    return {QStringLiteral("Korvane"), QStringLiteral("Korvane 房产中介管理"),
            QStringLiteral("Register of second-hand properties for sale and for rent"),
            QStringLiteral("二手房出售、出租登记与查询"), QStringLiteral("velmora")};
}

DesktopEntryText manualEntryText()
{
    return {QStringLiteral("Korvane manual"), QStringLiteral("帮助文件"),
            QStringLiteral("How to use the Korvane register"),
            QStringLiteral("Korvane 房产中介管理的使用说明"), QStringLiteral("help-browser")};
}

QString desktopEntry(const QString& target, const DesktopEntryText& text)
{
    const QString dir = QFileInfo(target).absolutePath();
    QString entry = QStringLiteral("[Desktop Entry]\n"
                                   "Type=Application\n"
                                   "Version=1.0\n");
    auto line = [&entry](const char* key, const QString& value) {
        if (!value.isEmpty())
            entry += QLatin1String(key) + QLatin1Char('=') + escapeValue(value) + QLatin1Char('\n');
    };
    line("Name", text.name);
    line("Name[zh_CN]", text.nameZh);
    line("Comment", text.comment);
    line("Comment[zh_CN]", text.commentZh);
    line("Icon", text.icon);
    // The Exec quoting first, then the string escapes over it.
    entry += QStringLiteral("Exec=") + escapeValue(execLine(target)) + QLatin1Char('\n');
    line("Path", dir);
    entry += QStringLiteral("Terminal=false\n"
                            "Categories=Office;\n");
    return entry;
}

bool CreateDesktopShortcut(const Folders& folders, const QString& target, const QString& name)
{
    DesktopEntryText text = programEntryText();
    text.name = name;
    writeDesktopEntry(folders.desktopDir() + QLatin1Char('/') + name + QStringLiteral(".desktop"),
                      target, text);
    return true;
}

bool CreateApplicationEntry(const Folders& folders, const QString& target,
                            const DesktopEntryText& text, const QString& fileName)
{
    return writeDesktopEntry(folders.applicationsDir() + QLatin1Char('/') + fileName, target, text);
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
