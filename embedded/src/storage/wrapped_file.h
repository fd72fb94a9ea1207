// A file opened through a VFS that wraps SQLite's default one (wal_writeback.h): the sqlite3_file
// SQLite gives holds the wrapper's own header first and, innerOffset bytes in, the base VFS's
// file object, to which the wrapper's methods pass the calls on.
#ifndef KAVEXDB_STORAGE_WRAPPED_FILE_H
#define KAVEXDB_STORAGE_WRAPPED_FILE_H

#include <sqlite3.h>

#include <cstddef>

namespace kavexdb {
namespace detail {

// The header every wrapper's file starts with: SQLite's sqlite3_file first, so that SQLite sees
// the wrapper's file as its own, then the base VFS's file object the calls go on to.
struct WrappedFile {
    sqlite3_file file{};
    sqlite3_file* inner = nullptr;
};

// Methods that pass every call on to the inner file, at the given version of
// sqlite3_io_methods; a wrapper replaces the ones it adds to.
sqlite3_io_methods passThroughMethods(int version);

// Opens the base VFS's file object within f; SQLite's code. On failure f has no methods, which
// tells SQLite there is nothing to close.
inline int openInnerFile(sqlite3_vfs* base, std::size_t innerOffset, const char* name,
                         sqlite3_file* f, int flags, int* outFlags, sqlite3_file** inner) {
    sqlite3_file* file = reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(f) + innerOffset);
    const int rc = base->xOpen(base, name, file, flags, outFlags);
    if (rc != SQLITE_OK) {
        // SQLite closes a file whose open failed only when its methods are set: these are not.
        if (file->pMethods) file->pMethods->xClose(file);
        f->pMethods = nullptr;
        return rc;
    }
    *inner = file;
    return SQLITE_OK;
}

}  // namespace detail
}  // namespace kavexdb

#endif
