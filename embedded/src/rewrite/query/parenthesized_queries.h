// Oracle takes a query in parentheses as a statement, "(SELECT ...)", and as a member of UNION,
// INTERSECT and MINUS, "(SELECT ...) UNION (SELECT ... MINUS SELECT ...)"; SQLite takes neither.
// Each such query becomes SELECT * FROM (query), which keeps its rows, its column names and
// the grouping the parentheses give.
#ifndef KAVEXDB_PARENTHESIZED_QUERIES_H
#define KAVEXDB_PARENTHESIZED_QUERIES_H

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// Whether it changed e (which is then lexed anew).
bool rewriteParenthesizedQueries(TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
