#include "AppContext.h"
#include "Clock.h"
#include "DataError.h"
#include "Dialogs.h"
#include "Folders.h"
#include "Screen.h"
#include "SettingsStore.h"
#include "Tmain.h"
#include "Tsj.h"

#include <QApplication>
#include <QStyle>
#include <QTimer>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setWindowIcon(QApplication::style()->standardIcon(QStyle::SP_DirHomeIcon));

    lumo::Folders folders;
    lumo::SettingsStore store(folders);
    lumo::Clock clock;
    lumo::QtDialogs dialogs;
    lumo::Screen screen;

    std::unique_ptr<lumo::Tsj> sj;
    try {
        sj = std::make_unique<lumo::Tsj>(QStringLiteral("lumo.fc"));
    } catch (const lumo::DataError& e) {
        dialogs.message(nullptr, e.text(), lumo::Dialogs::Icon::Error,
                        QApplication::applicationName());
        return 1;
    }
    lumo::AppContext ctx{*sj, store, folders, clock, dialogs, screen};
    lumo::Tmain window(ctx);
    screen.showMaximized(&window);
    // For the start-up benchmark: leave as soon as the window has been shown
    // and the first events are processed.
    if (qEnvironmentVariableIsSet("LUMO_STARTUP_PROBE"))
        QTimer::singleShot(0, &app, [&window] {
            window.hide();
            QCoreApplication::exit(0);
        });
    return app.exec();
}
