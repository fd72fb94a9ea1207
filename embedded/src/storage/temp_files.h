// SQLite's temporary files counted against the opening thread's TempSpace (base/temp_space.h):
// each write that makes a file longer reserves the bytes it adds, and fails with SQLITE_FULL
// when the space refuses them; truncating and closing give bytes back.
#ifndef KAVEXDB_STORAGE_TEMP_FILES_H
#define KAVEXDB_STORAGE_TEMP_FILES_H

#include <sqlite3.h>

#include <cstddef>

namespace kavexdb {
namespace detail {

// Bytes a counted file needs before the base VFS's own file object.
std::size_t tempFileHeaderSize();

// Whether SQLite opens a file of these flags as a temporary one, and a TempSpace is current.
bool countsAsTemp(int flags);

// Opens the file through base, its object placed innerOffset bytes into f (at least
// tempFileHeaderSize()), and wraps it so that it counts against TempSpace::current().
int openTempFile(sqlite3_vfs* base, std::size_t innerOffset, const char* name, sqlite3_file* f,
                 int flags, int* outFlags);

}  // namespace detail
}  // namespace kavexdb

#endif
