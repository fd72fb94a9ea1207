// DATE and TIMESTAMP values compare as points in time, as Oracle compares them: a DATE with a
// TIMESTAMP as the TIMESTAMP it converts to, values with a time zone by their instant in UTC (a
// value without a zone is in the session's zone, UTC). Their storage texts sort that way only
// within one type and one zone, and never across years BC, so datetime columns are declared with
// this collation: comparisons with them, ORDER BY, GROUP BY, DISTINCT, MIN and MAX, UNION and
// their indexes all follow it. Text in the session's default formats compares as the datetime it
// spells (WHERE hiredate > '01-JUN-81'); any other text sorts after every datetime, by its bytes.
#ifndef KAVEXDB_DATETIME_ORDER_H
#define KAVEXDB_DATETIME_ORDER_H

#include <sqlite3.h>

#include <cstddef>

namespace kavexdb {
namespace detail {

extern const char* const kDatetimeCollation;  // its name in column definitions

void registerDatetimeCollation(sqlite3* db);

// The collation's order of two texts: negative, zero or positive.
int compareDatetimeTexts(const char* a, std::size_t na, const char* b, std::size_t nb);

}  // namespace detail
}  // namespace kavexdb

#endif
