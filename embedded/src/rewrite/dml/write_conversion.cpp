// The conversion functions take the value and the column's parameters as constant arguments, so
// a prepared INSERT pays one function call per converted value; values already in the column's
// form (integers for NUMBER(p), storage texts for dates) are handed back unchanged.
#include "rewrite/dml/write_conversion.h"

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "functions/sql_function.h"
#include "functions/sql_values.h"
#include "sql/internal_names.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "sql/token_editor.h"
#include "types/calendar.h"
#include "types/datetime_parse.h"
#include "types/decimal.h"
#include "types/declared_type.h"
#include "types/values.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

namespace {

// The scale of a NUMBER without precision, whose values keep every digit.
constexpr int kAnyScale = 1000;

// ---- The conversion functions -------------------------------------------------------------

[[noreturn]] void inconsistent(const char* expected, sqlite3_value* v) {
    const int type = sqlite3_value_type(v);
    raise(ora::kInconsistentDatatypes, expected,
          type == SQLITE_BLOB   ? "BINARY"
          : type == SQLITE_TEXT ? "CHAR"
                                : "NUMBER");
}

// ORA$W_NUM(value, scale): a NUMBER(p,s) value, rounded half away from zero to s digits after
// the point (s < 0: to a multiple of 10^-s) in decimal, as Oracle stores it; a NULL scale (a
// NUMBER without precision) keeps every digit NUMBER holds. The result is the value's storage
// form (resultStored): whole numbers and what a double gives back exactly stay numbers.
void writeNumber(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        sqlite3_value* v = argv[0];
        const bool anyScale = sqlite3_value_type(argv[1]) == SQLITE_NULL;
        const int scale = sqlite3_value_int(argv[1]);
        occi::Number n;
        switch (sqlite3_value_type(v)) {
            case SQLITE_NULL:
                sqlite3_result_null(ctx);
                return;
            case SQLITE_INTEGER:
                if (anyScale || scale >= 0) {
                    sqlite3_result_value(ctx, v);
                    return;
                }
                n = numberFromInt64(sqlite3_value_int64(v));
                break;
            case SQLITE_FLOAT: {
                const double d = sqlite3_value_double(v);
                if (!std::isfinite(d)) raise(ora::kInvalidNumber);
                if (anyScale || (scale >= 0 && std::fabs(d) < 1e15 && d == std::trunc(d))) {
                    sqlite3_result_value(ctx, v);
                    return;
                }
                n = numberFromDouble(d);
                break;
            }
            case SQLITE_TEXT:
                n = numberFromText(valueText(v));
                break;
            default:
                if (!isStoredNumber(v)) inconsistent("NUMBER", v);
                if (anyScale) {
                    sqlite3_result_value(ctx, v);
                    return;
                }
                n = storedNumberOf(v);
        }
        if (n.isNull()) {
            sqlite3_result_null(ctx);
            return;
        }
        resultStored(ctx, anyScale ? n : numberOf(roundToScale(decimalOf(n), scale)));
    });
}

// ORA$W_BIN(value [, single]): a BINARY_DOUBLE value, or with single = 1 a BINARY_FLOAT one
// (rounded to single precision); text may also spell the infinities.
void writeBinary(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        sqlite3_value* v = argv[0];
        const bool single = argc > 1 && sqlite3_value_int(argv[1]) == 1;
        if (!single && resultIfNullOrNumber(ctx, v)) return;
        const int type = sqlite3_value_type(v);
        if (type == SQLITE_NULL) return sqlite3_result_null(ctx);
        double d = 0;
        if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
            d = sqlite3_value_double(v);
        else if (type == SQLITE_TEXT)
            d = binaryFromText(valueText(v));
        else
            inconsistent(single ? "BINARY_FLOAT" : "BINARY_DOUBLE", v);
        // SQLite stores a NaN as NULL: refuse it rather than lose it.
        if (std::isnan(d)) raise(ora::kNanNotStorable);
        sqlite3_result_double(ctx, single ? singlePrecision(d) : d);
    });
}

unsigned numberAt(const char* s, std::size_t from, std::size_t count) {
    unsigned v = 0;
    for (std::size_t i = from; i < from + count; ++i) v = v * 10 + static_cast<unsigned>(s[i] - '0');
    return v;
}

// Whether s is already a storage text "YYYY-MM-DD HH24:MI:SS" (length 19) or with a nine-digit
// fraction (29) of a valid date: the common case of a bound value, handed back unchanged.
bool isStorageText(const char* s, std::size_t n, std::size_t expected) {
    if (n != expected || s[0] == '-' ||
        textKind(s, n) != (expected == 19 ? ValueKind::Date : ValueKind::Timestamp))
        return false;
    const int year = static_cast<int>(numberAt(s, 0, 4));
    const unsigned month = numberAt(s, 5, 2), day = numberAt(s, 8, 2);
    return year >= 1 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month) && numberAt(s, 11, 2) < 24 &&
           numberAt(s, 14, 2) < 60 && numberAt(s, 17, 2) < 60;
}

DateTimeFields textFields(sqlite3_value* v, const char* expected, bool timestamp, bool zoned) {
    if (sqlite3_value_type(v) != SQLITE_TEXT) inconsistent(expected, v);
    return parseDefaultDateTime(valueText(v), timestamp, zoned);
}

// ORA$W_DATE(value): a DATE value from its storage text or text in the session's formats.
void writeDate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        sqlite3_value* v = argv[0];
        if (sqlite3_value_type(v) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
        if (sqlite3_value_type(v) == SQLITE_TEXT &&
            isStorageText(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                          static_cast<std::size_t>(sqlite3_value_bytes(v)), 19)) {
            sqlite3_result_value(ctx, v);
            return;
        }
        const DateTimeFields f = textFields(v, "DATE", false, false);
        resultDate(ctx, f);
    });
}

// ORA$W_TS(value, kind, precision): kind 0 TIMESTAMP, 1 WITH TIME ZONE, 2 WITH LOCAL TIME ZONE.
// Fractions are rounded to the column's precision; a value with a zone written into a column
// without one is moved to the session's zone (UTC).
void writeTimestamp(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        sqlite3_value* v = argv[0];
        const int kind = sqlite3_value_int(argv[1]);
        const int precision = sqlite3_value_int(argv[2]);
        if (sqlite3_value_type(v) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
        if (kind != 1 && sqlite3_value_type(v) == SQLITE_TEXT) {
            const char* s = reinterpret_cast<const char*>(sqlite3_value_text(v));
            const std::size_t n = static_cast<std::size_t>(sqlite3_value_bytes(v));
            if (isStorageText(s, n, 29) && precision >= 0 && precision <= 9 &&
                std::strspn(s + 20 + precision, "0") == static_cast<std::size_t>(9 - precision)) {
                sqlite3_result_value(ctx, v);
                return;
            }
        }
        DateTimeFields f = textFields(v, "TIMESTAMP", true, kind == 1);
        Instant at = kind == 1 ? instantOf(f) : utcInstantOf(f);
        long long unit = 1;
        for (int i = precision; i < 9; ++i) unit *= 10;
        const long long rounded = (static_cast<long long>(f.fraction) + unit / 2) / unit * unit;
        at = addNanos(at, rounded - f.fraction);
        DateTimeFields out = fieldsOf(at);
        if (kind == 1) {
            out.tzHour = f.tzHour;
            out.tzMinute = f.tzMinute;
        }
        resultTimestamp(ctx, out, kind == 1);
    });
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// ORA$W_RAW(value): RAW, LONG RAW and BLOB values; text is read as hexadecimal digits (an odd
// count as if led by a zero), as HEXTORAW does.
void writeRaw(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        sqlite3_value* v = argv[0];
        const int type = sqlite3_value_type(v);
        if (type == SQLITE_NULL || type == SQLITE_BLOB) {
            sqlite3_result_value(ctx, v);
            return;
        }
        if (type != SQLITE_TEXT) inconsistent("BINARY", v);
        const std::string text = valueText(v);
        std::string bytes((text.size() + 1) / 2, '\0');
        std::size_t at = text.size() % 2;  // digits before the first full byte
        int high = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const int d = hexDigit(text[i]);
            if (d < 0) raise(ora::kInvalidHexNumber);
            if ((i + at) % 2 == 0) {
                high = d;
            } else {
                bytes[(i + at) / 2] = static_cast<char>(high * 16 + d);
            }
        }
        sqlite3_result_blob(ctx, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    });
}

// ORA$W_CHAR(value, n): CHAR(n) and NCHAR(n) values, blank-padded to n characters. A longer
// value is left for the length check to report.
void writeChar(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        sqlite3_value* v = argv[0];
        if (sqlite3_value_type(v) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
        const long width = sqlite3_value_int(argv[1]);
        std::string text = valueText(v);
        long characters = 0;
        for (char c : text)
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
        if (characters < width) text.append(static_cast<std::size_t>(width - characters), ' ');
        resultText(ctx, text);
    });
}

// RAWTOHEX(raw): the bytes as upper-case hexadecimal digits.
void rawToHex(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    if (sqlite3_value_type(v) == SQLITE_NULL) return sqlite3_result_null(ctx);
    resultText(ctx, hexText(sqlite3_value_blob(v), static_cast<std::size_t>(sqlite3_value_bytes(v))));
}

// ---- Wrapping the written values ------------------------------------------------------------

struct Conversion {
    std::string prefix, suffix;  // around the value; empty when the type needs none
    ParameterConversion::Form form = ParameterConversion::Form::Other;
    int scale = 0;
    bool empty() const { return prefix.empty(); }
};

Conversion conversionFor(const std::string& declared) {
    const DeclaredType t = mapDeclaredType(declared);
    std::string base;
    for (char c : declared) {
        if (c == '(') break;
        if (c != ' ' && c != '\t') base += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    using Form = ParameterConversion::Form;
    auto call = [](const char* name, const std::string& args, Form form = Form::Other,
                   int scale = 0) {
        return Conversion{std::string(name) + "(", args + ")", form, scale};
    };
    switch (t.dataType) {
        case 2:
            if (base == "NUMBER" && t.precision > 0)
                return call(kOraWNum, ", " + std::to_string(t.scale), Form::Number, t.scale);
            // Without precision (NUMBER, FLOAT): every digit is kept, in its storage form.
            if (base == "NUMBER" || base == "FLOAT")
                return call(kOraWNum, ", NULL", Form::Number, kAnyScale);
            if (base == "INTEGER" || base == "INT" || base == "SMALLINT")
                return call(kOraWNum, ", 0", Form::Number, 0);
            return Conversion{};
        case 100:
        case 101:
            if (base == "BINARY_FLOAT") return call(kOraWBin, ", 1", Form::Float);
            return base == "BINARY_DOUBLE" ? call(kOraWBin, "", Form::Binary) : Conversion{};
        case 12:
            return call(kOraWDate, "", Form::Date);
        case 187:
        case 188:
        case 232: {
            const int kind = t.dataType == 188 ? 1 : t.dataType == 232 ? 2 : 0;
            return call(kOraWTs, ", " + std::to_string(kind) + ", " + std::to_string(t.scale),
                        kind == 1 ? Form::Other : Form::Timestamp, t.scale);
        }
        case 23:
        case 24:
        case 113:
            return base == "BLOB" || base == "RAW" || base == "LONGRAW" ? call(kOraWRaw, "")
                                                                          : Conversion{};
        case 96:
            return call(kOraWChar, ", " + std::to_string(t.size));
        case 189:
        case 190:
            return call(kOraWIv, std::string(t.dataType == 189 ? ", 0, " : ", 1, ") +
                                        std::to_string(t.precision) + ", " +
                                        std::to_string(t.scale));
        default:
            return Conversion{};
    }
}

struct Column {
    std::string name;  // as SQLite reports it
    Conversion conversion;
};

std::vector<Column> tableColumns(sqlite3* db, const std::string& schema, const std::string& table) {
    std::vector<Column> columns;
    const std::string sql = "SELECT name, type FROM pragma_table_info(?1" +
                            std::string(schema.empty() ? "" : ", ?2") + ")";
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return columns;
    }
    sqlite3_bind_text(raw, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    if (!schema.empty()) sqlite3_bind_text(raw, 2, schema.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(raw) == SQLITE_ROW) {
        const unsigned char* name = sqlite3_column_text(raw, 0);
        const unsigned char* type = sqlite3_column_text(raw, 1);
        columns.push_back(Column{name ? reinterpret_cast<const char*>(name) : "",
                                 conversionFor(type ? reinterpret_cast<const char*>(type) : "")});
    }
    sqlite3_finalize(raw);
    return columns;
}

const Column* findColumn(const std::vector<Column>& columns, const std::string& name) {
    const std::string wanted = asciiUpper(name);
    for (const Column& c : columns)
        if (asciiUpper(c.name) == wanted) return &c;
    return nullptr;
}

bool anyConversion(const std::vector<const Column*>& targets) {
    for (const Column* c : targets)
        if (c && !c->conversion.empty()) return true;
    return false;
}

// Where the conversions of one statement go: wrapped around values in the SQL, or, for a named
// parameter used once in the statement, done when it is bound.
struct Conversions {
    TokenEditor& e;
    std::vector<ParameterConversion>& parameters;
};

bool usedOnce(const TokenEditor& e, const std::string& parameter) {
    int uses = 0;
    for (const Token& t : e.tokens())
        if (t.kind == Token::Kind::Bind && t.text == parameter) ++uses;
    return uses == 1;
}

// Converts the value in [from, to) for the column.
void wrap(Conversions& c, std::size_t from, std::size_t to, const Column* column) {
    TokenEditor& e = c.e;
    if (!column || column->conversion.empty()) return;
    const std::size_t first = e.next(from);
    if (first >= to) return;
    std::size_t last = e.previous(to);
    const Token& t = e.at(first);
    if (first == last && t.kind == Token::Kind::Bind && t.text.size() > 1 && t.text[0] == ':' &&
        usedOnce(e, t.text)) {
        const Conversion& k = column->conversion;
        c.parameters.emplace_back(t.text, k.prefix + "?1" + k.suffix, k.form, k.scale);
        return;
    }
    e[first].text = column->conversion.prefix + e[first].text;
    e[last].text += column->conversion.suffix;
}

bool depthZeroWord(const TokenEditor& e, std::size_t from, const char* word) {
    int depth = 0;
    for (std::size_t k = from; k < e.size(); ++k) {
        if (e.punct(k, '(')) ++depth;
        if (e.punct(k, ')')) --depth;
        if (depth == 0 && e.word(k, word)) return true;
    }
    return false;
}

void convertInsert(sqlite3* db, Conversions& c, std::size_t verb) {
    TokenEditor& e = c.e;
    std::size_t i = e.next(verb + 1);
    if (e.word(i, "OR")) i = e.next(e.next(i + 1) + 1);
    if (!e.word(i, "INTO")) return;
    i = e.next(i + 1);
    std::string schema, table;
    if (!qualifiedNameAt(e, i, schema, table)) return;
    const std::vector<Column> columns = tableColumns(db, schema, table);
    if (columns.empty()) return;
    if (e.word(i, "AS")) i = e.next(e.next(i + 1) + 1);
    std::vector<const Column*> targets;
    if (e.punct(i, '(') && !e.word(e.next(i + 1), "SELECT") && !e.word(e.next(i + 1), "WITH")) {
        const std::size_t past = e.pastParens(i);
        for (const auto& item : depthZeroItems(e, i + 1, past - 1)) {
            const std::size_t name = e.next(item.first);
            targets.push_back(name < item.second && e.name(name)
                                  ? findColumn(columns, identifierName(e.at(name)))
                                  : nullptr);
        }
        i = e.next(past);
    } else {
        for (const Column& c : columns) targets.push_back(&c);
    }
    if (!anyConversion(targets)) return;
    if (e.word(i, "VALUES")) {
        for (i = e.next(i + 1); e.punct(i, '('); i = e.next(i + 1)) {
            const std::size_t past = e.pastParens(i);
            const auto values = depthZeroItems(e, i + 1, past - 1);
            for (std::size_t k = 0; k < values.size() && k < targets.size(); ++k)
                wrap(c, values[k].first, values[k].second, targets[k]);
            i = e.next(past);
            if (!e.punct(i, ',')) break;
        }
        return;
    }
    if (!(e.word(i, "SELECT") || e.word(i, "WITH") || e.punct(i, '(') || e.word(i, "VALUES")))
        return;
    // INSERT ... SELECT: the query's rows are named in a common table expression and converted
    // column by column on their way in.
    if (depthZeroWord(e, i, "RETURNING") || depthZeroWord(e, i, "CONFLICT")) return;
    std::string names, converted;
    for (std::size_t k = 0; k < targets.size(); ++k) {
        const std::string name = "c" + std::to_string(k + 1);
        names += (k ? ", " : "") + name;
            const Column* t = targets[k];
        converted += (k ? ", " : "") +
                     (t && !t->conversion.empty() ? t->conversion.prefix + name + t->conversion.suffix
                                                  : name);
    }
    e[i].text = "WITH ora$rows(" + names + ") AS (" + e[i].text;
    const std::size_t last = e.previous(e.size());
    e[last].text += ") SELECT " + converted + " FROM ora$rows";
}

void convertUpdate(sqlite3* db, Conversions& c, std::size_t verb) {
    TokenEditor& e = c.e;
    std::size_t i = e.next(verb + 1);
    if (e.word(i, "OR")) i = e.next(e.next(i + 1) + 1);
    std::string schema, table;
    if (!qualifiedNameAt(e, i, schema, table)) return;
    const std::vector<Column> columns = tableColumns(db, schema, table);
    // Oracle's UPDATE t alias SET is SQLite's UPDATE t AS alias SET.
    if (e.name(i) && !e.word(i, "AS") && !e.word(i, "SET") && e.word(e.next(i + 1), "SET"))
        e[i].text = "AS " + e[i].text;
    while (i < e.size() && !e.word(i, "SET")) i = e.next(i + 1);
    if (i >= e.size()) return;
    const std::size_t from = i + 1;
    const std::size_t to = setListEnd(e, from);
    for (const auto& item : depthZeroItems(e, from, to)) {
        std::size_t eq = e.next(item.first);
        while (eq < item.second && !e.punct(eq, '=')) eq = e.next(eq + 1);
        if (eq >= item.second) continue;
        const std::size_t name = e.previous(eq);
        if (!e.name(name)) continue;  // (a, b) = (...)
        // SQLite names the assigned column without its table or alias.
        if (e.punct(e.previous(name), '.')) e.erase(e.next(item.first), name);
        wrap(c, eq + 1, item.second, findColumn(columns, identifierName(e.at(name))));
    }
}

}  // namespace

ParameterConversion::ParameterConversion(std::string parameter, std::string call, Form form,
                                         int scale)
    : parameter_(std::move(parameter)), call_(std::move(call)), form_(form), scale_(scale) {
    using K = BindValue::Kind;
    auto bit = [](K kind) { return 1u << static_cast<unsigned>(kind); };
    asIsKinds_ = bit(K::Null) | bit(K::Unset);
    if (form_ == Form::Number && scale_ >= 0) asIsKinds_ |= bit(K::Integer);
    if (form_ == Form::Number && scale_ == kAnyScale) asIsKinds_ |= bit(K::Real);
    if (form_ == Form::Binary) asIsKinds_ |= bit(K::Integer) | bit(K::Real);
}

bool ParameterConversion::inColumnForm(const BindView& v) const {
    using K = BindValue::Kind;
    switch (form_) {
        case Form::Float:
            return false;
        case Form::Date:
            return v.kind == K::Text && isStorageText(v.data, v.size, 19);
        case Form::Timestamp:
            return v.kind == K::Text && isStorageText(v.data, v.size, 29) && scale_ >= 0 &&
                   scale_ <= 9 &&
                   std::string(v.data + 20 + scale_, static_cast<std::size_t>(9 - scale_))
                           .find_first_not_of('0') == std::string::npos;
        default:
            return false;
    }
}

namespace {

// 10^k as a double, exact for k <= 22.
double powerOfTen(int k) {
    double p = 1;
    for (int i = 0; i < k; ++i) p *= 10;
    return p;
}

constexpr std::int64_t kFifteenDigits = 999999999999999;

// A NUMBER(p, scale) value a host bound that is already what the column stores (ORA$W_NUM would
// give it back unchanged): a double that is the nearest one to a decimal of at most 15
// significant digits and `scale` decimals, or plain decimal text of that kind ("-12.5"), then
// read as that double. The column's own checks still apply.
bool numberInColumnForm(const BindView& v, int scale, double& out) {
    if (scale < 0 || scale > 15) return false;
    const double p = powerOfTen(scale);
    if (v.kind == BindValue::Kind::Real) {
        if (!std::isfinite(v.real) || std::fabs(v.real) * p >= 1e15) return false;
        const double m = std::nearbyint(v.real * p);
        if (m / p != v.real) return false;
        out = v.real;
        return true;
    }
    if (v.kind != BindValue::Kind::Text || v.size == 0 || v.size > 20) return false;
    std::size_t i = 0;
    const bool negative = v.data[0] == '-';
    if (negative) ++i;
    std::int64_t m = 0;
    int digits = 0, decimals = -1;
    for (; i < v.size; ++i) {
        const char c = v.data[i];
        if (c == '.' && decimals < 0) {
            decimals = 0;
            continue;
        }
        if (c < '0' || c > '9') return false;
        m = m * 10 + (c - '0');
        if (m > kFifteenDigits) return false;
        ++digits;
        if (decimals >= 0) ++decimals;
    }
    if (digits == 0 || decimals > scale) return false;
    out = static_cast<double>(negative ? -m : m) / powerOfTen(decimals < 0 ? 0 : decimals);
    return true;
}

}  // namespace

int ParameterConversion::bind(sqlite3* db, sqlite3_stmt* target, int index, const BindView& v) {
    if (bindsAsIs(v)) return bindToSqlite(target, index, v, SQLITE_STATIC);
    double number = 0;
    if (form_ == Form::Number &&
        numberInColumnForm(v, scale_ == kAnyScale ? 15 : scale_, number)) {
        // A whole value is stored as an INTEGER, as ORA$W_NUM stores it.
        if (number == std::trunc(number)) return sqlite3_bind_int64(target, index, static_cast<sqlite3_int64>(number));
        return sqlite3_bind_double(target, index, number);
    }
    if (!converter_) converter_ = prepareSql(db, "SELECT " + call_);
    sqlite3_stmt* convert = converter_.get();
    int rc = bindToSqlite(convert, 1, v, SQLITE_STATIC);
    if (rc == SQLITE_OK) rc = sqlite3_step(convert);
    if (rc != SQLITE_ROW) {
        sqlite3_reset(convert);
        raiseSqlite(db, rc);
    }
    rc = sqlite3_bind_value(target, index, sqlite3_column_value(convert, 0));
    sqlite3_reset(convert);
    sqlite3_clear_bindings(convert);
    return rc;
}

WriteConversions addWriteConversions(sqlite3* db, const std::string& sql) {
    WriteConversions out;
    TokenEditor e(lexSql(sql));
    Conversions c{e, out.parameters};
    const std::size_t verb = e.next(0);
    if (e.word(verb, "INSERT") || e.word(verb, "REPLACE")) {
        convertInsert(db, c, verb);
    } else if (e.word(verb, "UPDATE")) {
        convertUpdate(db, c, verb);
    } else {
        out.sql = sql;
        return out;
    }
    out.sql = e.text();
    return out;
}

namespace {

// The conversion functions the wrapped statements call, and HEXTORAW and RAWTOHEX.
const FunctionRow kRows[] = {
    {kOraWNum, 2, 2, writeNumber, nullptr},
    {kOraWBin, 1, 2, writeBinary, nullptr},
    {kOraWDate, 1, 1, writeDate, nullptr},
    {kOraWTs, 3, 3, writeTimestamp, nullptr},
    {kOraWRaw, 1, 1, writeRaw, nullptr},
    {kOraWChar, 2, 2, writeChar, nullptr},
    {"HEXTORAW", 1, 1, writeRaw, "RAW(2000)"},
    {"RAWTOHEX", 1, 1, rawToHex, "VARCHAR2(4000)"},
};

}  // namespace

const FunctionFamily kWriteConversions{kRows};

}  // namespace detail
}  // namespace kavexdb
