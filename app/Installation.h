#pragma once
#include <QString>

namespace lumo
{

class Folders;

// Where the program's files go and which folder it works in. The program
// works on "lumo.fc" in its current folder. Started from its own folder (a
// build, or the installation folder) it works there; a system package keeps
// its files read-only in a folder marked by the file "lumo.package", and
// each user then works in a per-user installation folder made from them.

// True when the program runs from a system package's folder.
bool runsFromPackage(const Folders& folders);

// True when both paths name the same existing file (also through links).
bool sameFile(const QString& a, const QString& b);

// Copies the files that go with the program from `sourceDir` into
// `installDir`: the register "lumo.fc" only when none is there (an
// existing register is never replaced), the manual "lumo.html" with its
// pictures and the "Skin" folder (older copies replaced), and the icons
// into the user's icon theme when `sourceDir` carries them. Nothing is
// copied over itself; failures are ignored.
void installProgramFiles(const Folders& folders, const QString& sourceDir,
                         const QString& installDir);

// Puts the running program at `installed`: a copy, or for a packaged
// program a link to the packaged one, so that an upgrade of the package
// reaches every user. Nothing happens when `installed` is the program.
void installProgramFile(const Folders& folders, const QString& installed);

// The application-menu entries of the program and of the manual, and the
// desktop shortcut "Korvane", all starting in `installDir`.
void makeDesktopEntries(const Folders& folders, const QString& installDir);

// The folder the program works in when it is not simply where it was
// started: the installed program works in the installation folder; a
// packaged program in the user's installation folder, made (or brought up
// to date) from the packaged files, the register only when none is there.
// Empty otherwise: the program works in the folder it was started in.
QString prepareWorkingFolder(const Folders& folders);

// Installs the running program for this user without asking: the program
// and the administrators' tool replace older copies, the register is kept
// (a register that is still the delivered one, untouched, gives way to the
// build folder's register of earlier sessions), the entries are written.
// Returns the installation folder.
QString installForUser(const Folders& folders);

} // namespace lumo
