#include "Tscjl.h"

namespace lumo {

Tscjl::Tscjl(AppContext& ctx, MainFrame& frame, QWidget* parent) : ChildForm(ctx, frame, parent)
{
    setObjectName(QStringLiteral("Tscjl"));
    setWindowTitle(QStringLiteral("房源删除"));
}

} // namespace lumo
