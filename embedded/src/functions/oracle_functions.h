// Oracle's common single-row functions that SQLite lacks: DECODE, NVL2, GREATEST, LEAST, LPAD,
// RPAD and INITCAP, with Oracle's treatment of NULL and of the empty string (which is NULL).
#ifndef KAVEXDB_ORACLE_FUNCTIONS_H
#define KAVEXDB_ORACLE_FUNCTIONS_H

#include <sqlite3.h>

namespace kavexdb {
namespace detail {


}  // namespace detail
}  // namespace kavexdb

#endif
