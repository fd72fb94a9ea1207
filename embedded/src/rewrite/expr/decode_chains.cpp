#include "rewrite/expr/decode_chains.h"

#include <string>

#include "sql/sql_context.h"

namespace kavexdb {
namespace detail {

namespace {

constexpr std::size_t kSqliteMaxArguments = 127;
// The arguments a link keeps before the next link: x and 62 pairs of search and result.
constexpr std::size_t kLinkArguments = 125;

}  // namespace

void chainLongDecodes(TokenEditor& e) {
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        const std::size_t open = e.next(i + 1);
        if (!e.word(i, "DECODE") || !e.punct(open, '(') || e.punct(e.previous(i), '.')) continue;
        const std::size_t past = e.pastParens(open);
        if (past > e.size()) return;
        const auto args = depthZeroItems(e, open + 1, past - 1);
        if (args.size() <= kSqliteMaxArguments) continue;
        const std::string x = textOf(e, args[0].first, args[0].second);
        std::string closes;
        // The first link keeps x and arguments 1..124; each further one x and 124 more, until
        // one can take all that is left.
        for (std::size_t at = kLinkArguments;; at += kLinkArguments - 1) {
            e[args[at - 1].second].text = ", DECODE(" + x + ",";  // the ',' before argument at
            closes += ")";
            if (1 + args.size() - at <= kSqliteMaxArguments) break;
        }
        e[past - 1].text += closes;
    }
}

}  // namespace detail
}  // namespace kavexdb
