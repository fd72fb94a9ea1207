#include "catalog/constraint_errors.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "base/text.h"
#include "catalog/foreign_keys.h"
#include "catalog/table_definition.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "sql/sqlite_util.h"

namespace kavexdb {
namespace detail {

namespace {

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::vector<std::string> upperSorted(std::vector<std::string> names) {
    for (std::string& n : names) n = asciiUpper(n);
    std::sort(names.begin(), names.end());
    return names;
}

// "T.A, T.B" (SQLite's account of a key) as the table and its columns.
void keyOf(const std::string& text, std::string& table, std::vector<std::string>& columns) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(", ", at);
        if (end == std::string::npos) end = text.size();
        const std::string part = text.substr(at, end - at);
        const std::size_t dot = part.find('.');
        if (dot != std::string::npos) {
            table = part.substr(0, dot);
            columns.push_back(part.substr(dot + 1));
        }
        at = end + 2;
    }
}

std::vector<std::string> texts(sqlite3* db, const char* sql, const std::string& parameter) {
    std::vector<std::string> out;
    SqliteStmt read = prepareSql(db, sql);
    sqlite3_bind_text(read.get(), 1, parameter.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(read.get()) == SQLITE_ROW) {
        const unsigned char* t = sqlite3_column_text(read.get(), 0);
        out.emplace_back(t ? reinterpret_cast<const char*>(t) : "");
    }
    return out;
}

// The name of the primary key, unique constraint or unique index over exactly these columns
// of table; "" when there is none with a name.
std::string uniqueKeyName(sqlite3* db, const std::string& table,
                          const std::vector<std::string>& columns) {
    StoredTable stored;
    if (!storedTable(db, table, stored)) return std::string();
    const std::vector<std::string> wanted = upperSorted(columns);
    for (const DeclaredConstraint& c : stored.definition.constraints())
        if ((c.type == 'P' || c.type == 'U') && !c.name.empty() && upperSorted(c.columns) == wanted)
            return c.name;
    for (const std::string& index :
         texts(db, "SELECT name FROM pragma_index_list(?1) WHERE origin = 'c' AND \"unique\"",
               stored.name)) {
        if (upperSorted(texts(db, "SELECT name FROM pragma_index_info(?1)", index)) != wanted)
            continue;
        // CREATE INDEX keeps the name as written: a quoted one keeps its case.
        const auto sql = texts(db, "SELECT sql FROM main.sqlite_master WHERE name = ?1", index);
        const bool quoted = !sql.empty() && sql[0].find("\"" + index + "\"") != std::string::npos;
        return quoted ? index : asciiUpper(index);
    }
    return std::string();
}

// The declared name of the CHECK constraint SQLite reports by name, "" for none.
std::string checkName(sqlite3* db, const std::string& reported) {
    for (const StoredTable& t : storedTables(db))
        for (const DeclaredConstraint& c : t.definition.constraints())
            if (c.type == 'C' && sqlite3_stricmp(c.name.c_str(), reported.c_str()) == 0)
                return c.name;
    return std::string();
}

// A NOT NULL column given NULL: ORA-01407 for an UPDATE, ORA-01400 otherwise, naming the column
// with its owner and table as Oracle does ("SCOTT"."EMP"."ENAME").
void refuseNull(const std::string& message, const std::string& sql, const std::string& owner) {
    const std::string prefix = "NOT NULL constraint failed: ";
    if (!startsWith(message, prefix)) return;
    const std::string name = asciiUpper(message.substr(prefix.size()));
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return;
    const std::string column = "\"" + owner + "\".\"" + name.substr(0, dot) + "\".\"" +
                               name.substr(dot + 1) + "\"";
    std::size_t start = 0;
    while (start < sql.size() && std::isspace(static_cast<unsigned char>(sql[start]))) ++start;
    if (sqlite3_strnicmp(sql.c_str() + start, "UPDATE", 6) == 0)
        raise(ora::kCannotUpdateToNull, column);
    raise(ora::kCannotInsertNull, column);
}

}  // namespace

void raiseStepFailure(sqlite3* db, int rc, const std::string& sql, const std::string& owner,
                      sqlite3_stmt* failed) {
    if ((rc & 0xff) != SQLITE_CONSTRAINT) raiseSqlite(db, rc);
    const int ext = sqlite3_extended_errcode(db);
    const std::string message = sqlite3_errmsg(db);
    std::string name;
    switch (ext) {
        case SQLITE_CONSTRAINT_UNIQUE:
        case SQLITE_CONSTRAINT_PRIMARYKEY: {
            const std::string prefix = "UNIQUE constraint failed: ";
            if (!startsWith(message, prefix)) break;
            std::string table;
            std::vector<std::string> columns;
            keyOf(message.substr(prefix.size()), table, columns);
            // The lookups below leave their own record on the handle: each case raises itself.
            name = uniqueKeyName(db, table, columns);
            if (name.empty())
                raise(ora::kUniqueConstraintViolated, asciiUpper(message.substr(prefix.size())));
            raise(ora::kUniqueConstraintViolated, owner + "." + name);
        }
        case SQLITE_CONSTRAINT_CHECK: {
            const std::string prefix = "CHECK constraint failed: ";
            if (!startsWith(message, prefix) || startsWith(message.substr(prefix.size()), "ORA-"))
                break;
            name = checkName(db, message.substr(prefix.size()));
            if (name.empty())
                raise(ora::kCheckConstraintViolated, asciiUpper(message.substr(prefix.size())));
            raise(ora::kCheckConstraintViolated, owner + "." + name);
        }
        case SQLITE_CONSTRAINT_FOREIGNKEY: {
            const int code = foreignKeyErrorCode(db, sql);
            if (code == 2291 && failed) name = probedForeignKey(db, failed);
            if (name.empty()) name = brokenForeignKey(db, sql, code);
            if (code == 2292) {
                if (name.empty()) raise(ora::kChildRecordFound);
                raise(ora::kChildRecordOfFound, owner + "." + name);
            }
            if (name.empty()) raise(ora::kParentKeyNotFound);
            raise(ora::kParentKeyOfNotFound, owner + "." + name);
        }
        case SQLITE_CONSTRAINT_NOTNULL:
            refuseNull(message, sql, owner);
            break;
        default:
            break;
    }
    raiseSqlite(db, rc);
}

}  // namespace detail
}  // namespace kavexdb
