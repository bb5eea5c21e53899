#pragma once
#include <QIcon>

class QApplication;

namespace lumo
{

// Prepares the application object for the user: its name and version, the
// program's icon on every window, and Chinese throughout: Qt's own texts
// (buttons of message and question boxes, the file, colour and print
// dialogs) from Qt's Chinese translations, and the Chinese locale (weekday
// names, date formats) whatever the environment says. Returns false when
// Qt's Chinese translations are not installed; the program then runs with
// Qt's English texts.
bool startApplication(QApplication& app);

// The program's icon (a house), in every size it is drawn in.
QIcon programIcon();

} // namespace lumo
