#pragma once
#include "ChildForm.h"

namespace lumo {

// The entry and edit form of the register.
class Tlrxx : public ChildForm
{
    Q_OBJECT
public:
    Tlrxx(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);
};

} // namespace lumo
