#include "FilterBar.h"

#include <QToolButton>

namespace lumo {

FilterBar::FilterBar(AppContext& ctx, MainFrame& frame, QWidget* parent)
    : QToolBar(parent), m_ctx(ctx), m_frame(frame)
{
    setObjectName(QStringLiteral("suiToolBar1"));
    setMovable(false);
    toolbutton4 = new QToolButton(this);
    toolbutton4->setObjectName(QStringLiteral("toolbutton4"));
    toolbutton4->setText(QStringLiteral("查询"));
    toolbutton4->setToolTip(QStringLiteral("开始查询"));
    addWidget(toolbutton4);
}

void FilterBar::setLookupLists(const QStringList&, const QStringList&, const QStringList&) {}

void FilterBar::hideCheckLists() {}

SearchFilter FilterBar::state() const
{
    return SearchFilter();
}

void FilterBar::resultsWindowClosed() {}

} // namespace lumo
