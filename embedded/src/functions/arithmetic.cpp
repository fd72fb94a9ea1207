#include "functions/arithmetic.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/ora_messages.h"
#include "functions/conversion_functions.h"
#include "functions/interval.h"
#include "functions/sql_function.h"
#include "functions/sql_values.h"
#include "sql/internal_names.h"
#include "types/datetime_parse.h"
#include "types/values.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

namespace {

// An operand as a number: integer when it is one (whole is set), else real.
struct Operand {
    bool integer = false;
    sqlite3_int64 whole = 0;
    double real = 0;
};

Operand operand(sqlite3_value* v) {
    Operand o;
    if (sqlite3_value_type(v) == SQLITE_INTEGER) {
        o.integer = true;
        o.whole = sqlite3_value_int64(v);
        o.real = static_cast<double>(o.whole);
        return o;
    }
    if (sqlite3_value_type(v) == SQLITE_FLOAT) {
        o.real = sqlite3_value_double(v);
        return o;
    }
    const occi::Number n = numberArg(v);
    std::int64_t whole = 0;
    if (numberToInt64(n, whole)) {
        o.integer = true;
        o.whole = whole;
        o.real = static_cast<double>(whole);
    } else {
        o.real = numberToDouble(n);
    }
    return o;
}

// A datetime moved by a number of days: a DATE, to the nearest second.
void resultShiftedDate(sqlite3_context* ctx, sqlite3_value* datetime, sqlite3_value* days,
                       bool subtract) {
    const DateTimeFields f = datetimeArg(datetime);
    double d = operand(days).real;
    if (subtract) d = -d;
    if (!(std::fabs(d) < 1e8)) raise(ora::kYearOutOfRange);
    Instant at = instantOf(f);
    at.nanos -= f.fraction;
    at = addNanos(at, std::llround(d * 86400.0) * 1000000000LL);
    resultDate(ctx, fieldsOf(at));
}

void add(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(2, argv)) return sqlite3_result_null(ctx);
        if (intervalOperation(ctx, '+', argv[0], argv[1])) return;
        const ValueKind a = valueKind(argv[0]), b = valueKind(argv[1]);
        if (isDatetime(a) && isDatetime(b)) raise(ora::kDatePlusDate);
        if (isDatetime(a)) return resultShiftedDate(ctx, argv[0], argv[1], false);
        if (isDatetime(b)) return resultShiftedDate(ctx, argv[1], argv[0], false);
        const Operand x = operand(argv[0]), y = operand(argv[1]);
        sqlite3_int64 sum = 0;
        if (x.integer && y.integer && !__builtin_add_overflow(x.whole, y.whole, &sum))
            return sqlite3_result_int64(ctx, sum);
        resultReal(ctx, x.real + y.real);
    });
}

void subtract(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(2, argv)) return sqlite3_result_null(ctx);
        if (intervalOperation(ctx, '-', argv[0], argv[1])) return;  // TIMESTAMP differences too
        const ValueKind a = valueKind(argv[0]), b = valueKind(argv[1]);
        if (isDatetime(a) && isDatetime(b)) {
            const Instant x = instantOf(datetimeArg(argv[0])), y = instantOf(datetimeArg(argv[1]));
            const long long seconds =
                (static_cast<long long>(x.days) - y.days) * 86400LL + (x.nanos - y.nanos) / 1000000000LL;
            if (seconds % 86400 == 0) return sqlite3_result_int64(ctx, seconds / 86400);
            return resultReal(ctx, static_cast<double>(seconds) / 86400.0);
        }
        if (isDatetime(a)) return resultShiftedDate(ctx, argv[0], argv[1], true);
        if (isDatetime(b)) raise(ora::kInconsistentDatatypes, "NUMBER", "DATE");
        const Operand x = operand(argv[0]), y = operand(argv[1]);
        sqlite3_int64 difference = 0;
        if (x.integer && y.integer && !__builtin_sub_overflow(x.whole, y.whole, &difference))
            return sqlite3_result_int64(ctx, difference);
        resultReal(ctx, x.real - y.real);
    });
}

void multiply(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(2, argv)) return sqlite3_result_null(ctx);
        if (intervalOperation(ctx, '*', argv[0], argv[1])) return;
        const Operand x = operand(argv[0]), y = operand(argv[1]);
        sqlite3_int64 product = 0;
        if (x.integer && y.integer && !__builtin_mul_overflow(x.whole, y.whole, &product))
            return sqlite3_result_int64(ctx, product);
        resultReal(ctx, x.real * y.real);
    });
}

void divide(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(2, argv)) return sqlite3_result_null(ctx);
        if (intervalOperation(ctx, '/', argv[0], argv[1])) return;
        const Operand x = operand(argv[0]), y = operand(argv[1]);
        if (y.real == 0) raise(ora::kDivisorIsZero);
        if (x.integer && y.integer && y.whole != -1 && x.whole % y.whole == 0)
            return sqlite3_result_int64(ctx, x.whole / y.whole);
        resultReal(ctx, x.real / y.real);
    });
}

// a || b || ...: one call for a run of concatenations, so that a long chain is no deep nest.
void concatenate(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        std::string text;
        for (int i = 0; i < argc; ++i) appendOracleText(text, argv[i]);
        resultText(ctx, text);
    });
}

}  // namespace

namespace {

const FunctionRow kRows[] = {
    {kOraAdd, 2, 2, add, nullptr},
    {kOraSub, 2, 2, subtract, nullptr},
    {kOraMul, 2, 2, multiply, "NUMBER"},
    {kOraDiv, 2, 2, divide, "NUMBER"},
    {kOraCat, 2, 127, concatenate, "VARCHAR2(4000)"},
};

}  // namespace

const FunctionFamily kArithmeticFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
