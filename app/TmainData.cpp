// Data management entries of the main window: backups, restore slots,
// export, import and compaction. The work itself is done by the operations
// of the data-management library, which lumoctl runs too.
#include "AppContext.h"
#include "BackupSlots.h"
#include "Compaction.h"
#include "DataError.h"
#include "Dialogs.h"
#include "ExchangeFile.h"
#include "OperationGuard.h"
#include "ProgressPanel.h"
#include "SettingsStore.h"
#include "Tmain.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QMenuBar>

namespace lumo
{

namespace
{

DataEnv environment(const Tmain& w, DataProgress& progress)
{
    AppContext& ctx = w.context();
    return DataEnv{&ctx.sj, ctx.store, ctx.folders, ctx.clock, progress};
}

ProgressPanel* progressPanel(const Tmain& w)
{
    return w.suiImagePanel3->findChild<ProgressPanel*>(QStringLiteral("ProgressPanel"));
}

// The reason of a failure (the archive component's error texts, the
// engine's or the file system's text) comes first in an error box of its
// own, as the archive component reports its errors; then the operation's
// message. `withReason` false shows the message alone.
void report(Tmain& w, const DataResult& r, bool withReason = true)
{
    Dialogs& dialogs = w.context().dialogs;
    if (withReason && !r.detail.isEmpty())
        dialogs.message(&w, r.detail, Dialogs::Icon::Error);
    if (!r.message.isEmpty())
        dialogs.message(&w, r.message, r.ok ? Dialogs::Icon::Information : Dialogs::Icon::Warning);
}

// Runs a handler's work; an error that escapes it is shown with its own
// text instead of leaving the Qt event handler.
template <typename Work> void guarded(Tmain& w, Work work)
{
    try {
        work();
    } catch (const DataError& e) {
        w.context().dialogs.message(&w, e.text(), Dialogs::Icon::Error);
    } catch (const std::exception& e) {
        w.context().dialogs.message(&w, QString::fromLocal8Bit(e.what()), Dialogs::Icon::Error);
    }
}

// Set on the window while an operation works on the database files.
constexpr const char* kBusy = "dataOperationRunning";

// Holds back the user's input to every window while an operation works:
// the message loop keeps running so the progress panel moves, but nothing
// the user clicks or types reaches a window until the operation ends.
class InputBlocker : public QObject
{
public:
    InputBlocker() { qApp->installEventFilter(this); }
    ~InputBlocker() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }
};

// The one way every data operation of the window runs, the closing backup
// included: the protected entries and the whole menu bar are out of reach
// and user input is held back while it works, and an operation asked for
// meanwhile is refused (a failure without a message). Afterwards every
// entry gets back the state it had.
template <typename Op> DataResult runLocked(Tmain& w, Op op)
{
    if (w.dataOperationRunning())
        return DataResult{};
    const QList<QAction*> entries{w.N2, w.N16, w.N6, w.N7, w.N10};
    QList<bool> enabled;
    for (QAction* a : entries) {
        enabled << a->isEnabled();
        a->setEnabled(false);
    }
    const bool barEnabled = w.bsSkinMainMenuBar1->isEnabled();
    w.bsSkinMainMenuBar1->setEnabled(false);
    w.setProperty(kBusy, true);
    auto restore = [&] {
        w.setProperty(kBusy, false);
        w.bsSkinMainMenuBar1->setEnabled(barEnabled);
        for (int i = 0; i < entries.size(); ++i)
            entries.at(i)->setEnabled(enabled.at(i));
    };
    DataResult r;
    try {
        InputBlocker blocker;
        r = op();
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return r;
}

// The slot-menu refresh: every used slot shows its date.
void refreshSlotMenu(Tmain& w)
{
    for (int k = 1; k <= kSlotCount; ++k) {
        const QString name = slotName(w.context().store, k);
        if (!name.isEmpty()) {
            w.restoreEntry(k)->setText(name);
            w.restoreEntry(k)->setVisible(true);
        }
    }
}

} // namespace

void Tmain::connectDataEntries()
{
    new ProgressPanel(suiImagePanel3);
    connect(N20, &QAction::triggered, this, &Tmain::N20Click);
    connect(N21, &QAction::triggered, this, &Tmain::N21Click);
    connect(N26, &QAction::triggered, this, &Tmain::N19Click);
    connect(N27, &QAction::triggered, this, &Tmain::N27Click);
    connect(N17, &QAction::triggered, this, &Tmain::N17Click);
    connect(rb1, &QAction::triggered, this, &Tmain::rb1Click);
    connect(rb2, &QAction::triggered, this, &Tmain::rb2Click);
    connect(rb3, &QAction::triggered, this, &Tmain::rb3Click);
    connect(rb4, &QAction::triggered, this, &Tmain::rb4Click);
    connect(rb5, &QAction::triggered, this, &Tmain::rb5Click);
}

void Tmain::rb1Click()
{
    rbClick(1);
}

void Tmain::rb2Click()
{
    rbClick(2);
}

void Tmain::rb3Click()
{
    rbClick(3);
}

void Tmain::rb4Click()
{
    rbClick(4);
}

void Tmain::rb5Click()
{
    rbClick(5);
}

// Restore from slot k (rb1Click ... rb5Click): the backup named by the
// entry's caption.
void Tmain::rbClick(int slot)
{
    if (dataOperationRunning())
        return;
    Tmain& w = *this;
    w.context().dialogs.message(
        &w, QStringLiteral("强烈建议,在恢复数据库前必须关闭所有与数据库连接的程序！"));
    const QString name = w.restoreEntry(slot)->text();
    guarded(w, [&] {
        DataEnv env = environment(w, *progressPanel(w));
        report(w, runLocked(w, [&] { return restoreBackup(env, name); }));
    });
}

// Export (N21Click).
void Tmain::N21Click()
{
    if (dataOperationRunning())
        return;
    Tmain& w = *this;
    guarded(w, [&] {
        DataEnv env = environment(w, *progressPanel(w));
        report(w, runLocked(w, [&] { return exportExchange(env); }));
    });
}

// Import by update (N19Click).
void Tmain::N19Click()
{
    if (dataOperationRunning())
        return;
    Tmain& w = *this;
    guarded(w, [&] {
        DataEnv env = environment(w, *progressPanel(w));
        report(w, runLocked(w, [&] { return importByUpdate(env); }));
    });
}

// Import by replacement (N27Click).
void Tmain::N27Click()
{
    if (dataOperationRunning())
        return;
    Tmain& w = *this;
    if (!w.context().dialogs.question(
            &w, QStringLiteral("确实要替换数据库吗？替换后原来的数据将全部删除！")))
        return;
    bool close = false;
    guarded(w, [&] {
        DataEnv env = environment(w, *progressPanel(w));
        const DataResult r = runLocked(w, [&] { return importByReplacement(env); });
        report(w, r);
        close = r.closeProgram;
    });
    if (close)
        w.closeFrame();
}

// Repair and compaction (N17Click). A failure shows its fixed message only.
void Tmain::N17Click()
{
    if (dataOperationRunning())
        return;
    Tmain& w = *this;
    w.context().dialogs.message(
        &w, QStringLiteral("强烈建议,在整理数据库前必须关闭所有与数据库连接的程序！"));
    bool close = false;
    guarded(w, [&] {
        EventLoopProgress progress;
        DataEnv env = environment(w, progress);
        const DataResult r = runLocked(w, [&] { return compactDatabase(env); });
        report(w, r, false);
        close = r.closeProgram;
    });
    if (close)
        w.closeFrame();
}

// N20Click: the daily backup. A failure is told and the close goes on; the
// next close tries again.
void Tmain::N20Click()
{
    backupOnClose();
}

bool Tmain::dataOperationRunning() const
{
    return property(kBusy).toBool() || OperationGuard::running();
}

void Tmain::backupOnClose()
{
    // A window closed while an import or restore is writing the database
    // must not archive a half-written file; the next close backs up.
    if (dataOperationRunning())
        return;
    guarded(*this, [&] {
        DataEnv env = environment(*this, *progressPanel(*this));
        const DataResult r = runLocked(*this, [&] { return closingBackup(env); });
        if (!r.ok)
            report(*this, r);
    });
    refreshSlotMenu(*this);
}

} // namespace lumo
