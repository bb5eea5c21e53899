#include "OperationGuard.h"

#include "Folders.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace lumo
{

namespace
{

int runningCount = 0;

} // namespace

QString operationLockFile(const Folders& folders)
{
    return appFolder(folders) + QStringLiteral("/lumo.lck");
}

OperationGuard::OperationGuard(const Folders& folders)
{
    if (runningCount > 0)
        return;
    QDir().mkpath(appFolder(folders));
    m_lock = std::make_unique<QLockFile>(operationLockFile(folders));
    // A lock left by a process that no longer runs (killed part-way) is
    // taken over; a live holder is never considered stale by age.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0))
        return;
    m_acquired = true;
    ++runningCount;
    removeLeftovers(folders);
}

OperationGuard::~OperationGuard()
{
    if (m_acquired) {
        --runningCount;
        m_lock->unlock();
    }
}

DataResult OperationGuard::refusal() const
{
    DataResult r;
    if (m_lock && m_lock->error() != QLockFile::LockFailedError) {
        // The folder does not let the lock file be made: say so rather than
        // blame another operation.
        r.message = QStringLiteral("数据操作没有进行：无法在程序目录中建立文件 %1！")
                        .arg(QDir::toNativeSeparators(m_lock->fileName()));
        return r;
    }
    r.message = QStringLiteral("另一项数据操作（备份、恢复、导出、导入或整理）正在进行，"
                               "请等它完成后再试！");
    return r;
}

bool OperationGuard::running()
{
    return runningCount > 0;
}

void removeLeftovers(const Folders& folders)
{
    QStringList dirs{appFolder(folders)};
    if (!dirs.contains(currentFolder(folders)))
        dirs << currentFolder(folders);
    for (const QString& path : dirs) {
        QDir dir(path);
        const QFileInfoList temps =
            dir.entryInfoList({QStringLiteral("lumo-restore-*"), QStringLiteral("lumo-unpack-*"),
                               QStringLiteral("lumo-snapshot-*")},
                              QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QFileInfo& t : temps)
            QDir(t.absoluteFilePath()).removeRecursively();
        for (const QString& name : {QStringLiteral("lumo.~fc"), QStringLiteral("lumo.~fc-journal"),
                                    QStringLiteral("lumo.~fc-wal"), QStringLiteral("lumo.~fc-shm"),
                                    QStringLiteral("lumo.fc.new"), QStringLiteral("fcsj.su.part"),
                                    QStringLiteral("fcxx.vvv.part")})
            removeIfPresent(dir.filePath(name));
    }
    QDir bak(backupFolder(folders));
    if (bak.exists()) {
        for (const QString& name :
             bak.entryList({QStringLiteral("*.bak.part")}, QDir::Files | QDir::Hidden))
            removeIfPresent(bak.filePath(name));
        removeIfPresent(bak.filePath(QStringLiteral("lumo.fc")));
    }
}

} // namespace lumo
