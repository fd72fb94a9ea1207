// Copies of SQL values kept past a function call, and the order Oracle's ORDER BY gives two
// non-NULL values of one type, for the aggregates that sort what they collect (LISTAGG, KEEP).
#ifndef KAVEXDB_VALUE_ORDER_H
#define KAVEXDB_VALUE_ORDER_H

#include <sqlite3.h>

#include <memory>
#include <string>

#include "functions/function_args.h"

namespace kavexdb {
namespace detail {

struct ValueFree {
    void operator()(sqlite3_value* v) const { sqlite3_value_free(v); }
};
using ValueCopy = std::unique_ptr<sqlite3_value, ValueFree>;  // from sqlite3_value_dup

// Numbers by value, texts by their bytes (BINARY sort; dates in their storage form sort as
// dates), numbers before texts: -1, 0 or 1.
inline int compareSortKeys(sqlite3_value* a, sqlite3_value* b) {
    auto numeric = [](sqlite3_value* v) {
        const int t = sqlite3_value_type(v);
        return t == SQLITE_INTEGER || t == SQLITE_FLOAT;
    };
    if (numeric(a) && numeric(b)) {
        const double x = sqlite3_value_double(a), y = sqlite3_value_double(b);
        return x < y ? -1 : x > y ? 1 : 0;
    }
    if (numeric(a) != numeric(b)) return numeric(a) ? -1 : 1;
    const std::string x = textArg(a), y = textArg(b);
    return x.compare(y) < 0 ? -1 : x == y ? 0 : 1;
}

// Orders two rows of count ORDER BY keys; directions holds per key 'A' or 'D', then 'F' or 'L'
// for NULLS FIRST or LAST.
inline int compareKeyRows(const std::string& directions, sqlite3_value* const* a,
                          sqlite3_value* const* b, std::size_t count) {
    for (std::size_t i = 0; i < count && 2 * i + 1 < directions.size(); ++i) {
        const bool descending = directions[2 * i] == 'D';
        const bool nullsFirst = directions[2 * i + 1] == 'F';
        const bool an = sqlite3_value_type(a[i]) == SQLITE_NULL;
        const bool bn = sqlite3_value_type(b[i]) == SQLITE_NULL;
        int c = 0;
        if (an || bn)
            c = an == bn ? 0 : (an == nullsFirst ? -1 : 1);
        else
            c = descending ? -compareSortKeys(a[i], b[i]) : compareSortKeys(a[i], b[i]);
        if (c != 0) return c;
    }
    return 0;
}

}  // namespace detail
}  // namespace kavexdb

#endif
