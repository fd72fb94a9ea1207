// Oracle's own join forms, rewritten into SQLite's before the other rewrites run:
//
// The (+) outer join: in a query block whose FROM clause is a comma list, WHERE terms (ANDed
// at the top level) that mark a table's columns with (+) become that table's LEFT JOIN ... ON
// condition; the other tables keep their places. One or several columns, either side of the
// comparison, and constant conditions (b.x(+) = 5) are carried over; a column marked (+) must
// be qualified by its table's name or alias.
//
// Hierarchical queries over one table, view or subquery:
//   SELECT ... FROM t [alias] [WHERE w] [START WITH s] CONNECT BY [NOCYCLE] c
//     [ORDER SIBLINGS BY k | ORDER BY o]
// become a recursive common table expression that walks the rows depth first, with LEVEL,
// SYS_CONNECT_BY_PATH, CONNECT_BY_ROOT, CONNECT_BY_ISLEAF and CONNECT_BY_ISCYCLE. A row that
// would be its own ancestor is ORA-01436 ("CONNECT BY loop in user data"), or left out under
// NOCYCLE. A CONNECT BY without PRIOR (CONNECT BY LEVEL <= n) generates rows.
// Limits: ORDER SIBLINGS BY keys sort ascending for texts (DESC applies to numbers only).
#ifndef KAVEXDB_ORACLE_JOINS_H
#define KAVEXDB_ORACLE_JOINS_H

#include <sqlite3.h>

#include <string>

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// Returns the statement's text with the rewrites applied, or "" when it has neither form.
std::string rewriteOracleJoins(const TokenEditor& e);


}  // namespace detail
}  // namespace kavexdb

#endif
