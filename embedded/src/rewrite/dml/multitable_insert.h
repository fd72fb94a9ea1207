// Oracle's multitable INSERT, which SQLite lacks:
//   INSERT ALL | FIRST
//     [WHEN condition THEN] INTO table [(columns)] [VALUES (values)] [INTO ...] ...
//     [ELSE INTO ...]
//   subquery
// runs as steps, one INSERT ... SELECT per INTO clause over the subquery (merge.h runs them in
// one statement's savepoint): an INTO under WHEN takes the rows meeting its condition (under
// FIRST, the rows no earlier WHEN took); under ELSE the rows no WHEN took. Without VALUES an
// INTO takes the subquery's columns. The update count is the rows inserted into all tables.
#ifndef KAVEXDB_MULTITABLE_INSERT_H
#define KAVEXDB_MULTITABLE_INSERT_H

#include "rewrite/sql_rewrite.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// A multitable INSERT -> out.dml.steps and out.dml.bindNames; false for other statements. Throws
// ORA-00926/00928/00905 for a malformed one.
bool rewriteMultitableInsert(TokenEditor& e, RewrittenSql& out);

}  // namespace detail
}  // namespace kavexdb

#endif
