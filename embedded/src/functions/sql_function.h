// Registering one of the client's SQL functions with a session's database.
#ifndef KAVEXDB_SQL_FUNCTION_H
#define KAVEXDB_SQL_FUNCTION_H

#include <sqlite3.h>

namespace kavexdb {
namespace detail {

using SqlFunction = void (*)(sqlite3_context*, int, sqlite3_value**);

// Defines name with args arguments (-1: any number) in UTF-8. A deterministic function (the same
// result for the same arguments, no side effects) may be used in indexes and views; SYSDATE and
// the like are not. Throws the Oracle form of SQLite's error.
void defineFunction(sqlite3* db, const char* name, int args, SqlFunction fn,
                    bool deterministic = true);

}  // namespace detail
}  // namespace kavexdb

#endif
