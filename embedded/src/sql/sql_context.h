// Where a token of a lexed statement sits: helpers the rewrites of Oracle-only forms share.
#ifndef KAVEXDB_SQL_CONTEXT_H
#define KAVEXDB_SQL_CONTEXT_H

#include <string>
#include <utility>
#include <vector>

#include "base/ora_message.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// The text of tokens [from, to), as written.
std::string textOf(const TokenEditor& e, std::size_t from, std::size_t to);

// The top-level arguments of the call whose '(' is at open, as [from, to) token spans (one
// empty span for "()"). open must have its matching ')'.
std::vector<std::pair<std::size_t, std::size_t>> callArguments(const TokenEditor& e,
                                                               std::size_t open);

// Whether token i is a whole item of a SELECT list at its own parenthesis depth: preceded by
// SELECT, DISTINCT, ALL or ',' and followed by ',', FROM, ')' or the end, with SELECT the
// nearest clause word before it.
bool isWholeSelectItem(const TokenEditor& e, std::size_t i);

// The index of the '(' enclosing token i (size() at the top level).
std::size_t enclosingParen(const TokenEditor& e, std::size_t i);

// Whether the word at i is one of the words SQL clauses begin with (FROM, WHERE, GROUP, ...),
// which end an expression.
bool isClauseWord(const TokenEditor& e, std::size_t i);

// Raises an Oracle error from SQL: ORA$RAISE(code, text) fails its statement with
// "ORA-NNNNN: text", which the client reports as that error.
extern const char* const kRaiseFunction;
// ORA$RAISE(code, 'text'): the SQL expression that raises the error code with text.
std::string raiseCallText(int code, const std::string& text);
// ORA$RAISE(code, 'text') of message with its arguments.
template <int N, class... A>
std::string raiseCall(const OraMessage<N>& message, const A&... args) {
    return raiseCallText(message.code, messageText(message, args...));
}

}  // namespace detail
}  // namespace kavexdb

#endif
