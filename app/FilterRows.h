#pragma once
#include <QList>
#include <QWidget>

namespace lumo
{

// Lays out the filter bar's controls left to right in one row, or, where
// the bar is too narrow for that, in two rows split before a given control.
// A corner control stands at the right end of the first row, where nothing
// else is. Each control keeps the width it asks for.
class FilterRows : public QWidget
{
    Q_OBJECT
public:
    explicit FilterRows(QWidget* parent = nullptr);

    // Adds a control at the end of the row.
    void addControl(QWidget* control);
    // The second row starts with `control` when two rows are needed.
    void setSecondRowStart(QWidget* control);
    void setCornerControl(QWidget* control);

    // Whether the controls need two rows at `width`.
    bool needsTwoRows(int width) const;
    bool twoRows() const { return m_twoRows; }
    // Chooses one or two rows for the room the bar offers; true when that
    // changed the rows.
    bool fitTo(int width);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int rowHeight() const;
    // Width of controls [from, to) side by side.
    int rowWidth(int from, int to) const;
    int splitIndex() const;
    int cornerWidth() const;
    void place();

    QList<QWidget*> m_controls;
    QWidget* m_secondRowStart = nullptr;
    QWidget* m_corner = nullptr;
    bool m_twoRows = false;
};

} // namespace lumo
