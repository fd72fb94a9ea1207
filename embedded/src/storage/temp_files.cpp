#include "storage/temp_files.h"

#include <new>

#include "base/temp_space.h"
#include "storage/wrapped_file.h"

namespace kavexdb {
namespace detail {

namespace {

struct TempFile : WrappedFile {
    TempSpace* space = nullptr;
    sqlite3_int64 counted = 0;  // bytes reserved: the file's length as written
};

TempFile* temp(sqlite3_file* f) { return reinterpret_cast<TempFile*>(f); }
sqlite3_file* inner(sqlite3_file* f) { return temp(f)->inner; }
const sqlite3_io_methods* io(sqlite3_file* f) { return inner(f)->pMethods; }

int tempClose(sqlite3_file* f) {
    TempFile* t = temp(f);
    t->space->release(t->counted);
    sqlite3_file* file = t->inner;
    t->~TempFile();
    return file->pMethods->xClose(file);
}

int tempWrite(sqlite3_file* f, const void* data, int n, sqlite3_int64 at) {
    TempFile* t = temp(f);
    const sqlite3_int64 end = at + n;
    if (end > t->counted) {
        if (!t->space->reserve(end - t->counted)) return SQLITE_FULL;
        t->counted = end;
    }
    return io(f)->xWrite(inner(f), data, n, at);
}

int tempTruncate(sqlite3_file* f, sqlite3_int64 size) {
    TempFile* t = temp(f);
    const int rc = io(f)->xTruncate(inner(f), size);
    if (rc == SQLITE_OK && size < t->counted) {
        t->space->release(t->counted - size);
        t->counted = size;
    }
    return rc;
}

const sqlite3_io_methods tempMethods = [] {
    sqlite3_io_methods m = passThroughMethods(1);
    m.xClose = tempClose;
    m.xWrite = tempWrite;
    m.xTruncate = tempTruncate;
    return m;
}();

}  // namespace

std::size_t tempFileHeaderSize() { return sizeof(TempFile); }

bool countsAsTemp(int flags) {
    constexpr int kTemporary = SQLITE_OPEN_TEMP_DB | SQLITE_OPEN_TEMP_JOURNAL |
                               SQLITE_OPEN_TRANSIENT_DB | SQLITE_OPEN_SUBJOURNAL;
    return (flags & kTemporary) != 0 && TempSpace::current() != nullptr;
}

int openTempFile(sqlite3_vfs* base, std::size_t innerOffset, const char* name, sqlite3_file* f,
                 int flags, int* outFlags) {
    sqlite3_file* file = nullptr;
    const int rc = openInnerFile(base, innerOffset, name, f, flags, outFlags, &file);
    if (rc != SQLITE_OK) return rc;
    TempFile* t = new (f) TempFile;
    t->inner = file;
    t->space = TempSpace::current();
    f->pMethods = &tempMethods;
    return SQLITE_OK;
}

}  // namespace detail
}  // namespace kavexdb
