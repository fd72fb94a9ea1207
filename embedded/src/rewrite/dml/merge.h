// MERGE INTO target [alias] USING table | (query) [alias] ON (condition)
//   [WHEN MATCHED THEN UPDATE SET c = e, ... [WHERE c] [DELETE WHERE c]]
//   [WHEN NOT MATCHED THEN INSERT [(columns)] VALUES (values) [WHERE c]]
//
// SQLite has no MERGE: the statement becomes steps run in order in one transaction step, each
// binding the MERGE's placeholders by name:
//   1. UPDATE target AS alias SET ... FROM source AS alias WHERE on [AND update-where]
//   2. INSERT INTO target [(columns)] SELECT values FROM source AS alias
//        WHERE NOT EXISTS (matching target row) [AND insert-where]
//   3. DELETE of the rows step 1 updated that meet the DELETE WHERE condition, not touching
//      the rows step 2 inserted (their rowids lie above the bound taken before step 2).
// The update count is the rows updated plus the rows inserted, as Oracle counts merged rows.
#ifndef KAVEXDB_MERGE_H
#define KAVEXDB_MERGE_H

#include "rewrite/sql_rewrite.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// The bound parameter step 3 compares rowids with (the largest rowid before step 2).
extern const char* const kMergeRowidBound;  // ":kavex_merge_bound"

// A MERGE statement (already rewritten in place) -> out.dml.steps and out.dml.bindNames; false for
// other statements. Throws ORA-00905/00969/... for a malformed MERGE.
bool rewriteMerge(TokenEditor& e, RewrittenSql& out);

}  // namespace detail
}  // namespace kavexdb

#endif
