// Oracle's row limiting in SQLite terms, per query block:
//   WHERE ... ROWNUM <= n (also < n, = 1, n >= ROWNUM, ANDed with other conditions)
//       -> the term goes; over one table the rows come from a subquery with the rest of WHERE
//          and LIMIT n (so that grouping and ORDER BY see only those rows), over a join the
//          block gets LIMIT n; ROWNUM > n and ROWNUM = k (k > 1), which Oracle never
//          satisfies, become a false condition
//   ROWNUM elsewhere in the block (select list, ORDER BY) -> row_number() OVER (), numbering
//       the rows as they leave the WHERE clause, before any ORDER BY, as Oracle does
//   OFFSET m ROWS / FETCH FIRST|NEXT [n] [PERCENT] ROWS ONLY|WITH TIES -> LIMIT ... OFFSET m,
//       PERCENT and WITH TIES counting the block's rows with a subquery.
// Limits: over a join, a ROWNUM limit in a block that also sorts or groups applies to the
// block's result. WITH TIES orders by the written keys in the scope of the FROM clause (not
// by select-list aliases).
#ifndef KAVEXDB_ROW_LIMITING_H
#define KAVEXDB_ROW_LIMITING_H

#include <string>
#include <vector>

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// In two steps, as the pipeline runs them: ROWNUM is read before the operators are rewritten
// (they wrap the operands they take, ROWNUM among them), and the limits are written after the
// last expression pass, so that the query blocks they frame, and the text they copy into a
// LIMIT, are rewritten already and the LIMIT's own arithmetic is left alone.
class RowLimits {
  public:
    // Takes each block's ROWNUM terms out of its WHERE clause and numbers the other ROWNUMs.
    explicit RowLimits(TokenEditor& e);
    // Writes the limits into e, the same statement with only expression passes run since.
    void apply(TokenEditor& e) const;

  private:
    struct Limit {
        std::size_t select;  // the block's SELECT
        std::string rownum;  // the LIMIT its ROWNUM terms stand for, "" when none
    };
    std::vector<Limit> blocks_;
};

}  // namespace detail
}  // namespace kavexdb

#endif
