#include "PaintProgram.h"

#include "Dialogs.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace lumo
{

QStringList paintProgramNames()
{
    return {QStringLiteral("kolourpaint"), QStringLiteral("pinta"), QStringLiteral("mtpaint"),
            QStringLiteral("gimp")};
}

QString findPaintProgram()
{
    for (const QString& name : paintProgramNames()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

bool startPaintProgram(Dialogs& dialogs, QWidget* parent)
{
    const QString program = findPaintProgram();
    if (!program.isEmpty() && QProcess::startDetached(program, {}))
        return true;
    const QString names = paintProgramNames().join(QLatin1Char('/'));
    dialogs.message(parent, QStringLiteral("您的系统未安装画图程序！[") + names + QLatin1Char(']'),
                    Dialogs::Icon::Information, QStringLiteral("[请安装画图程序]"));
    return false;
}

QString helpFilePath(const QString& appDir)
{
    return appDir + QStringLiteral("/lumo.html");
}

bool openHelpFile(Dialogs& dialogs, QWidget* parent, const QString& appDir)
{
    const QString path = helpFilePath(appDir);
    if (!QFileInfo(path).isFile()) {
        dialogs.message(parent, QStringLiteral("未找到帮助文件！[lumo.html]"),
                        Dialogs::Icon::Information, QStringLiteral("错误"));
        return false;
    }
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return true;
    dialogs.message(parent, QStringLiteral("无法打开帮助文件，请用浏览器打开：") + path,
                    Dialogs::Icon::Information, QStringLiteral("错误"));
    return false;
}

} // namespace lumo
