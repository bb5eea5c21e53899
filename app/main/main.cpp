#include "AppContext.h"
#include "Clock.h"
#include "DataError.h"
#include "Dialogs.h"
#include "Folders.h"
#include "Installation.h"
#include "Screen.h"
#include "SettingsStore.h"
#include "Startup.h"
#include "Tmain.h"
#include "Tsj.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include <cstring>
#include <iostream>
#include <memory>

namespace
{

// `lumo --install`: installs the program for this user without a window
// and prints the installation folder.
int installCommand(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    lumo::Folders folders;
    const QString dir = lumo::installForUser(folders);
    if (!QFileInfo::exists(dir + QStringLiteral("/lumo")) ||
        !QFileInfo::exists(dir + QStringLiteral("/lumo.fc"))) {
        std::cerr << "lumo: 无法安装到 " << dir.toStdString() << '\n';
        return 1;
    }
    std::cout << dir.toStdString() << '\n';
    return 0;
}

// For the start-up benchmark and the package check: every message box is
// printed with its buttons and closed.
void closeMessagesForProbe(QApplication& app)
{
    auto* closer = new QTimer(&app);
    QObject::connect(closer, &QTimer::timeout, &app, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        QStringList buttons;
        for (QAbstractButton* b : box->buttons())
            buttons << b->text();
        std::cout << "message: " << box->text().toStdString() << " ["
                  << buttons.join(QLatin1Char('|')).toStdString() << "]" << std::endl;
        box->done(QMessageBox::Ok);
    });
    closer->start(50);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--install") == 0)
        return installCommand(argc, argv);

    QApplication app(argc, argv);
    lumo::startApplication(app);

    lumo::Folders folders;
    // A packaged program works in the user's own installation folder.
    const QString workingFolder = lumo::prepareWorkingFolder(folders);
    if (!workingFolder.isEmpty())
        QDir::setCurrent(workingFolder);

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
    const bool probe = qEnvironmentVariableIsSet("LUMO_STARTUP_PROBE");
    if (probe)
        closeMessagesForProbe(app);
    window.showMaximized();
    // The probe leaves as soon as the window is shown and the first events
    // are processed.
    if (probe)
        QTimer::singleShot(0, &app, [&window] {
            std::cout << "shown: " << window.windowTitle().toStdString() << std::endl;
            window.hide();
            QCoreApplication::exit(0);
        });
    return app.exec();
}
