#include "DatabaseArchive.h"

#include "BackupFile.h"
#include "DatabaseFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace lumo
{

bool archiveDatabase(DataEnv& env, const QString& database, const QString& archiveName,
                     std::vector<std::string>& errors)
{
    QTemporaryDir temp(QFileInfo(database).absolutePath() +
                       QStringLiteral("/lumo-snapshot-XXXXXX"));
    if (!temp.isValid()) {
        errors.push_back(fromQ(locatedText(temp.path(), temp.errorString())));
        return false;
    }
    const QString copy = temp.path() + QLatin1Char('/') + QLatin1String(kDatabaseEntry);
    QString error;
    if (!snapshotDatabase(database, copy, &error)) {
        errors.push_back(fromQ(error));
        return false;
    }
    env.progress.processEvents();
    const std::string copyName = fromQ(copy);
    const std::string storedName = fromQ(database);
    try {
        TBackupFile archive;
        configureArchive(archive, env.progress, errors);
        // Only the copy is packed, so the archive attribute of the database
        // itself is left alone.
        archive.SetSetArchiveFlag(false);
        archive.SetStoredNameHandler(
            [&](const std::string& path) { return path == copyName ? storedName : path; });
        return archive.Backup({copyName}, fromQ(archiveName));
    } catch (const std::exception& e) {
        errors.push_back(e.what());
        return false;
    }
}

bool unpackDatabase(DataEnv& env, const QString& archiveName, const QString& folder,
                    std::vector<std::string>& errors)
{
    const QString target = QDir(folder).filePath(QLatin1String(kDatabaseEntry));
    const std::string targetName = fromQ(target);
    bool taken = false;
    bool ok = false;
    try {
        TBackupFile archive;
        configureArchive(archive, env.progress, errors);
        archive.OnRestoreFile = [&](TBackupFile&, std::string& name, std::int32_t,
                                    bool& doRestore) {
            const bool isDatabase = QFileInfo(toQ(name)).fileName().compare(
                                        QLatin1String(kDatabaseEntry), Qt::CaseInsensitive) == 0;
            if (!doRestore || !isDatabase || taken) {
                doRestore = false;
                return;
            }
            taken = true;
            name = targetName;
        };
        ok = archive.Restore(fromQ(archiveName), fromQ(folder));
    } catch (const std::exception& e) {
        errors.push_back(e.what());
        ok = false;
    }
    if (ok && !(taken && QFileInfo(target).isFile())) {
        errors.push_back(fromQ(QDir::toNativeSeparators(archiveName) +
                               QStringLiteral(": 没有数据库文件 ") +
                               QLatin1String(kDatabaseEntry)));
        ok = false;
    }
    return ok;
}

} // namespace lumo
