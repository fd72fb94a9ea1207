// INTERVAL values compare by their length of time, as Oracle compares them. Their storage texts
// sort that way only while every value is positive and has the same leading precision
// ("-00 02:00:00" would sort after "+01 00:00:00"), so interval columns are declared with this
// collation: comparisons with them, ORDER BY, GROUP BY, DISTINCT, MIN and MAX, UNION and their
// indexes follow it. Any other text sorts after every interval, by its bytes.
#ifndef KAVEXDB_INTERVAL_ORDER_H
#define KAVEXDB_INTERVAL_ORDER_H

#include <sqlite3.h>

namespace kavexdb {
namespace detail {

extern const char* const kIntervalCollation;  // its name in column definitions

void registerIntervalCollation(sqlite3* db);

}  // namespace detail
}  // namespace kavexdb

#endif
