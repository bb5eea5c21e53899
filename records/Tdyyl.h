#pragma once
#include "ChildForm.h"

namespace lumo {

// The listing printout.
class Tdyyl : public ChildForm
{
    Q_OBJECT
public:
    Tdyyl(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);
};

} // namespace lumo
