// A table's SAMPLE clause: FROM t SAMPLE [BLOCK] (percent) [SEED (n)] [alias] reads each row of
// t with the chance percent / 100, as Oracle's row sampling does (BLOCK samples rows too: the
// database has no blocks to pick). The table becomes a subquery of its sampled rows under the
// alias, or under the table's own name, so that the rest of the query names it as before.
// SEED makes the choice repeatable: the same seed over the same rows picks the same ones.
#ifndef KAVEXDB_REWRITE_QUERY_SAMPLE_CLAUSE_H
#define KAVEXDB_REWRITE_QUERY_SAMPLE_CLAUSE_H

#include "functions/catalog.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// Rewrites every SAMPLE clause of the statement; true when there was one. ORA-30562 for a
// percentage outside [0.000001, 100), ORA-00933 for a clause that is not one.
bool rewriteSampleClauses(TokenEditor& e);

// ORA$SAMPLE(percent, seed): whether the row at hand is in the sample (seed NULL: a new draw
// each time).
extern const FunctionFamily kSampleFunctions;

}  // namespace detail
}  // namespace kavexdb

#endif
