#include "FaultyVfs.h"

#include "FileFaults.h"

#include <sqlite3.h>

#include <cstring>

namespace lumo::test
{

namespace
{

sqlite3_vfs* realVfs = nullptr;
sqlite3_vfs faultyVfs;

struct FaultyFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* real(sqlite3_file* f)
{
    return reinterpret_cast<FaultyFile*>(f)->real;
}

int fClose(sqlite3_file* f)
{
    return real(f)->pMethods->xClose(real(f));
}
int fRead(sqlite3_file* f, void* p, int n, sqlite3_int64 off)
{
    return real(f)->pMethods->xRead(real(f), p, n, off);
}
int fWrite(sqlite3_file* f, const void* p, int n, sqlite3_int64 off)
{
    if (!faults::allowWrite(size_t(n)))
        return SQLITE_FULL;
    return real(f)->pMethods->xWrite(real(f), p, n, off);
}
int fTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    return real(f)->pMethods->xTruncate(real(f), size);
}
int fSync(sqlite3_file* f, int flags)
{
    return real(f)->pMethods->xSync(real(f), flags);
}
int fFileSize(sqlite3_file* f, sqlite3_int64* size)
{
    return real(f)->pMethods->xFileSize(real(f), size);
}
int fLock(sqlite3_file* f, int level)
{
    return real(f)->pMethods->xLock(real(f), level);
}
int fUnlock(sqlite3_file* f, int level)
{
    return real(f)->pMethods->xUnlock(real(f), level);
}
int fCheckReservedLock(sqlite3_file* f, int* out)
{
    return real(f)->pMethods->xCheckReservedLock(real(f), out);
}
int fFileControl(sqlite3_file* f, int op, void* arg)
{
    return real(f)->pMethods->xFileControl(real(f), op, arg);
}
int fSectorSize(sqlite3_file* f)
{
    return real(f)->pMethods->xSectorSize(real(f));
}
int fDeviceCharacteristics(sqlite3_file* f)
{
    return real(f)->pMethods->xDeviceCharacteristics(real(f));
}
int fShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** p)
{
    return real(f)->pMethods->xShmMap(real(f), region, size, extend, p);
}
int fShmLock(sqlite3_file* f, int offset, int n, int flags)
{
    return real(f)->pMethods->xShmLock(real(f), offset, n, flags);
}
void fShmBarrier(sqlite3_file* f)
{
    real(f)->pMethods->xShmBarrier(real(f));
}
int fShmUnmap(sqlite3_file* f, int deleteFlag)
{
    return real(f)->pMethods->xShmUnmap(real(f), deleteFlag);
}
// No memory-mapped access: every page goes through xRead and xWrite.
int fFetch(sqlite3_file*, sqlite3_int64, int, void** p)
{
    *p = nullptr;
    return SQLITE_OK;
}
int fUnfetch(sqlite3_file*, sqlite3_int64, void*)
{
    return SQLITE_OK;
}

const sqlite3_io_methods methods = {
    3,
    fClose,
    fRead,
    fWrite,
    fTruncate,
    fSync,
    fFileSize,
    fLock,
    fUnlock,
    fCheckReservedLock,
    fFileControl,
    fSectorSize,
    fDeviceCharacteristics,
    fShmMap,
    fShmLock,
    fShmBarrier,
    fShmUnmap,
    fFetch,
    fUnfetch,
};

int fOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags)
{
    auto* ff = reinterpret_cast<FaultyFile*>(f);
    ff->real = reinterpret_cast<sqlite3_file*>(ff + 1);
    std::memset(ff->real, 0, size_t(realVfs->szOsFile));
    const int rc = realVfs->xOpen(realVfs, name, ff->real, flags, outFlags);
    ff->base.pMethods = ff->real->pMethods ? &methods : nullptr;
    return rc;
}

} // namespace

void installFaultyVfs()
{
    if (realVfs)
        return;
    sqlite3_initialize();
    realVfs = sqlite3_vfs_find(nullptr);
    faultyVfs = *realVfs;
    faultyVfs.szOsFile = int(sizeof(FaultyFile)) + realVfs->szOsFile;
    faultyVfs.zName = "lumo-faulty";
    faultyVfs.pNext = nullptr;
    faultyVfs.xOpen = fOpen;
    sqlite3_vfs_register(&faultyVfs, 1);
}

} // namespace lumo::test
