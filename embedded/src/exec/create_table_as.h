// CREATE TABLE name [(column, ...)] AS query
//
// Oracle gives the new table the query's column types: a DATE column stays a DATE, a NUMBER(5,2)
// keeps its scale, an expression gets the type it is described with. SQLite's own CREATE TABLE
// ... AS would declare the columns by SQLite's affinities only, so every later write would skip
// the conversions and checks the declared types ask for. The statement is run instead as a CREATE
// TABLE of the described columns (rewritten as any other, so it gets the same value checks) and an
// INSERT ... SELECT of the query.
#ifndef KAVEXDB_CREATE_TABLE_AS_H
#define KAVEXDB_CREATE_TABLE_AS_H

#include <sqlite3.h>

#include <string>

#include "sql/plan.h"

namespace kavexdb {
namespace detail {

// Creates and fills the table in db's open transaction; the query is rewritten as any query is.
// Throws ORA-00998 for an expression without a column alias, ORA-01730 when a column list does
// not match the query's columns, ORA-01027 for bind variables, and the ORA errors of the
// statements it runs.
void runCreateTableAs(sqlite3* db, const CreateTableAs& statement, const std::string& sessionSchema);

}  // namespace detail
}  // namespace kavexdb

#endif
