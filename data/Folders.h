#pragma once
#include <QString>

namespace lumo
{

// The folders the program works with. Tests replace it (or set the
// environment variables) so that nothing touches the user's own files.
class Folders
{
public:
    virtual ~Folders() = default;
    // Folder of the running program, without a trailing separator.
    virtual QString appDir() const;
    // The running program's file (copied by the installation step).
    virtual QString programFile() const;
    // Current folder: bare file names ("lumo.fc", "fcxx.vvv") resolve here.
    virtual QString currentDir() const;
    // $LUMO_CONFIG_DIR, else the user's XDG config folder + "/Velmora".
    virtual QString configDir() const;
    // $LUMO_INSTALL_DIR, else the XDG data folder + "/Velmorix".
    virtual QString installDir() const;
    // The user's desktop and applications folders (for the shortcuts).
    virtual QString desktopDir() const;
    virtual QString applicationsDir() const;
};

} // namespace lumo
