// ORA$VALUE_TOO_LARGE(table, column, length, maximum), which the length check of a VARCHAR2 or
// CHAR column calls once a value is longer than the column allows (value_checks.h): it fails
// with ORA-12899, naming the column with its owner, the session's user, and the value's length.
#ifndef KAVEXDB_FUNCTIONS_VALUE_TOO_LARGE_H
#define KAVEXDB_FUNCTIONS_VALUE_TOO_LARGE_H

#include <sqlite3.h>

#include <string>

namespace kavexdb {
namespace detail {

// Defines the function on a session's handle; owner is the session user, upper case.
void registerValueTooLarge(sqlite3* db, const std::string& owner);

}  // namespace detail
}  // namespace kavexdb

#endif
