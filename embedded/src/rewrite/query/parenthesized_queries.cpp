#include "rewrite/query/parenthesized_queries.h"

namespace kavexdb {
namespace detail {

namespace {

bool setOperator(const TokenEditor& e, std::size_t k) {
    return e.word(k, "UNION") || e.word(k, "INTERSECT") || e.word(k, "MINUS") ||
           e.word(k, "EXCEPT");
}

// UNION, UNION ALL, MINUS, ... ending at k.
bool endsSetOperator(const TokenEditor& e, std::size_t k) {
    if (setOperator(e, k)) return true;
    return (e.word(k, "ALL") || e.word(k, "DISTINCT")) && setOperator(e, e.previous(k));
}

}  // namespace

bool rewriteParenthesizedQueries(TokenEditor& e) {
    bool changed = false;
    for (std::size_t k = 0; k < e.size(); ++k) {
        if (!e.punct(k, '(')) continue;
        const std::size_t first = e.next(k + 1);
        if (!e.word(first, "SELECT") && !e.word(first, "WITH")) continue;
        const std::size_t past = e.pastParens(k);
        if (past > e.size() || !e.punct(past - 1, ')')) continue;
        const std::size_t before = e.previous(k);
        const std::size_t after = e.next(past);
        // The statement itself, a member after a set operator, or the first member of a
        // compound inside parentheses ("IN ((SELECT ...) UNION ...)"). A query in FROM, IN,
        // EXISTS or a scalar position keeps its parentheses as they are.
        const bool statement = before >= e.size();
        const bool member = statement || endsSetOperator(e, before) ||
                            (e.punct(before, '(') && setOperator(e, after));
        if (!member) continue;
        e[k].text = "SELECT * FROM (";
        changed = true;
    }
    if (changed) e = TokenEditor(lexSql(e.text()));
    return changed;
}

}  // namespace detail
}  // namespace kavexdb
