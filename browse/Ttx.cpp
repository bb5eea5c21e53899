#include "Ttx.h"

namespace lumo {

Ttx::Ttx(AppContext& ctx, MainFrame& frame, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_ctx(ctx), m_frame(frame)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Ttx"));
    setWindowTitle(QStringLiteral("房型图"));
}

} // namespace lumo
