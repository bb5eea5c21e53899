// Search benchmark through the real main window. Prints "name value unit"
// lines, each figure next to its anchor from the same run:
//   search_initial_ms      "查询" with the initial filter until the results
//                          grid has painted its first screen (median)
//   shell_initial_ms       sqlite3 shell running the same statement on the
//                          same file to /dev/null (whole process, median)
//   search_narrow_ms, shell_narrow_ms   the same for a narrow filter (one
//                          district, one orientation, one layout, floors 5-20)
//   scroll_end_ms          after the initial search, the grid moved to its
//                          last row until that row has painted (median)
//   rss_after_search_mb    resident memory after the searches
// Runs alternate between the program and the shell.
//
// Usage: bench_search [--register FILE] [--count N] [--runs R]
// Without --register a register of N listings (default 200000) is made with
// bench/common/generate_register.py into a temporary folder.
#include "AppContext.h"
#include "Clock.h"
#include "DataGrid.h"
#include "Dataset.h"
#include "Dialogs.h"
#include "FilterBar.h"
#include "Folders.h"
#include "MainFrame.h"
#include "Screen.h"
#include "SettingsStore.h"
#include "Tcxxs.h"
#include "Tmain.h"
#include "Tsj.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace lumo;

namespace
{

class BenchFolders : public Folders
{
public:
    explicit BenchFolders(const QString& root) : m_root(root) {}
    QString appDir() const override { return m_root + QStringLiteral("/app"); }
    QString programFile() const override { return appDir() + QStringLiteral("/lumo"); }
    QString currentDir() const override { return appDir(); }
    QString configDir() const override { return m_root + QStringLiteral("/config"); }
    QString installDir() const override { return m_root + QStringLiteral("/install"); }
    QString desktopDir() const override { return m_root + QStringLiteral("/desktop"); }
    QString applicationsDir() const override { return m_root + QStringLiteral("/apps"); }

private:
    QString m_root;
};

// Dialogs that never wait for a person; messages go to stderr.
class SilentDialogs : public Dialogs
{
public:
    void message(QWidget*, const QString& text, Icon, const QString&) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        ++messages;
    }
    bool question(QWidget*, const QString&, const QString&, Buttons) override { return false; }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    bool chooseColor(QWidget*, QColor&, const QList<QColor>&) override { return false; }
    bool printSetup(QWidget*, QPrinter&) override { return false; }
    bool inputText(QWidget*, const QString&, const QString&, QString&) override { return false; }
    int messages = 0;
};

// Waits until `widget` has painted after `since`, letting events run.
class PaintWatch : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched == target)
            painted = true;
        return false;
    }
    // Runs the event loop until the target painted; false on time-out.
    bool wait(QWidget* widget)
    {
        target = widget;
        painted = false;
        widget->installEventFilter(this);
        QElapsedTimer t;
        t.start();
        while (!painted && t.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        widget->removeEventFilter(this);
        return painted;
    }
    QObject* target = nullptr;
    bool painted = false;
};

double rssMb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

// Clicks "查询" and waits until the new results window's grid has painted.
double timeSearch(Tmain& window)
{
    PaintWatch watch;
    QElapsedTimer t;
    t.start();
    window.suiToolBar1->toolbutton4->click();
    Tcxxs* results = window.suiToolBar1->resultsWindow();
    if (!results || !watch.wait(results->RxDBGrid1->viewport()))
        return -1;
    return t.nsecsElapsed() / 1e6;
}

// Moves the results grid to its last row and waits until that row painted.
// A grid that reads its rows as it scrolls needs several rounds.
double timeScrollToEnd(Tmain& window, int rows)
{
    Tcxxs* results = window.suiToolBar1->resultsWindow();
    if (!results)
        return -1;
    DataGrid* grid = results->RxDBGrid1;
    PaintWatch watch;
    QElapsedTimer t;
    t.start();
    for (int round = 0; round < 100000; ++round) {
        grid->scrollToBottom();
        if (!watch.wait(grid->viewport()))
            return -1;
        const QModelIndex last = grid->model()->index(grid->model()->rowCount() - 1, 0);
        if (grid->model()->rowCount() >= rows && !grid->model()->canFetchMore({}) &&
            grid->viewport()->rect().intersects(grid->visualRect(last)))
            return t.nsecsElapsed() / 1e6;
    }
    return -1;
}

double timeShell(const QString& db, const QString& statement)
{
    QElapsedTimer t;
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    t.start();
    p.start(QStringLiteral("sqlite3"), {db});
    p.write(statement.toUtf8() + ";\n");
    p.closeWriteChannel();
    p.waitForFinished(-1);
    return t.nsecsElapsed() / 1e6;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? -1 : v[v.size() / 2];
}

void tick(QListWidget* list, const QString& text)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == text)
            list->item(i)->setCheckState(Qt::Checked);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString registerFile;
    int count = 200000;
    int runs = 5;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--register") && i + 1 < args.size())
            registerFile = args[++i];
        else if (args[i] == QStringLiteral("--count") && i + 1 < args.size())
            count = args[++i].toInt();
        else if (args[i] == QStringLiteral("--runs") && i + 1 < args.size())
            runs = std::max(1, args[++i].toInt());
        else {
            std::fprintf(stderr, "usage: bench_search [--register FILE] [--count N] [--runs R]\n");
            return 2;
        }
    }

    QTemporaryDir dir;
    BenchFolders folders(dir.path());
    QDir().mkpath(folders.appDir());
    QDir().mkpath(folders.configDir());
    qputenv("LUMO_CONFIG_DIR", folders.configDir().toLocal8Bit());
    const QString db = folders.appDir() + QStringLiteral("/lumo.fc");
    if (registerFile.isEmpty()) {
        QProcess gen;
        gen.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        gen.setStandardOutputFile(QProcess::nullDevice());
        gen.start(QStringLiteral("python3"),
                  {QStringLiteral(LUMO_BENCH_GENERATOR), QString::number(count), db,
                   QStringLiteral("--source"), QStringLiteral(LUMO_BENCH_DELIVERED)});
        if (!gen.waitForFinished(-1) || gen.exitCode() != 0) {
            std::fprintf(stderr, "generating the register failed\n");
            return 1;
        }
    } else if (!QFile::copy(registerFile, db)) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(registerFile));
        return 1;
    }
    QDir::setCurrent(folders.appDir());

    SettingsStore store(folders);
    // An earlier start and an installed program: no first-start steps.
    store.WriteSectionValue(QStringLiteral("app"), QStringLiteral("started"), QStringLiteral("1"));
    QDir().mkpath(folders.installDir());
    {
        QFile marker(folders.installDir() + QStringLiteral("/lumo"));
        if (marker.open(QIODevice::WriteOnly))
            marker.write("#!/bin/sh\n");
    }
    Clock clock;
    SilentDialogs dialogs;
    Screen screen;
    Tsj sj(db);
    AppContext ctx{sj, store, folders, clock, dialogs, screen};
    Tmain window(ctx);
    window.resize(1280, 900);
    window.show();
    QCoreApplication::processEvents();
    window.findChild<QComboBox*>(QStringLiteral("suiComboBox1"))
        ->setCurrentText(QStringLiteral("管理员"));
    window.findChild<QLineEdit*>(QStringLiteral("suiEdit1"))->setText(QStringLiteral("admin"));
    window.findChild<QPushButton*>(QStringLiteral("suiButton1"))->click();
    QCoreApplication::processEvents();
    FilterBar* bar = window.suiToolBar1;

    // Warm-up: the file's pages in the cache for both sides.
    timeSearch(window);
    const QString initial = buildSearchStatement(bar->state()).join(QLatin1Char('\n'));
    timeShell(db, initial);

    QList<double> ui, shell, scroll;
    for (int i = 0; i < runs; ++i) {
        ui << timeSearch(window);
        shell << timeShell(db, initial);
    }
    const int found = sj.ADOQuery1->recordCount();
    for (int i = 0; i < runs; ++i) {
        timeSearch(window);
        scroll << timeScrollToEnd(window, found);
    }

    tick(bar->FlatCheckListBox1, QStringLiteral("和平区"));
    tick(bar->FlatCheckListBox2, QStringLiteral("南北"));
    tick(bar->FlatCheckListBox3, QStringLiteral("二室一厅"));
    bar->FlatComboBox1->setCurrentText(QStringLiteral("5"));
    bar->FlatComboBox2->setCurrentText(QStringLiteral("20"));
    const QString narrow = buildSearchStatement(bar->state()).join(QLatin1Char('\n'));
    timeSearch(window);
    timeShell(db, narrow);
    QList<double> uiNarrow, shellNarrow;
    for (int i = 0; i < runs; ++i) {
        uiNarrow << timeSearch(window);
        shellNarrow << timeShell(db, narrow);
    }
    const double foundNarrow = sj.ADOQuery1->recordCount();
    const double rss = rssMb();

    QTextStream out(stdout);
    sj.ADOTable1->close();
    sj.ADOTable1->open();
    out << "register_rows " << sj.ADOTable1->recordCount() << " rows\n";
    out << "initial_found " << found << " rows\n";
    out << "narrow_found " << foundNarrow << " rows\n";
    out << "search_initial_ms " << median(ui) << " ms\n";
    out << "shell_initial_ms " << median(shell) << " ms\n";
    out << "initial_vs_shell_ratio " << median(ui) / median(shell) << " ratio\n";
    out << "search_narrow_ms " << median(uiNarrow) << " ms\n";
    out << "shell_narrow_ms " << median(shellNarrow) << " ms\n";
    out << "narrow_vs_shell_ratio " << median(uiNarrow) / median(shellNarrow) << " ratio\n";
    out << "scroll_end_ms " << median(scroll) << " ms\n";
    out << "scroll_end_vs_shell_initial_ratio " << median(scroll) / median(shell) << " ratio\n";
    out << "rss_after_search_mb " << rss << " MB\n";
    out << "register_mb " << QFileInfo(db).size() / 1048576.0 << " MB\n";
    out << "messages " << dialogs.messages << " count\n";
    return 0;
}
