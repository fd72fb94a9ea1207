// Oracle forms of INSERT, UPDATE and DELETE that SQLite spells otherwise:
//   DELETE [FROM] t alias ...            -> DELETE FROM t AS alias ...
//   INSERT INTO t [(columns)] (subquery) -> INSERT INTO t [(columns)] subquery
//   VALUES (..., DEFAULT, ...), SET c = DEFAULT -> the column's declared default, else NULL
#ifndef KAVEXDB_DML_FORMS_H
#define KAVEXDB_DML_FORMS_H

#include <sqlite3.h>

#include <string>

namespace kavexdb {
namespace detail {

// sql is SQLite SQL as the rewriting made it; the target table's defaults are looked up in db.
// Other statements are returned as they are.
std::string rewriteDmlForms(sqlite3* db, const std::string& sql);

}  // namespace detail
}  // namespace kavexdb

#endif
