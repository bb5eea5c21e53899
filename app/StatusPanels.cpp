#include "StatusPanels.h"

#include "ElidedLabel.h"

namespace lumo
{

namespace
{

constexpr int kGap = 2;

} // namespace

StatusPanels::StatusPanels(QWidget* parent) : QWidget(parent)
{
    const char* names[3] = {"StatusPanel0", "StatusPanel1", "StatusPanel2"};
    const Qt::Alignment aligns[3] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignLeft};
    for (int i = 0; i < 3; ++i) {
        auto* l = new ElidedLabel(this);
        l->setObjectName(QLatin1String(names[i]));
        l->setAlignment(aligns[i] | Qt::AlignVCenter);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setMargin(1);
        m_panels[i] = l;
    }
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void StatusPanels::setPanelWidth(int index, int width)
{
    m_widths[index] = width;
    updateGeometry();
    layoutPanels();
}

QSize StatusPanels::sizeHint() const
{
    return QSize(m_widths[0] + m_widths[1] + m_widths[2] + 2 * kGap,
                 m_panels[0]->sizeHint().height());
}

QSize StatusPanels::minimumSizeHint() const
{
    return QSize(0, m_panels[0]->minimumSizeHint().height());
}

void StatusPanels::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutPanels();
}

void StatusPanels::layoutPanels()
{
    int room = width() - 2 * kGap;
    int shown[3];
    // The clock keeps its width longest, the notice gives way first.
    for (int i : {2, 0, 1}) {
        shown[i] = qBound(0, m_widths[i], qMax(0, room));
        room -= shown[i];
    }
    int x = 0;
    for (int i = 0; i < 3; ++i) {
        m_panels[i]->setGeometry(x, 0, shown[i], height());
        x += shown[i] + kGap;
    }
}

} // namespace lumo
