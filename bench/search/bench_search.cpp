// Search benchmark. Prints "name value unit" lines:
//   search_initial_ms      "查询" with the initial filter until the results
//                          window has painted its first screen of rows
//   search_narrow_ms       the same for a narrow filter
//   shell_initial_ms       sqlite3 shell running the initial statement to
//                          /dev/null (whole process)
//   shell_narrow_ms        the same for the narrow statement
//   initial_vs_shell_ratio search_initial_ms / shell_initial_ms
//   rss_after_search_mb    resident memory after the searches
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
#include "Tsj.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QPrinter>
#include <QProcess>
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

class BenchFrame : public QMainWindow, public MainFrame
{
public:
    BenchFrame() : area(new QMdiArea(this))
    {
        setCentralWidget(area);
        resize(1280, 900);
    }
    QWidget* frameWidget() override { return this; }
    void LockMenus() override {}
    void UnlockMenus() override {}
    QAction* menuEntry(const QString& name) const override
    {
        QAction*& a = m_entries[name];
        if (!a)
            a = new QAction(name, const_cast<BenchFrame*>(this));
        return a;
    }
    void showChild(ChildForm* form) override
    {
        area->addSubWindow(form);
        form->showMaximized();
    }
    void hideCheckLists() override
    {
        if (bar)
            bar->hideCheckLists();
    }
    SearchFilter filterState() const override { return bar ? bar->state() : SearchFilter(); }
    void resultsWindowClosed() override
    {
        if (bar)
            bar->resultsWindowClosed();
    }
    void closeFrame() override { close(); }
    QPrinter* printer() override { return nullptr; }
    void openPhotoPreview() override {}

    QMdiArea* area;
    FilterBar* bar = nullptr;

private:
    mutable QHash<QString, QAction*> m_entries;
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

// Clicks "查询" and waits until the new results window has painted.
double timeSearch(BenchFrame& frame)
{
    QElapsedTimer t;
    t.start();
    frame.bar->toolbutton4->click();
    Tcxxs* results = frame.bar->resultsWindow();
    if (!results)
        return -1;
    QCoreApplication::processEvents();
    results->RxDBGrid1->viewport()->repaint();
    return t.nsecsElapsed() / 1e6;
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
    Clock clock;
    SilentDialogs dialogs;
    Screen screen;
    Tsj sj(db);
    AppContext ctx{sj, store, folders, clock, dialogs, screen};
    BenchFrame frame;
    auto* bar = new FilterBar(ctx, frame, &frame);
    frame.bar = bar;
    frame.addToolBar(Qt::TopToolBarArea, bar);
    bar->setLookupLists({QStringLiteral("和平区"), QStringLiteral("沈河区"),
                         QStringLiteral("大东区"), QStringLiteral("皇姑区"),
                         QStringLiteral("铁西区"), QStringLiteral("东陵区")},
                        {QStringLiteral("南北"), QStringLiteral("东西")},
                        {QStringLiteral("二室一厅"), QStringLiteral("三室一厅")});
    frame.show();
    QCoreApplication::processEvents();

    // Warm-up: the file's pages in the cache for both sides.
    timeSearch(frame);
    const QString initial = buildSearchStatement(bar->state()).join(QLatin1Char('\n'));
    timeShell(db, initial);

    QList<double> ui, shell;
    for (int i = 0; i < runs; ++i) {
        ui << timeSearch(frame);
        shell << timeShell(db, initial);
    }
    const double found = sj.ADOQuery1->recordCount();

    tick(bar->FlatCheckListBox1, QStringLiteral("和平区"));
    tick(bar->FlatCheckListBox2, QStringLiteral("南北"));
    tick(bar->FlatCheckListBox3, QStringLiteral("二室一厅"));
    bar->FlatComboBox1->setCurrentText(QStringLiteral("5"));
    bar->FlatComboBox2->setCurrentText(QStringLiteral("20"));
    const QString narrow = buildSearchStatement(bar->state()).join(QLatin1Char('\n'));
    QList<double> uiNarrow, shellNarrow;
    for (int i = 0; i < runs; ++i) {
        uiNarrow << timeSearch(frame);
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
    out << "rss_after_search_mb " << rss << " MB\n";
    out << "messages " << dialogs.messages << " count\n";
    return 0;
}
