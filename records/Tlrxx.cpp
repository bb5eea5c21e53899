#include "Tlrxx.h"

namespace lumo {

Tlrxx::Tlrxx(AppContext& ctx, MainFrame& frame, QWidget* parent) : ChildForm(ctx, frame, parent)
{
    setObjectName(QStringLiteral("Tlrxx"));
    setWindowTitle(QStringLiteral("房源录入"));
}

} // namespace lumo
