// Oracle's numeric functions SQLite lacks or computes differently.
#include <cmath>
#include <cstdlib>
#include <string>

#include "base/ora_messages.h"
#include "functions/extended_functions.h"
#include "functions/function_args.h"
#include "functions/sql_function.h"
#include "sql/internal_names.h"
#include "functions/sql_values.h"
#include "types/number_arithmetic.h"
#include "types/values.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

namespace {

// BITAND(a, b) of integers.
void bitand_(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (isNullArg(argv[0]) || isNullArg(argv[1])) return sqlite3_result_null(ctx);
        sqlite3_result_int64(ctx, integerArg(argv[0]) & integerArg(argv[1]));
    });
}

// REMAINDER(n2, n1) = n2 - n1 * N, N the integer nearest n2 / n1 (the even one at .5).
void remainder_(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (isNullArg(argv[0]) || isNullArg(argv[1])) return sqlite3_result_null(ctx);
        Decimal a, b;
        decimalArg(argv[0], a);
        decimalArg(argv[1], b);
        if (b.isZero()) raise(ora::kDivisorIsZero);
        if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER && sqlite3_value_type(argv[1]) == SQLITE_INTEGER) {
            const long long x = sqlite3_value_int64(argv[0]), y = sqlite3_value_int64(argv[1]);
            long long q = x / y, r = x % y;
            // nearest integer quotient, ties to even
            const long long twice = 2 * (r < 0 ? -r : r), ay = y < 0 ? -y : y;
            if (twice > ay || (twice == ay && (q % 2 != 0))) {
                q += ((x < 0) != (y < 0)) ? -1 : 1;
                r = x - q * y;
            }
            return sqlite3_result_int64(ctx, r);
        }
        resultComputed(ctx, numeric::remainder(numberArg(argv[0]), numberArg(argv[1])),
                       resultsMayBeWide(ctx));
    });
}

// WIDTH_BUCKET(expr, min, max, buckets): 0 below the range, buckets + 1 at or above its end.
void widthBucket(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
        for (int i = 1; i < 4; ++i)
            if (isNullArg(argv[i])) raise(ora::kWidthBucketArgument, i + 1);
        const long long buckets = integerArg(argv[3]);
        if (buckets < 1) raise(ora::kWidthBucketArgument, 4);
        const double x = sqlite3_value_double(argv[0]);
        const double lo = sqlite3_value_double(argv[1]), hi = sqlite3_value_double(argv[2]);
        if (lo == hi) raise(ora::kWidthBucketArgument, 3);
        long long bucket;
        if (lo < hi)
            bucket = x < lo ? 0 : x >= hi ? buckets + 1
                                          : static_cast<long long>(std::floor((x - lo) * buckets / (hi - lo))) + 1;
        else
            bucket = x > lo ? 0 : x <= hi ? buckets + 1
                                          : static_cast<long long>(std::floor((lo - x) * buckets / (lo - hi))) + 1;
        sqlite3_result_int64(ctx, bucket);
    });
}

// NANVL(n2, n1): n1 when n2 is not a number. SQLite stores no NaN, so only NULL stays NULL.
void nanvl(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0]) || isNullArg(argv[1])) return sqlite3_result_null(ctx);
    if (sqlite3_value_type(argv[0]) == SQLITE_FLOAT && std::isnan(sqlite3_value_double(argv[0])))
        return sqlite3_result_value(ctx, argv[1]);
    sqlite3_result_value(ctx, argv[0]);
}

double binaryArg(sqlite3_value* v) {
    if (isDatetime(valueKind(v))) raise(ora::kInconsistentDatatypes, "BINARY_DOUBLE", "DATE");
    if (sqlite3_value_type(v) == SQLITE_TEXT) return binaryFromText(textArg(v));
    if (sqlite3_value_type(v) == SQLITE_BLOB) return numberToDouble(numberArg(v));
    return sqlite3_value_double(v);
}

// ORA$B_ADD, _SUB, _MUL, _DIV(a, b): arithmetic with a BINARY_DOUBLE operand, and ORA$F_ADD,
// ... with a BINARY_FLOAT one and no BINARY_DOUBLE (rounded to single precision), in IEEE
// binary floating point as Oracle computes them: no rounding to decimal, and a division by zero
// is an infinity (or NaN, which SQLite holds as NULL).
template <char Op, bool Single>
void binaryArithmetic(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (isNullArg(argv[0]) || isNullArg(argv[1])) return sqlite3_result_null(ctx);
        const double a = binaryArg(argv[0]), b = binaryArg(argv[1]);
        const double r = Op == '+' ? a + b : Op == '-' ? a - b : Op == '*' ? a * b : a / b;
        sqlite3_result_double(ctx, Single ? singlePrecision(r) : r);
    });
}

// TO_BINARY_DOUBLE / TO_BINARY_FLOAT(expr [, fmt [, nls]]) of numbers and number texts.
void toBinaryDouble(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
        sqlite3_result_double(ctx, binaryArg(argv[0]));
    });
}

void toBinaryFloat(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
        sqlite3_result_double(ctx, singlePrecision(binaryArg(argv[0])));
    });
}

}  // namespace

namespace {

// BITAND, REMAINDER, WIDTH_BUCKET, NANVL, TO_BINARY_DOUBLE, TO_BINARY_FLOAT.
const FunctionRow kRows[] = {
    {"BITAND", 2, 2, bitand_, "NUMBER"},
    {"REMAINDER", 2, 2, remainder_, "NUMBER"},
    {"WIDTH_BUCKET", 4, 4, widthBucket, nullptr},
    {"NANVL", 2, 2, nanvl, nullptr},
    {"TO_BINARY_DOUBLE", 1, 3, toBinaryDouble, "BINARY_DOUBLE"},
    {"TO_BINARY_FLOAT", 1, 3, toBinaryFloat, "BINARY_FLOAT"},
    {kOraBinaryAdd, 2, 2, binaryArithmetic<'+', false>, "BINARY_DOUBLE"},
    {kOraBinarySub, 2, 2, binaryArithmetic<'-', false>, "BINARY_DOUBLE"},
    {kOraBinaryMul, 2, 2, binaryArithmetic<'*', false>, "BINARY_DOUBLE"},
    {kOraBinaryDiv, 2, 2, binaryArithmetic<'/', false>, "BINARY_DOUBLE"},
    {kOraFloatAdd, 2, 2, binaryArithmetic<'+', true>, "BINARY_FLOAT"},
    {kOraFloatSub, 2, 2, binaryArithmetic<'-', true>, "BINARY_FLOAT"},
    {kOraFloatMul, 2, 2, binaryArithmetic<'*', true>, "BINARY_FLOAT"},
    {kOraFloatDiv, 2, 2, binaryArithmetic<'/', true>, "BINARY_FLOAT"},
};

}  // namespace

const FunctionFamily kNumberFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
