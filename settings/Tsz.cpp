#include "Tsz.h"

namespace lumo {

Tsz::Tsz(AppContext& ctx, MainFrame& frame, QWidget* parent) : ChildForm(ctx, frame, parent)
{
    setObjectName(QStringLiteral("Tsz"));
    setWindowTitle(QStringLiteral("软件设置"));
}

} // namespace lumo
