#pragma once
// One data operation at a time. Every operation (closing backup, restore,
// export, both imports, compaction) holds the guard while it works: a
// second operation in this process, or in another process on the same
// application folder (lumoctl while the program runs), is refused until the
// first ends. Holding the guard, an operation first removes what an earlier
// interrupted run left behind.
#include "DataOperation.h"

#include <memory>

class QLockFile;

namespace lumo
{

class OperationGuard
{
public:
    explicit OperationGuard(const Folders& folders);
    ~OperationGuard();
    OperationGuard(const OperationGuard&) = delete;
    OperationGuard& operator=(const OperationGuard&) = delete;

    bool acquired() const { return m_acquired; }
    // The failure to return when the guard was not acquired.
    DataResult refusal() const;

    // True while an operation of this process holds a guard.
    static bool running();

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_acquired = false;
};

// The lock file of the operations in the application folder.
QString operationLockFile(const Folders& folders);

// Removes the temporary folders and files that an interrupted operation
// leaves: "lumo-restore-…", "lumo-unpack-…" and "lumo-snapshot-…" folders,
// the compaction's "lumo.~fc" with its journal, half-written ".part" and
// ".new" files, and an exchange file's database left in "bak". Only ever
// called while the guard is held.
void removeLeftovers(const Folders& folders);

} // namespace lumo
