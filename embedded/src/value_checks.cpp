// Columns of SQLite's own type names keep SQLite's behaviour; numeric text has already become a
// number through the column's affinity by the time a CHECK constraint sees it.
#include "value_checks.h"

#include <cctype>
#include <initializer_list>

#include "datetime_order.h"
#include "detail.h"
#include "sql_lexer.h"

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

}  // namespace

std::string valueCheckConstraints(const std::string& table, const std::string& column,
                                  const std::string& columnRef, const std::string& declaredType) {
    std::string out;
    const std::string base = baseName(declaredType);
    const bool sized = declaredType.find('(') != std::string::npos;
    const DeclaredType type = mapDeclaredType(declaredType);
    const std::string& value = columnRef;
    if (sized && isOneOf(base, {"VARCHAR2", "VARCHAR", "NVARCHAR2", "CHAR", "NCHAR"})) {
        const std::string size = std::to_string(type.size);
        out += constraint("ORA-12899: value too large for column \"" + table + "\".\"" + column +
                              "\" (maximum: " + size + ")",
                          "length(" + value + ") <= " + size);
    }
    // CHAR values are stored blank-padded and compare with blank-padded semantics: trailing
    // blanks do not count (SQLite's built-in RTRIM collation, so other tools read it too).
    if (isOneOf(base, {"CHAR", "NCHAR"})) out += " COLLATE RTRIM";
    // Dates and timestamps compare as points in time (datetime_order.h).
    if (type.dataType == 12 || type.dataType == 187 || type.dataType == 188 ||
        type.dataType == 232)
        out += std::string(" COLLATE ") + kDatetimeCollation;
    // Numbers sort below every text and blob, so a plain comparison with '' settles the usual
    // case without a function call per row; the empty string and empty blob also pass.
    if (isOneOf(base, {"NUMBER", "INTEGER", "INT", "SMALLINT", "FLOAT", "BINARY_FLOAT",
                       "BINARY_DOUBLE", "PLS_INTEGER", "BINARY_INTEGER"})) {
        out += constraint("ORA-01722: invalid number",
                          value + " <= '' OR length(" + value + ") = 0");
    }
    // Text and blobs round to 0 and pass here (the check above reports them). Values well inside
    // the bound pass on two comparisons; only those near it are rounded to the column's scale.
    if (base == "NUMBER" && sized && type.precision >= 1 && type.precision <= 38) {
        const int scale = type.scale;
        const int digits = type.precision - scale;
        const std::string bound = "1e" + std::to_string(digits);
        const std::string rounded =
            scale >= 0 ? "round(" + value + ", " + std::to_string(scale) + ")" : value;
        std::string condition = "abs(" + rounded + ") < " + bound;
        if (digits >= 1) {
            const std::string inner = "(" + bound + " - 1)";
            condition = "(" + value + " > -" + inner + " AND " + value + " < " + inner + ") OR " +
                        condition;
        }
        out += constraint(
            "ORA-01438: value larger than specified precision allowed for this column", condition);
    }
    return out;
}

}  // namespace detail
}  // namespace kavexdb
