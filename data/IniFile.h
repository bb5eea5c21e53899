#pragma once
#include <QString>

namespace lumo
{

// A settings file read and written with private-profile semantics: sections
// and keys are matched without regard to case, a missing key gives the
// default, and the file is opened anew for each call (nothing is cached, so
// another running copy sees a change at its next read). Text is UTF-8.
class IniFile
{
public:
    // path: the file; displayName: the name used in error texts ("lumo.ini").
    IniFile(QString path, QString displayName);

    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // Throws DataError "写 <name> 失败" when the file cannot be written.
    void writeString(const QString& section, const QString& key, const QString& value) const;

    QString path() const { return m_path; }

private:
    QString m_path;
    QString m_displayName;
};

} // namespace lumo
