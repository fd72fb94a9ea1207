// An exact running sum for SUM and AVG over NUMBER values. A non-integer NUMBER is held as the
// double nearest to it, whose shortest decimal text is the number written; the sum adds those
// decimals exactly (a 128-bit count of units of 10^-scale), so that a hundred thousand 0.1s make
// 10000 and not 10000.0000000002. Only the result is made a double again, the nearest one.
//
// SQLite hands aggregate state over zero-filled and never constructed: a zero-filled
// DecimalSum is an empty, exact sum.
#ifndef KAVEXDB_FUNCTIONS_DECIMAL_SUM_H
#define KAVEXDB_FUNCTIONS_DECIMAL_SUM_H

#include <cstdint>
#include <string>

#include "kavexdb/occi.h"

namespace kavexdb {
namespace detail {

struct DecimalSum {
    // Decimals the sum keeps at most; a value with more makes it inexact.
    static constexpr int kMaxScale = 24;

    // The sum in units of 10^-scale, as the two halves of a 128-bit integer: SQLite aligns
    // aggregate state to 8 bytes, an __int128 member would need 16.
    std::uint64_t unitsLow;
    std::int64_t unitsHigh;
    int scale;
    bool inexact;  // a value or the total left what the sum can hold exactly

    // Adds d (direction 1) or takes it out again (-1).
    void add(double d, int direction);
    void addWhole(std::int64_t w, int direction);
    // The sum, or the sum divided by count (at least 1), as the nearest double. Only while
    // !inexact.
    double value() const;
    double dividedBy(std::int64_t count) const;
    // The exact sum as decimal text ("-12.5"). Only while !inexact.
    std::string text() const;

  private:
    __int128 units() const {
        return static_cast<__int128>(static_cast<unsigned __int128>(
            (static_cast<unsigned __int128>(static_cast<std::uint64_t>(unitsHigh)) << 64) |
            unitsLow));
    }
    void setUnits(__int128 v) {
        unitsLow = static_cast<std::uint64_t>(v);
        unitsHigh = static_cast<std::int64_t>(v >> 64);
    }
};

// An exact running sum of any NUMBERs, in NUMBER arithmetic (rounded to NUMBER's digits), kept
// in the stored BLOB form (types/number_storage.h) so that it lives in aggregate state.
// Zero-filled, it is zero.
struct NumberSum {
    unsigned char length;
    unsigned char key[31];
    // Adds n (direction 1) or takes it out again (-1).
    void add(const oracle::occi::Number& n, int direction);
    oracle::occi::Number value() const;
};

}  // namespace detail
}  // namespace kavexdb

#endif
