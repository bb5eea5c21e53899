#pragma once
// A stand-in for the main window, for testing a working window on its own.
#include "ChildForm.h"
#include "MainFrame.h"

#include <QAction>
#include <QHash>
#include <QMainWindow>
#include <QMdiArea>
#include <QPrinter>

#include <memory>

namespace lumo::test
{

class FakeMainFrame : public QMainWindow, public MainFrame
{
public:
    FakeMainFrame();

    QWidget* frameWidget() override { return this; }
    void LockMenus() override
    {
        ++lockCount;
        locked = true;
    }
    void UnlockMenus() override;
    QAction* menuEntry(const QString& name) const override;
    void showChild(ChildForm* form) override;
    void hideCheckLists() override { ++hideCheckListsCount; }
    SearchFilter filterState() const override { return filter; }
    void resultsWindowClosed() override { ++resultsClosedCount; }
    void closeFrame() override { ++closeFrameCount; }
    QPrinter* printer() override;
    void openPhotoPreview() override;
    LoginUser loggedInUser() const override { return login; }

    QMdiArea* area;
    LoginUser login;
    SearchFilter filter;
    int lockCount = 0;
    int unlockCount = 0;
    bool locked = false;
    int hideCheckListsCount = 0;
    int resultsClosedCount = 0;
    int closeFrameCount = 0;
    int photoPreviewCount = 0;

private:
    AppContext* m_ctx = nullptr;
    mutable QHash<QString, QAction*> m_entries;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace lumo::test
