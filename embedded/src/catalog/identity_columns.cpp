// Identity columns. CREATE TABLE's rewriting takes the clause out; this file records the column
// in the catalog and installs triggers that give it values as Oracle's identity sequence does:
// a row stored without a value gets the next number, never one handed out before (a high-water
// mark per column survives deletes and TRUNCATE), and never one a row already holds.
#include "base/ora_messages.h"
#include "catalog/ddl_effects.h"
#include "catalog/identity_catalog.h"
#include "sql/sql_lexer.h"

namespace kavexdb {
namespace detail {

namespace {

// The last value handed out per identity column.
const char* const kHighWaterMarks = "KAVEX$IDENTITY_HWM";

std::string objectName(const std::string& kind, const IdentityColumn& id) {
    return sqlQuotedIdentifier("KAVEX$" + kind + "_" + id.table + "_" + id.column);
}

// CREATE TRIGGER IF NOT EXISTS KAVEX$<kind>_T_C <timing> ON "T" FOR EACH ROW WHEN <when>
// BEGIN <body> END
void createTrigger(sqlite3* db, const IdentityColumn& id, const std::string& kind,
                   const std::string& timing, const std::string& when, const std::string& body) {
    runDdlSql(db, "CREATE TRIGGER IF NOT EXISTS " + objectName(kind, id) + " " + timing + " ON " +
                      sqlQuotedIdentifier(id.table) + " FOR EACH ROW WHEN " + when + " BEGIN " +
                      body + " END");
}

std::string raiseError(const std::string& oraMessage) {
    return "SELECT RAISE(ABORT, " + sqlStringLiteral(oraMessage) + ");";
}

}  // namespace

void installIdentity(sqlite3* db, const IdentityColumn& id) {
    const std::string table = sqlQuotedIdentifier(id.table);
    const std::string column = sqlQuotedIdentifier(id.column);
    const std::string catalog = sqlQuotedIdentifier(kIdentityCatalog);
    const std::string marks = sqlQuotedIdentifier(kHighWaterMarks);
    const std::string names = sqlStringLiteral(id.table) + ", " + sqlStringLiteral(id.column);
    const std::string key = "TABLE_NAME = " + sqlStringLiteral(id.table) +
                            " AND COLUMN_NAME = " + sqlStringLiteral(id.column);
    runDdlSql(db, "CREATE TABLE IF NOT EXISTS " + catalog +
                      "(TABLE_NAME TEXT, COLUMN_NAME TEXT, GENERATION TEXT, "
                      "PRIMARY KEY(TABLE_NAME, COLUMN_NAME))");
    runDdlSql(db, "CREATE TABLE IF NOT EXISTS " + marks +
                      "(TABLE_NAME TEXT, COLUMN_NAME TEXT, LAST_VALUE INTEGER NOT NULL, "
                      "PRIMARY KEY(TABLE_NAME, COLUMN_NAME))");
    runDdlSql(db, "INSERT OR REPLACE INTO " + catalog + " VALUES(" + names + ", " +
                      sqlStringLiteral(id.generation) + ")");
    // The index keeps max() of the column cheap for every generated row.
    runDdlSql(db, "CREATE INDEX IF NOT EXISTS " + objectName("IDX", id) + " ON " + table + "(" +
                      column + ")");
    // The mark's row is made again when missing (a table renamed and its old name dropped).
    createTrigger(db, id, "IDGEN", "AFTER INSERT", "NEW." + column + " IS NULL",
                  "INSERT OR IGNORE INTO " + marks + " VALUES(" + names + ", 0); " + "UPDATE " +
                      marks + " SET LAST_VALUE = max(LAST_VALUE, coalesce((SELECT max(" + column +
                      ") FROM " + table + "), 0)) + 1 WHERE " + key + "; " + "UPDATE " + table +
                      " SET " + column + " = (SELECT LAST_VALUE FROM " + marks + " WHERE " + key +
                      ") WHERE rowid = NEW.rowid;");
    if (id.generation == "ALWAYS") {
        createTrigger(db, id, "IDINS", "BEFORE INSERT", "NEW." + column + " IS NOT NULL",
                      raiseError(oraErrorText(ora::kInsertIntoAlwaysIdentity)));
        createTrigger(db, id, "IDUPD", "BEFORE UPDATE OF " + column,
                      "OLD." + column + " IS NOT NULL",
                      raiseError(oraErrorText(ora::kUpdateAlwaysIdentity)));
    } else {
        createTrigger(db, id, "IDUPD", "BEFORE UPDATE OF " + column, "NEW." + column + " IS NULL",
                      raiseError(oraErrorText(ora::kCannotUpdateToNull,
                                               "\"" + id.table + "\".\"" + id.column + "\"")));
    }
}

void forgetIdentities(sqlite3* db, const std::string& table) {
    // The table's triggers and index went with it; its catalog rows go now.
    const std::string where = " WHERE TABLE_NAME = " + sqlStringLiteral(table);
    if (mainTableExists(db, kIdentityCatalog))
        runDdlSql(db, "DELETE FROM " + sqlQuotedIdentifier(kIdentityCatalog) + where);
    if (mainTableExists(db, kHighWaterMarks))
        runDdlSql(db, "DELETE FROM " + sqlQuotedIdentifier(kHighWaterMarks) + where);
}

// SQLite carries the triggers over to the new name; they keep their high-water marks under the
// old one, so only the catalog that describe reads follows.
void renameIdentities(sqlite3* db, const std::string& from, const std::string& to) {
    if (!mainTableExists(db, kIdentityCatalog)) return;
    runDdlSql(db, "UPDATE " + sqlQuotedIdentifier(kIdentityCatalog) + " SET TABLE_NAME = " +
                      sqlStringLiteral(to) + " WHERE TABLE_NAME = " + sqlStringLiteral(from));
}

}  // namespace detail
}  // namespace kavexdb
