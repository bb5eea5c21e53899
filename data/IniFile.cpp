#include "IniFile.h"

#include "DataError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace lumo
{

namespace
{

// The longest value a read returns, as with a 2048-byte result buffer.
constexpr int kMaxValueBytes = 2047;

QStringList readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool isSectionHeader(const QString& line, QString* name)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(QLatin1Char('[')))
        return false;
    const int end = t.indexOf(QLatin1Char(']'));
    if (end < 0)
        return false;
    if (name)
        *name = t.mid(1, end - 1).trimmed();
    return true;
}

// Splits "key=value"; false for lines without '=' or comments.
bool splitEntry(const QString& line, QString* key, QString* value)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')))
        return false;
    const int eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return false;
    *key = t.left(eq).trimmed();
    *value = t.mid(eq + 1).trimmed();
    return true;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Quotes around a whole value are dropped, as the profile functions do.
QString unquote(const QString& v)
{
    if (v.size() >= 2 && ((v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"'))) ||
                          (v.startsWith(QLatin1Char('\'')) && v.endsWith(QLatin1Char('\'')))))
        return v.mid(1, v.size() - 2);
    return v;
}

QString truncateUtf8(const QString& v)
{
    QByteArray bytes = v.toUtf8();
    if (bytes.size() <= kMaxValueBytes)
        return v;
    QString out;
    for (const QChar c : v) {
        if ((out + c).toUtf8().size() > kMaxValueBytes)
            break;
        out += c;
    }
    return out;
}

} // namespace

IniFile::IniFile(QString path, QString displayName)
    : m_path(std::move(path)), m_displayName(std::move(displayName))
{
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) const
{
    const QStringList lines = readLines(m_path);
    bool inSection = false;
    for (const QString& line : lines) {
        QString name;
        if (isSectionHeader(line, &name)) {
            inSection = sameName(name, section);
            continue;
        }
        QString k, v;
        if (inSection && splitEntry(line, &k, &v) && sameName(k, key))
            return truncateUtf8(unquote(v));
    }
    return defaultValue;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) const
{
    QStringList lines = readLines(m_path);
    int sectionStart = -1; // index of the header line
    int insertAt = -1;     // after the last non-blank line of the section
    int keyLine = -1;
    for (int i = 0; i < lines.size(); ++i) {
        QString name;
        if (isSectionHeader(lines[i], &name)) {
            if (sectionStart >= 0)
                break;
            if (sameName(name, section)) {
                sectionStart = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionStart < 0)
            continue;
        if (!lines[i].trimmed().isEmpty())
            insertAt = i + 1;
        QString k, v;
        if (splitEntry(lines[i], &k, &v) && sameName(k, key)) {
            keyLine = i;
            break;
        }
    }
    const QString entry = key + QLatin1Char('=') + value;
    if (keyLine >= 0) {
        lines[keyLine] = entry;
    } else if (sectionStart >= 0) {
        lines.insert(insertAt, entry);
    } else {
        lines << (QLatin1Char('[') + section + QLatin1Char(']')) << entry;
    }

    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    const QByteArray data = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        throw DataError(QStringLiteral("写 %1 失败").arg(m_displayName));
}

} // namespace lumo
