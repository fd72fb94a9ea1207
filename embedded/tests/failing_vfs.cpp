#include "failing_vfs.h"

#include <sqlite3.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace clienttest {
namespace {

std::atomic<long long> writeBudget{-1};
std::atomic<int> failingReads{0};

sqlite3_vfs* base() { return sqlite3_vfs_find(nullptr); }

// Our file: the methods pointer, then whether it is a write-ahead log, then the base VFS's file.
struct File {
    sqlite3_file methods;
    bool wal;
    sqlite3_file* inner() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};

File* self(sqlite3_file* f) { return reinterpret_cast<File*>(f); }
sqlite3_file* inner(sqlite3_file* f) { return self(f)->inner(); }

bool spend(long long amount) {
    long long left = writeBudget.load();
    while (left >= 0) {
        if (left < amount) {
            writeBudget.store(0);
            return false;
        }
        if (writeBudget.compare_exchange_weak(left, left - amount)) return true;
    }
    return true;
}

int xClose(sqlite3_file* f) {
    int rc = inner(f)->pMethods ? inner(f)->pMethods->xClose(inner(f)) : SQLITE_OK;
    f->pMethods = nullptr;
    return rc;
}
int xRead(sqlite3_file* f, void* buf, int amt, sqlite3_int64 off) {
    if (self(f)->wal) {
        int n = failingReads.load();
        while (n > 0 && !failingReads.compare_exchange_weak(n, n - 1)) {
        }
        if (n > 0) {
            std::memset(buf, 0, static_cast<std::size_t>(amt));
            return SQLITE_IOERR_SHORT_READ;
        }
    }
    return inner(f)->pMethods->xRead(inner(f), buf, amt, off);
}
int xWrite(sqlite3_file* f, const void* buf, int amt, sqlite3_int64 off) {
    if (!spend(amt)) return SQLITE_FULL;
    return inner(f)->pMethods->xWrite(inner(f), buf, amt, off);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 size) {
    return inner(f)->pMethods->xTruncate(inner(f), size);
}
int xSync(sqlite3_file* f, int flags) { return inner(f)->pMethods->xSync(inner(f), flags); }
int xFileSize(sqlite3_file* f, sqlite3_int64* size) {
    return inner(f)->pMethods->xFileSize(inner(f), size);
}
int xLock(sqlite3_file* f, int l) { return inner(f)->pMethods->xLock(inner(f), l); }
int xUnlock(sqlite3_file* f, int l) { return inner(f)->pMethods->xUnlock(inner(f), l); }
int xCheckReservedLock(sqlite3_file* f, int* out) {
    return inner(f)->pMethods->xCheckReservedLock(inner(f), out);
}
int xFileControl(sqlite3_file* f, int op, void* arg) {
    return inner(f)->pMethods->xFileControl(inner(f), op, arg);
}
int xSectorSize(sqlite3_file* f) { return inner(f)->pMethods->xSectorSize(inner(f)); }
int xDeviceCharacteristics(sqlite3_file* f) {
    return inner(f)->pMethods->xDeviceCharacteristics(inner(f));
}
int xShmMap(sqlite3_file* f, int page, int size, int extend, void volatile** out) {
    return inner(f)->pMethods->xShmMap(inner(f), page, size, extend, out);
}
int xShmLock(sqlite3_file* f, int offset, int n, int flags) {
    return inner(f)->pMethods->xShmLock(inner(f), offset, n, flags);
}
void xShmBarrier(sqlite3_file* f) { inner(f)->pMethods->xShmBarrier(inner(f)); }
int xShmUnmap(sqlite3_file* f, int deleteFlag) {
    return inner(f)->pMethods->xShmUnmap(inner(f), deleteFlag);
}
// Memory-mapped reads would bypass xRead: never offered.
int xFetch(sqlite3_file*, sqlite3_int64, int, void** out) {
    *out = nullptr;
    return SQLITE_OK;
}
int xUnfetch(sqlite3_file*, sqlite3_int64, void*) { return SQLITE_OK; }

const sqlite3_io_methods kMethods = {3,
                                     xClose,
                                     xRead,
                                     xWrite,
                                     xTruncate,
                                     xSync,
                                     xFileSize,
                                     xLock,
                                     xUnlock,
                                     xCheckReservedLock,
                                     xFileControl,
                                     xSectorSize,
                                     xDeviceCharacteristics,
                                     xShmMap,
                                     xShmLock,
                                     xShmBarrier,
                                     xShmUnmap,
                                     xFetch,
                                     xUnfetch};

int xOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags) {
    File* file = self(f);
    file->methods.pMethods = nullptr;
    file->wal = (flags & SQLITE_OPEN_WAL) != 0;
    int rc = base()->xOpen(base(), name, file->inner(), flags, outFlags);
    if (rc == SQLITE_OK) file->methods.pMethods = &kMethods;
    return rc;
}

sqlite3_vfs vfs;

}  // namespace

const char* failingVfs() {
    static std::once_flag once;
    std::call_once(once, [] {
        vfs = *base();
        vfs.iVersion = 1;  // no xSetSystemCall & co: they would reach the base's state
        vfs.szOsFile = static_cast<int>(sizeof(File)) + base()->szOsFile;
        vfs.zName = "kavex-failing";
        vfs.pNext = nullptr;
        vfs.xOpen = xOpen;
        sqlite3_vfs_register(&vfs, 0);
    });
    return vfs.zName;
}

void failWritesAfter(long long bytes) { writeBudget.store(bytes); }
void failNextReads(int count) { failingReads.store(count); }
void resetFailingVfs() {
    writeBudget.store(-1);
    failingReads.store(0);
}

}  // namespace clienttest
