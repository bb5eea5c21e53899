#include "SettingsStore.h"

#include "Folders.h"

#include <QDir>
#include <QSettings>

namespace lumo
{

SettingsStore::SettingsStore(const Folders& folders) : m_folders(folders) {}

IniFile SettingsStore::profile() const
{
    return IniFile(m_folders.configDir() + QStringLiteral("/lumo.ini"), QStringLiteral("lumo.ini"));
}

QString SettingsStore::readProfileString(const QString& section, const QString& key,
                                         const QString& defaultValue) const
{
    return profile().readString(section, key, defaultValue);
}

void SettingsStore::writeProfileString(const QString& section, const QString& key,
                                       const QString& value) const
{
    profile().writeString(section, key, value);
}

QString SettingsStore::registryPath(const QString& product) const
{
    return m_folders.configDir() + QLatin1Char('/') + product + QStringLiteral(".conf");
}

QString SettingsStore::read(const QString& product, const QString& subkey,
                            const QString& name) const
{
    QSettings s(registryPath(product), QSettings::IniFormat);
    return s.value(subkey + QLatin1Char('/') + name).toString();
}

bool SettingsStore::write(const QString& product, const QString& subkey, const QString& name,
                          const QString& value) const
{
    QDir().mkpath(m_folders.configDir());
    QSettings s(registryPath(product), QSettings::IniFormat);
    if (s.status() != QSettings::NoError)
        return false;
    // Every write syncs the file to disk: a value stored already is left alone.
    const QString key = subkey + QLatin1Char('/') + name;
    if (s.contains(key) && s.value(key).toString() == value)
        return true;
    s.setValue(key, value);
    s.sync();
    return s.status() == QSettings::NoError;
}

QString SettingsStore::ReadAppValue(const QString& name) const
{
    return read(QStringLiteral("Velmora"), QStringLiteral("file"), name);
}

bool SettingsStore::WriteAppValue(const QString& name, const QString& value) const
{
    return write(QStringLiteral("Velmora"), QStringLiteral("file"), name, value);
}

QString SettingsStore::ReadSectionValue(const QString& subkey, const QString& name) const
{
    return read(QStringLiteral("Velmora"), subkey, name);
}

bool SettingsStore::WriteSectionValue(const QString& subkey, const QString& name,
                                      const QString& value) const
{
    return write(QStringLiteral("Velmora"), subkey, name, value);
}

QString SettingsStore::ReadSlotValue(const QString& product, const QString& name) const
{
    return read(product, QStringLiteral("rbf"), name);
}

bool SettingsStore::WriteSlotValue(const QString& product, const QString& name,
                                   const QString& value) const
{
    return write(product, QStringLiteral("rbf"), name, value);
}

} // namespace lumo
