#include "FilterRows.h"

#include <QEvent>

namespace lumo
{

namespace
{

constexpr int kSpacing = 3;
constexpr int kMargin = 2;

// The size a control asks for, within the limits set on it.
QSize wanted(const QWidget* w)
{
    return w->sizeHint().expandedTo(w->minimumSize()).boundedTo(w->maximumSize());
}

} // namespace

FilterRows::FilterRows(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void FilterRows::addControl(QWidget* control)
{
    control->setParent(this);
    m_controls << control;
    updateGeometry();
}

void FilterRows::setSecondRowStart(QWidget* control)
{
    m_secondRowStart = control;
}

void FilterRows::setCornerControl(QWidget* control)
{
    control->setParent(this);
    m_corner = control;
    updateGeometry();
}

int FilterRows::rowHeight() const
{
    int h = 0;
    for (QWidget* w : m_controls)
        h = qMax(h, wanted(w).height());
    if (m_corner)
        h = qMax(h, m_corner->height());
    return h;
}

int FilterRows::rowWidth(int from, int to) const
{
    int w = 0;
    for (int i = from; i < to; ++i)
        w += wanted(m_controls[i]).width() + (i > from ? kSpacing : 0);
    return w;
}

int FilterRows::splitIndex() const
{
    const int i = m_controls.indexOf(m_secondRowStart);
    return i > 0 ? i : m_controls.size();
}

int FilterRows::cornerWidth() const
{
    // The corner's room is kept even while it is hidden, so that showing it
    // never pushes the controls about.
    return m_corner ? m_corner->width() + 3 * kSpacing : 0;
}

bool FilterRows::needsTwoRows(int width) const
{
    return 2 * kMargin + rowWidth(0, m_controls.size()) + cornerWidth() > width;
}

bool FilterRows::fitTo(int width)
{
    const bool two = needsTwoRows(width);
    const bool changed = two != m_twoRows;
    // The same row count at a new width is placed by resizeEvent.
    if (changed) {
        m_twoRows = two;
        updateGeometry();
        place();
    }
    return changed;
}

QSize FilterRows::sizeHint() const
{
    if (!m_twoRows)
        return QSize(2 * kMargin + rowWidth(0, m_controls.size()) + cornerWidth(),
                     2 * kMargin + rowHeight());
    return minimumSizeHint();
}

QSize FilterRows::minimumSizeHint() const
{
    const int split = splitIndex();
    const int first = rowWidth(0, split) + cornerWidth();
    const int second = rowWidth(split, m_controls.size());
    // Never wider than two rows need; as high as the rows in use.
    const int height = m_twoRows ? 2 * rowHeight() + kSpacing : rowHeight();
    return QSize(2 * kMargin + qMax(first, second), 2 * kMargin + height);
}

bool FilterRows::event(QEvent* event)
{
    if (event->type() == QEvent::LayoutRequest) {
        // A control changed the size it asks for.
        updateGeometry();
        place();
        return true;
    }
    return QWidget::event(event);
}

void FilterRows::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    place();
}

void FilterRows::place()
{
    const int h = rowHeight();
    const int split = m_twoRows ? splitIndex() : m_controls.size();
    int x = kMargin;
    int y = kMargin;
    for (int i = 0; i < m_controls.size(); ++i) {
        if (i == split) {
            x = kMargin;
            y += h + kSpacing;
        }
        QWidget* w = m_controls[i];
        const QSize hint = wanted(w);
        w->setGeometry(x, y + (h - hint.height()) / 2, hint.width(), hint.height());
        x += hint.width() + kSpacing;
    }
    if (m_corner)
        m_corner->move(width() - kMargin - m_corner->width(),
                       kMargin + (h - m_corner->height()) / 2);
}

} // namespace lumo
