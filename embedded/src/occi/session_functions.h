// The functions and objects every session's database handle is given when it opens.
#ifndef KAVEXDB_OCCI_SESSION_FUNCTIONS_H
#define KAVEXDB_OCCI_SESSION_FUNCTIONS_H

#include <sqlite3.h>

#include <string>

namespace kavexdb {
namespace detail {

// Functions and objects every session has: NVL, NVL2, DECODE, GREATEST, LEAST, LPAD, RPAD,
// INITCAP, TO_CHAR, TO_NUMBER, TO_DATE, EMPTY_CLOB(), EMPTY_BLOB(), the SYSDATE(),
// SYSTIMESTAMP() and ORA$STR() the rewriting uses, the datetime collation, and the DUAL view (TEMP, so nothing is
// written to the file); ORA$VALUE_TOO_LARGE names owner, the session user in upper case, in
// its message.
void registerSessionFunctions(sqlite3* db, const std::string& owner);

}  // namespace detail
}  // namespace kavexdb

#endif
