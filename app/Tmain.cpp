#include "Tmain.h"

#include "AppContext.h"
#include "ChildForm.h"
#include "Clock.h"
#include "DataError.h"
#include "DataSource.h"
#include "Dataset.h"
#include "DesignFonts.h"
#include "Dialogs.h"
#include "FilterBar.h"
#include "SettingsStore.h"
#include "StatusPanels.h"
#include "Tsj.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumo
{

Tmain::Tmain(AppContext& ctx, QWidget* parent) : QMainWindow(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Velmora"));
    // Before any window uses the design font.
    substituteDesignFonts();
    setFont(QFont(QStringLiteral("宋体"), 9));
    resize(792, 512);
    setToolTip(QString());
    setStatusTip(QStringLiteral("客户的需要就是我们的需要！"));

    bsSkinMainMenuBar1 = new QMenuBar(this);
    bsSkinMainMenuBar1->setObjectName(QStringLiteral("bsSkinMainMenuBar1"));
    bsSkinMainMenuBar1->setFixedHeight(22);
    setMenuBar(bsSkinMainMenuBar1);
    buildMenus();

    suiToolBar1 = new FilterBar(ctx, *this, this);
    addToolBar(Qt::TopToolBarArea, suiToolBar1);
    suiToolBar1->hide();

    SpeedButton1 = new QToolButton(suiToolBar1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    // An icon button at the right end of the bar, clear of the search controls.
    SpeedButton1->setIconSize(QSize(16, 16));
    SpeedButton1->setFixedSize(24, 24);
    suiToolBar1->setCornerControl(SpeedButton1);
    SpeedButton1->setToolTip(QStringLiteral("关闭项目"));
    SpeedButton1->setStatusTip(QStringLiteral("关闭项目"));
    SpeedButton1->hide();
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { guard([this] { N11Click(); }); });

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralArea"));
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    bsSkinPanel1 = new QFrame(central);
    bsSkinPanel1->setObjectName(QStringLiteral("bsSkinPanel1"));
    bsSkinPanel1->setFixedHeight(2);
    bsSkinPanel1->setFrameShape(QFrame::HLine);
    layout->addWidget(bsSkinPanel1);
    m_mdiArea = new QMdiArea(central);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    m_mdiArea->setBackground(QColor(239, 236, 222));
    m_mdiArea->viewport()->setMouseTracking(true);
    m_mdiArea->viewport()->installEventFilter(this);
    layout->addWidget(m_mdiArea);
    setCentralWidget(central);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->addItem(QStringLiteral("lumo.fc"));
    ListBox1->hide();

    buildLoginPanel();
    buildProgressPanel();
    buildStatusBar();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &Tmain::Timer1Timer);
    Timer1->start();

    connectWindowEntries();
    connectDataEntries();
    connectLookEntries();

    FormCreate();
}

Tmain::~Tmain()
{
    // The separate windows (business cards, owner details, photo preview,
    // calendar) are owned by this window. They go first, while the entries
    // and panels their handlers reach still exist; menus are left to the
    // usual order.
    const auto windows = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* w : windows)
        if (w->isWindow() && !qobject_cast<QMenu*>(w))
            delete w;
}

QAction* Tmain::addEntry(QMenu* menu, const char* name, const QString& caption)
{
    auto* a = new QAction(caption, menu);
    a->setObjectName(QLatin1String(name));
    menu->addAction(a);
    return a;
}

QMenu* Tmain::addSubmenu(QWidget* owner, const char* name, const QString& caption, QAction** entry)
{
    auto* menu = new QMenu(caption, owner);
    menu->setObjectName(QLatin1String(name) + QStringLiteral("Menu"));
    menu->menuAction()->setObjectName(QLatin1String(name));
    if (auto* bar = qobject_cast<QMenuBar*>(owner))
        bar->addMenu(menu);
    else if (auto* parentMenu = qobject_cast<QMenu*>(owner))
        parentMenu->addMenu(menu);
    *entry = menu->menuAction();
    return menu;
}

void Tmain::buildMenus()
{
    QMenuBar* bar = bsSkinMainMenuBar1;
    auto shortcutFor = [this, bar](QAction* entry, const QKeySequence& keys, const char* name) {
        auto* s = new QShortcut(keys, this);
        s->setObjectName(QLatin1String(name));
        connect(s, &QShortcut::activated, this, [bar, entry] {
            if (bar->isVisible())
                bar->setActiveAction(entry);
        });
    };

    QMenu* file = addSubmenu(bar, "N1", QStringLiteral(" 文 件  "), &N1);
    shortcutFor(N1, QKeySequence(QStringLiteral("Ctrl+F")), "N1Shortcut");
    N2 = addEntry(file, "N2", QStringLiteral("软件设置"));
    QMenu* data = addSubmenu(file, "N16", QStringLiteral("数据管理"), &N16);
    N17 = addEntry(data, "N17", QStringLiteral("数据修复与压缩"));
    N20 = addEntry(data, "N20", QStringLiteral("人工备份数据"));
    N20->setVisible(false);
    N21 = addEntry(data, "N21", QStringLiteral("导出数据文件"));
    QMenu* import = addSubmenu(data, "N19", QStringLiteral("导入外部数据"), &N19);
    N26 = addEntry(import, "N26", QStringLiteral("更新方式"));
    N27 = addEntry(import, "N27", QStringLiteral("替换方式"));
    QMenu* restore = addSubmenu(data, "N18", QStringLiteral("恢复备份数据"), &N18);
    rb1 = addEntry(restore, "rb1", QStringLiteral("1"));
    rb2 = addEntry(restore, "rb2", QStringLiteral("2"));
    rb3 = addEntry(restore, "rb3", QStringLiteral("3"));
    rb4 = addEntry(restore, "rb4", QStringLiteral("4"));
    rb5 = addEntry(restore, "rb5", QStringLiteral("5"));
    for (QAction* rb : {rb1, rb2, rb3, rb4, rb5})
        rb->setVisible(false);
    N5 = addEntry(file, "N5", QStringLiteral("打印设置"));
    N11 = addEntry(file, "N11", QStringLiteral("关闭项目"));
    N12 = file->addSeparator();
    N12->setObjectName(QStringLiteral("N12"));
    N13 = addEntry(file, "N13", QStringLiteral("退出"));

    QMenu* edit = addSubmenu(bar, "Edit1", QStringLiteral("编 辑  "), &Edit1);
    shortcutFor(Edit1, QKeySequence(QStringLiteral("Ctrl+D")), "Edit1Shortcut");
    EditUndo1 = addEntry(edit, "EditUndo1", QStringLiteral("撤消"));
    EditUndo1->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    edit->addSeparator();
    EditCut1 = addEntry(edit, "EditCut1", QStringLiteral("剪贴"));
    EditCut1->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
    EditCopy1 = addEntry(edit, "EditCopy1", QStringLiteral("拷贝"));
    EditCopy1->setShortcut(QKeySequence(QStringLiteral("Ctrl+C")));
    EditPaste1 = addEntry(edit, "EditPaste1", QStringLiteral("粘贴"));
    EditPaste1->setShortcut(QKeySequence(QStringLiteral("Ctrl+V")));
    for (QAction* a : {EditUndo1, EditCut1, EditCopy1, EditPaste1})
        a->setShortcutContext(Qt::WidgetShortcut); // text boxes handle their own keys
    connect(EditUndo1, &QAction::triggered, this, [this] { editAction("undo"); });
    connect(EditCut1, &QAction::triggered, this, [this] { editAction("cut"); });
    connect(EditCopy1, &QAction::triggered, this, [this] { editAction("copy"); });
    connect(EditPaste1, &QAction::triggered, this, [this] { editAction("paste"); });

    QMenu* manage = addSubmenu(bar, "N4", QStringLiteral("管 理  "), &N4);
    shortcutFor(N4, QKeySequence(QStringLiteral("Ctrl+G")), "N4Shortcut");
    N6 = addEntry(manage, "N6", QStringLiteral("房源录入"));
    N7 = addEntry(manage, "N7", QStringLiteral("房源删除"));
    N10 = addEntry(manage, "N10", QStringLiteral("名片管理"));
    N15 = addEntry(manage, "N15", QStringLiteral("联系房主"));
    N15->setEnabled(false);

    QMenu* help = addSubmenu(bar, "Help1", QStringLiteral("帮 助  "), &Help1);
    shortcutFor(Help1, QKeySequence(QStringLiteral("Ctrl+H")), "Help1Shortcut");
    N30 = addEntry(help, "N30", QStringLiteral("自动浏览"));
    N29 = addEntry(help, "N29", QStringLiteral("画图型"));
    N14 = addEntry(help, "N14", QStringLiteral("计算器"));
    N3 = addEntry(help, "N3", QStringLiteral("万年历"));
    QMenu* skins = addSubmenu(help, "N22", QStringLiteral("换肤"), &N22);
    N110 = addEntry(skins, "N110", QStringLiteral("winxpblue"));
    N23 = addEntry(skins, "N23", QStringLiteral("mosphere"));
    windows1 = addEntry(skins, "windows1", QStringLiteral("初级界面"));
    N31 = addEntry(skins, "N31", QStringLiteral("自定义界面"));
    N24 = addEntry(skins, "N24", QStringLiteral("背 景 色 彩"));
    N25 = addEntry(skins, "N25", QStringLiteral("表格背景色彩"));
    N28 = addEntry(help, "N28", QStringLiteral("帮助"));
    About1_OLD = addEntry(help, "About1_OLD", QStringLiteral("关于"));

    connect(N5, &QAction::triggered, this, &Tmain::N5Click);
    connect(N11, &QAction::triggered, this, [this] { guard([this] { N11Click(); }); });
    connect(N13, &QAction::triggered, this, [this] { close(); });
    connect(About1_OLD, &QAction::triggered, this, &Tmain::About1Click);
}

void Tmain::buildStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    setStatusBar(StatusBar1);
    m_statusPanels = new StatusPanels(StatusBar1);
    m_statusPanels->setObjectName(QStringLiteral("StatusPanels"));
    StatusBar1->addWidget(m_statusPanels, 1);
    StatusPanel0 = m_statusPanels->panel(0);
    StatusPanel1 = m_statusPanels->panel(1);
    StatusPanel2 = m_statusPanels->panel(2);
    StatusPanel0->setText(QStringLiteral("状态栏"));
    m_statusPanels->setPanelWidth(1, 400);
    StatusPanel1->setText(QStringLiteral("Velmora 二手房屋信息管理系统 · 数据安全，每日自动备份"));
    Timer1Timer();
}

void Tmain::buildProgressPanel()
{
    suiImagePanel3 = new QFrame(this);
    suiImagePanel3->setObjectName(QStringLiteral("suiImagePanel3"));
    suiImagePanel3->setFrameShape(QFrame::StyledPanel);
    suiImagePanel3->setAutoFillBackground(true);
    suiImagePanel3->setGeometry(0, 160, 286, 160);
    suiImagePanel3->hide();
}

void Tmain::Timer1Timer()
{
    if (StatusPanel2)
        StatusPanel2->setText(m_ctx.clock.now().toString(QStringLiteral("hh:mm:ss")) +
                              QStringLiteral("   "));
}

QAction* Tmain::restoreEntry(int slot) const
{
    switch (slot) {
    case 1:
        return rb1;
    case 2:
        return rb2;
    case 3:
        return rb3;
    case 4:
        return rb4;
    case 5:
        return rb5;
    default:
        return nullptr;
    }
}

void Tmain::LockMenus()
{
    SpeedButton1->show();
    for (QAction* a : {N2, N16, N6, N7, N10})
        a->setEnabled(false);
}

void Tmain::UnlockMenus()
{
    SpeedButton1->hide();
    for (QAction* a : {N2, N16, N6, N7, N10})
        a->setEnabled(true);
    N15->setEnabled(false);
}

QAction* Tmain::menuEntry(const QString& name) const
{
    return findChild<QAction*>(name);
}

void Tmain::showChild(ChildForm* form)
{
    m_mdiArea->addSubWindow(form);
    form->showMaximized();
    m_mdiArea->setActiveSubWindow(form);
}

void Tmain::hideCheckLists()
{
    suiToolBar1->hideCheckLists();
}

SearchFilter Tmain::filterState() const
{
    return suiToolBar1->state();
}

void Tmain::resultsWindowClosed()
{
    suiToolBar1->resultsWindowClosed();
    N15->setEnabled(false);
}

void Tmain::closeFrame()
{
    close();
}

QPrinter* Tmain::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return m_printer.get();
}

void Tmain::N11Click()
{
    UnlockMenus();
    if (QMdiSubWindow* child = m_mdiArea->currentSubWindow())
        child->close();
    else
        close();
}

void Tmain::N5Click()
{
    m_ctx.dialogs.printSetup(this, *printer());
}

void Tmain::About1Click()
{
    m_ctx.dialogs.message(this, QStringLiteral("Velmora 二手房屋信息管理系统\n"
                                               "登记、查询、打印出售与出租的二手房源。\n"
                                               "版本 %1")
                                    .arg(QApplication::applicationVersion()));
}

void Tmain::guard(const std::function<void()>& work)
{
    try {
        work();
    } catch (const DataError& e) {
        m_ctx.dialogs.message(this, e.text(), Dialogs::Icon::Error);
    } catch (const std::exception& e) {
        m_ctx.dialogs.message(this, QString::fromLocal8Bit(e.what()), Dialogs::Icon::Error);
    }
}

void Tmain::editAction(const char* slot)
{
    if (QWidget* w = QApplication::focusWidget())
        QMetaObject::invokeMethod(w, slot);
}

void Tmain::closeEvent(QCloseEvent* event)
{
    // While an import, restore or compaction is writing the database files
    // the program must not end: the files would be left half-written.
    if (dataOperationRunning()) {
        event->ignore();
        return;
    }
    backupOnClose();
    const auto children = m_mdiArea->subWindowList();
    for (QMdiSubWindow* w : children)
        w->close();
    QMainWindow::closeEvent(event);
}

void Tmain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // Maximising may come after the first showing.
    if (m_shown)
        centrePanels();
}

bool Tmain::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        StatusPanel0->setText(tip.isEmpty() ? QStringLiteral("状态栏") : tip);
        return true;
    }
    return QMainWindow::event(event);
}

bool Tmain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == suiImagePanel2 || watched == Bevel3 || watched == Label1) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::LeftButton)
                m_dragStart = me->globalPosition().toPoint();
        } else if (event->type() == QEvent::MouseMove) {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->buttons() & Qt::LeftButton) {
                const QPoint now = me->globalPosition().toPoint();
                suiImagePanel1->move(suiImagePanel1->pos() + (now - m_dragStart));
                m_dragStart = now;
            }
        }
    } else if (watched == m_mdiArea->viewport() && event->type() == QEvent::MouseMove) {
        hideCheckLists();
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace lumo
