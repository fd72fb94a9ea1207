// Oracle's quantified comparisons, `expr op ANY | SOME | ALL (list | subquery)`, which SQLite
// lacks, as conditions SQLite runs with the same three-valued result:
//   x op ANY (a, b)          -> (x op a OR x op b)
//   x op ALL (a, b)          -> (x op a AND x op b)
//   x = ANY (subquery)       -> x IN (subquery)
//   x <> ALL (subquery)      -> x NOT IN (subquery)
//   x op ANY|ALL (subquery)  -> a CASE over EXISTS tests of the subquery's rows: true, false or
//                               NULL as Oracle decides it (ALL over no rows is true, ANY false).
// and the floating-point conditions, whose left operand is found the same way:
//   x IS [NOT] NAN           -> (x) <> (x), (x) = (x): SQLite holds no NaN
//   x IS [NOT] INFINITE      -> (x) [NOT] IN (9e999, -9e999)
#ifndef KAVEXDB_QUANTIFIED_COMPARISONS_H
#define KAVEXDB_QUANTIFIED_COMPARISONS_H

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// Rewrites every quantified comparison and floating-point condition; true when one was rewritten
// (the tokens then hold the new text in fewer, larger tokens: lex e.text() again before further
// passes).
bool rewriteQuantifiedComparisons(TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
