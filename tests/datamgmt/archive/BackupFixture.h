#pragma once
// Shared pieces of the archive component's tests: a temporary folder with
// files of a known date-time, an output that fails like a full disk, and a
// recorder of the component's events.
#include "ArchiveBytes.h"
#include "BackupFile.h"
#include "DosDateTime.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <streambuf>
#include <string>

namespace archivetest
{

inline std::string s(const QString& q)
{
    return q.toStdString();
}

// An output that accepts `room` bytes and then fails, like a full disk.
class FullDiskBuffer : public std::streambuf
{
public:
    explicit FullDiskBuffer(std::size_t room) : room_(room) {}
    std::string written;

protected:
    std::streamsize xsputn(const char* data, std::streamsize n) override
    {
        const std::size_t take = std::min<std::size_t>(room_ - written.size(), std::size_t(n));
        written.append(data, take);
        return static_cast<std::streamsize>(take);
    }
    int_type overflow(int_type c) override
    {
        if (written.size() >= room_ || traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::eof();
        written.push_back(traits_type::to_char_type(c));
        return c;
    }

private:
    std::size_t room_;
};

struct Recorder {
    QStringList events;
    QList<int> errors;
    QStringList boxes;
    void attach(lumo::TBackupFile& b)
    {
        b.OnProgress = [this](lumo::TBackupFile&, const std::string& f, lumo::TPercentage p,
                              bool&) {
            events << QStringLiteral("progress %1 %2").arg(QString::fromStdString(f)).arg(p);
        };
        b.OnError = [this](lumo::TBackupFile&, std::int32_t code, const std::string&) {
            errors << code;
        };
    }
};

// A temporary folder per test class, with helpers to make files in it.
class BackupFixture : public QObject
{
protected:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }
    QString makeFile(const QString& name, const QByteArray& data, std::int32_t dos = kSomeDosTime)
    {
        const QString p = path(name);
        QDir().mkpath(QFileInfo(p).absolutePath());
        writeFile(p, data);
        lumo::setFileDosDateTime(s(p), dos);
        return p;
    }
};

} // namespace archivetest
