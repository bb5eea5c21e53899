#include "BackupSlots.h"

#include "BackupFile.h"
#include "Clock.h"
#include "DataError.h"
#include "DatabaseArchive.h"
#include "DatabaseFile.h"
#include "Folders.h"
#include "OperationGuard.h"
#include "SettingsStore.h"
#include "Tsj.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

namespace lumo
{

namespace
{

QString product()
{
    return QLatin1String(kSlotProduct);
}

QString backupFailed()
{
    return QStringLiteral("今天的数据备份没有完成，原来的备份保持不变，下次关闭程序时将再次备份！");
}

} // namespace

QString slotDateText(const QDate& date)
{
    return QLocale(QLocale::Chinese, QLocale::China).toString(date, QLocale::LongFormat);
}

int nextSlot(const QString& cs)
{
    bool ok = false;
    const int n = cs.trimmed().toInt(&ok);
    if (!ok || n < 1 || n >= kSlotCount)
        return 1;
    return n + 1;
}

QString slotName(const SettingsStore& store, int slot)
{
    return store.ReadSlotValue(product(), QString::number(slot));
}

QString slotFile(const Folders& folders, const QString& dateText)
{
    return backupFolder(folders) + QLatin1Char('/') + dateText + QStringLiteral(".bak");
}

DataResult closingBackup(DataEnv& env)
{
    DataResult r;
    const QString today = slotDateText(env.clock.today());
    // Today's backup exists when the slot written last holds today's date.
    // With no "cs" yet this reads the section's unnamed value, normally empty.
    // This check reads settings only, so it takes no lock.
    const QString cs = env.store.ReadSlotValue(product(), QStringLiteral("cs"));
    if (env.store.ReadSlotValue(product(), cs) == today) {
        r.ok = true;
        r.skipped = true;
        return r;
    }
    OperationGuard guard(env.folders);
    if (!guard.acquired())
        return guard.refusal();
    const QString target = slotFile(env.folders, today);
    QDir().mkpath(backupFolder(env.folders));
    const int slot = nextSlot(cs);
    const QString previous = slotName(env.store, slot);

    const QString working = currentFolder(env.folders) + QStringLiteral("/fcxx.vvv");
    std::vector<std::string> errors;
    if (!archiveDatabase(env, databaseFile(env.sj, env.folders), working, errors)) {
        r.message = backupFailed();
        r.detail = archiveErrors(errors);
        return r;
    }

    // Copy beside the slot file and rename over it, so the slot never holds a
    // partial archive.
    const QString part = target + QStringLiteral(".part");
    QString error;
    if (!removeIfPresent(part, &error)) {
        r.message = backupFailed();
        r.detail = error;
        return r;
    }
    if (!copyWholeFile(working, part, &error) || !replaceFile(part, target, &error)) {
        r.message = backupFailed();
        r.detail = error;
        removeIfPresent(part);
        return r;
    }

    // The ring names the new file before the slot's old file goes: the slot
    // name first, then "cs". A registry that cannot be written leaves the
    // old file, and the new one is taken away again unless a slot names it.
    const bool named = env.store.WriteSlotValue(product(), QString::number(slot), today);
    const bool counted =
        named && env.store.WriteSlotValue(product(), QStringLiteral("cs"), QString::number(slot));
    if (!named || !counted) {
        r.message = backupFailed();
        r.detail = QStringLiteral("%1: 备份记录无法写入")
                       .arg(QDir::toNativeSeparators(env.store.registryPath(product())));
        bool referenced = false;
        for (int k = 1; k <= kSlotCount; ++k)
            referenced = referenced || slotName(env.store, k) == today;
        if (!referenced)
            removeIfPresent(target);
        return r;
    }
    if (!previous.isEmpty() && previous != today &&
        !removeIfPresent(slotFile(env.folders, previous), &error)) {
        // Today's backup is complete and recorded; the old file only takes
        // room.
        r.detail = error;
    }
    r.ok = true;
    return r;
}

DataResult restoreSlot(DataEnv& env, int slot)
{
    const QString name = slot >= 1 && slot <= kSlotCount ? slotName(env.store, slot) : QString();
    DataResult r = restoreBackup(env, name);
    if (name.isEmpty())
        r.detail = QStringLiteral("备份 %1 不存在").arg(slot);
    return r;
}

DataResult restoreBackup(DataEnv& env, const QString& name)
{
    OperationGuard guard(env.folders);
    if (!guard.acquired())
        return guard.refusal();
    DataResult r;
    const QString failed = QStringLiteral("数据恢复错误，可能是有其它程序正在使用数据库！");
    const QString archiveName = slotFile(env.folders, name);
    const QString database = databaseFile(env.sj, env.folders);

    if (env.sj)
        env.sj->disconnectLumo1();

    std::vector<std::string> errors;
    bool restored = false;
    // A missing slot file fails without a reason of its own, as the archive
    // component does for a missing archive.
    if (!name.isEmpty() && QFileInfo(archiveName).isFile()) {
        // Unpack into a private folder beside the database; the database
        // takes the new content only when it is complete and sound.
        QTemporaryDir temp(QFileInfo(database).absolutePath() +
                           QStringLiteral("/lumo-restore-XXXXXX"));
        restored = temp.isValid() && unpackDatabase(env, archiveName, temp.path(), errors);
        const QString unpacked = temp.path() + QLatin1Char('/') + QLatin1String(kDatabaseEntry);
        if (restored) {
            const QString problem = databaseProblem(unpacked);
            if (!problem.isEmpty()) {
                errors.push_back(fromQ(problem));
                restored = false;
            }
        }
        if (restored) {
            const PlaceResult placed = placeDatabase(unpacked, database, &env.progress);
            restored = placed.ok;
            if (placed.busy)
                errors.push_back(BackupErrorText(beCannotReadFile));
            if (!placed.ok)
                errors.push_back(fromQ(placed.error));
        }
    }

    if (env.sj) {
        try {
            env.sj->connectLumo1();
        } catch (const DataError& e) {
            errors.push_back(fromQ(e.text()));
        }
    }
    r.ok = restored;
    r.message = restored ? QStringLiteral("数据恢复完毕！") : failed;
    r.detail = archiveErrors(errors);
    return r;
}

} // namespace lumo
