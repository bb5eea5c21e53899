#pragma once
#include "SearchStatement.h"
#include "Tcxxs.h"

#include <QPointer>
#include <QStringList>
#include <QToolBar>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace lumo
{

struct AppContext;
class FilterRows;
class MainFrame;

// The filter tool bar of the main window ("suiToolBar1"): the property
// search form and its search button.
class FilterBar : public QToolBar
{
    Q_OBJECT
public:
    FilterBar(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);

    // Fills the three floating check lists from the lookup lists.
    void setLookupLists(const QStringList& districts, const QStringList& orientations,
                        const QStringList& layouts);
    // Fills one check list (0 districts, 1 orientations, 2 layouts) from its
    // lookup list, with its first and last fixed items.
    void setLookupList(int box, const QStringList& entries);
    void hideCheckLists();
    SearchFilter state() const;
    // The results window opened by a search has closed.
    void resultsWindowClosed();

    // The control at the right end of the bar ("关闭项目").
    void setCornerControl(QWidget* control);
    // Whether the controls stand in two rows (a narrow window).
    bool twoRows() const;

    // Results-window marker: 1 while a results window opened by a search is
    // open (the tag of the search button).
    int resultsMarker() const;
    // Sale/rent state (0 sale, 1 rent) and ownership cycle position.
    int saleRentState() const;
    int ownershipPosition() const;
    // The hidden value list of FlatEdit1 ... FlatEdit3 (index 0 ... 2).
    QString valueList(int box) const;
    // The results window of the last search, while it is open.
    Tcxxs* resultsWindow() const { return m_results; }

    // Handlers.
    void ToolButton4Click();
    void Button2Click();
    void FlatButton1Click();
    void Button1Click();
    void suiButton4Click();
    void FlatCheckListBox1ClickCheck();
    void FlatCheckListBox2ClickCheck();
    void FlatCheckListBox3Click();
    void FlatEdit11MouseMove();
    void FlatEdit2MouseMove();
    void FlatEdit3MouseMove();
    void FormMouseMove();

    // Controls, left to right.
    QPushButton* FlatButton1;
    QPushButton* Button1;
    QToolButton* ToolButton1;
    QSpinBox* FlatSpinEditInteger1;
    QSpinBox* FlatSpinEditInteger2;
    QToolButton* ToolButton2;
    QLineEdit* FlatEdit1;
    QLineEdit* FlatEdit2;
    QLineEdit* FlatEdit3;
    QToolButton* ToolButton3;
    QComboBox* FlatComboBox1;
    QComboBox* FlatComboBox2;
    QToolButton* ToolButton6;
    QPushButton* suiButton4;
    QComboBox* FlatComboBox3;
    QComboBox* FlatComboBox4;
    QToolButton* ToolButton5;
    QToolButton* toolbutton4;
    QPushButton* suiButton2;

    // The floating check lists, children of the main window.
    QListWidget* FlatCheckListBox1;
    QListWidget* FlatCheckListBox2;
    QListWidget* FlatCheckListBox3;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* addSeparator(const char* name);
    QListWidget* makeCheckList(const char* name, const QString& hint, int width);
    void fillCheckList(QListWidget* list, const QString& allItem, const QStringList& entries,
                       const QString& otherItem);
    void checkListClicked(int box);
    void showCheckList(int box);
    void emptyPrintList();

    AppContext& m_ctx;
    MainFrame& m_frame;
    FilterRows* m_rows = nullptr;
    QLineEdit* m_boxes[3] = {};
    QListWidget* m_lists[3] = {};
    QString m_values[3];
    QPointer<Tcxxs> m_results;
};

} // namespace lumo
