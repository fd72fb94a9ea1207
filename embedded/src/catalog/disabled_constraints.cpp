#include "catalog/disabled_constraints.h"

#include "base/text.h"
#include "catalog/ddl_effects.h"
#include "sql/internal_names.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "sql/sqlite_util.h"

namespace kavexdb {
namespace detail {

namespace {

std::string catalog() { return "main." + sqlQuotedIdentifier(kDisabledConstraintCatalog); }
std::string unvalidated() {
    return "main." + sqlQuotedIdentifier(kUnvalidatedConstraintCatalog);
}

}  // namespace

std::vector<DisabledConstraint> disabledConstraints(sqlite3* db) {
    std::vector<DisabledConstraint> out;
    if (!mainTableExists(db, kDisabledConstraintCatalog)) return out;
    SqliteStmt read = prepareSql(
        db, "SELECT TABLE_NAME, CONSTRAINT_NAME, DEFINITION FROM " + catalog() + " ORDER BY rowid");
    while (sqlite3_step(read.get()) == SQLITE_ROW) {
        DisabledConstraint c;
        c.table = reinterpret_cast<const char*>(sqlite3_column_text(read.get(), 0));
        c.name = reinterpret_cast<const char*>(sqlite3_column_text(read.get(), 1));
        c.definition = reinterpret_cast<const char*>(sqlite3_column_text(read.get(), 2));
        out.push_back(std::move(c));
    }
    return out;
}

void recordDisabledConstraint(sqlite3* db, const DisabledConstraint& c) {
    runDdlSql(db, "CREATE TABLE IF NOT EXISTS " + catalog() +
                      " (TABLE_NAME TEXT NOT NULL, CONSTRAINT_NAME TEXT NOT NULL, "
                      "DEFINITION TEXT NOT NULL)");
    runDdlSql(db, "INSERT INTO " + catalog() + " VALUES (" + sqlStringLiteral(asciiUpper(c.table)) +
                      ", " + sqlStringLiteral(c.name) + ", " + sqlStringLiteral(c.definition) +
                      ")");
}

bool takeDisabledConstraint(sqlite3* db, const std::string& table, const std::string& name,
                            std::string& definition) {
    if (!mainTableExists(db, kDisabledConstraintCatalog)) return false;
    const std::string where = " WHERE TABLE_NAME = " + sqlStringLiteral(asciiUpper(table)) +
                              " AND CONSTRAINT_NAME = " + sqlStringLiteral(name) +
                              " COLLATE NOCASE";
    SqliteStmt read = prepareSql(db, "SELECT DEFINITION FROM " + catalog() + where);
    if (sqlite3_step(read.get()) != SQLITE_ROW) return false;
    definition = reinterpret_cast<const char*>(sqlite3_column_text(read.get(), 0));
    read.reset();
    runDdlSql(db, "DELETE FROM " + catalog() + where);
    return true;
}

void recordValidation(sqlite3* db, const std::string& table, const std::string& name,
                      bool validated) {
    if (!validated)
        runDdlSql(db, "CREATE TABLE IF NOT EXISTS " + unvalidated() +
                          " (TABLE_NAME TEXT NOT NULL, CONSTRAINT_NAME TEXT NOT NULL)");
    if (!mainTableExists(db, kUnvalidatedConstraintCatalog)) return;
    const std::string table_ = sqlStringLiteral(asciiUpper(table));
    const std::string name_ = sqlStringLiteral(asciiUpper(name));
    runDdlSql(db, "DELETE FROM " + unvalidated() + " WHERE TABLE_NAME = " + table_ +
                      " AND CONSTRAINT_NAME = " + name_);
    if (!validated)
        runDdlSql(db, "INSERT INTO " + unvalidated() + " VALUES (" + table_ + ", " + name_ + ")");
}

std::set<std::pair<std::string, std::string>> unvalidatedConstraints(sqlite3* db) {
    std::set<std::pair<std::string, std::string>> out;
    if (!mainTableExists(db, kUnvalidatedConstraintCatalog)) return out;
    SqliteStmt read =
        prepareSql(db, "SELECT TABLE_NAME, CONSTRAINT_NAME FROM " + unvalidated());
    while (sqlite3_step(read.get()) == SQLITE_ROW)
        out.emplace(reinterpret_cast<const char*>(sqlite3_column_text(read.get(), 0)),
                    reinterpret_cast<const char*>(sqlite3_column_text(read.get(), 1)));
    return out;
}

void forgetDisabledConstraints(sqlite3* db, const std::string& table) {
    if (mainTableExists(db, kUnvalidatedConstraintCatalog))
        runDdlSql(db, "DELETE FROM " + unvalidated() +
                          " WHERE TABLE_NAME = " + sqlStringLiteral(asciiUpper(table)));
    if (!mainTableExists(db, kDisabledConstraintCatalog)) return;
    runDdlSql(db, "DELETE FROM " + catalog() +
                      " WHERE TABLE_NAME = " + sqlStringLiteral(asciiUpper(table)));
}

void renameDisabledConstraints(sqlite3* db, const std::string& from, const std::string& to) {
    if (mainTableExists(db, kUnvalidatedConstraintCatalog))
        runDdlSql(db, "UPDATE " + unvalidated() +
                          " SET TABLE_NAME = " + sqlStringLiteral(asciiUpper(to)) +
                          " WHERE TABLE_NAME = " + sqlStringLiteral(asciiUpper(from)));
    if (!mainTableExists(db, kDisabledConstraintCatalog)) return;
    runDdlSql(db, "UPDATE " + catalog() + " SET TABLE_NAME = " + sqlStringLiteral(asciiUpper(to)) +
                      " WHERE TABLE_NAME = " + sqlStringLiteral(asciiUpper(from)));
}

}  // namespace detail
}  // namespace kavexdb
