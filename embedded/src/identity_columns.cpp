// Identity columns. CREATE TABLE's rewriting takes the clause out; this file records the column
// in the catalog and installs triggers that give it values as Oracle's identity sequence does:
// a row stored without a value gets the next number, never one handed out before (a high-water
// mark per column survives deletes and TRUNCATE), and never one a row already holds.
#include "detail.h"
#include "sql_lexer.h"
#include "sql_rewrite.h"

namespace kavexdb {
namespace detail {

namespace {

// The last value handed out per identity column.
const char* const kHighWaterMarks = "KAVEX$IDENTITY_HWM";

void run(sqlite3* db, const std::string& sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

bool tableExists(sqlite3* db, const char* name) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM main.sqlite_master WHERE type = 'table' AND name = ?1",
                           -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return false;
    }
    sqlite3_bind_text(raw, 1, name, -1, SQLITE_STATIC);
    const bool found = sqlite3_step(raw) == SQLITE_ROW;
    sqlite3_finalize(raw);
    return found;
}

std::string trigger(const std::string& kind, const IdentityColumn& id) {
    return sqlQuotedIdentifier("KAVEX$" + kind + "_" + id.table + "_" + id.column);
}

void installIdentity(sqlite3* db, const IdentityColumn& id) {
    const std::string table = sqlQuotedIdentifier(id.table);
    const std::string column = sqlQuotedIdentifier(id.column);
    const std::string key = "TABLE_NAME = " + sqlStringLiteral(id.table) +
                            " AND COLUMN_NAME = " + sqlStringLiteral(id.column);
    const std::string catalog = sqlQuotedIdentifier(kIdentityCatalog);
    const std::string marks = sqlQuotedIdentifier(kHighWaterMarks);
    run(db, "CREATE TABLE IF NOT EXISTS " + catalog +
                "(TABLE_NAME TEXT, COLUMN_NAME TEXT, GENERATION TEXT, "
                "PRIMARY KEY(TABLE_NAME, COLUMN_NAME))");
    run(db, "CREATE TABLE IF NOT EXISTS " + marks +
                "(TABLE_NAME TEXT, COLUMN_NAME TEXT, LAST_VALUE INTEGER NOT NULL, "
                "PRIMARY KEY(TABLE_NAME, COLUMN_NAME))");
    run(db, "INSERT OR REPLACE INTO " + catalog + " VALUES(" + sqlStringLiteral(id.table) + "," +
                sqlStringLiteral(id.column) + "," + sqlStringLiteral(id.generation) + ")");
    run(db, "INSERT OR REPLACE INTO " + marks + " VALUES(" + sqlStringLiteral(id.table) + "," +
                sqlStringLiteral(id.column) + ", 0)");
    // The index keeps max() of the column cheap for every generated row.
    run(db, "CREATE INDEX IF NOT EXISTS " + trigger("IDX", id) + " ON " + table + "(" + column + ")");
    run(db, "CREATE TRIGGER " + trigger("IDGEN", id) + " AFTER INSERT ON " + table +
                " FOR EACH ROW WHEN NEW." + column + " IS NULL BEGIN UPDATE " + marks +
                " SET LAST_VALUE = max(LAST_VALUE, coalesce((SELECT max(" + column + ") FROM " +
                table + "), 0)) + 1 WHERE " + key + "; UPDATE " + table + " SET " + column +
                " = (SELECT LAST_VALUE FROM " + marks + " WHERE " + key +
                ") WHERE rowid = NEW.rowid; END");
    if (id.generation == "ALWAYS") {
        run(db, "CREATE TRIGGER " + trigger("IDINS", id) + " BEFORE INSERT ON " + table +
                    " FOR EACH ROW WHEN NEW." + column +
                    " IS NOT NULL BEGIN SELECT RAISE(ABORT, 'ORA-32795: cannot insert into a "
                    "generated always identity column'); END");
        run(db, "CREATE TRIGGER " + trigger("IDUPD", id) + " BEFORE UPDATE OF " + column + " ON " +
                    table + " FOR EACH ROW WHEN OLD." + column +
                    " IS NOT NULL BEGIN SELECT RAISE(ABORT, 'ORA-32796: cannot update a generated "
                    "always identity column'); END");
    } else {
        const std::string name = "\"" + id.table + "\".\"" + id.column + "\"";
        run(db, "CREATE TRIGGER " + trigger("IDUPD", id) + " BEFORE UPDATE OF " + column + " ON " +
                    table + " FOR EACH ROW WHEN NEW." + column + " IS NULL BEGIN SELECT RAISE(ABORT, " +
                    sqlStringLiteral("ORA-01407: cannot update (" + name + ") to NULL") + "); END");
    }
}

}  // namespace

void applyDdlEffects(sqlite3* db, const RewrittenSql& rewritten) {
    if (rewritten.kind != RewrittenSql::Kind::Ddl) return;
    for (const IdentityColumn& id : rewritten.identities) installIdentity(db, id);
    if (rewritten.droppedTable.empty()) return;
    // The table's triggers and index went with it; its catalog rows go now.
    const std::string where = " WHERE TABLE_NAME = " + sqlStringLiteral(rewritten.droppedTable);
    if (tableExists(db, kIdentityCatalog))
        run(db, "DELETE FROM " + sqlQuotedIdentifier(kIdentityCatalog) + where);
    if (tableExists(db, kHighWaterMarks))
        run(db, "DELETE FROM " + sqlQuotedIdentifier(kHighWaterMarks) + where);
}

}  // namespace detail
}  // namespace kavexdb
