// Columns of SQLite's own type names keep SQLite's behaviour; numeric text has already become a
// number through the column's affinity by the time a CHECK constraint sees it.
#include "rewrite/ddl/value_checks.h"

#include <cctype>
#include <cstdint>
#include <initializer_list>

#include "base/ora_messages.h"
#include "functions/datetime_order.h"
#include "functions/interval_order.h"
#include "sql/internal_names.h"
#include "sql/sql_lexer.h"
#include "functions/sql_values.h"
#include "types/decimal.h"
#include "types/declared_type.h"
#include "types/number_storage.h"

namespace kavexdb {
namespace detail {

namespace {

// The Oracle type name a declared type starts with, in upper case without blanks.
std::string baseName(const std::string& declared) {
    std::string base;
    for (char c : declared) {
        if (c == '(') break;
        if (!std::isspace(static_cast<unsigned char>(c)))
            base += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return base;
}

bool isOneOf(const std::string& name, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (name == n) return true;
    return false;
}

// A value passes when the condition is true or NULL. The constraint has no name: SQLite would
// hand a CONSTRAINT name on to the unnamed constraints after it in the column, and from the last
// column to the first table constraint. An unnamed one is reported by its text, which SQLite
// dequotes: starting with the message literal, it fails as "CHECK constraint failed: ORA-...".
std::string constraint(const std::string& oraMessage, const std::string& condition) {
    return " CHECK (" + sqlStringLiteral(oraMessage) + " IS NOT NULL AND (" + condition + "))";
}

// "ORA-NNNNN": the literal that marks a check whose message a function composes.
std::string codeTag(int code) {
    std::string digits = std::to_string(code);
    return "ORA-" + std::string(digits.size() < 5 ? 5 - digits.size() : 0, '0') + digits;
}

}  // namespace

ValueChecks valueChecksFor(const std::string& declaredType) {
    ValueChecks checks;
    const std::string base = baseName(declaredType);
    const bool sized = declaredType.find('(') != std::string::npos;
    const DeclaredType type = mapDeclaredType(declaredType);
    if (sized && isOneOf(base, {"VARCHAR2", "VARCHAR", "NVARCHAR2", "CHAR", "NCHAR"}))
        checks.maxLength = type.size;
    checks.blankPadded = isOneOf(base, {"CHAR", "NCHAR"});
    checks.numeric = isOneOf(base, {"NUMBER", "INTEGER", "INT", "SMALLINT", "FLOAT", "BINARY_FLOAT",
                                    "BINARY_DOUBLE", "PLS_INTEGER", "BINARY_INTEGER"});
    if (base == "NUMBER" && sized && type.precision >= 1 && type.precision <= 38) {
        checks.precision = true;
        checks.scale = type.scale;
        checks.digits = type.precision - type.scale;
    }
    return checks;
}

std::vector<int> ValueChecks::codes() const {
    std::vector<int> out;
    if (maxLength > 0) out.push_back(12899);
    if (numeric) out.push_back(1722);
    if (precision) out.push_back(1438);
    return out;
}

namespace {

// length(text) as SQLite counts it, a lead byte taking its continuation bytes with it; never
// less than SQLite's count (whose versions differ on whether it stops at a NUL).
std::size_t sqliteLength(const char* text, std::size_t size) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < size;) {
        const unsigned char c = static_cast<unsigned char>(text[i++]);
        if (c >= 0xC0)
            while (i < size && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
        ++count;
    }
    return count;
}

// |value| < 10^digits - 1 as the precision check's first comparison decides it: exactly up to
// 15 digits; beyond, the bound is a double no smaller than the decimal one.
bool withinDigits(std::int64_t value, int digits) {
    if (digits <= 0) return false;
    if (digits >= 19) return true;  // every 64-bit integer
    std::int64_t bound = 1;
    for (int i = 0; i < (digits > 15 ? 15 : digits); ++i) bound *= 10;
    const std::int64_t limit = digits > 15 ? bound : bound - 1;
    return value > -limit && value < limit;
}

}  // namespace

bool ValueChecks::passes(const BindView& v) const {
    using K = BindValue::Kind;
    if (v.kind == K::Null) return true;
    if (maxLength > 0) {
        if (v.kind == K::Text) {
            if (v.size > static_cast<std::size_t>(maxLength) &&
                sqliteLength(v.data, v.size) > static_cast<std::size_t>(maxLength))
                return false;
        } else if (!(v.kind == K::Integer && maxLength >= 20)) {  // an integer's text
            return false;
        }
    }
    if (numeric && v.kind != K::Integer && v.kind != K::Real) return false;
    if (precision && !(v.kind == K::Integer && withinDigits(v.integer, digits))) return false;
    return true;
}

std::string valueCheckConstraints(const std::string& table, const std::string& column,
                                  const std::string& columnRef, const std::string& declaredType) {
    std::string out;
    const ValueChecks checks = valueChecksFor(declaredType);
    const std::string& value = columnRef;
    // A longer value fails in ORA$VALUE_TOO_LARGE, which names the session's user as the
    // owner and tells the value's length.
    if (checks.maxLength > 0) {
        const std::string size = std::to_string(checks.maxLength);
        const std::string length = "length(" + value + ")";
        out += constraint(codeTag(ora::kValueTooLargeForColumn.code),
                          length + " <= " + size + " OR " + kOraValueTooLarge + "(" +
                              sqlStringLiteral(table) + ", " + sqlStringLiteral(column) + ", " +
                              length + ", " + size + ")");
    }
    // CHAR values are stored blank-padded and compare with blank-padded semantics: trailing
    // blanks do not count (SQLite's built-in RTRIM collation, so other tools read it too).
    if (checks.blankPadded) out += " COLLATE RTRIM";
    // Dates and timestamps compare as points in time (datetime_order.h).
    const int dataType = mapDeclaredType(declaredType).dataType;
    if (dataType == 12 || dataType == 187 || dataType == 188 || dataType == 232)
        out += std::string(" COLLATE ") + kDatetimeCollation;
    // Intervals compare by their length of time (interval_order.h).
    if (dataType == 189 || dataType == 190) out += std::string(" COLLATE ") + kIntervalCollation;
    // Numbers sort below every text and blob, so a plain comparison with '' settles the usual
    // case without a function call per row; the empty string and empty blob also pass.
    // A NUMBER a double does not hold is stored as a blob that starts with its marker and sign
    // (number_storage.h). Built-in functions only, so that other tools can write the table.
    const std::string storedNumber =
        "(typeof(" + value + ") = 'blob' AND hex(" + value + ") GLOB 'FF4E0[123]*')";
    const bool blobs = mayHoldStoredBlobs(mapDeclaredType(declaredType));
    if (checks.numeric) {
        out += constraint(oraErrorText(ora::kInvalidNumber),
                          value + " <= '' OR length(" + value + ") = 0" +
                              (blobs ? " OR " + storedNumber : std::string()));
    }
    // Text and blobs round to 0 and pass here (the check above reports them). Values well inside
    // the bound pass on two comparisons; only those near it are rounded to the column's scale.
    if (checks.precision) {
        const int scale = checks.scale;
        const int digits = checks.digits;
        const std::string bound = "1e" + std::to_string(digits);
        const std::string rounded =
            scale >= 0 ? "round(" + value + ", " + std::to_string(scale) + ")" : value;
        std::string condition = "abs(" + rounded + ") < " + bound;
        if (digits >= 1) {
            const std::string inner = "(" + bound + " - 1)";
            condition = "(" + value + " > -" + inner + " AND " + value + " < " + inner + ") OR " +
                        condition;
        }
        // Stored numbers sort as numbers among themselves: compared with the bounds' own forms.
        if (blobs) {
            Decimal limit;
            limit.digits = "1";
            limit.exponent = digits + 1;
            const std::string upper = numberKey(limit);
            limit.negative = true;
            const std::string lower = numberKey(limit);
            condition += " OR (" + storedNumber + " AND " + value + " > x'" +
                         hexText(lower.data(), lower.size()) + "' AND " + value + " < x'" +
                         hexText(upper.data(), upper.size()) + "')";
        }
        out += constraint(oraErrorText(ora::kValueLargerThanPrecision), condition);
    }
    return out;
}

}  // namespace detail
}  // namespace kavexdb
