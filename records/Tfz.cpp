#include "Tfz.h"

namespace lumo {

Tfz::Tfz(AppContext& ctx, MainFrame& frame, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_ctx(ctx), m_frame(frame)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Tfz"));
    setWindowTitle(QStringLiteral("联系房主"));
}

} // namespace lumo
