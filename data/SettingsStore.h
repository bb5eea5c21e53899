#pragma once
#include "IniFile.h"

#include <QString>

namespace lumo
{

class Folders;

// The two settings stores of the program:
//  - "lumo.ini", the machine's lookup lists (sections gj, cx, hx), read and
//    written with private-profile semantics;
//  - the per-user key "software\<product>" with its subkeys (file, sc, lr,
//    rbf, ...), kept as an INI file in the config folder.
// Every call opens the file, does its one read or write and releases it.
class SettingsStore
{
public:
    explicit SettingsStore(const Folders& folders);
    virtual ~SettingsStore() = default;

    // The settings file "lumo.ini".
    IniFile profile() const;
    QString readProfileString(const QString& section, const QString& key,
                              const QString& defaultValue = QString()) const;
    void writeProfileString(const QString& section, const QString& key, const QString& value) const;

    // Registry helpers: values of subkey "file", of any subkey, and of the
    // restore-slot subkey "rbf" of "software\<product>". Missing values read
    // as the empty text; writes create what is missing and return false when
    // the value could not be stored (the file cannot be written).
    QString ReadAppValue(const QString& name) const;
    bool WriteAppValue(const QString& name, const QString& value) const;
    QString ReadSectionValue(const QString& subkey, const QString& name) const;
    bool WriteSectionValue(const QString& subkey, const QString& name, const QString& value) const;
    QString ReadSlotValue(const QString& product, const QString& name) const;
    bool WriteSlotValue(const QString& product, const QString& name, const QString& value) const;

    // The file that holds the key "software\<product>".
    QString registryPath(const QString& product = QStringLiteral("Velmora")) const;

protected:
    // Stores one registry value and syncs it to disk; false when the
    // settings file reports an error afterwards. Tests override it to fail.
    virtual bool write(const QString& product, const QString& subkey, const QString& name,
                       const QString& value) const;

private:
    QString read(const QString& product, const QString& subkey, const QString& name) const;

    const Folders& m_folders;
};

} // namespace lumo
