#include "functions/interval_order.h"

#include <cstring>

#include "base/errors.h"
#include "functions/interval.h"
#include "sql/sqlite_errors.h"

namespace kavexdb {
namespace detail {

const char* const kIntervalCollation = "ORA_INTERVAL";

namespace {

int bytesOrder(const char* a, std::size_t na, const char* b, std::size_t nb) {
    const int c = std::memcmp(a, b, na < nb ? na : nb);
    if (c != 0) return c;
    return na < nb ? -1 : na > nb ? 1 : 0;
}

template <class T>
int order(T x, T y) {
    return x < y ? -1 : x > y ? 1 : 0;
}

// Signed comparison of two intervals of one kind.
int intervalOrder(const Interval& x, const Interval& y) {
    const int sign = x.negative ? -1 : 1;
    if (x.negative != y.negative) {
        const bool xZero = x.months == 0 && x.seconds == 0 && x.nanos == 0;
        const bool yZero = y.months == 0 && y.seconds == 0 && y.nanos == 0;
        if (xZero && yZero) return 0;
        return sign;
    }
    int magnitude = x.kind == Interval::Kind::YearMonth ? order(x.months, y.months) : 0;
    if (x.kind == Interval::Kind::DaySecond) {
        magnitude = order(x.seconds, y.seconds);
        if (magnitude == 0) magnitude = order(x.nanos, y.nanos);
    }
    return sign * magnitude;
}

int compare(void*, int na, const void* pa, int nb, const void* pb) {
    const char* a = static_cast<const char*>(pa);
    const char* b = static_cast<const char*>(pb);
    const std::size_t la = static_cast<std::size_t>(na), lb = static_cast<std::size_t>(nb);
    Interval x, y;
    const bool ia = parseIntervalText(a, la, x), ib = parseIntervalText(b, lb, y);
    if (ia != ib) return ia ? -1 : 1;
    // Two kinds never meet in one column; should they meet elsewhere, year-month sorts first.
    if (!ia || x.kind != y.kind) {
        if (ia) return x.kind == Interval::Kind::YearMonth ? -1 : 1;
        return bytesOrder(a, la, b, lb);
    }
    return intervalOrder(x, y);
}

}  // namespace

void registerIntervalCollation(sqlite3* db) {
    const int rc = sqlite3_create_collation_v2(db, kIntervalCollation, SQLITE_UTF8, nullptr,
                                               compare, nullptr);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

}  // namespace detail
}  // namespace kavexdb
