#pragma once
#include "SearchStatement.h"

#include <QString>

class QAction;
class QPrinter;
class QWidget;

namespace lumo
{

class ChildForm;

// The user logged in at the main window: the level chosen and the name of
// the users row found ("查询用户" and no name for the guest); both empty
// before a login.
struct LoginUser {
    QString level;
    QString name;
};

// What the working windows need of the main window.
class MainFrame
{
public:
    virtual ~MainFrame() = default;

    virtual QWidget* frameWidget() = 0;
    // Disables the protected entries while a working window is open, and
    // enables them again (and disables "联系房主") when it closes.
    virtual void LockMenus() = 0;
    virtual void UnlockMenus() = 0;
    // A menu entry by its name ("N2", "N15", "rb1", ...), or nullptr.
    virtual QAction* menuEntry(const QString& name) const = 0;
    // Shows a working window as a maximised child of the frame.
    virtual void showChild(ChildForm* form) = 0;
    // Hides the filter bar's floating check lists (mouse over a window).
    virtual void hideCheckLists() = 0;
    // The filter bar's current state, as the search reads it.
    virtual SearchFilter filterState() const = 0;
    // The results window closed: the search marker goes back to 0 and
    // "联系房主" is disabled.
    virtual void resultsWindowClosed() = 0;
    // Closes the main window (running the closing backup), which ends the
    // program.
    virtual void closeFrame() = 0;
    // The printer chosen with "打印设置" (the default printer until then).
    virtual QPrinter* printer() = 0;
    // Opens the photo preview of the search result's current row, a
    // separate window that stays on top.
    virtual void openPhotoPreview() = 0;
    // The login holds until the program ends.
    virtual LoginUser loggedInUser() const { return {}; }
};

} // namespace lumo
