#include "functions/numeric_functions.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "functions/catalog.h"
#include "functions/conversion_functions.h"
#include "functions/decimal_sum.h"
#include "functions/interval.h"
#include "functions/sql_function.h"
#include "functions/sql_values.h"
#include "sql/sqlite_errors.h"
#include "types/decimal.h"
#include "types/number_arithmetic.h"
#include "types/values.h"

namespace kavexdb {
namespace detail {

namespace {

// An argument as Oracle converts it to NUMBER: an integer where it is one.
struct Arg {
    bool integer = false;
    std::int64_t whole = 0;
    double real = 0;
};

Arg numericArg(sqlite3_value* v) {
    Arg a;
    if (sqlite3_value_type(v) == SQLITE_INTEGER) {
        a.integer = true;
        a.whole = sqlite3_value_int64(v);
        a.real = static_cast<double>(a.whole);
        return a;
    }
    if (sqlite3_value_type(v) == SQLITE_FLOAT) {
        a.real = sqlite3_value_double(v);
        return a;
    }
    const occi::Number n = numberArg(v);  // ORA-00932 / ORA-01722
    a.integer = numberToInt64(n, a.whole);
    a.real = a.integer ? static_cast<double>(a.whole) : numberToDouble(n);
    return a;
}

[[noreturn]] void outOfRange(double x) {
    raise(ora::kArgumentOutOfRange, plainNumberText(numberFromDouble(x)));
}

using Unary = double (*)(double);

// One-argument functions over reals; `domain` says which arguments they take. Exact, the
// function's decimal form (when it has one) computes in a query's result.
using Exact = occi::Number (*)(const occi::Number&);
template <Unary F, bool (*Domain)(double), Exact Decimal = nullptr>
void unary(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(1, argv)) return sqlite3_result_null(ctx);
        if (Decimal != nullptr && resultsMayBeWide(ctx))
            return resultComputed(ctx, Decimal(numberArg(argv[0])), true);
        const double x = numericArg(argv[0]).real;
        if (!Domain(x)) outOfRange(x);
        resultReal(ctx, F(x));
    });
}

double sqrtOf(double x) { return std::sqrt(x); }
double expOf(double x) { return std::exp(x); }
double lnOf(double x) { return std::log(x); }
double sinOf(double x) { return std::sin(x); }
double cosOf(double x) { return std::cos(x); }
double tanOf(double x) { return std::tan(x); }
double sinhOf(double x) { return std::sinh(x); }
double coshOf(double x) { return std::cosh(x); }
double tanhOf(double x) { return std::tanh(x); }
double asinOf(double x) { return std::asin(x); }
double acosOf(double x) { return std::acos(x); }
double atanOf(double x) { return std::atan(x); }

bool anywhere(double) { return true; }
bool notNegative(double x) { return x >= 0; }
bool positive(double x) { return x > 0; }
bool unitRange(double x) { return x >= -1 && x <= 1; }

void abs(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(1, argv)) return sqlite3_result_null(ctx);
        const Arg a = numericArg(argv[0]);
        if (a.integer && a.whole != std::numeric_limits<std::int64_t>::min())
            return sqlite3_result_int64(ctx, a.whole < 0 ? -a.whole : a.whole);
        resultComputed(ctx, numeric::absolute(numberArg(argv[0])), resultsMayBeWide(ctx));
    });
}

void sign(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(1, argv)) return sqlite3_result_null(ctx);
        const double x = numericArg(argv[0]).real;
        sqlite3_result_int(ctx, x > 0 ? 1 : x < 0 ? -1 : 0);
    });
}

// MOD(m, n): m - n * TRUNC(m / n), m itself when n is 0.
void mod(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(2, argv)) return sqlite3_result_null(ctx);
        const Arg m = numericArg(argv[0]), n = numericArg(argv[1]);
        if (m.integer && n.integer) {
            if (n.whole == 0) return sqlite3_result_int64(ctx, m.whole);
            return sqlite3_result_int64(ctx, n.whole == -1 ? 0 : m.whole % n.whole);
        }
        resultComputed(ctx, numeric::modulo(numberArg(argv[0]), numberArg(argv[1])),
                       resultsMayBeWide(ctx));
    });
}

// ROUND_TIES_TO_EVEN(n [, integer]): n rounded to integer places (0 when omitted; negative to
// the left of the decimal point), a value halfway between two going to the one whose last kept
// digit is even. Decimal digits, so 0.05 is the tie it is written as.
void roundTiesToEven(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        const double wanted = argc > 1 ? std::trunc(numericArg(argv[1]).real) : 0;
        const long places = static_cast<long>(wanted < -200 ? -200 : wanted > 200 ? 200 : wanted);
        Decimal d = decimalOf(numberArg(argv[0]));
        const long keep = static_cast<long>(d.exponent) + places;
        if (keep < 0) return resultNumber(ctx, occi::Number(0));
        const std::size_t k = static_cast<std::size_t>(keep);
        // The digits carry no trailing zeros: a tie is a single 5 after the kept digits.
        const bool tie = d.digits.size() == k + 1 && d.digits[k] == '5';
        const bool evenBefore = k == 0 || (d.digits[k - 1] - '0') % 2 == 0;
        if (tie && evenBefore)
            d.digits.resize(k);
        else
            d = roundDigits(std::move(d), keep);
        resultNumber(ctx, numberOf(std::move(d)));
    });
}

// POWER(m, n), exact for an integer n.
void power(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(2, argv)) return sqlite3_result_null(ctx);
        resultComputed(ctx, numeric::power(numberArg(argv[0]), numberArg(argv[1])),
                       resultsMayBeWide(ctx));
    });
}

// LOG(base, x)
void log(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(2, argv)) return sqlite3_result_null(ctx);
        if (resultsMayBeWide(ctx))
            return resultComputed(ctx, numeric::logarithm(numberArg(argv[0]), numberArg(argv[1])),
                                  true);
        const double base = numericArg(argv[0]).real, x = numericArg(argv[1]).real;
        if (base <= 0 || base == 1) outOfRange(base);
        if (x <= 0) outOfRange(x);
        resultReal(ctx, std::log(x) / std::log(base));
    });
}

void atan2(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(2, argv)) return sqlite3_result_null(ctx);
        resultReal(ctx, std::atan2(numericArg(argv[0]).real, numericArg(argv[1]).real));
    });
}

// SUM and AVG: an exact integer sum while it fits, a real one beside it; over intervals (all of
// one kind) the total length, giving an interval of that kind and the widest precisions met.
// SQLite hands the state over zero-filled, never constructed.
struct Sum {
    std::int64_t whole;
    double real;
    DecimalSum decimal;  // exact while whole no longer is
    bool inexact;
    std::int64_t count;
    int intervalKind;           // 0: numbers; 1 + Interval::Kind once an interval was added
    std::int64_t units, nanos;  // the signed total in months, or in seconds and nanoseconds
    int leading, fraction;
    // The exact total of the values stored as BLOBs (number_storage.h); added to the rest at the
    // end.
    bool wide;
    NumberSum wideTotal;
};

[[noreturn]] void mixedSum(bool intervalFirst) {
    raise(ora::kInconsistentDatatypes, intervalFirst ? "INTERVAL" : "NUMBER",
          intervalFirst ? "NUMBER" : "INTERVAL");
}

// Adds an interval's length; false when v is no interval.
bool accumulateInterval(Sum* s, sqlite3_value* v, int direction) {
    Interval iv;
    if (!intervalArg(v, iv)) {
        if (s->intervalKind != 0) mixedSum(true);
        return false;
    }
    const int kind = 1 + static_cast<int>(iv.kind);
    if (s->intervalKind == 0 && s->count != 0) mixedSum(false);
    if (s->intervalKind != 0 && s->intervalKind != kind)
        raise(ora::kInconsistentDatatypes, "INTERVAL YEAR TO MONTH", "INTERVAL DAY TO SECOND");
    s->intervalKind = kind;
    s->count += direction;
    const std::int64_t sign = iv.negative ? -direction : direction;
    s->units += sign * (iv.kind == Interval::Kind::YearMonth ? iv.months : iv.seconds);
    s->nanos += sign * iv.nanos;
    if (iv.leading > s->leading) s->leading = iv.leading;
    if (iv.fraction > s->fraction) s->fraction = iv.fraction;
    return true;
}

// Adds a value to the sum, or takes it out again (direction -1) as a window frame moves on.
void accumulate(sqlite3_context* ctx, sqlite3_value* v, int direction) {
    guardedSql(ctx, [&] {
        if (sqlite3_value_type(v) == SQLITE_NULL) return;
        auto* s = static_cast<Sum*>(sqlite3_aggregate_context(ctx, sizeof(Sum)));
        if (!s) return sqlite3_result_error_nomem(ctx);
        if (sqlite3_value_type(v) == SQLITE_TEXT && accumulateInterval(s, v, direction)) return;
        if (s->intervalKind != 0) mixedSum(true);
        if (isStoredNumber(v)) {
            const occi::Number n = storedNumberOf(v);
            s->count += direction;
            s->real += direction * numberToDouble(n);
            s->wideTotal.add(n, direction);
            s->wide = true;
            return;
        }
        const Arg a = numericArg(v);
        s->count += direction;
        s->real += direction * a.real;
        if (a.integer)
            s->decimal.addWhole(a.whole, direction);
        else
            s->decimal.add(a.real, direction);
        const bool fits =
            a.integer && (direction > 0 ? !__builtin_add_overflow(s->whole, a.whole, &s->whole)
                                        : !__builtin_sub_overflow(s->whole, a.whole, &s->whole));
        if (!fits) s->inexact = true;
    });
}

void sumStep(sqlite3_context* ctx, int, sqlite3_value** argv) { accumulate(ctx, argv[0], 1); }
void sumInverse(sqlite3_context* ctx, int, sqlite3_value** argv) { accumulate(ctx, argv[0], -1); }

// The interval total divided by divisor (1 for SUM); false when the sum is over numbers.
bool resultIntervalSum(sqlite3_context* ctx, const Sum* s, long double divisor) {
    if (s->intervalKind == 0) return false;
    const auto kind = static_cast<Interval::Kind>(s->intervalKind - 1);
    long double length = static_cast<long double>(s->units);
    if (kind == Interval::Kind::DaySecond)
        length = length * kNanosPerSecond + static_cast<long double>(s->nanos);
    resultIntervalOfLength(ctx, kind, length / divisor, s->leading, s->fraction);
    return true;
}

// The exact sum of numbers, or its quotient by the count, from an exact twin (SUM and AVG in a
// query's result); false when the sum is not exact or not of numbers.
bool resultExactSum(sqlite3_context* ctx, const Sum* s, bool average) {
    if (!resultsMayBeWide(ctx) || s->intervalKind != 0 || (s->inexact && s->decimal.inexact))
        return false;
    occi::Number total = s->inexact ? numberFromText(s->decimal.text()) : numberFromInt64(s->whole);
    if (s->wide) total = numeric::add(total, s->wideTotal.value());
    if (average) total = numeric::divide(total, numberFromInt64(s->count));
    resultComputed(ctx, total, true);
    return true;
}

void sumValue(sqlite3_context* ctx) {
    guardedSql(ctx, [&] {
        const auto* s = static_cast<Sum*>(sqlite3_aggregate_context(ctx, 0));
        if (!s || s->count == 0) return sqlite3_result_null(ctx);
        if (resultIntervalSum(ctx, s, 1) || resultExactSum(ctx, s, false)) return;
        if (s->wide) return resultReal(ctx, s->real);
        if (!s->inexact) return sqlite3_result_int64(ctx, s->whole);
        resultReal(ctx, s->decimal.inexact ? s->real : s->decimal.value());
    });
}

void avgValue(sqlite3_context* ctx) {
    guardedSql(ctx, [&] {
        const auto* s = static_cast<Sum*>(sqlite3_aggregate_context(ctx, 0));
        if (!s || s->count == 0) return sqlite3_result_null(ctx);
        if (resultIntervalSum(ctx, s, static_cast<long double>(s->count)) ||
            resultExactSum(ctx, s, true))
            return;
        if (s->wide) return resultReal(ctx, s->real / static_cast<double>(s->count));
        if (!s->inexact && s->whole % s->count == 0)
            return sqlite3_result_int64(ctx, s->whole / s->count);
        if (!s->decimal.inexact) return resultReal(ctx, s->decimal.dividedBy(s->count));
        const double total = s->inexact ? s->real : static_cast<double>(s->whole);
        resultReal(ctx, total / static_cast<double>(s->count));
    });
}

const FunctionRow kRows[] = {
    {"ABS", 1, 1, abs, "NUMBER"},
    {"SIGN", 1, 1, sign, "NUMBER"},
    {"MOD", 2, 2, mod, "NUMBER"},
    {"ROUND_TIES_TO_EVEN", 1, 2, roundTiesToEven, "NUMBER"},
    {"POWER", 2, 2, power, "NUMBER"},
    {"LOG", 2, 2, log, "NUMBER"},
    {"ATAN2", 2, 2, atan2, nullptr},
    {"SQRT", 1, 1, unary<sqrtOf, notNegative, numeric::squareRoot>, "NUMBER"},
    {"EXP", 1, 1, unary<expOf, anywhere, numeric::exponential>, "NUMBER"},
    {"LN", 1, 1, unary<lnOf, positive, numeric::naturalLog>, "NUMBER"},
    {"SIN", 1, 1, unary<sinOf, anywhere>, nullptr},
    {"COS", 1, 1, unary<cosOf, anywhere>, nullptr},
    {"TAN", 1, 1, unary<tanOf, anywhere>, nullptr},
    {"SINH", 1, 1, unary<sinhOf, anywhere>, nullptr},
    {"COSH", 1, 1, unary<coshOf, anywhere>, nullptr},
    {"TANH", 1, 1, unary<tanhOf, anywhere>, nullptr},
    {"ASIN", 1, 1, unary<asinOf, unitRange>, nullptr},
    {"ACOS", 1, 1, unary<acosOf, unitRange>, nullptr},
    {"ATAN", 1, 1, unary<atanOf, anywhere>, nullptr},
    // Of intervals an interval, of numbers a number: describe decides by the argument.
    {"SUM", 1, 1, nullptr, nullptr, true, sumStep, sumValue, sumValue, sumInverse},
    {"AVG", 1, 1, nullptr, nullptr, true, sumStep, avgValue, avgValue, sumInverse},
};

}  // namespace

const FunctionFamily kNumericFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
