#include "storage/wrapped_file.h"

namespace kavexdb {
namespace detail {

namespace {

sqlite3_file* inner(sqlite3_file* f) { return reinterpret_cast<WrappedFile*>(f)->inner; }
const sqlite3_io_methods* io(sqlite3_file* f) { return inner(f)->pMethods; }

}  // namespace

sqlite3_io_methods passThroughMethods(int version) {
    sqlite3_io_methods m{};
    m.iVersion = version;
    m.xClose = [](sqlite3_file* f) { return io(f)->xClose(inner(f)); };
    m.xRead = [](sqlite3_file* f, void* out, int n, sqlite3_int64 at) {
        return io(f)->xRead(inner(f), out, n, at);
    };
    m.xWrite = [](sqlite3_file* f, const void* data, int n, sqlite3_int64 at) {
        return io(f)->xWrite(inner(f), data, n, at);
    };
    m.xTruncate = [](sqlite3_file* f, sqlite3_int64 size) { return io(f)->xTruncate(inner(f), size); };
    m.xSync = [](sqlite3_file* f, int flags) { return io(f)->xSync(inner(f), flags); };
    m.xFileSize = [](sqlite3_file* f, sqlite3_int64* size) { return io(f)->xFileSize(inner(f), size); };
    m.xLock = [](sqlite3_file* f, int lock) { return io(f)->xLock(inner(f), lock); };
    m.xUnlock = [](sqlite3_file* f, int lock) { return io(f)->xUnlock(inner(f), lock); };
    m.xCheckReservedLock = [](sqlite3_file* f, int* out) {
        return io(f)->xCheckReservedLock(inner(f), out);
    };
    m.xFileControl = [](sqlite3_file* f, int op, void* arg) {
        return io(f)->xFileControl(inner(f), op, arg);
    };
    m.xSectorSize = [](sqlite3_file* f) { return io(f)->xSectorSize(inner(f)); };
    m.xDeviceCharacteristics = [](sqlite3_file* f) { return io(f)->xDeviceCharacteristics(inner(f)); };
    if (version < 2) return m;
    m.xShmMap = [](sqlite3_file* f, int page, int size, int extend, void volatile** out) {
        return io(f)->xShmMap(inner(f), page, size, extend, out);
    };
    m.xShmLock = [](sqlite3_file* f, int offset, int n, int flags) {
        return io(f)->xShmLock(inner(f), offset, n, flags);
    };
    m.xShmBarrier = [](sqlite3_file* f) { io(f)->xShmBarrier(inner(f)); };
    m.xShmUnmap = [](sqlite3_file* f, int deleteFlag) { return io(f)->xShmUnmap(inner(f), deleteFlag); };
    if (version < 3) return m;
    m.xFetch = [](sqlite3_file* f, sqlite3_int64 at, int n, void** out) {
        return io(f)->xFetch(inner(f), at, n, out);
    };
    m.xUnfetch = [](sqlite3_file* f, sqlite3_int64 at, void* p) {
        return io(f)->xUnfetch(inner(f), at, p);
    };
    return m;
}

}  // namespace detail
}  // namespace kavexdb
