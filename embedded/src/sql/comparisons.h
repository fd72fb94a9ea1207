// Where the operands of a comparison are in a statement's tokens, for the passes that convert
// or wrap them.
#ifndef KAVEXDB_SQL_COMPARISONS_H
#define KAVEXDB_SQL_COMPARISONS_H

#include <cstddef>
#include <utility>
#include <vector>

namespace kavexdb {
namespace detail {

class TokenEditor;

// The first (going backwards, the last) token of the operand next to a comparison operator
// that starts at from; e.size() when there is none.
std::size_t comparandEnd(const TokenEditor& e, std::size_t from, bool forward);

// The operands of the comparison at token op, each as its first and last token: x and y of
// x op y (op one of = <> != ^= < <= > >=, not the '=' of a SET clause), or x, low and high of
// x [NOT] BETWEEN low AND high (op the word BETWEEN). Empty when there is none; moves op to the
// operator's last token.
std::vector<std::pair<std::size_t, std::size_t>> comparisonAt(const TokenEditor& e,
                                                              std::size_t& op);

}  // namespace detail
}  // namespace kavexdb

#endif
