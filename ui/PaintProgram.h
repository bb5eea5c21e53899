#pragma once
// The system's paint program and the help file, the two outside programs
// reached from the help menu.
#include <QString>
#include <QStringList>

class QWidget;

namespace lumo
{

class Dialogs;

// The paint programs looked for on PATH, in order.
QStringList paintProgramNames();
// The first of them found on PATH; empty when none is installed.
QString findPaintProgram();
// Starts the paint program without parameters; when none is installed (or
// it cannot be started) says so through `dialogs`. True when started.
bool startPaintProgram(Dialogs& dialogs, QWidget* parent);

// The manual "lumo.html" in the application folder `appDir`.
QString helpFilePath(const QString& appDir);
// Opens the manual in the browser; a missing file is reported through
// `dialogs`. True when it was handed to the browser.
bool openHelpFile(Dialogs& dialogs, QWidget* parent, const QString& appDir);

} // namespace lumo
