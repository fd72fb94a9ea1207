// Exact results of a query: NUMBER values past what a double holds (more than 15 significant
// digits, or whole numbers beyond 64 bits) reach the host with every digit, where nothing in
// SQLite compares or sorts them.
//
// SQLite orders a text after every number, so a value carried as its exact text may only go where
// no comparison, sort key or stored column sees it. That is the result of the outermost query
// (each part of a compound), and the arithmetic feeding it: in those items the pass calls the
// exact twins (functions/catalog.h) of the functions whose value is the item's or an argument of
// another twin, so that they may return exact text (resultComputed), and writes each long numeric
// literal there as ORA$X_NUM('digits'), which keeps its digits. Items a top-level ORDER BY names
// (by position or alias) and compounds with an ORDER BY are left as they are, as is everything
// elsewhere in the statement.
#ifndef KAVEXDB_REWRITE_EXPR_EXACT_RESULTS_H
#define KAVEXDB_REWRITE_EXPR_EXACT_RESULTS_H

#include <string>

namespace kavexdb {
namespace detail {

// sql: a query as the other passes left it. Returns it with its exact results marked.
std::string markExactResults(const std::string& sql);
// sql: DML as the write conversions left it. The value each NUMBER conversion (ORA$W_NUM) stores
// is marked the same way, so that a column keeps every digit of what it is given.
std::string markExactWrites(const std::string& sql);

}  // namespace detail
}  // namespace kavexdb

#endif
