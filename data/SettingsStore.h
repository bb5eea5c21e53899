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

    // The settings file "lumo.ini".
    IniFile profile() const;
    QString readProfileString(const QString& section, const QString& key,
                              const QString& defaultValue = QString()) const;
    void writeProfileString(const QString& section, const QString& key, const QString& value) const;

    // Registry helpers: values of subkey "file", of any subkey, and of the
    // restore-slot subkey "rbf" of "software\<product>". Missing values read
    // as the empty text; writes create what is missing.
    QString ReadAppValue(const QString& name) const;
    void WriteAppValue(const QString& name, const QString& value) const;
    QString ReadSectionValue(const QString& subkey, const QString& name) const;
    void WriteSectionValue(const QString& subkey, const QString& name, const QString& value) const;
    QString ReadSlotValue(const QString& product, const QString& name) const;
    void WriteSlotValue(const QString& product, const QString& name, const QString& value) const;

    // The file that holds the key "software\<product>".
    QString registryPath(const QString& product = QStringLiteral("Velmora")) const;

private:
    QString read(const QString& product, const QString& subkey, const QString& name) const;
    void write(const QString& product, const QString& subkey, const QString& name,
               const QString& value) const;

    const Folders& m_folders;
};

} // namespace lumo
