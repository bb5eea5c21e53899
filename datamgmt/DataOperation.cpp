#include "DataOperation.h"

#include "BackupFile.h"
#include "FileFaults.h"
#include "Folders.h"
#include "Tsj.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace lumo
{

QString DataResult::fullText() const
{
    if (detail.isEmpty())
        return message;
    if (message.isEmpty())
        return detail;
    return message + QStringLiteral("\n\n") + detail;
}

QString appFolder(const Folders& folders)
{
    return QDir::cleanPath(folders.appDir());
}

QString currentFolder(const Folders& folders)
{
    return QDir::cleanPath(folders.currentDir());
}

QString backupFolder(const Folders& folders)
{
    return appFolder(folders) + QStringLiteral("/bak");
}

QString databaseFile(const Tsj* sj, const Folders& folders)
{
    const QString name = sj ? sj->databasePath() : QStringLiteral("lumo.fc");
    return QDir::cleanPath(QDir(currentFolder(folders)).absoluteFilePath(name));
}

QString folderForMessage(const Folders& folders)
{
    return QDir::toNativeSeparators(appFolder(folders) + QLatin1Char('/'));
}

bool replaceFile(const QString& source, const QString& target, QString* error)
{
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(source).toStdString()),
                            std::filesystem::path(QFile::encodeName(target).toStdString()), ec);
    if (ec && error)
        *error = QStringLiteral("%1 → %2: %3")
                     .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(target),
                          QString::fromLocal8Bit(ec.message().c_str()));
    return !ec;
}

bool removeIfPresent(const QString& path, QString* error)
{
    QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QFile f(path);
    if (f.remove())
        return true;
    if (error)
        *error = locatedText(path, f.errorString());
    return false;
}

QString locatedText(const QString& path, const QString& text)
{
    return QDir::toNativeSeparators(path) + QStringLiteral(": ") + text;
}

bool copyWholeFile(const QString& source, const QString& target, QString* error)
{
    QFile in(source);
    QFile out(target);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = locatedText(source, in.errorString());
        return false;
    }
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = locatedText(target, out.errorString());
        return false;
    }
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(buffer.data(), buffer.size());
        if (n < 0) {
            *error = locatedText(source, in.errorString());
            return false;
        }
        if (n == 0)
            break;
        if (!faults::allowWrite(size_t(n)) || out.write(buffer.constData(), n) != n) {
            *error =
                locatedText(target, out.error() == QFileDevice::NoError ? QStringLiteral("写入失败")
                                                                        : out.errorString());
            return false;
        }
    }
    if (!out.flush()) {
        *error = locatedText(target, out.errorString());
        return false;
    }
    out.close();
    return true;
}

void configureArchive(TBackupFile& archive, DataProgress& progress,
                      std::vector<std::string>& errors)
{
    archive.SetBackupMode(bmAll);
    archive.SetCompressionLevel(clMax);
    archive.SetRestoreMode(rmAll);
    archive.SetMaxSize(0);
    archive.SetSetArchiveFlag(true);
    archive.OnProgress = [&progress](TBackupFile&, const std::string&, TPercentage percent, bool&) {
        progress.setBar(1, percent < 100 ? int(percent) : -1);
    };
    archive.OnError = [&errors](TBackupFile&, std::int32_t, const std::string& text) {
        errors.push_back(text);
    };
    archive.SetProcessMessagesHandler([&progress] { progress.processEvents(); });
}

QString archiveErrors(const std::vector<std::string>& errors)
{
    QStringList texts;
    for (const std::string& e : errors)
        texts << toQ(e);
    return texts.join(QLatin1Char('\n'));
}

QString toQ(const std::string& s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

std::string fromQ(const QString& s)
{
    return s.toUtf8().toStdString();
}

} // namespace lumo
