// Intervals in SQL: the INTERVAL literals and column types, the operators and functions over
// intervals, and the conversion of values written into interval columns.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "functions/interval.h"
#include "functions/sql_function.h"
#include "functions/sql_values.h"
#include "sql/comparisons.h"
#include "sql/internal_names.h"
#include "sql/sql_lexer.h"
#include "types/datetime_parse.h"
#include "types/values.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"
#include "sql/keywords.h"

namespace kavexdb {
namespace detail {

namespace {

using TK = Token::Kind;

// Results of interval arithmetic and of the conversion functions carry the widest precisions.
constexpr int kWidest = 9;

[[noreturn]] void invalidArithmetic() { raise(ora::kInvalidDatetimeArithmetic); }

// ---- Literals and types -------------------------------------------------------------------

enum Field { kYear, kMonth, kDay, kHour, kMinute, kSecond, kNoField };

Field fieldAt(const TokenEditor& e, std::size_t i) {
    static const char* const kNames[] = {"YEAR", "MONTH", "DAY", "HOUR", "MINUTE", "SECOND"};
    for (int f = kYear; f <= kSecond; ++f)
        if (e.word(i, kNames[f])) return static_cast<Field>(f);
    return kNoField;
}

bool yearMonthField(Field f) { return f == kYear || f == kMonth; }

// "(n)" or "(n, m)" at i: the numbers, i moved past; false when there is none.
bool precisions(const TokenEditor& e, std::size_t& i, int& first, int& second, bool two) {
    if (!e.punct(i, '(')) return false;
    std::size_t k = e.next(i + 1);
    auto number = [&](int& out) {
        if (k >= e.size() || e.at(k).kind != TK::Number) invalidInterval();
        const std::string& digits = e.at(k).text;
        if (digits.size() > 2 || digits.find_first_not_of("0123456789") != std::string::npos ||
            std::stoi(digits) > 9)
            raise(ora::kDatetimePrecisionOutOfRange);
        out = std::stoi(digits);
        k = e.next(k + 1);
    };
    number(first);
    if (two && e.punct(k, ',')) {
        k = e.next(k + 1);
        number(second);
    }
    if (!e.punct(k, ')')) raise(ora::kMissingRightParenthesis);
    i = e.next(k + 1);
    return true;
}

struct Qualifier {
    Field start = kNoField, end = kNoField;
    int leading = 2, fraction = -1;
};

// The qualifier at i (after the literal's text); i moves past it.
Qualifier readQualifier(const TokenEditor& e, std::size_t& i) {
    Qualifier q;
    q.start = fieldAt(e, i);
    if (q.start == kNoField) raise(ora::kMissingKeyword);
    i = e.next(i + 1);
    int second = -1;
    precisions(e, i, q.leading, second, q.start == kSecond);
    q.fraction = second;
    q.end = q.start;
    if (e.word(i, "TO")) {
        i = e.next(i + 1);
        q.end = fieldAt(e, i);
        if (q.end == kNoField || q.end <= q.start || q.start == kSecond ||
            yearMonthField(q.start) != yearMonthField(q.end))
            raise(ora::kInvalidDatetimeField);
        i = e.next(i + 1);
        int unused = -1;
        if (q.end == kSecond) precisions(e, i, q.fraction, unused, false);
    }
    if (q.fraction < 0) q.fraction = q.end == kSecond ? 6 : 0;
    return q;
}

// The value of INTERVAL 'text' qualifier.
Interval literalValue(const std::string& text, const Qualifier& q) {
    std::size_t i = 0;
    auto blanks = [&] {
        while (i < text.size() && text[i] == ' ') ++i;
    };
    auto number = [&](long long& v, std::size_t& digits) {
        const std::size_t from = i;
        v = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            if (i - from >= 18) leadingPrecisionTooSmall();
            v = v * 10 + (text[i++] - '0');
        }
        digits = i - from;
        if (digits == 0) invalidInterval();
    };
    Interval v;
    blanks();
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) v.negative = text[i++] == '-';
    blanks();
    long long values[6] = {0, 0, 0, 0, 0, 0};
    long long nanos = 0;
    std::size_t digits = 0;
    number(values[q.start], digits);
    if (values[q.start] >= [&] {
            long long p = 1;
            for (int k = 0; k < q.leading; ++k) p *= 10;
            return p;
        }())
        leadingPrecisionTooSmall();
    Field f = q.start;
    while (f < q.end) {
        const Field nextField = static_cast<Field>(f + 1);
        const char separator = f == kYear ? '-' : f == kDay ? ' ' : ':';
        if (i >= text.size()) {
            if (yearMonthField(f)) invalidInterval();
            break;  // trailing time fields may be left out
        }
        if (text[i] != separator) invalidInterval();
        ++i;
        if (separator == ' ') blanks();
        number(values[nextField], digits);
        if (digits > 2) invalidInterval();
        f = nextField;
    }
    if (f == kSecond && q.end == kSecond && i < text.size() && text[i] == '.') {
        ++i;
        int used = 0;
        const std::size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            if (used < 9) nanos = nanos * 10 + (text[i] - '0'), ++used;
            ++i;
        }
        if (i == from) invalidInterval();
        for (; used < 9; ++used) nanos *= 10;
    }
    blanks();
    if (i != text.size()) invalidInterval();
    if (q.start != kMonth && values[kMonth] > 11) raise(ora::kInvalidMonth);
    if (q.start != kHour && values[kHour] > 23) raise(ora::kHourOutOfRange);
    if (q.start != kMinute && values[kMinute] > 59) raise(ora::kMinutesOutOfRange);
    if (q.start != kSecond && values[kSecond] > 59) raise(ora::kSecondsOutOfRange);
    v.leading = q.leading;
    if (yearMonthField(q.start)) {
        v.kind = Interval::Kind::YearMonth;
        v.months = values[kYear] * 12 + values[kMonth];
        v.fraction = 0;
    } else {
        v.kind = Interval::Kind::DaySecond;
        v.seconds = ((values[kDay] * 24 + values[kHour]) * 60 + values[kMinute]) * 60 + values[kSecond];
        v.nanos = nanos;
        v.fraction = q.fraction;
        roundFraction(v);
    }
    return v;
}

// YEAR [(p)] TO MONTH or DAY [(p)] TO SECOND [(s)] at k, as types and interval expressions
// write it; last is its last token.
struct TypeQualifier {
    bool yearMonth = false;
    int leading = 2, fraction = 6;
    std::size_t last = 0;
};

bool typeQualifier(const TokenEditor& e, std::size_t k, TypeQualifier& q) {
    const Field start = fieldAt(e, k);
    if (start != kYear && start != kDay) return false;
    q.yearMonth = start == kYear;
    q.fraction = q.yearMonth ? 0 : 6;
    k = e.next(k + 1);
    int unused = -1;
    const std::size_t open = k;
    if (e.punct(open, '(')) {
        // Only a precision, so that "f(x) DAY" (an alias) is left alone.
        const std::size_t number = e.next(open + 1);
        if (number >= e.size() || e.at(number).kind != TK::Number) return false;
    }
    precisions(e, k, q.leading, unused, false);
    if (!e.word(k, "TO") || fieldAt(e, e.next(k + 1)) != (q.yearMonth ? kMonth : kSecond))
        return false;
    q.last = e.next(k + 1);
    k = e.next(q.last + 1);
    if (!q.yearMonth && e.punct(k, '(')) {
        precisions(e, k, q.fraction, unused, false);
        q.last = e.previous(k);
    }
    return true;
}

// Whether the '(' at open starts a function's arguments rather than a parenthesised expression.
bool callsFunction(const TokenEditor& e, std::size_t open) {
    const std::size_t before = e.previous(open);
    if (!e.name(before)) return false;
    if (hasRole(e, before, kBeforeParenthesis)) return false;
    return true;
}

// The CAST word of the CAST( ... AS type) whose AS is at as; size() when there is none.
std::size_t castCallOf(const TokenEditor& e, std::size_t as) {
    int depth = 0;
    for (std::size_t k = e.previous(as); k < e.size(); k = e.previous(k)) {
        if (e.punct(k, ')')) ++depth;
        if (e.punct(k, '(') && depth-- == 0) {
            const std::size_t word = e.previous(k);
            return e.word(word, "CAST") ? word : e.size();
        }
    }
    return e.size();
}

// ---- Values as operands ---------------------------------------------------------------------

const char* typeName(const Interval& v) {
    return v.kind == Interval::Kind::YearMonth ? "INTERVAL YEAR TO MONTH" : "INTERVAL DAY TO SECOND";
}

// A signed count of nanoseconds split as seconds and nanoseconds into a day-second interval.
Interval daySecondOf(long long seconds, long long nanos, int fraction) {
    seconds += nanos / kNanosPerSecond;
    nanos %= kNanosPerSecond;
    if (nanos < 0) {
        nanos += kNanosPerSecond;
        --seconds;
    }
    Interval v;
    v.kind = Interval::Kind::DaySecond;
    v.leading = kWidest;
    v.fraction = fraction;
    if (seconds < 0) {
        v.negative = true;
        v.seconds = nanos == 0 ? -seconds : -seconds - 1;
        v.nanos = nanos == 0 ? 0 : kNanosPerSecond - nanos;
    } else {
        v.seconds = seconds;
        v.nanos = nanos;
    }
    return v;
}

long double signedNanos(const Interval& v) {
    const long double n = static_cast<long double>(v.seconds) * kNanosPerSecond + v.nanos;
    return v.negative ? -n : n;
}

Interval fromSignedNanos(long double total) {
    const long double whole = std::floor(total / kNanosPerSecond);
    const long long rest = std::llround(total - whole * kNanosPerSecond);
    if (std::fabs(whole) > 9.0e13L) leadingPrecisionTooSmall();
    return daySecondOf(static_cast<long long>(whole), rest, kWidest);
}

Interval yearMonthOf(long double months) {
    if (std::fabs(months) > 1.2e10L) leadingPrecisionTooSmall();
    Interval v;
    v.kind = Interval::Kind::YearMonth;
    v.leading = kWidest;
    v.fraction = 0;
    const long long m = static_cast<long long>(std::trunc(months));
    v.negative = m < 0;
    v.months = m < 0 ? -m : m;
    return v;
}

// A computed interval with the given precisions; the leading field widens as far as nine digits
// when the value needs it.
void resultChecked(sqlite3_context* ctx, Interval v, int leading, int fraction) {
    fitInterval(v, kWidest, fraction);
    v.leading = leading;
    resultInterval(ctx, v);
}

// interval + interval or - interval: the same kind only, with the wider of their precisions,
// so that a sum compares equal to a literal of the same type.
void combine(sqlite3_context* ctx, const Interval& x, const Interval& y, bool subtract) {
    if (x.kind != y.kind) invalidArithmetic();
    const int leading = std::max(x.leading, y.leading), fraction = std::max(x.fraction, y.fraction);
    if (x.kind == Interval::Kind::YearMonth) {
        const long double a = x.negative ? -static_cast<long double>(x.months) : x.months;
        const long double b = y.negative ? -static_cast<long double>(y.months) : y.months;
        return resultChecked(ctx, yearMonthOf(subtract ? a - b : a + b), leading, 0);
    }
    resultChecked(ctx,
                  fromSignedNanos(subtract ? signedNanos(x) - signedNanos(y)
                                           : signedNanos(x) + signedNanos(y)),
                  leading, fraction);
}

void scale(sqlite3_context* ctx, const Interval& x, sqlite3_value* number, bool divide) {
    const ValueKind k = valueKind(number);
    if (k != ValueKind::Number && k != ValueKind::Text) invalidArithmetic();
    const long double n = numberToDouble(numberArg(number));
    if (divide && n == 0) raise(ora::kDivisorIsZero);
    if (x.kind == Interval::Kind::YearMonth) {
        const long double m = x.negative ? -static_cast<long double>(x.months) : x.months;
        return resultChecked(ctx, yearMonthOf(divide ? m / n : m * n), x.leading, 0);
    }
    resultChecked(ctx, fromSignedNanos(divide ? signedNanos(x) / n : signedNanos(x) * n),
                  x.leading, x.fraction);
}

// A datetime moved by an interval: the datetime's own type.
void shiftDatetime(sqlite3_context* ctx, sqlite3_value* datetime, const Interval& by,
                   bool subtract) {
    const ValueKind k = valueKind(datetime);
    if (k == ValueKind::Number || k == ValueKind::Blob) invalidArithmetic();
    const DateTimeFields f = datetimeArg(datetime);
    DateTimeFields out = fieldsOf(shiftInstant(instantOf(f), by, subtract));
    if (k == ValueKind::Timestamp || k == ValueKind::TimestampTz) {
        out.tzHour = f.tzHour;
        out.tzMinute = f.tzMinute;
        return resultTimestamp(ctx, out, k == ValueKind::TimestampTz);
    }
    resultDate(ctx, out);
}

// datetime - datetime as an INTERVAL DAY(9) TO SECOND, of six fraction digits unless the
// difference needs nine.
Interval datetimeDifference(sqlite3_value* a, sqlite3_value* b) {
    const Instant x = utcInstantOf(datetimeArg(a)), y = utcInstantOf(datetimeArg(b));
    const long long days = static_cast<long long>(x.days) - y.days;
    const long long nanos = x.nanos - y.nanos;
    Interval v = daySecondOf(days * 86400 + nanos / kNanosPerSecond, nanos % kNanosPerSecond, 6);
    if (v.nanos % 1000 != 0) v.fraction = kWidest;
    return v;
}

// datetime - datetime in whole months: the calendar months between them, less the last one
// when it is not complete (the day and time of day of a not yet reached).
Interval monthsDifference(sqlite3_value* a, sqlite3_value* b) {
    const DateTimeFields x = datetimeArg(a), y = datetimeArg(b);
    long long months = (astronomicalYear(x.year) - astronomicalYear(y.year)) * 12LL +
                       (static_cast<long long>(x.month) - y.month);
    const Instant xi = instantOf(x), yi = instantOf(y);
    const long long xRest = (x.day - 1) * kNanosPerDay + (xi.nanos), yRest = (y.day - 1) * kNanosPerDay + yi.nanos;
    if (months > 0 && xRest < yRest) --months;
    if (months < 0 && xRest > yRest) ++months;
    return yearMonthOf(static_cast<long double>(months));
}

// ORA$IV_DIFF(a, b, kind, leading, fraction): (a - b) DAY(leading) TO SECOND(fraction) (kind 1)
// or YEAR(leading) TO MONTH (kind 0), of two datetimes or two intervals.
void intervalDifference(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(2, argv)) return sqlite3_result_null(ctx);
        const bool yearMonth = sqlite3_value_int(argv[2]) == 0;
        Interval x, y, v;
        if (intervalArg(argv[0], x) && intervalArg(argv[1], y)) {
            if (x.kind != y.kind || (x.kind == Interval::Kind::YearMonth) != yearMonth)
                invalidArithmetic();
            if (yearMonth) {
                const long long a = x.negative ? -x.months : x.months;
                const long long b = y.negative ? -y.months : y.months;
                v = yearMonthOf(static_cast<long double>(a - b));
            } else {
                v = fromSignedNanos(signedNanos(x) - signedNanos(y));
            }
        } else if (isDatetime(valueKind(argv[0])) && isDatetime(valueKind(argv[1]))) {
            v = yearMonth ? monthsDifference(argv[0], argv[1]) : datetimeDifference(argv[0], argv[1]);
        } else {
            invalidArithmetic();
        }
        fitInterval(v, sqlite3_value_int(argv[3]), sqlite3_value_int(argv[4]));
        resultInterval(ctx, v);
    });
}

// ---- SQL functions ------------------------------------------------------------------------

// TO_YMINTERVAL(text), TO_DSINTERVAL(text).
template <bool YearMonth>
void toInterval(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
        const ValueKind k = valueKind(argv[0]);
        if (k == ValueKind::Blob || isDatetime(k))
            raise(ora::kInconsistentDatatypes, "CHAR", k == ValueKind::Blob ? "BINARY" : "DATE");
        resultInterval(ctx, YearMonth ? yearMonthFromText(valueText(argv[0]))
                                      : daySecondFromText(valueText(argv[0])));
    });
}

std::string unitName(sqlite3_value* v) {
    std::string unit = asciiUpper(valueText(v));
    const std::size_t first = unit.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return unit.substr(first, unit.find_last_not_of(" \t") - first + 1);
}

// NUMTOYMINTERVAL(n, 'YEAR' | 'MONTH').
void numToYmInterval(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(2, argv)) return sqlite3_result_null(ctx);
        const long double n = numberToDouble(numberArg(argv[0]));
        const std::string unit = unitName(argv[1]);
        if (unit != "YEAR" && unit != "MONTH") raise(ora::kIllegalArgument);
        resultChecked(ctx, yearMonthOf(unit == "YEAR" ? n * 12 : n), kWidest, 0);
    });
}

// NUMTODSINTERVAL(n, 'DAY' | 'HOUR' | 'MINUTE' | 'SECOND').
void numToDsInterval(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(2, argv)) return sqlite3_result_null(ctx);
        const long double n = numberToDouble(numberArg(argv[0]));
        const std::string unit = unitName(argv[1]);
        const long double seconds = unit == "DAY"      ? 86400
                                    : unit == "HOUR"   ? 3600
                                    : unit == "MINUTE" ? 60
                                    : unit == "SECOND" ? 1
                                                       : 0;
        if (seconds == 0) raise(ora::kIllegalArgument);
        resultChecked(ctx, fromSignedNanos(n * seconds * kNanosPerSecond), kWidest, kWidest);
    });
}

// ORA$W_IV(value, kind, leading, fraction): a value written into an INTERVAL column.
void writeInterval(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        sqlite3_value* value = argv[0];
        if (sqlite3_value_type(value) == SQLITE_NULL) return sqlite3_result_null(ctx);
        const bool yearMonth = sqlite3_value_int(argv[1]) == 0;
        const char* expected = yearMonth ? "INTERVAL YEAR TO MONTH" : "INTERVAL DAY TO SECOND";
        Interval v;
        if (!intervalArg(value, v)) {
            const ValueKind k = valueKind(value);
            if (k != ValueKind::Text)
                raise(ora::kInconsistentDatatypes, expected,
                      k == ValueKind::Number ? "NUMBER"
                      : k == ValueKind::Blob ? "BINARY"
                                             : "DATE");
            const std::string text = valueText(value);
            v = yearMonth ? yearMonthFromText(text) : daySecondFromText(text);
        }
        if ((v.kind == Interval::Kind::YearMonth) != yearMonth)
            raise(ora::kInconsistentDatatypes, expected, typeName(v));
        fitInterval(v, sqlite3_value_int(argv[2]), sqlite3_value_int(argv[3]));
        resultInterval(ctx, v);
    });
}

// ORA$IV_KEY(v): for an interval, a text that sorts as the interval's value does, whatever its
// precisions: the kind, a sign that sorts negatives first, then fixed-width fields whose digits
// are complemented for negatives. Other values are handed back as they are.
void intervalKey(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Interval v;
    if (!intervalArg(argv[0], v)) return sqlite3_result_value(ctx, argv[0]);
    v.leading = kWidest;
    v.fraction = kWidest;
    std::string text = intervalText(v);
    if (v.negative) {
        text[0] = '!';  // below '+'
        for (char& c : text)
            if (c >= '0' && c <= '9') c = static_cast<char>('9' - (c - '0'));
    }
    text.insert(0, v.kind == Interval::Kind::YearMonth ? "Y" : "D");
    sqlite3_result_text(ctx, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

bool mentionsInterval(const TokenEditor& e, std::size_t first, std::size_t last) {
    for (std::size_t k = first; k <= last && k < e.size(); k = e.next(k + 1)) {
        const Token& t = e.at(k);
        Interval unused;
        if (t.kind == TK::String && parseIntervalText(literalContent(t).c_str(),
                                                      literalContent(t).size(), unused))
            return true;
        for (const char* w : {"TO_YMINTERVAL", "TO_DSINTERVAL", "NUMTOYMINTERVAL",
                              "NUMTODSINTERVAL", kOraIvDiff})
            if (e.word(k, w)) return true;
    }
    return false;
}

}  // namespace

void resultIntervalOfLength(sqlite3_context* ctx, Interval::Kind kind, long double length,
                            int leading, int fraction) {
    if (kind == Interval::Kind::YearMonth) return resultChecked(ctx, yearMonthOf(length), leading, 0);
    resultChecked(ctx, fromSignedNanos(length), leading, fraction);
}

bool intervalArg(sqlite3_value* v, Interval& out) {
    if (sqlite3_value_type(v) != SQLITE_TEXT) return false;
    return parseIntervalText(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                             static_cast<std::size_t>(sqlite3_value_bytes(v)), out);
}

void resultInterval(sqlite3_context* ctx, const Interval& value) {
    resultText(ctx, intervalText(value));
}

void rewriteIntervalAt(TokenEditor& e, std::size_t i) {
    std::size_t k = e.next(i + 1);
    if (k < e.size() && e[k].kind == TK::String) {
        const std::size_t literal = k;
        k = e.next(k + 1);
        const Qualifier q = readQualifier(e, k);
        const std::string text = intervalText(literalValue(literalContent(e[literal]), q));
        e.erase(i, e.previous(k) + 1);
        e[i].text = sqlStringLiteral(text);
        e[i].kind = TK::String;
        return;
    }
    // Types: the precisions move to the end, where SQLite's type names have them.
    TypeQualifier q;
    if (!typeQualifier(e, k, q)) return;
    const std::size_t as = e.previous(i);
    const std::size_t cast = e.word(as, "AS") ? castCallOf(e, as) : e.size();
    e.erase(i, q.last + 1);
    if (cast < e.size()) {
        // CAST(x AS INTERVAL ...) converts as a value written into such a column does.
        e[cast].text = kOraWIv;
        e[as].text = ",";
        e[i].text = std::string(q.yearMonth ? "0, " : "1, ") + std::to_string(q.leading) + ", " +
                    std::to_string(q.fraction);
        e[i].kind = TK::Number;
        return;
    }
    e[i].text = q.yearMonth ? "INTERVAL_YEAR_TO_MONTH(" + std::to_string(q.leading) + ")"
                            : "INTERVAL_DAY_TO_SECOND(" + std::to_string(q.leading) + "," +
                                  std::to_string(q.fraction) + ")";
    e[i].kind = TK::Word;
}

void rewriteIntervalExpressions(TokenEditor& e) {
    for (std::size_t close = e.next(0); close < e.size(); close = e.next(close + 1)) {
        if (!e.punct(close, ')')) continue;
        TypeQualifier q;
        if (!typeQualifier(e, e.next(close + 1), q)) continue;
        // The matching '(' and the one '-' at its top level.
        std::size_t open = e.size(), minus = e.size();
        int depth = 0, additive = 0;
        for (std::size_t k = e.previous(close); k < e.size(); k = e.previous(k)) {
            if (e.punct(k, ')')) ++depth;
            if (e.punct(k, '(') && depth-- == 0) {
                open = k;
                break;
            }
            if (depth == 0 && (e.punct(k, '-') || e.punct(k, '+') || e.punct(k, '|'))) {
                ++additive;
                minus = e.punct(k, '-') ? k : minus;
            }
        }
        if (open >= e.size() || callsFunction(e, open) || additive != 1 || minus >= e.size())
            continue;
        const std::size_t before = e.previous(minus);
        if (before >= e.size() || before == open || e.punct(before, '(') || e.punct(before, ',') ||
            e.punct(before, '*') || e.punct(before, '/'))
            continue;  // a sign, not a subtraction
        e[open].text = "ORA$IV_DIFF(";
        e[minus].text = ",";
        e[close].text = std::string(", ") + (q.yearMonth ? "0, " : "1, ") +
                        std::to_string(q.leading) + ", " + std::to_string(q.fraction) + ")";
        e.erase(close + 1, q.last + 1);
    }
}

IntervalComparisons::IntervalComparisons(const TokenEditor& e) {
    for (std::size_t op = e.next(0); op < e.size(); op = e.next(op + 1)) {
        const auto operands = comparisonAt(e, op);
        bool interval = false;
        for (const auto& o : operands) interval = interval || mentionsInterval(e, o.first, o.second);
        if (interval) operands_.insert(operands_.end(), operands.begin(), operands.end());
    }
}

void IntervalComparisons::wrap(TokenEditor& e) const {
    for (const auto& operand : operands_) {
        e[operand.first].text = "ORA$IV_KEY(" + e[operand.first].text;
        e[operand.second].text += ")";
    }
}

bool intervalOperation(sqlite3_context* ctx, char op, sqlite3_value* a, sqlite3_value* b) {
    Interval x, y;
    const bool ix = intervalArg(a, x), iy = intervalArg(b, y);
    if (!ix && !iy) {
        if (op != '-') return false;
        const ValueKind ka = valueKind(a), kb = valueKind(b);
        if (!isDatetime(ka) || !isDatetime(kb) || (ka == ValueKind::Date && kb == ValueKind::Date))
            return false;
        resultInterval(ctx, datetimeDifference(a, b));
        return true;
    }
    if (ix && iy) {
        if (op != '+' && op != '-') invalidArithmetic();
        combine(ctx, x, y, op == '-');
    } else if (ix) {  // interval op other
        if (op == '*' || op == '/')
            scale(ctx, x, b, op == '/');
        else if (op == '+' && isDatetime(valueKind(b)))
            shiftDatetime(ctx, b, x, false);
        else
            invalidArithmetic();
    } else {  // other op interval
        if (op == '*' && valueKind(a) == ValueKind::Number)
            scale(ctx, y, a, false);
        else if ((op == '+' || op == '-') && valueKind(a) != ValueKind::Number &&
                 valueKind(a) != ValueKind::Blob)
            shiftDatetime(ctx, a, y, op == '-');
        else
            invalidArithmetic();
    }
    return true;
}

bool extractFromInterval(sqlite3_context* ctx, const std::string& field, sqlite3_value* v) {
    Interval x;
    if (!intervalArg(v, x)) return false;
    const long long sign = x.negative ? -1 : 1;
    if (x.kind == Interval::Kind::YearMonth) {
        if (field == "YEAR") return sqlite3_result_int64(ctx, sign * (x.months / 12)), true;
        if (field == "MONTH") return sqlite3_result_int64(ctx, sign * (x.months % 12)), true;
    } else {
        if (field == "DAY") return sqlite3_result_int64(ctx, sign * (x.seconds / 86400)), true;
        if (field == "HOUR") return sqlite3_result_int64(ctx, sign * (x.seconds / 3600 % 24)), true;
        if (field == "MINUTE") return sqlite3_result_int64(ctx, sign * (x.seconds / 60 % 60)), true;
        if (field == "SECOND") {
            const long long whole = sign * (x.seconds % 60);
            if (x.nanos == 0) return sqlite3_result_int64(ctx, whole), true;
            char text[48];
            std::snprintf(text, sizeof text, "%s%lld.%09lld", x.negative ? "-" : "",
                          x.seconds % 60, x.nanos);
            resultNumber(ctx, numberFromText(text));
            return true;
        }
    }
    raise(ora::kInvalidExtractField);
}

namespace {

// TO_YMINTERVAL, TO_DSINTERVAL, NUMTOYMINTERVAL, NUMTODSINTERVAL and the write conversion
// ORA$W_IV(value, kind, leading, fraction) (kind 0 year-month, 1 day-second).
const FunctionRow kRows[] = {
    {"TO_YMINTERVAL", 1, 2, toInterval<true>, "INTERVAL YEAR(9) TO MONTH"},
    {"TO_DSINTERVAL", 1, 2, toInterval<false>, "INTERVAL DAY(9) TO SECOND(9)"},
    {"NUMTOYMINTERVAL", 2, 2, numToYmInterval, "INTERVAL YEAR(9) TO MONTH"},
    {"NUMTODSINTERVAL", 2, 2, numToDsInterval, "INTERVAL DAY(9) TO SECOND(9)"},
    {kOraWIv, 4, 4, writeInterval, nullptr},
    {kOraIvDiff, 5, 5, intervalDifference},  // DAY TO SECOND or YEAR TO MONTH, by its third argument
    {kOraIvKey, 1, 1, intervalKey, nullptr},
};

}  // namespace

const FunctionFamily kIntervalFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
