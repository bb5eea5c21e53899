#pragma once
#include "ChildForm.h"

namespace lumo {

// The settings window.
class Tsz : public ChildForm
{
    Q_OBJECT
public:
    Tsz(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);
};

} // namespace lumo
