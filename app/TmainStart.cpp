// The main window's creation and first showing: lookup lists, login levels,
// restore-slot entries, the first-start steps and the installation.
#include "Tmain.h"

#include "AppContext.h"
#include "DataError.h"
#include "Dataset.h"
#include "Dialogs.h"
#include "FilterBar.h"
#include "Folders.h"
#include "Installation.h"
#include "LookupLists.h"
#include "PlatformHelpers.h"
#include "Screen.h"
#include "SettingsStore.h"
#include "StatusPanels.h"
#include "Tsj.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QToolButton>

namespace lumo
{

void Tmain::FormCreate()
{
    try {
        // One section after the other: its defaults, then its check list.
        const QList<LookupSection>& sections = lookupSections();
        for (int i = 0; i < sections.size(); ++i) {
            writeLookupDefaults(m_ctx.store, sections[i]);
            suiToolBar1->setLookupList(i, readLookupList(m_ctx.store, sections[i]));
        }

        suiComboBox1->clear();
        suiComboBox1->addItem(QStringLiteral("查询用户"));
        Dataset* dj = m_ctx.sj.dj;
        for (dj->first(); !dj->eof(); dj->next())
            suiComboBox1->addItem(dj->displayText(QStringLiteral("级别")));
        dj->first();
        suiComboBox1->setCurrentIndex(0);

        for (int k = 1; k <= 5; ++k) {
            const QString name =
                m_ctx.store.ReadSlotValue(QStringLiteral("Velmora"), QString::number(k));
            if (!name.isEmpty()) {
                restoreEntry(k)->setText(name);
                restoreEntry(k)->setVisible(true);
            }
        }
    } catch (const DataError& e) {
        m_ctx.dialogs.message(this, e.text(), Dialogs::Icon::Error);
    } catch (const std::exception& e) {
        m_ctx.dialogs.message(this, QString::fromLocal8Bit(e.what()), Dialogs::Icon::Error);
    }
}

void Tmain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void Tmain::FormShow()
{
    LockMenus();
    try {
        if (m_ctx.store.ReadSectionValue(QStringLiteral("app"), QStringLiteral("started"))
                .isEmpty())
            m_ctx.dialogs.message(
                this, QStringLiteral("软件首次运行，请先进入设置界面，对软件进行设置！"));
        m_ctx.store.WriteSectionValue(QStringLiteral("app"), QStringLiteral("started"),
                                      QStringLiteral("1"));

        installProgram();

        setWindowTitle(QStringLiteral("《") + m_ctx.store.ReadAppValue(QStringLiteral("gs")) +
                       QStringLiteral("管理系统》"));
        applyStoredLook();

        centrePanels();
        m_statusPanels->setPanelWidth(0, m_ctx.screen.width() > 800 ? 180 : 155);
        m_statusPanels->setPanelWidth(1, 765);
    } catch (const DataError& e) {
        m_ctx.dialogs.message(this, e.text(), Dialogs::Icon::Error);
    } catch (const std::exception& e) {
        m_ctx.dialogs.message(this, QString::fromLocal8Bit(e.what()), Dialogs::Icon::Error);
    }
}

// The login and progress panels stand centred across the window, which is
// the screen's width when the window is maximised on a screen without
// panels at its sides.
void Tmain::centrePanels()
{
    const int across = centralWidget()->width();
    suiImagePanel1->move(qMax(0, across / 2 - suiImagePanel1->width() / 2), suiImagePanel1->y());
    suiImagePanel3->move(qMax(0, width() / 2 - suiImagePanel3->width() / 2), suiImagePanel3->y());
}

// Installs the program into the installation folder, once per machine:
// the program, the register (only when none is there), the manual and the
// skins, the application-menu and desktop entries. A program started from
// the installation folder finds itself there and copies nothing.
void Tmain::installProgram()
{
    const QString dir = m_ctx.folders.installDir();
    const QString program = m_ctx.folders.programFile();
    const QString installed = dir + QLatin1Char('/') + QFileInfo(program).fileName();
    if (QFileInfo::exists(installed))
        return;
    QDir().mkpath(dir);
    const QDir current(m_ctx.folders.currentDir());
    installProgramFile(m_ctx.folders, installed);
    installProgramFiles(m_ctx.folders, current.path(), dir);
    makeDesktopEntries(m_ctx.folders, dir);
    CopyFilesSilently(current.filePath(QStringLiteral("Skin/*.*")), dir + QLatin1Char('/'));
    m_ctx.dialogs.message(this, QStringLiteral("软件以安装到 [") + dir + QStringLiteral("]目录内") +
                                    QStringLiteral("\n\r") +
                                    QStringLiteral("请点击桌面上的[Korvane]图标运行！"));
}

} // namespace lumo
