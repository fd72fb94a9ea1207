// The keywords the token passes ask about, in one table: each word with the roles it plays. A
// pass asks whether a token plays a role (hasRole) instead of keeping its own list of words; a
// word that comes to play a role is added to its row here.
#ifndef KAVEXDB_SQL_KEYWORDS_H
#define KAVEXDB_SQL_KEYWORDS_H

#include <cstddef>

#include "sql/sql_lexer.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// What a keyword may be to a pass: the word ...
enum KeywordRole : unsigned {
    kClauseStart = 1u << 0,  // starts a clause of a query or DML statement
    kEndsComparand = 1u << 1,  // ends an operand of a comparison
    kExpressionFollows = 1u << 2,  // must be followed by an expression
    kStatementVerb = 1u << 3,  // starts a statement
    kEndsTableReference = 1u << 4,  // follows a table reference without being its alias
    kNotTableAlias = 1u << 5,  // is never the alias of the table reference before it
    kNotViewAlias = 1u << 6,  // is never the alias of a dictionary view
    kBeforeParenthesis = 1u << 7,  // stands before a parenthesised expression, not a call
    kJoinSyntax = 1u << 8,  // is a keyword of a query, never a column of a (+) join
    kBeforeLeftOperand = 1u << 9,  // is before a comparison's left operand, outside it
    kEndsOrderBy = 1u << 10,  // ends an ORDER BY list
    kNotItemAlias = 1u << 11,  // is never the alias of a select item
    kNotFunctionName = 1u << 12,  // may stand before '(' without naming a function
    kEndsExpression = 1u << 13,  // ends an expression and never starts an operand
    kColumnMayFollow = 1u << 14,  // may be followed by a column reference
};

// Whether t is a Word (not a quoted identifier) whose keyword plays role, ignoring case.
bool hasRole(const Token& t, KeywordRole role);
inline bool hasRole(const TokenEditor& e, std::size_t i, KeywordRole role) {
    return i < e.size() && hasRole(e.at(i), role);
}

}  // namespace detail
}  // namespace kavexdb

#endif
