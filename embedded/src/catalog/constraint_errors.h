// Oracle's errors for a row SQLite refused on one of the table's constraints, naming the
// constraint as Oracle does, with the owner: ORA-00001 unique constraint (SCOTT.DEPT_PK),
// ORA-02290 check constraint (SCOTT.SAL_CK), ORA-02291 and ORA-02292 integrity constraint
// (SCOTT.EMP_FK), ORA-01400 for NULL into a NOT NULL column ("SCOTT"."EMP"."ENAME"), ORA-01407
// when an UPDATE sets one to NULL. SQLite names the columns of a key, or the check's name; the
// names come from the tables' stored definitions.
#ifndef KAVEXDB_CATALOG_CONSTRAINT_ERRORS_H
#define KAVEXDB_CATALOG_CONSTRAINT_ERRORS_H

#include <sqlite3.h>

#include <string>

namespace kavexdb {
namespace detail {

// Throws the Oracle error of a step of sql (SQLite's text, as run) that failed with rc; owner
// is the session user, upper case. Failures other than those above go to raiseSqlite. Given
// the failed statement, a missing parent key of a table with several foreign keys is told by
// running it once more (foreign_keys.h, probedForeignKey).
[[noreturn]] void raiseStepFailure(sqlite3* db, int rc, const std::string& sql,
                                   const std::string& owner, sqlite3_stmt* failed = nullptr);

}  // namespace detail
}  // namespace kavexdb

#endif
