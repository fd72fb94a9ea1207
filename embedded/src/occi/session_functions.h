// The functions and objects every session's database handle is given when it opens.
#ifndef KAVEXDB_OCCI_SESSION_FUNCTIONS_H
#define KAVEXDB_OCCI_SESSION_FUNCTIONS_H

#include <sqlite3.h>

namespace kavexdb {
namespace detail {

// Functions and objects every session has: NVL, NVL2, DECODE, GREATEST, LEAST, LPAD, RPAD,
// INITCAP, TO_CHAR, TO_NUMBER, TO_DATE, EMPTY_CLOB(), EMPTY_BLOB(), the SYSDATE(),
// SYSTIMESTAMP() and ORA$STR() the rewriting uses, the datetime collation, and the DUAL view (TEMP, so nothing is
// written to the file).
void registerSessionFunctions(sqlite3* db);

}  // namespace detail
}  // namespace kavexdb

#endif
