#pragma once
#include "MainFrame.h"

#include <QMainWindow>
#include <QPoint>
#include <QPointer>

#include <functional>
#include <memory>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMdiArea;
class QMenu;
class QPushButton;
class QTimer;
class QToolButton;

namespace lumo
{

struct AppContext;
class FilterBar;
class StatusPanels;

// The main window: a multiple-document frame with the menu bar, the filter
// bar of the search, the login panel and the status bar. Every other window
// is opened from it.
class Tmain : public QMainWindow, public MainFrame
{
    Q_OBJECT
public:
    explicit Tmain(AppContext& ctx, QWidget* parent = nullptr);
    ~Tmain() override;

    // MainFrame
    QWidget* frameWidget() override { return this; }
    void LockMenus() override;
    void UnlockMenus() override;
    QAction* menuEntry(const QString& name) const override;
    void showChild(ChildForm* form) override;
    void hideCheckLists() override;
    SearchFilter filterState() const override;
    void resultsWindowClosed() override;
    void closeFrame() override;
    QPrinter* printer() override;
    void openPhotoPreview() override;
    LoginUser loggedInUser() const override { return m_login; }

    AppContext& context() const { return m_ctx; }
    QMdiArea* mdiArea() const { return m_mdiArea; }
    FilterBar* filterBar() const { return suiToolBar1; }
    StatusPanels* statusPanels() const { return m_statusPanels; }

    // Controls, under their designer names.
    QMenuBar* bsSkinMainMenuBar1;
    QFrame* bsSkinPanel1;
    FilterBar* suiToolBar1;
    QToolButton* SpeedButton1;
    QStatusBar* StatusBar1;
    QLabel* StatusPanel0;
    QLabel* StatusPanel1;
    QLabel* StatusPanel2;
    QListWidget* ListBox1;
    QTimer* Timer1;
    // Progress panel shown during imports.
    QFrame* suiImagePanel3;

    // Login panel.
    QFrame* suiImagePanel1;
    QFrame* suiImagePanel2;
    QFrame* Bevel3;
    QLabel* Label1;
    QToolButton* suiImageButton1;
    QLabel* Label3;
    QComboBox* suiComboBox1;
    QLabel* Label2;
    QLineEdit* suiEdit1;
    QLabel* Label4;
    QLineEdit* suiEdit2;
    QPushButton* suiButton1;
    QPushButton* suiButton3;

    // Menu entries.
    QAction *N1, *N2, *N16, *N17, *N20, *N21, *N19, *N26, *N27, *N18, *N5, *N11, *N12, *N13;
    QAction *rb1, *rb2, *rb3, *rb4, *rb5;
    QAction *Edit1, *EditUndo1, *EditCut1, *EditCopy1, *EditPaste1;
    QAction *N4, *N6, *N7, *N10, *N15;
    QAction *Help1, *N30, *N29, *N14, *N3, *N22, *N110, *N23, *windows1, *N31, *N24, *N25, *N28,
        *About1_OLD;

    // The restore-slot entries rb1 ... rb5 by slot number 1 ... 5.
    QAction* restoreEntry(int slot) const;
    // True while a data operation (the closing backup included) works.
    bool dataOperationRunning() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Building the window (Tmain.cpp).
    void buildMenus();
    void buildLoginPanel();
    void buildStatusBar();
    void buildProgressPanel();
    QAction* addEntry(QMenu* menu, const char* name, const QString& caption);
    QMenu* addSubmenu(QWidget* owner, const char* name, const QString& caption, QAction** entry);

    void FormCreate();
    void FormShow();
    void installProgram();
    void centrePanels();
    void Timer1Timer();
    void N11Click();
    void N5Click();
    void About1Click();
    void editAction(const char* slot);
    // Runs a handler; an error escaping it is shown with its own text
    // instead of leaving the Qt event handler.
    void guard(const std::function<void()>& work);

    // Login (TmainLogin.cpp).
    void suiButton1Click();
    void suiComboBox1Change();
    bool findUser();
    void suiImageButton1Click();
    void applyPermissions();

    // Working windows (TmainWindows.cpp).
    void connectWindowEntries();
    void N2Click();
    void N6Click();
    void N7Click();
    void N10Click();
    void N15Click();
    void N30Click();
    void xmClick();

    // Data management (TmainData.cpp).
    void connectDataEntries();
    // The daily backup taken whenever the window closes.
    void backupOnClose();
    void N20Click();
    void N21Click();
    void N19Click();
    void N27Click();
    void N17Click();
    void rbClick(int slot);
    void rb1Click();
    void rb2Click();
    void rb3Click();
    void rb4Click();
    void rb5Click();

    // Appearance and small tools (TmainLook.cpp).
    void connectLookEntries();
    void applyStoredLook();
    void N110Click();
    void N23Click();
    void windows1Click();
    void N31Click();
    void N24Click();
    void N25Click();
    void N29Click();
    void N14Click();
    void N28Click();

    AppContext& m_ctx;
    QMdiArea* m_mdiArea;
    StatusPanels* m_statusPanels = nullptr;
    std::unique_ptr<QPrinter> m_printer;
    QPointer<QWidget> m_entryForm;
    bool m_shown = false;
    QPoint m_dragStart;
    LoginUser m_login;
};

} // namespace lumo
