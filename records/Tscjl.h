#pragma once
#include "ChildForm.h"

namespace lumo {

// The deletion window.
class Tscjl : public ChildForm
{
    Q_OBJECT
public:
    Tscjl(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);
};

} // namespace lumo
