#include "Tdyyl.h"

namespace lumo {

Tdyyl::Tdyyl(AppContext& ctx, MainFrame& frame, QWidget* parent) : ChildForm(ctx, frame, parent)
{
    setObjectName(QStringLiteral("Tdyyl"));
    setWindowTitle(QStringLiteral("打印"));
}

} // namespace lumo
