// Write-time checks of Oracle's declared types, which SQLite's flexible typing does not make:
// text longer than a VARCHAR2/CHAR length (ORA-12899), a number beyond NUMBER(p,s)'s precision
// after rounding to its scale (ORA-01438), and text that is no number in a number column
// (ORA-01722; SQLite's affinity has already turned numeric text into a number by then).
// Columns of SQLite's own type names keep SQLite's behaviour.
#include <cctype>
#include <vector>

#include "ddl_effects.h"
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

std::string check(const std::string& condition, const std::string& oraMessage) {
    return "SELECT RAISE(ABORT, " + sqlStringLiteral(oraMessage) + ") WHERE " + condition + ";";
}

// The checks of one column, as trigger statements.
std::vector<std::string> columnChecks(const std::string& table, const std::string& column,
                                      const std::string& declared) {
    std::vector<std::string> out;
    const std::string base = baseName(declared);
    const bool sized = declared.find('(') != std::string::npos;
    const DeclaredType type = mapDeclaredType(declared);
    const std::string value = "NEW." + sqlQuotedIdentifier(column);
    if (sized && isOneOf(base, {"VARCHAR2", "VARCHAR", "NVARCHAR2", "CHAR", "NCHAR"})) {
        out.push_back(check("length(" + value + ") > " + std::to_string(type.size),
                            "ORA-12899: value too large for column \"" + asciiUpper(table) +
                                "\".\"" + column + "\" (maximum: " + std::to_string(type.size) +
                                ")"));
    }
    if (isOneOf(base, {"NUMBER", "INTEGER", "INT", "SMALLINT", "FLOAT", "BINARY_FLOAT",
                       "BINARY_DOUBLE", "PLS_INTEGER", "BINARY_INTEGER"})) {
        out.push_back(
            check("typeof(" + value + ") IN ('text', 'blob') AND length(" + value + ") > 0",
                  "ORA-01722: invalid number"));
    }
    if (base == "NUMBER" && sized && type.precision >= 1 && type.precision <= 38) {
        const int scale = type.scale;
        const std::string rounded =
            scale >= 0 ? "round(" + value + ", " + std::to_string(scale) + ")" : value;
        out.push_back(check("typeof(" + value + ") IN ('integer', 'real') AND abs(" + rounded +
                                ") >= 1e" + std::to_string(type.precision - scale),
                            "ORA-01438: value larger than specified precision allowed for this "
                            "column"));
    }
    return out;
}

}  // namespace

void installValueChecks(sqlite3* db, const std::string& table) {
    sqlite3_stmt* raw = nullptr;
    int rc =
        sqlite3_prepare_v2(db, "SELECT name, type FROM pragma_table_info(?1)", -1, &raw, nullptr);
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> columns(raw, sqlite3_finalize);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
    sqlite3_bind_text(raw, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    std::string body;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        const char* name = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
        const char* declared = reinterpret_cast<const char*>(sqlite3_column_text(raw, 1));
        for (const std::string& c : columnChecks(table, name ? name : "", declared ? declared : ""))
            body += c + " ";
    }
    if (rc != SQLITE_DONE) raiseSqlite(db, rc);
    // Made again from the table's current columns (ALTER TABLE ADD brings new ones).
    const std::string target = sqlQuotedIdentifier(table);
    for (const char* event : {"INSERT", "UPDATE"}) {
        const std::string name =
            sqlQuotedIdentifier(std::string("KAVEX$CHECK_") + event + "_" + table);
        runDdlSql(db, "DROP TRIGGER IF EXISTS " + name);
        if (!body.empty())
            runDdlSql(db, "CREATE TRIGGER " + name + " BEFORE " + event + " ON " + target +
                              " FOR EACH ROW BEGIN " + body + "END");
    }
}

}  // namespace detail
}  // namespace kavexdb
