#pragma once
#include "SearchStatement.h"

#include <QStringList>
#include <QToolBar>

class QToolButton;

namespace lumo {

struct AppContext;
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
    void hideCheckLists();
    SearchFilter state() const;
    // The results window opened by a search has closed.
    void resultsWindowClosed();

    QToolButton* toolbutton4;

private:
    AppContext& m_ctx;
    MainFrame& m_frame;
};

} // namespace lumo
