#include "functions/arithmetic.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/ora_messages.h"
#include "functions/catalog.h"
#include "functions/conversion_functions.h"
#include "functions/interval.h"
#include "functions/sql_function.h"
#include "functions/sql_values.h"
#include "sql/internal_names.h"
#include "types/datetime_parse.h"
#include "types/number_arithmetic.h"
#include "types/short_decimal.h"
#include "types/values.h"

namespace kavexdb {
namespace detail {

namespace {

// An operand as a number: its 64-bit integer when it is one (integer is set); a REAL or an
// INTEGER also as a short decimal (the REAL's shortest text), which the fast path computes with;
// else the exact NUMBER of a text.
struct Operand {
    bool integer = false;
    sqlite3_int64 whole = 0;
    bool isShort = false;
    ShortDecimal shortValue;
    double realValue = 0;  // of a REAL
    occi::Number number;
    occi::Number exact() const {
        if (integer) return numberFromInt64(whole);
        return isShort ? numberOf(shortValue) : number;
    }
    double real() const {
        if (integer) return static_cast<double>(whole);
        return isShort ? realValue : numberToDouble(number);
    }

  private:
    static occi::Number numberOf(const ShortDecimal& v) {
        return numberFromText(decimalText(v.coefficient, 0) + "E" + std::to_string(v.exponent));
    }
};

Operand operand(sqlite3_value* v) {
    Operand o;
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_INTEGER) {
        o.integer = true;
        o.whole = sqlite3_value_int64(v);
        o.isShort = true;
        o.shortValue = shortDecimalOf(o.whole);
        return o;
    }
    if (type == SQLITE_FLOAT) {
        o.realValue = sqlite3_value_double(v);
        if (shortDecimalOf(o.realValue, o.shortValue)) {
            o.isShort = true;
            return o;
        }
    }
    o.number = numberArg(v);
    std::int64_t whole = 0;
    if (numberToInt64(o.number, whole)) {
        o.integer = true;
        o.whole = whole;
        o.isShort = true;
        o.shortValue = shortDecimalOf(whole);
    }
    return o;
}

// The exact result of op over the two operands, as resultComputed hands it back (wide from an
// exact twin).
void resultOf(sqlite3_context* ctx, occi::Number (*op)(const occi::Number&, const occi::Number&),
              const Operand& x, const Operand& y) {
    resultComputed(ctx, op(x.exact(), y.exact()), resultsMayBeWide(ctx));
}

// A short result as SQLite holds it; false when it needs the exact path (a wide result, a far
// exponent).
bool resultShort(sqlite3_context* ctx, const ShortDecimal& v) {
    StorageForm form;
    if (!storageFormOf(v, !resultsMayBeWide(ctx), form)) return false;
    if (form.integer)
        sqlite3_result_int64(ctx, form.whole);
    else
        sqlite3_result_double(ctx, form.real);
    return true;
}

// a op b of two INTEGERs when it fits 64 bits, before anything else is looked at.
bool integerArithmetic(sqlite3_context* ctx, char op, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) != SQLITE_INTEGER ||
        sqlite3_value_type(argv[1]) != SQLITE_INTEGER)
        return false;
    const sqlite3_int64 a = sqlite3_value_int64(argv[0]), b = sqlite3_value_int64(argv[1]);
    sqlite3_int64 r = 0;
    const bool overflow = op == '+'   ? __builtin_add_overflow(a, b, &r)
                          : op == '-' ? __builtin_sub_overflow(a, b, &r)
                                      : __builtin_mul_overflow(a, b, &r);
    if (overflow) return false;
    sqlite3_result_int64(ctx, r);
    return true;
}

// + - * of two short operands on the fast path; false when it does not apply.
bool shortArithmetic(sqlite3_context* ctx, char op, const Operand& x, const Operand& y) {
    if (!x.isShort || !y.isShort) return false;
    ShortDecimal r;
    const bool computed = op == '*' ? shortProduct(x.shortValue, y.shortValue, r)
                                    : shortSum(x.shortValue, y.shortValue, op == '-', r);
    return computed && resultShort(ctx, r);
}

// A datetime moved by a number of days: a DATE, to the nearest second.
void resultShiftedDate(sqlite3_context* ctx, sqlite3_value* datetime, sqlite3_value* days,
                       bool subtract) {
    const DateTimeFields f = datetimeArg(datetime);
    double d = operand(days).real();
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
        if (integerArithmetic(ctx, '+', argv)) return;
        if (intervalOperation(ctx, '+', argv[0], argv[1])) return;
        const ValueKind a = valueKind(argv[0]), b = valueKind(argv[1]);
        if (isDatetime(a) && isDatetime(b)) raise(ora::kDatePlusDate);
        if (isDatetime(a)) return resultShiftedDate(ctx, argv[0], argv[1], false);
        if (isDatetime(b)) return resultShiftedDate(ctx, argv[1], argv[0], false);
        const Operand x = operand(argv[0]), y = operand(argv[1]);
        if (shortArithmetic(ctx, '+', x, y)) return;
        resultOf(ctx, numeric::add, x, y);
    });
}

void subtract(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(2, argv)) return sqlite3_result_null(ctx);
        if (integerArithmetic(ctx, '-', argv)) return;
        if (intervalOperation(ctx, '-', argv[0], argv[1])) return;  // TIMESTAMP differences too
        const ValueKind a = valueKind(argv[0]), b = valueKind(argv[1]);
        if (isDatetime(a) && isDatetime(b)) {
            const Instant x = instantOf(datetimeArg(argv[0])), y = instantOf(datetimeArg(argv[1]));
            const long long seconds = (static_cast<long long>(x.days) - y.days) * 86400LL +
                                      (x.nanos - y.nanos) / 1000000000LL;
            if (seconds % 86400 == 0) return sqlite3_result_int64(ctx, seconds / 86400);
            return resultReal(ctx, static_cast<double>(seconds) / 86400.0);
        }
        if (isDatetime(a)) return resultShiftedDate(ctx, argv[0], argv[1], true);
        if (isDatetime(b)) raise(ora::kInconsistentDatatypes, "NUMBER", "DATE");
        const Operand x = operand(argv[0]), y = operand(argv[1]);
        if (shortArithmetic(ctx, '-', x, y)) return;
        resultOf(ctx, numeric::subtract, x, y);
    });
}

void multiply(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(2, argv)) return sqlite3_result_null(ctx);
        if (integerArithmetic(ctx, '*', argv)) return;
        if (intervalOperation(ctx, '*', argv[0], argv[1])) return;
        const Operand x = operand(argv[0]), y = operand(argv[1]);
        if (shortArithmetic(ctx, '*', x, y)) return;
        resultOf(ctx, numeric::multiply, x, y);
    });
}

void divide(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(2, argv)) return sqlite3_result_null(ctx);
        if (intervalOperation(ctx, '/', argv[0], argv[1])) return;
        const Operand x = operand(argv[0]), y = operand(argv[1]);
        if ((y.integer && y.whole == 0) || (y.isShort && y.shortValue.coefficient == 0))
            raise(ora::kDivisorIsZero);
        if (x.integer && y.integer && y.whole != -1 && x.whole % y.whole == 0)
            return sqlite3_result_int64(ctx, x.whole / y.whole);
        // Kept to 15 digits, a quotient of two doubles rounds as the exact one does.
        if (!resultsMayBeWide(ctx) && x.isShort && y.isShort)
            return resultReal(ctx, x.real() / y.real());
        resultOf(ctx, numeric::divide, x, y);
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
