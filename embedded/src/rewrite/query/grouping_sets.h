// GROUP BY with ROLLUP, CUBE and GROUPING SETS, which SQLite lacks, as a UNION ALL of one query
// per grouping set. In each, a grouping expression the set leaves out reads as NULL in the select
// list and HAVING (outside aggregate arguments), and GROUPING(expr) / GROUPING_ID(expr, ...) are
// the constants Oracle gives that set:
//   SELECT a, b, SUM(x) FROM t GROUP BY ROLLUP(a, b) ORDER BY 1, 2
//   -> SELECT a, b, SUM(x) FROM t GROUP BY a, b
//      UNION ALL SELECT a, NULL, SUM(x) FROM t GROUP BY a
//      UNION ALL SELECT NULL, NULL, SUM(x) FROM t ORDER BY 1, 2
// Plain expressions beside them are in every set; ROLLUP(a, b) gives (a, b), (a), (); CUBE every
// subset; GROUPING SETS the sets listed. A form it does not read stays as written (and fails
// as an unknown function).
#ifndef KAVEXDB_GROUPING_SETS_H
#define KAVEXDB_GROUPING_SETS_H

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// Rewrites the first query block grouping by grouping sets; true when it did (lex e.text()
// again, and call again for further blocks).
bool rewriteGroupingSets(TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
