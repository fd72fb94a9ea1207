// What a successful CREATE, ALTER or DROP TABLE leaves behind besides the table itself: the
// identity catalog and generators, and the disabled constraints (disabled_constraints.h). (Written values are checked by CHECK constraints the
// rewriting puts into the table's own definition, value_checks.h.)
#ifndef KAVEXDB_DDL_EFFECTS_H
#define KAVEXDB_DDL_EFFECTS_H

#include <sqlite3.h>

#include <string>

#include "sql/plan.h"

namespace kavexdb {
namespace detail {

// Call right after a Ddl statement ran successfully (in the same transaction): records the
// identity columns of a CREATE TABLE in kIdentityCatalog and installs what generates their
// values; follows a renamed table; forgets a dropped table. Does nothing for other statements.
// Throws the client's ORA errors when SQLite fails.
void applyDdlEffects(sqlite3* db, const RewrittenSql& rewritten);

// identity_columns.cpp
void installIdentity(sqlite3* db, const IdentityColumn& id);
void forgetIdentities(sqlite3* db, const std::string& table);
void renameIdentities(sqlite3* db, const std::string& from, const std::string& to);

// Runs SQL that returns no rows; SQLite's failure becomes the client's ORA error.
void runDdlSql(sqlite3* db, const std::string& sql);
bool mainTableExists(sqlite3* db, const char* name);

}  // namespace detail
}  // namespace kavexdb

#endif
