#include "Startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

// Resources live outside any namespace.
static void initProgramIcons()
{
    Q_INIT_RESOURCE(icons);
}

namespace lumo
{

QIcon programIcon()
{
    initProgramIcons();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/velmora/velmora-%1.png").arg(size), QSize(size, size));
    return icon;
}

bool startApplication(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral(LUMO_VERSION));
    QApplication::setWindowIcon(programIcon());

    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);

    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(&app);
    if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"), dir)) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

} // namespace lumo
