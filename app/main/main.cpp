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

#include <chrono>
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

// For the start-up benchmark and the package check: at the main window's
// first paint, prints the monotonic clock ("first_paint <ns>") and the
// window's title ("shown: <title>"), and leaves.
class StartupProbe : public QObject
{
public:
    explicit StartupProbe(QWidget* window) : m_window(window)
    {
        if (qEnvironmentVariableIsSet("LUMO_STARTUP_PROBE"))
            window->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            std::cout << "first_paint "
                      << std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()
                      << std::endl;
            // Leaves once the first-start messages are answered.
            auto* leave = new QTimer(m_window);
            QObject::connect(leave, &QTimer::timeout, m_window, [w = m_window] {
                if (QApplication::activeModalWidget())
                    return;
                std::cout << "shown: " << w->windowTitle().toStdString() << std::endl;
                w->hide();
                QCoreApplication::exit(0);
            });
            leave->start(20);
        }
        return false;
    }

private:
    QWidget* m_window;
    bool m_done = false;
};

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
    if (qEnvironmentVariableIsSet("LUMO_STARTUP_PROBE"))
        closeMessagesForProbe(app);
    StartupProbe probe(&window);
    screen.showMaximized(&window);
    return app.exec();
}
