#pragma once
#include <QWidget>

class QLabel;

namespace lumo
{

// The three panels of the main window's status bar, left to right. Each
// takes its own width where the bar is wide enough; on a narrower bar the
// notice panel gives way first, then the hint panel, and the clock last,
// each cutting its text with an ellipsis, so the panels never make the
// window wider than its screen.
class StatusPanels : public QWidget
{
    Q_OBJECT
public:
    explicit StatusPanels(QWidget* parent = nullptr);

    QLabel* panel(int index) const { return m_panels[index]; }
    // The width panel `index` takes when there is room for it.
    void setPanelWidth(int index, int width);
    int panelWidth(int index) const { return m_widths[index]; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutPanels();

    QLabel* m_panels[3] = {};
    int m_widths[3] = {155, 765, 100};
};

} // namespace lumo
