#pragma once
#include <QString>

namespace lumo
{

class Folders;

// Small platform helpers shared by the windows.

// Folder of the running program, without a trailing separator.
QString ProgramDir(const Folders& folders);
// The system's program folder, with a trailing separator.
QString SystemDir();

// What a desktop entry shows: its name and comment (English and Chinese)
// and its icon (a name from the icon theme).
struct DesktopEntryText {
    QString name;
    QString nameZh;
    QString comment;
    QString commentZh;
    QString icon;
};
// The program's entry ("Korvane" with the program's icon) and the manual's.
DesktopEntryText programEntryText();
DesktopEntryText manualEntryText();
// The text of a desktop entry starting `target` with its folder as working
// directory; a target that is not a program is opened with the desktop's
// default application.
QString desktopEntry(const QString& target, const DesktopEntryText& text);

// Makes a desktop entry starting `target` with its folder as working
// directory, saved in the user's desktop folder as "<name>.desktop", with
// the program's name, comment and icon. Always reports success, like the
// shell link it stands in for.
bool CreateDesktopShortcut(const Folders& folders, const QString& target, const QString& name);
// Writes a desktop entry into the user's applications folder (the program
// group of the installation). Returns false when it cannot be written.
bool CreateApplicationEntry(const Folders& folders, const QString& target,
                            const DesktopEntryText& text, const QString& fileName);
// Copies the files matching `pattern` (a path with wildcards in its file
// part) into `folder`, without asking; a copy whose name is taken is
// renamed. The outcome is ignored, so nothing is returned.
void CopyFilesSilently(const QString& pattern, const QString& folder);

} // namespace lumo
