// Oracle NUMBER arithmetic, computed exactly in decimal (libmpdec) and rounded once, as Oracle
// rounds a NUMBER: to twenty base-100 digits (40 significant digits, 39 when the leading
// base-100 digit is a single one), half away from zero. A result of 1E126 or more in magnitude
// is ORA-01426; one below 1E-130 becomes zero.
//
// Every operand must be non-NULL. Errors come as SQLException with Oracle's message.
#ifndef KAVEXDB_TYPES_NUMBER_ARITHMETIC_H
#define KAVEXDB_TYPES_NUMBER_ARITHMETIC_H

#include "kavexdb/occi.h"

namespace kavexdb {
namespace detail {
namespace numeric {

namespace occi = oracle::occi;

occi::Number add(const occi::Number& a, const occi::Number& b);
occi::Number subtract(const occi::Number& a, const occi::Number& b);
occi::Number multiply(const occi::Number& a, const occi::Number& b);
// ORA-01476 when b is zero.
occi::Number divide(const occi::Number& a, const occi::Number& b);
// MOD: a - b * TRUNC(a / b), the sign of a; a itself when b is zero.
occi::Number modulo(const occi::Number& a, const occi::Number& b);
// REMAINDER: a - b * N, N the integer nearest a / b (the even one on a tie); ORA-01476 when b
// is zero.
occi::Number remainder(const occi::Number& a, const occi::Number& b);
// POWER: exact for an integer exponent (then a negative base is allowed); a fractional one
// needs a base of at least zero (ORA-01428 otherwise). 0 to a negative power is ORA-01476.
occi::Number power(const occi::Number& base, const occi::Number& exponent);
// CEIL (up) or FLOOR: the nearest whole number above or below a.
occi::Number ceilOrFloor(const occi::Number& a, bool up);
occi::Number absolute(const occi::Number& a);
occi::Number squareRoot(const occi::Number& a);  // ORA-01428 below zero
occi::Number exponential(const occi::Number& a);
occi::Number naturalLog(const occi::Number& a);  // ORA-01428 at zero or below
// LOG(base, a): ORA-01428 unless base > 0, base != 1 and a > 0.
occi::Number logarithm(const occi::Number& base, const occi::Number& a);

}  // namespace numeric
}  // namespace detail
}  // namespace kavexdb

#endif
