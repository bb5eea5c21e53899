#include "GridLineSizer.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableView>

namespace lumo
{

GridLineSizer::GridLineSizer(QTableView* grid)
    : QObject(grid), m_grid(grid), m_area(grid->viewport())
{
    // The headers are hidden; they still keep the smallest sizes.
    grid->horizontalHeader()->setMinimumSectionSize(kMinimum);
    grid->verticalHeader()->setMinimumSectionSize(kMinimum);
    grid->viewport()->setMouseTracking(true);
    grid->viewport()->installEventFilter(this);
}

GridLineSizer::Hit GridLineSizer::lineAt(const QPoint& pos) const
{
    const int columns = m_grid->model() ? m_grid->model()->columnCount() : 0;
    const int rows = m_grid->model() ? m_grid->model()->rowCount() : 0;
    if (columns == 0 || rows == 0)
        return {};
    const int headerTop = m_grid->rowViewportPosition(0);
    if (headerTop >= 0 && pos.y() >= headerTop && pos.y() < headerTop + m_grid->rowHeight(0)) {
        for (int c = 0; c < columns; ++c) {
            const int right = m_grid->columnViewportPosition(c) + m_grid->columnWidth(c);
            if (qAbs(pos.x() - right) <= kGrip)
                return {Line::Column, c};
        }
    }
    const int numbersLeft = m_grid->columnViewportPosition(0);
    if (numbersLeft >= 0 && pos.x() >= numbersLeft &&
        pos.x() < numbersLeft + m_grid->columnWidth(0)) {
        for (int r = 0; r < rows; ++r) {
            const int bottom = m_grid->rowViewportPosition(r) + m_grid->rowHeight(r);
            if (qAbs(pos.y() - bottom) <= kGrip)
                return {Line::Row, r};
        }
    }
    return {};
}

bool GridLineSizer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_area)
        return QObject::eventFilter(watched, event);
    QWidget* area = m_area;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint pos = e->position().toPoint();
        const Hit hit = lineAt(pos);
        if (e->button() != Qt::LeftButton || hit.line == Line::None)
            break;
        m_drag = hit;
        m_dragStart = hit.line == Line::Column ? pos.x() : pos.y();
        m_startSize = hit.line == Line::Column ? m_grid->columnWidth(hit.index)
                                               : m_grid->rowHeight(hit.index);
        return true; // the press takes the line, it does not choose a cell
    }
    case QEvent::MouseMove: {
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (m_drag.line == Line::Column) {
            m_grid->setColumnWidth(m_drag.index,
                                   qMax(kMinimum, m_startSize + pos.x() - m_dragStart));
            return true;
        }
        if (m_drag.line == Line::Row) {
            m_grid->setRowHeight(m_drag.index, qMax(kMinimum, m_startSize + pos.y() - m_dragStart));
            return true;
        }
        const Hit hit = lineAt(pos);
        if (hit.line == Line::Column)
            area->setCursor(Qt::SplitHCursor);
        else if (hit.line == Line::Row)
            area->setCursor(Qt::SplitVCursor);
        else
            area->unsetCursor();
        break;
    }
    case QEvent::MouseButtonRelease:
        if (m_drag.line != Line::None) {
            m_drag = {};
            return true;
        }
        break;
    case QEvent::Leave:
        if (m_drag.line == Line::None)
            area->unsetCursor();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lumo
