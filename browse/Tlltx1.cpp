#include "Tlltx1.h"

namespace lumo {

Tlltx1::Tlltx1(AppContext& ctx, MainFrame& frame, QWidget* parent) : ChildForm(ctx, frame, parent)
{
    setObjectName(QStringLiteral("Tlltx1"));
    setWindowTitle(QStringLiteral("自动浏览"));
}

} // namespace lumo
