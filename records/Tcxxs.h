#pragma once
#include "ChildForm.h"

namespace lumo {

// The results window of a property search.
class Tcxxs : public ChildForm
{
    Q_OBJECT
public:
    Tcxxs(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);
};

} // namespace lumo
