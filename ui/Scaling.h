#pragma once

class QWidget;

namespace lumo
{

// Scales a window's contents by multiplier/divisor, as a form scales itself
// for a larger screen: the fonts set on the widget and on its descendants,
// the sizes and size limits set on them, the places and sizes of the
// widgets that no layout places, and the layouts' margins and spacing.
// Every value is rounded to a whole pixel or point. Sizes that the layouts
// derive from the fonts grow with them.
void scaleBy(QWidget* root, int multiplier, int divisor);

} // namespace lumo
