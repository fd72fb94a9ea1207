// What a successful CREATE, ALTER or DROP TABLE leaves behind besides the table itself: the
// identity catalog and generators, and the triggers that check written values.
#ifndef KAVEXDB_DDL_EFFECTS_H
#define KAVEXDB_DDL_EFFECTS_H

#include <sqlite3.h>

#include <string>

#include "sql_rewrite.h"

namespace kavexdb {
namespace detail {

// identity_columns.cpp
void installIdentity(sqlite3* db, const IdentityColumn& id);
void forgetIdentities(sqlite3* db, const std::string& table);
void renameIdentities(sqlite3* db, const std::string& from, const std::string& to);

// value_checks.cpp: triggers raising ORA-12899, ORA-01438 and ORA-01722 for written values
// that do not fit the declared column types.
void installValueChecks(sqlite3* db, const std::string& table);

// Runs SQL that returns no rows; SQLite's failure becomes the client's ORA error.
void runDdlSql(sqlite3* db, const std::string& sql);
bool mainTableExists(sqlite3* db, const char* name);

}  // namespace detail
}  // namespace kavexdb

#endif
