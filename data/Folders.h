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
    // The user's desktop folder: $LUMO_DESKTOP_DIR, else what
    // `xdg-user-dir DESKTOP` names (often "~/桌面" on a Chinese desktop),
    // else ~/Desktop.
    virtual QString desktopDir() const;
    // The user's applications folder (the application-menu entries).
    virtual QString applicationsDir() const;
    // The user's hicolor icon theme folder: $LUMO_ICON_THEME_DIR, else the
    // XDG data folder + "/icons/hicolor".
    virtual QString iconThemeDir() const;
};

// The folder `xdg-user-dir` names for `kind` ("DESKTOP"); empty when the
// tool is missing, fails, or names the home folder itself (which the
// freedesktop user-dirs convention uses for "no such folder").
QString xdgUserDir(const QString& kind);

} // namespace lumo
