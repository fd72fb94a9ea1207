#include "functions/cast.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "functions/sql_function.h"
#include "functions/sql_values.h"
#include "sql/internal_names.h"
#include "sql/sql_context.h"
#include "types/calendar.h"
#include "types/datetime_parse.h"
#include "types/decimal.h"
#include "types/declared_type.h"
#include "types/storage_text.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

namespace {

const char* const kCastFunction = kOraCast;
const char* const kCastOrDefaultFunction = kOraCastOr;

// A target type: its words before any '(' in upper case, and what the type table makes of it.
struct Target {
    std::string base;
    DeclaredType type;
};

std::string baseName(const std::string& type) {
    std::string base;
    for (char c : type) {
        if (c == '(') break;
        const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (blank && (base.empty() || base.back() == ' ')) continue;
        base += blank ? ' ' : c;
    }
    while (!base.empty() && base.back() == ' ') base.pop_back();
    return asciiUpper(base);
}

bool isOneOf(const std::string& name, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (name == n) return true;
    return false;
}

bool isNumberType(const std::string& base) {
    return isOneOf(base, {"NUMBER", "INTEGER", "INT", "SMALLINT", "FLOAT", "DECIMAL", "DEC",
                          "NUMERIC", "REAL", "DOUBLE PRECISION"});
}

Target targetOf(const std::string& type) {
    Target t;
    t.base = baseName(type);
    if (!isNumberType(t.base) &&
        !isOneOf(t.base, {"VARCHAR2", "VARCHAR", "NVARCHAR2", "CHAR", "NCHAR", "CLOB", "NCLOB",
                          "DATE", "TIMESTAMP", "TIMESTAMP WITH TIME ZONE",
                          "TIMESTAMP WITH LOCAL TIME ZONE", "RAW", "BLOB"}))
        raise(ora::kInvalidDatatype);
    t.type = mapDeclaredType(type);
    if (isOneOf(t.base, {"DECIMAL", "DEC", "NUMERIC"}))
        t.type = mapDeclaredType("NUMBER" + type.substr(type.find('(') == std::string::npos
                                                             ? type.size()
                                                             : type.find('(')));
    return t;
}

const char* typeName(ValueKind k) {
    switch (k) {
        case ValueKind::Number: return "NUMBER";
        case ValueKind::Date: return "DATE";
        case ValueKind::Timestamp: return "TIMESTAMP";
        case ValueKind::TimestampTz: return "TIMESTAMP WITH TIME ZONE";
        case ValueKind::Blob: return "BINARY";
        default: return "CHAR";
    }
}

[[noreturn]] void inconsistent(const std::string& expected, ValueKind got) {
    raise(ora::kInconsistentDatatypes, expected, typeName(got));
}

void castToNumber(sqlite3_context* ctx, sqlite3_value* v, ValueKind kind, const Target& t) {
    if (kind != ValueKind::Number && kind != ValueKind::Text) inconsistent("NUMBER", kind);
    occi::Number n = numberArg(v);
    const int precision = t.type.precision, scale = t.type.scale;
    if (t.base != "FLOAT" && precision > 0 && scale > -127) {
        Decimal d = roundToScale(decimalOf(n), scale);
        if (!d.isZero() && d.exponent > precision - scale) raise(ora::kValueLargerThanPrecision);
        n = numberOf(d);
    }
    resultComputed(ctx, n, resultsMayBeWide(ctx));
}

long characters(const std::string& text) {
    long count = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

void castToText(sqlite3_context* ctx, sqlite3_value* v, const Target& t) {
    std::string text = oracleText(v);
    if (t.type.dataType == 112) return resultText(ctx, text);  // CLOB
    const long length = characters(text);
    if (length > t.type.size) raise(ora::kDataValueOutOfRange);
    if (t.type.dataType == 96) text.append(static_cast<std::size_t>(t.type.size - length), ' ');
    resultText(ctx, text);
}

// Moves the fraction to `digits` decimals, half away from zero; the zone fields are kept.
DateTimeFields roundedFraction(const DateTimeFields& f, int digits) {
    long long unit = 1;
    for (int i = digits; i < 9; ++i) unit *= 10;
    const long long rounded = (static_cast<long long>(f.fraction) + unit / 2) / unit * unit;
    DateTimeFields out = fieldsOf(addNanos(instantOf(f), rounded - f.fraction));
    out.tzHour = f.tzHour;
    out.tzMinute = f.tzMinute;
    return out;
}

void castToDatetime(sqlite3_context* ctx, sqlite3_value* v, ValueKind kind, const Target& t,
                    sqlite3_value* format) {
    const int target = t.type.dataType;
    const bool zoned = target == 188;
    if (kind != ValueKind::Text && !isDatetime(kind))
        inconsistent(target == 12 ? "DATE" : target == 187 ? "TIMESTAMP" : t.base, kind);
    DateTimeFields f;
    if (isDatetime(kind)) {
        const std::string text = valueText(v);
        f = storageFields(text.data(), text.size());
    } else if (format && sqlite3_value_type(format) != SQLITE_NULL) {
        f = parseDateTime(valueText(v), valueText(format));
    } else {
        f = parseDefaultDateTime(valueText(v), target != 12, zoned);
    }
    if (target == 232 && (f.tzHour != 0 || f.tzMinute != 0)) {
        // WITH LOCAL TIME ZONE holds the instant in the session's zone (UTC).
        f = fieldsOf(utcInstantOf(f));
    }
    if (target == 12) return resultDate(ctx, roundedFraction(f, 0));
    const DateTimeFields out = roundedFraction(f, t.type.scale);
    resultTimestamp(ctx, out, zoned);
}

void convert(sqlite3_context* ctx, sqlite3_value* v, const Target& t, sqlite3_value* format) {
    const ValueKind kind = valueKind(v);
    if (kind == ValueKind::Null) return sqlite3_result_null(ctx);
    switch (t.type.dataType) {
        case 1:
        case 96:
        case 112:
            return castToText(ctx, v, t);
        case 12:
        case 187:
        case 188:
        case 232:
            return castToDatetime(ctx, v, kind, t, format);
        default:
            return castToNumber(ctx, v, kind, t);
    }
}

// The target of a call's type argument, kept with the statement: the type is a constant.
const Target& targetArg(sqlite3_context* ctx, sqlite3_value** argv) {
    if (const auto* cached = static_cast<const Target*>(sqlite3_get_auxdata(ctx, 1)))
        return *cached;
    thread_local Target current;  // for this call, should SQLite not keep the copy
    current = targetOf(valueText(argv[1]));
    sqlite3_set_auxdata(ctx, 1, new Target(current),
                        [](void* p) { delete static_cast<Target*>(p); });
    return current;
}

// ORA$CAST(value, type [, fmt [, nls]])
void cast(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] { convert(ctx, argv[0], targetArg(ctx, argv), argc > 2 ? argv[2] : nullptr); });
}

// ORA$CAST_OR(value, type, default [, fmt [, nls]]): the default converted instead of a value
// that does not convert.
void castOrDefault(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        const Target& target = targetArg(ctx, argv);
        sqlite3_value* format = argc > 3 ? argv[3] : nullptr;
        try {
            convert(ctx, argv[0], target, format);
        } catch (const occi::SQLException&) {
            convert(ctx, argv[2], target, format);
        }
    });
}

// The first top-level word `upper` in [from, to) (to when none).
std::size_t topLevelWord(const TokenEditor& e, std::size_t from, std::size_t to,
                         const char* upper) {
    int depth = 0;
    for (std::size_t k = from; k < to; ++k) {
        if (e.punct(k, '(')) ++depth;
        if (e.punct(k, ')')) --depth;
        if (depth == 0 && e.word(k, upper)) return k;
    }
    return to;
}

}  // namespace

void rewriteCast(TokenEditor& e) {
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        if (!e.word(i, "CAST")) continue;
        const std::size_t open = e.next(i + 1);
        if (!e.punct(open, '(') || e.pastParens(open) > e.size()) continue;
        if (e.word(e.next(open + 1), "MULTISET")) continue;
        const auto args = callArguments(e, open);
        const std::size_t as = topLevelWord(e, args[0].first, args[0].second, "AS");
        if (as >= args[0].second) continue;  // SQLite reports the missing AS
        const std::size_t typeStart = e.next(as + 1);
        // SQLite's own TEXT keeps SQLite's CAST, as columns of SQLite's type names do.
        if (e.word(typeStart, "INTERVAL") || e.word(typeStart, "TEXT")) continue;
        const std::size_t dflt = topLevelWord(e, typeStart, args[0].second, "DEFAULT");
        const std::string type = textOf(e, typeStart, dflt);
        const std::string base = baseName(type);
        const bool binary = base == "BINARY_DOUBLE" || base == "BINARY_FLOAT";
        if (binary || isOneOf(base, {"RAW", "BLOB"}) || (isNumberType(base) && args.size() > 1)) {
            // A TO_ function (or HEXTORAW) does the whole conversion: CAST(x AS t DEFAULT ...)
            // becomes TO_...(x DEFAULT ...), which conversion_forms.h takes on.
            e[i].text = binary ? "TO_" + base : isNumberType(base) ? "TO_NUMBER" : "HEXTORAW";
            e.erase(as, dflt);
            continue;
        }
        e[i].text = dflt < args[0].second ? kCastOrDefaultFunction : kCastFunction;
        e.erase(typeStart, dflt);
        e[as] = Token{Token::Kind::Punct, ","};
        e[typeStart] = Token{Token::Kind::String, sqlStringLiteral(type)};
        if (dflt < args[0].second) {
            // DEFAULT d ON CONVERSION ERROR -> , d
            e[dflt] = Token{Token::Kind::Punct, ","};
            e.erase(topLevelWord(e, dflt, args[0].second, "ON"), args[0].second);
        }
    }
}

namespace {

const FunctionRow kRows[] = {
    {kCastFunction, 2, 4, cast, nullptr},
    {kCastOrDefaultFunction, 3, 5, castOrDefault, nullptr},
};

}  // namespace

const FunctionFamily kCastFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
