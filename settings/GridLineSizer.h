#pragma once
#include <QObject>

class QTableView;

namespace lumo
{

// Lets the user resize the columns and rows of a grid whose header row and
// number column are ordinary cells (row 0 and column 0): dragging a line
// between two cells of the header row changes the width of the column to
// its left, dragging a line between two cells of the number column the
// height of the row above it. The cursor shows where a line can be taken.
class GridLineSizer : public QObject
{
    Q_OBJECT
public:
    explicit GridLineSizer(QTableView* grid);

    // How near to a line, in pixels, the mouse takes it.
    static constexpr int kGrip = 3;
    // The smallest width or height a drag leaves.
    static constexpr int kMinimum = 8;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Line { None, Column, Row };
    struct Hit {
        Line line = Line::None;
        int index = -1;
    };
    Hit lineAt(const QPoint& pos) const;

    QTableView* m_grid;
    // The grid's viewport, kept so that events arriving while the grid is
    // being destroyed are told apart without calling into it.
    QWidget* m_area;
    Hit m_drag;
    int m_dragStart = 0; // mouse position along the drag direction
    int m_startSize = 0; // width or height when the drag began
};

} // namespace lumo
