#include "Tcxxs.h"

namespace lumo {

Tcxxs::Tcxxs(AppContext& ctx, MainFrame& frame, QWidget* parent) : ChildForm(ctx, frame, parent)
{
    setObjectName(QStringLiteral("Tcxxs"));
    setWindowTitle(QStringLiteral("查询结果"));
}

} // namespace lumo
