#include "functions/sql_values.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/access.h"
#include "base/ora_messages.h"
#include "functions/column_sample.h"
#include "functions/conversion_functions.h"
#include "functions/interval.h"
#include "types/datetime_parse.h"
#include "types/decimal.h"
#include "types/number_storage.h"
#include "types/storage_text.h"

namespace kavexdb {
namespace detail {

namespace {

bool digits(const char* s, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

// "YYYY-MM-DD HH:MI:SS" at s (19 characters available).
bool dateShape(const char* s) {
    return digits(s, 0, 4) && s[4] == '-' && digits(s, 5, 2) && s[7] == '-' && digits(s, 8, 2) &&
           s[10] == ' ' && digits(s, 11, 2) && s[13] == ':' && digits(s, 14, 2) && s[16] == ':' &&
           digits(s, 17, 2);
}

}  // namespace

ValueKind valueKind(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_NULL:
            return ValueKind::Null;
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return ValueKind::Number;
        case SQLITE_BLOB:
            return isStoredNumber(v) ? ValueKind::Number : ValueKind::Blob;
        default:
            break;
    }
    return textKind(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                    static_cast<std::size_t>(sqlite3_value_bytes(v)));
}

ValueKind textKind(const char* s, std::size_t n) {
    if (n > 0 && s[0] == '-') ++s, --n;  // a year BC
    if (n < 19 || !dateShape(s)) return ValueKind::Text;
    if (n == 19) return ValueKind::Date;
    if (n == 29 && s[19] == '.' && digits(s, 20, 9)) return ValueKind::Timestamp;
    if (n == 35 && s[19] == '.' && digits(s, 20, 9) && (s[29] == '+' || s[29] == '-') &&
        digits(s, 30, 2) && s[32] == ':' && digits(s, 33, 2))
        return ValueKind::TimestampTz;
    return ValueKind::Text;
}

void sampleText(ColumnSample& sample, const char* text, std::size_t length) {
    if (sample.datetimeType < 0) return;
    const ValueKind k = textKind(text, length);
    int type = k == ValueKind::Date          ? 12
               : k == ValueKind::Timestamp   ? 187
               : k == ValueKind::TimestampTz ? 188
                                             : -1;
    Interval interval;
    if (type == -1 && parseIntervalText(text, length, interval)) {
        type = interval.kind == Interval::Kind::YearMonth ? 189 : 190;
        if (interval.leading > sample.intervalLeading) sample.intervalLeading = interval.leading;
        if (interval.fraction > sample.intervalFraction)
            sample.intervalFraction = interval.fraction;
    }
    sample.datetimeType = sample.datetimeType == 0 || sample.datetimeType == type ? type : -1;
}

bool isDatetime(ValueKind k) {
    return k == ValueKind::Date || k == ValueKind::Timestamp || k == ValueKind::TimestampTz;
}

std::string valueText(sqlite3_value* v) {
    const unsigned char* text = sqlite3_value_text(v);
    return text ? std::string(reinterpret_cast<const char*>(text),
                              static_cast<std::size_t>(sqlite3_value_bytes(v)))
                : std::string();
}

occi::Number numberArg(sqlite3_value* v) {
    switch (valueKind(v)) {
        case ValueKind::Number:
            switch (sqlite3_value_type(v)) {
                case SQLITE_INTEGER:
                    return numberFromInt64(sqlite3_value_int64(v));
                case SQLITE_FLOAT:
                    return numberFromDouble(sqlite3_value_double(v));
                default:
                    return storedNumberOf(v);
            }
        case ValueKind::Text:
            return numberFromText(valueText(v));
        case ValueKind::Blob:
            raise(ora::kInconsistentDatatypes, "NUMBER", "BINARY");
        default:
            raise(ora::kInconsistentDatatypes, "NUMBER", "DATE");
    }
}

DateTimeFields datetimeArg(sqlite3_value* v) {
    const ValueKind k = valueKind(v);
    if (k == ValueKind::Number) raise(ora::kInconsistentDatatypes, "DATE", "NUMBER");
    if (k == ValueKind::Blob) raise(ora::kInconsistentDatatypes, "DATE", "BINARY");
    return parseDefaultDateTime(valueText(v), true, true);
}

std::string oracleText(sqlite3_value* v) {
    std::string text;
    appendOracleText(text, v);
    return text;
}

void appendOracleText(std::string& out, sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_NULL:
            return;
        case SQLITE_INTEGER: {
            char digits[24];
            const auto end = std::to_chars(digits, digits + sizeof digits,
                                           static_cast<long long>(sqlite3_value_int64(v)))
                                 .ptr;
            out.append(digits, end);
            return;
        }
        case SQLITE_FLOAT:
            out += plainNumberText(numberFromDouble(sqlite3_value_double(v)));
            return;
        case SQLITE_BLOB:
            if (isStoredNumber(v))
                out += plainNumberText(storedNumberOf(v));
            else
                out += hexText(sqlite3_value_blob(v), static_cast<std::size_t>(sqlite3_value_bytes(v)));
            return;
        default:
            break;
    }
    if (isExactNumberText(v)) {
        out += plainNumberText(numberFromText(valueText(v)));
        return;
    }
    // Dates and timestamps are written in the session's default formats, as TO_CHAR does.
    const char* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
    const std::size_t size = static_cast<std::size_t>(sqlite3_value_bytes(v));
    if (!text) return;
    switch (textKind(text, size)) {
        case ValueKind::Date:
            out += dateFromText(std::string(text, size)).toText(kDefaultDateFormat);
            return;
        case ValueKind::Timestamp:
            out += timestampFromText(std::string(text, size)).toText(kDefaultTimestampFormat, 6);
            return;
        case ValueKind::TimestampTz:
            out += timestampFromText(std::string(text, size)).toText(kDefaultTimestampTzFormat, 6);
            return;
        default:
            out.append(text, size);
    }
}

bool anyNull(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
    return false;
}

bool resultIfNullOrNumber(sqlite3_context* ctx, sqlite3_value* v) {
    const int type = sqlite3_value_type(v);
    if (type != SQLITE_NULL && type != SQLITE_INTEGER && type != SQLITE_FLOAT && !isStoredNumber(v))
        return false;
    sqlite3_result_value(ctx, v);
    return true;
}

std::string hexText(const void* bytes, std::size_t size) {
    static const char kDigits[] = "0123456789ABCDEF";
    const unsigned char* b = static_cast<const unsigned char*>(bytes);
    std::string hex;
    hex.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        hex += kDigits[b[i] >> 4];
        hex += kDigits[b[i] & 15];
    }
    return hex;
}

namespace {

// Fifteen significant digits: what a double holds exactly for every decimal of that length.
double keepSignificantDigits(double d) {
    if (!std::isfinite(d) || d == 0) return d;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", d);
    return std::strtod(buf, nullptr);
}

}  // namespace

void resultReal(sqlite3_context* ctx, double d) {
    if (!std::isfinite(d)) raise(ora::kNumericOverflow);
    d = keepSignificantDigits(d);
    if (std::fabs(d) < 9007199254740992.0 && d == std::trunc(d))
        sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(d));
    else
        sqlite3_result_double(ctx, d);
}

void resultNumber(sqlite3_context* ctx, const occi::Number& n) {
    std::int64_t whole = 0;
    if (numberToInt64(n, whole))
        sqlite3_result_int64(ctx, whole);
    else
        sqlite3_result_double(ctx, numberToDouble(n));
}

void resultComputed(sqlite3_context* ctx, const occi::Number& n, bool wide) {
    std::int64_t whole = 0;
    if (numberToInt64(n, whole)) return sqlite3_result_int64(ctx, whole);
    if (Access::ndigits(n) <= 15 || !wide) return resultReal(ctx, numberToDouble(n));
    resultText(ctx, numberToPlainText(n));
    sqlite3_result_subtype(ctx, kExactNumber);
}

void resultStored(sqlite3_context* ctx, const occi::Number& n) {
    const CanonicalForm f = canonicalForm(decimalOf(n));
    switch (f.kind) {
        case CanonicalForm::Kind::Integer:
            return sqlite3_result_int64(ctx, f.whole);
        case CanonicalForm::Kind::Real:
            return sqlite3_result_double(ctx, f.real);
        case CanonicalForm::Kind::Blob:
            return sqlite3_result_blob(ctx, f.bytes.data(), static_cast<int>(f.bytes.size()),
                                       SQLITE_TRANSIENT);
    }
}

bool isStoredNumber(sqlite3_value* v) {
    return sqlite3_value_type(v) == SQLITE_BLOB &&
           storedNumber(sqlite3_value_blob(v), static_cast<std::size_t>(sqlite3_value_bytes(v)));
}

occi::Number storedNumberOf(sqlite3_value* v) {
    Decimal d;
    if (!storedNumber(sqlite3_value_blob(v), static_cast<std::size_t>(sqlite3_value_bytes(v)), &d))
        raise(ora::kInconsistentDatatypes, "NUMBER", "BINARY");
    return numberOf(std::move(d));
}

bool isExactNumberText(sqlite3_value* v) {
    return sqlite3_value_type(v) == SQLITE_TEXT && sqlite3_value_subtype(v) == kExactNumber;
}

void resultText(sqlite3_context* ctx, const std::string& text) {
    if (text.empty())
        sqlite3_result_null(ctx);  // Oracle has no empty strings
    else
        sqlite3_result_text(ctx, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void resultDate(sqlite3_context* ctx, const DateTimeFields& f) {
    resultText(ctx, dateToStorage(
                        occi::Date(nullptr, f.year, f.month, f.day, f.hour, f.minute, f.second)));
}

void resultTimestamp(sqlite3_context* ctx, const DateTimeFields& f, bool withTimeZone) {
    resultText(ctx,
               timestampToStorage(occi::Timestamp(nullptr, f.year, f.month, f.day, f.hour, f.minute,
                                                  f.second, f.fraction, withTimeZone ? f.tzHour : 0,
                                                  withTimeZone ? f.tzMinute : 0),
                                  withTimeZone));
}

}  // namespace detail
}  // namespace kavexdb
