#pragma once
#include "ChildForm.h"

namespace lumo {

// The record browser (slide show).
class Tlltx1 : public ChildForm
{
    Q_OBJECT
public:
    Tlltx1(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);
};

} // namespace lumo
