#pragma once
#include <QStringList>

namespace lumo
{

// The windows are designed with the font "宋体", which Linux desktops rarely
// have. Without it every text run is shaped by falling back through the
// font configuration, cell by cell. Substituting the installed Chinese
// fonts for it (and for its Latin name) once at start makes the first
// choice already cover the text.
//
// Returns the families put in place of "宋体", best first; empty when no
// Chinese font is installed (the fallback then stays as it was).
QStringList substituteDesignFonts();

} // namespace lumo
