// The working form of a Number: sign, decimal digits and exponent, as in Number's own fields
// (value = 0.d1d2d3... * 10^exponent), but in a string that can grow while rounding.
#ifndef KAVEXDB_DECIMAL_H
#define KAVEXDB_DECIMAL_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/errors.h"

namespace kavexdb {
namespace detail {

struct Decimal {
    bool negative = false;
    int exponent = 0;
    std::string digits;  // '0'..'9', no leading or trailing zeros; empty for zero
    bool isZero() const { return digits.empty(); }
};

// Oracle NUMBER's limits: twenty base-100 digits (40 decimal digits, 39 when the leading
// base-100 digit has one; 38 always fit), magnitudes from 1E-130 to below 1E126.
constexpr std::size_t kMaxDigits = 40;
constexpr int kMaxExponent = 126;
constexpr int kMinExponent = -129;

Decimal decimalOf(const occi::Number& n);  // n must not be NULL
// Normalises, rounds to NUMBER's digits and checks the range (ORA-01426 beyond it; tiny values
// become zero, as Oracle's NUMBER does).
occi::Number numberOf(Decimal d);
// Parses "[+-]digits[.digits][e[+-]digits]" with surrounding blanks; false when malformed.
bool parseDecimal(const std::string& text, Decimal& out);
// Keeps the leading `keep` digits, rounding half away from zero.
Decimal roundDigits(Decimal d, long keep);
// Rounds to `scale` digits after the decimal point.
inline Decimal roundToScale(Decimal d, int scale) {
    long keep = static_cast<long>(d.exponent) + scale;
    return roundDigits(std::move(d), keep);
}

}  // namespace detail
}  // namespace kavexdb

#endif
