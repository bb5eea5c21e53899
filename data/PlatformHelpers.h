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
// Makes a desktop entry starting `target` with its folder as working
// directory, saved in the user's desktop folder as "<name>.desktop".
// Always reports success, like the shell link it stands in for.
bool CreateDesktopShortcut(const Folders& folders, const QString& target, const QString& name);
// Writes a desktop entry into the user's applications folder (the program
// group of the installation); a target that is not a program is opened
// with the desktop's default application. Returns false when it cannot be
// written.
bool CreateApplicationEntry(const Folders& folders, const QString& target, const QString& name,
                            const QString& fileName);
// Copies the files matching `pattern` (a path with wildcards in its file
// part) into `folder`, without asking; a copy whose name is taken is
// renamed. The outcome is ignored, so nothing is returned.
void CopyFilesSilently(const QString& pattern, const QString& folder);

} // namespace lumo
