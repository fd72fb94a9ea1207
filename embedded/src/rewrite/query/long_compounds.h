// SQLite refuses a compound SELECT of more than 500 queries ("too many terms in compound
// SELECT"); Oracle has no such limit, and scripts that load rows as one INSERT ... SELECT ...
// UNION ALL SELECT ... of thousands of branches are common. A longer chain of one set operator
// (UNION ALL, UNION or INTERSECT, which are associative) becomes a tree of chains: runs of its
// queries each framed as SELECT * FROM (...), as often as needed. The rows, and the column names
// (the first query's), stay as they were; an ORDER BY or row limit after the chain still orders
// or limits the whole. Chains that mix operators, or use MINUS (EXCEPT), are left as they are.
#ifndef KAVEXDB_LONG_COMPOUNDS_H
#define KAVEXDB_LONG_COMPOUNDS_H

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// Whether it changed e (which is then to be lexed anew).
bool frameLongCompounds(TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
