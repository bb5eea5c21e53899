#pragma once
// A temporary application folder with a copy of the delivered database, a
// temporary config folder and scripted seams: everything a window needs.
#include "AppContext.h"
#include "SettingsStore.h"
#include "TestSeams.h"
#include "Tsj.h"

#include <QTemporaryDir>

#include <memory>

namespace lumo::test
{

class TestApp
{
public:
    struct Options {
        // Record an earlier start, so no first-start message is shown.
        bool startedBefore = true;
        // Put a program file into the installation folder, so the
        // installation step does not run.
        bool installed = true;
        // Open the data module at once.
        bool openData = true;
    };

    TestApp();
    explicit TestApp(const Options& options);
    ~TestApp();

    QString appDir() const { return folders.appDir(); }
    QString path(const QString& name) const { return appDir() + QLatin1Char('/') + name; }
    // Opens the data module (when Options::openData was false).
    void openData();
    // Runs a statement on lumo1; fails the test run on error.
    void exec(const QString& sql);
    // Adds a listing row with the given fields (others null).
    void addListing(int serial, const QString& intention, const QString& district,
                    const QString& layout = QStringLiteral("二室"),
                    const QString& orientation = QStringLiteral("南北"), int floor = 3,
                    double area = 80, double price = 50);
    QVariant scalar(const QString& sql);

    QTemporaryDir dir;
    TestFolders folders;
    SettingsStore store;
    FakeClock clock;
    ScriptedDialogs dialogs;
    FakeScreen screen;
    std::unique_ptr<Tsj> sj;
    std::unique_ptr<AppContext> ctx;

private:
    QString m_oldCurrent;
};

// The delivered database made at build time.
QString deliveredDatabase();

} // namespace lumo::test
