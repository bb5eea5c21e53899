#include "Skins.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

static void initSkinResources()
{
    // The built-in style sheets live in a static library: make sure its
    // resources are registered.
    Q_INIT_RESOURCE(skins);
}

namespace lumo
{

namespace
{

QString readText(const QString& path, bool* ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    if (!*ok)
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

QString builtInStyleSheet(Look look)
{
    static const bool registered = (initSkinResources(), true);
    Q_UNUSED(registered);
    QString name;
    if (look == Look::WinXpBlue)
        name = QStringLiteral(":/skins/winxpblue.qss");
    else if (look == Look::Mosphere)
        name = QStringLiteral(":/skins/mosphere.qss");
    else
        return QString();
    bool ok = false;
    return readText(name, &ok);
}

QString resolveSkinUrls(const QString& styleSheet, const QString& folder)
{
    static const QRegularExpression url(QStringLiteral(R"(url\(\s*(["']?)([^"')]+)\1\s*\))"));
    QString result;
    qsizetype last = 0;
    auto it = url.globalMatch(styleSheet);
    while (it.hasNext()) {
        const auto match = it.next();
        QString target = match.captured(2).trimmed();
        if (!target.startsWith(QLatin1Char(':')) && QDir::isRelativePath(target))
            target = QDir(folder).absoluteFilePath(target);
        result += styleSheet.mid(last, match.capturedStart() - last);
        result += QStringLiteral("url(\"") + target + QStringLiteral("\")");
        last = match.capturedEnd();
    }
    result += styleSheet.mid(last);
    return result;
}

bool loadUserSkin(const QString& iniFile, UserSkin* skin, QString* error)
{
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    const QFileInfo info(iniFile);
    if (iniFile.isEmpty() || !info.isFile())
        return fail(QStringLiteral("找不到皮肤文件：") + iniFile);
    QSettings ini(iniFile, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        return fail(QStringLiteral("无法读取皮肤文件：") + iniFile);
    const QString sheetName = ini.value(QStringLiteral("Skin/StyleSheet")).toString().trimmed();
    if (sheetName.isEmpty())
        return fail(QStringLiteral("皮肤文件中没有指定样式表（[Skin] StyleSheet=…）：") + iniFile);
    const QDir folder = info.absoluteDir();
    const QString sheetPath = folder.absoluteFilePath(sheetName);
    bool ok = false;
    const QString sheet = readText(sheetPath, &ok);
    if (!ok)
        return fail(QStringLiteral("无法读取皮肤的样式表：") + sheetPath);
    skin->name = ini.value(QStringLiteral("Skin/Name"), info.absoluteDir().dirName()).toString();
    skin->styleSheet = resolveSkinUrls(sheet, folder.absolutePath());
    return true;
}

Look applyLook(const StoredLook& look)
{
    Look applied = look.look;
    QString sheet;
    if (look.look == Look::UserSkin) {
        UserSkin skin;
        if (loadUserSkin(look.skinFile, &skin))
            sheet = skin.styleSheet;
        else
            applied = Look::WinXpBlue;
    }
    if (applied == Look::WinXpBlue || applied == Look::Mosphere)
        sheet = builtInStyleSheet(applied);
    if (qApp && qApp->styleSheet() != sheet)
        qApp->setStyleSheet(sheet);
    return applied;
}

} // namespace lumo
