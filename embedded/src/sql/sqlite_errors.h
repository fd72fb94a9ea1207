// SQLite failures as Oracle errors: one mapping for every call the client makes to SQLite.
#ifndef KAVEXDB_SQL_SQLITE_ERRORS_H
#define KAVEXDB_SQL_SQLITE_ERRORS_H

#include <sqlite3.h>

namespace kavexdb {
namespace detail {

// Maps a failed SQLite call on db (db may be null) to the nearest Oracle error and throws it.
// An "ORA-NNNNN: text" message raised inside SQLite (by a trigger, an SQL function or a value
// CHECK) comes back as that error.
[[noreturn]] void raiseSqlite(sqlite3* db, int rc);

}  // namespace detail
}  // namespace kavexdb

#endif
