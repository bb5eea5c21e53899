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

#include <chrono>
#include <cstdio>
#include <memory>

namespace
{

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
            // After this paint has been delivered.
            QTimer::singleShot(0, m_window, [] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::printf("first_paint %lld\n",
                            static_cast<long long>(
                                std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
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
    window.showMaximized();
    // For the start-up benchmark: at the main window's first paint, print the
    // monotonic clock ("first_paint <ns>") and leave.
    StartupProbe probe(&window);
    return app.exec();
}
