// Oracle sorts NULL as the largest value: last in an ascending ORDER BY, first in a descending
// one. SQLite sorts it as the smallest, so every ORDER BY term without NULLS FIRST/LAST gets the
// one Oracle implies (SQLite's own syntax, so views stay readable by other tools).
#include "rewrite/expr/expression_rewrite.h"
#include "sql/keywords.h"

namespace kavexdb {
namespace detail {

namespace {

// Words after which an ORDER BY list is over (at its own depth).
bool endsOrderBy(const TokenEditor& e, std::size_t i) {
    if (hasRole(e, i, kEndsOrderBy)) return true;
    return e.punct(i, ';');
}

void addNullsClause(TokenEditor& e, std::size_t first, std::size_t last) {
    if (first > last || last >= e.size()) return;
    const std::size_t before = e.previous(last);
    if (e.word(before, "NULLS")) return;
    // Written after the key's last token, not into it: the token stays what it was for the
    // passes that read it later (a ')' closing an OVER clause that holds ORDER BY of its own).
    e.writeAfter(last, e.word(last, "DESC") ? " NULLS FIRST" : " NULLS LAST");
}

}  // namespace

void orderNullsAsOracle(TokenEditor& e) {
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        if (!e.word(i, "ORDER") || !e.word(e.next(i + 1), "BY")) continue;
        // SIBLINGS BY and the like are not a sort list of this kind.
        std::size_t start = e.next(e.next(i + 1) + 1);
        int depth = 0;
        std::size_t k = start;
        for (; k < e.size(); k = e.next(k + 1)) {
            if (e.punct(k, '(')) ++depth;
            if (e.punct(k, ')')) {
                if (depth == 0) break;
                --depth;
            }
            if (depth == 0 && endsOrderBy(e, k)) break;
            if (depth == 0 && e.punct(k, ',')) {
                addNullsClause(e, start, e.previous(k));
                start = e.next(k + 1);
            }
        }
        addNullsClause(e, start, e.previous(k));
    }
}

}  // namespace detail
}  // namespace kavexdb
