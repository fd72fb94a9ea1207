// The fast path of NUMBER arithmetic on what SQLite stores: a decimal of at most 19 significant
// digits as a coefficient and a power of ten (an INTEGER, or a REAL read as the shortest decimal
// that gives it back), summed and multiplied exactly in 128 bits. Whatever leaves that (long
// coefficients, far exponents) is for number_arithmetic.h.
#ifndef KAVEXDB_TYPES_SHORT_DECIMAL_H
#define KAVEXDB_TYPES_SHORT_DECIMAL_H

#include <cstdint>
#include <string>

namespace kavexdb {
namespace detail {

// value = coefficient * 10^exponent.
struct ShortDecimal {
    __int128 coefficient = 0;
    int exponent = 0;
};

// v / 10^scale as plain decimal text ("-12.5" for -125 and 1; scale >= 0).
std::string decimalText(__int128 v, int scale);

ShortDecimal shortDecimalOf(std::int64_t whole);
// False for infinities and NaN.
bool shortDecimalOf(double d, ShortDecimal& out);

// a + b, a - b, a * b; false when the exact result might not fit (then nothing is set).
bool shortSum(const ShortDecimal& a, const ShortDecimal& b, bool subtract, ShortDecimal& out);
bool shortProduct(const ShortDecimal& a, const ShortDecimal& b, ShortDecimal& out);

// How SQLite is to hold a result: a whole number within 64 bits, or the double nearest to the
// value (exact for 15 significant digits or fewer). keep15 rounds a longer value to 15
// significant digits first (half away from zero); without it a longer value is no storage form.
struct StorageForm {
    bool integer = false;
    std::int64_t whole = 0;
    double real = 0;
};
bool storageFormOf(ShortDecimal v, bool keep15, StorageForm& out);

}  // namespace detail
}  // namespace kavexdb

#endif
