#include "catalog/ddl_effects.h"

#include "base/errors.h"
#include "catalog/constraint_names.h"
#include "catalog/disabled_constraints.h"
#include "sql/sqlite_errors.h"

namespace kavexdb {
namespace detail {

void runDdlSql(sqlite3* db, const std::string& sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

bool mainTableExists(sqlite3* db, const char* name) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT 1 FROM main.sqlite_master WHERE type = 'table' AND name = ?1",
                           -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return false;
    }
    sqlite3_bind_text(raw, 1, name, -1, SQLITE_STATIC);
    const bool found = sqlite3_step(raw) == SQLITE_ROW;
    sqlite3_finalize(raw);
    return found;
}

void applyDdlEffects(sqlite3* db, const RewrittenSql& rewritten) {
    if (rewritten.kind != RewrittenSql::Kind::Ddl) return;
    for (const IdentityColumn& id : rewritten.ddl.identities) installIdentity(db, id);
    if (!rewritten.ddl.renamedFrom.empty()) {
        renameIdentities(db, rewritten.ddl.renamedFrom, rewritten.ddl.renamedTo);
        renameDisabledConstraints(db, rewritten.ddl.renamedFrom, rewritten.ddl.renamedTo);
    }
    if (!rewritten.ddl.droppedTable.empty()) {
        forgetIdentities(db, rewritten.ddl.droppedTable);
        forgetDisabledConstraints(db, rewritten.ddl.droppedTable);
    }
    // The further columns of ALTER TABLE ... ADD (a ..., b ...) name their constraints too.
    for (const std::string& sql : rewritten.ddl.catalogSql)
        runDdlSql(db, withConstraintNames(db, sql));
}

}  // namespace detail
}  // namespace kavexdb
