#include "Tmp.h"

namespace lumo {

Tmp::Tmp(AppContext& ctx, MainFrame& frame, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_ctx(ctx), m_frame(frame)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Tmp"));
    setWindowTitle(QStringLiteral("名片管理"));
}

} // namespace lumo
