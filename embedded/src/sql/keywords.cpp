// The keyword table (sql/keywords.h), sorted by word for a binary search.
#include "sql/keywords.h"

#include <algorithm>
#include <cstring>
#include <iterator>


namespace kavexdb {
namespace detail {

namespace {

struct Keyword {
    const char* word;
    unsigned roles;
};

constexpr Keyword kKeywords[] = {
    {"ALL", kBeforeParenthesis | kNotItemAlias | kNotFunctionName | kEndsExpression | kColumnMayFollow},
    {"ALTER", kStatementVerb},
    {"ANALYZE", kStatementVerb},
    {"AND", kEndsComparand | kExpressionFollows | kBeforeParenthesis | kJoinSyntax | kBeforeLeftOperand | kNotItemAlias | kNotFunctionName | kEndsExpression | kColumnMayFollow},
    {"ANY", kNotFunctionName | kEndsExpression},
    {"AS", kBeforeParenthesis | kJoinSyntax | kNotFunctionName | kEndsExpression},
    {"ASC", kJoinSyntax | kEndsExpression},
    {"ATTACH", kStatementVerb},
    {"BEGIN", kStatementVerb},
    {"BETWEEN", kEndsComparand | kExpressionFollows | kBeforeParenthesis | kJoinSyntax | kNotItemAlias | kNotFunctionName | kEndsExpression | kColumnMayFollow},
    {"BY", kEndsComparand | kExpressionFollows | kBeforeParenthesis | kBeforeLeftOperand | kNotItemAlias | kNotFunctionName | kEndsExpression | kColumnMayFollow},
    {"CASE", kEndsComparand | kBeforeParenthesis | kJoinSyntax | kBeforeLeftOperand | kNotItemAlias | kNotFunctionName | kEndsExpression | kColumnMayFollow},
    {"CAST", kJoinSyntax},
    {"CHECK", kBeforeLeftOperand | kEndsExpression},
    {"COLLATE", kJoinSyntax | kEndsExpression},
    {"COMMENT", kStatementVerb},
    {"COMMIT", kStatementVerb},
    {"CONNECT", kClauseStart | kEndsComparand | kEndsTableReference | kNotTableAlias | kNotViewAlias | kEndsExpression},
    {"CONNECT_BY_ROOT", kJoinSyntax},
    {"CONSTRAINT", kEndsExpression},
    {"CREATE", kStatementVerb | kEndsExpression},
    {"CROSS", kEndsTableReference | kNotTableAlias | kNotViewAlias | kEndsExpression},
    {"DATE", kJoinSyntax},
    {"DEFAULT", kEndsExpression},
    {"DELETE", kStatementVerb | kEndsExpression},
    {"DESC", kJoinSyntax | kEndsExpression},
    {"DETACH", kStatementVerb},
    {"DISTINCT", kExpressionFollows | kBeforeParenthesis | kJoinSyntax | kNotItemAlias | kNotFunctionName | kEndsExpression | kColumnMayFollow},
    {"DROP", kStatementVerb},
    {"ELSE", kEndsComparand | kExpressionFollows | kBeforeParenthesis | kJoinSyntax | kBeforeLeftOperand | kNotItemAlias | kNotFunctionName | kEndsExpression | kColumnMayFollow},
    {"END", kEndsComparand | kStatementVerb | kJoinSyntax | kNotFunctionName | kEndsExpression},
    {"ESCAPE", kEndsComparand | kJoinSyntax | kNotItemAlias | kEndsExpression | kColumnMayFollow},
    {"EXCEPT", kClauseStart | kEndsComparand | kEndsTableReference | kNotTableAlias | kNotViewAlias | kEndsOrderBy | kNotFunctionName | kEndsExpression},
    {"EXISTS", kBeforeParenthesis | kJoinSyntax | kNotFunctionName | kEndsExpression},
    {"EXPLAIN", kStatementVerb},
    {"FALSE", kJoinSyntax},
    {"FETCH", kClauseStart | kEndsComparand | kEndsTableReference | kNotTableAlias | kNotViewAlias | kEndsOrderBy | kEndsExpression},
    {"FILTER", kNotFunctionName | kEndsExpression},
    {"FIRST", kJoinSyntax},
    {"FOR", kEndsOrderBy | kEndsExpression},
    {"FOREIGN", kEndsExpression},
    {"FROM", kClauseStart | kEndsComparand | kNotFunctionName | kEndsExpression},
    {"FULL", kEndsTableReference | kNotTableAlias | kNotViewAlias | kEndsExpression},
    {"GLOB", kNotFunctionName | kEndsExpression | kColumnMayFollow},
    {"GRANT", kStatementVerb},
    {"GROUP", kClauseStart | kEndsComparand | kEndsTableReference | kNotTableAlias | kNotViewAlias | kEndsExpression},
    {"GROUPS", kEndsOrderBy},
    {"HAVING", kClauseStart | kEndsComparand | kExpressionFollows | kEndsTableReference | kNotTableAlias | kNotViewAlias | kBeforeParenthesis | kBeforeLeftOperand | kNotItemAlias | kNotFunctionName | kEndsExpression | kColumnMayFollow},
    {"IF", kEndsExpression},
    {"IN", kEndsComparand | kExpressionFollows | kBeforeParenthesis | kJoinSyntax | kNotItemAlias | kNotFunctionName | kEndsExpression},
    {"INDEXED", kEndsTableReference},
    {"INNER", kEndsTableReference | kNotTableAlias | kNotViewAlias | kEndsExpression},
    {"INSERT", kStatementVerb | kEndsExpression},
    {"INTERSECT", kClauseStart | kEndsComparand | kEndsTableReference | kNotTableAlias | kNotViewAlias | kEndsOrderBy | kNotFunctionName | kEndsExpression},
    {"INTERVAL", kJoinSyntax},
    {"INTO", kClauseStart | kNotFunctionName | kEndsExpression},
    {"IS", kEndsComparand | kExpressionFollows | kBeforeParenthesis | kJoinSyntax | kNotItemAlias | kNotFunctionName | kEndsExpression},
    {"ISNULL", kEndsExpression},
    {"JOIN", kEndsTableReference | kNotTableAlias | kNotViewAlias | kNotFunctionName | kEndsExpression},
    {"KEEP", kEndsExpression},
    {"LAST", kJoinSyntax},
    {"LEFT", kEndsTableReference | kNotTableAlias | kNotViewAlias | kEndsExpression},
    {"LEVEL", kJoinSyntax},
    {"LIKE", kEndsComparand | kExpressionFollows | kBeforeParenthesis | kJoinSyntax | kNotItemAlias | kNotFunctionName | kEndsExpression | kColumnMayFollow},
    {"LIMIT", kClauseStart | kEndsComparand | kEndsTableReference | kNotTableAlias | kNotViewAlias | kEndsOrderBy | kNotFunctionName | kEndsExpression},
    {"MATCH", kEndsExpression},
    {"MERGE", kStatementVerb},
    {"MINUS", kClauseStart | kEndsComparand | kNotTableAlias | kNotViewAlias | kEndsOrderBy | kEndsExpression},
    {"NATURAL", kEndsTableReference | kNotTableAlias | kNotViewAlias | kEndsExpression},
    {"NOT", kEndsComparand | kExpressionFollows | kEndsTableReference | kBeforeParenthesis | kJoinSyntax | kBeforeLeftOperand | kNotItemAlias | kNotFunctionName | kEndsExpression | kColumnMayFollow},
    {"NOTNULL", kEndsExpression},
    {"NULL", kJoinSyntax},
    {"NULLS", kJoinSyntax | kEndsExpression},
    {"OFFSET", kClauseStart | kEndsComparand | kEndsTableReference | kNotTableAlias | kNotViewAlias | kEndsOrderBy | kNotFunctionName | kEndsExpression},
    {"ON", kEndsComparand | kExpressionFollows | kEndsTableReference | kNotTableAlias | kNotViewAlias | kBeforeParenthesis | kBeforeLeftOperand | kNotItemAlias | kNotFunctionName | kEndsExpression | kColumnMayFollow},
    {"OR", kEndsComparand | kExpressionFollows | kBeforeParenthesis | kJoinSyntax | kBeforeLeftOperand | kNotItemAlias | kNotFunctionName | kEndsExpression | kColumnMayFollow},
    {"ORDER", kClauseStart | kEndsComparand | kEndsTableReference | kNotTableAlias | kNotViewAlias | kEndsExpression},
    {"OUTER", kEndsTableReference | kEndsExpression},
    {"OVER", kNotFunctionName | kEndsExpression},
    {"PARTITION", kEndsExpression},
    {"PRAGMA", kStatementVerb},
    {"PRIMARY", kEndsExpression},
    {"PRIOR", kBeforeParenthesis | kJoinSyntax | kNotItemAlias | kColumnMayFollow},
    {"RANGE", kEndsOrderBy | kEndsExpression},
    {"RECURSIVE", kNotFunctionName},
    {"REFERENCES", kEndsExpression},
    {"REGEXP", kEndsExpression},
    {"REINDEX", kStatementVerb},
    {"RELEASE", kStatementVerb},
    {"RENAME", kStatementVerb},
    {"REPLACE", kStatementVerb},
    {"RETURN", kEndsComparand | kBeforeParenthesis | kBeforeLeftOperand},
    {"RETURNING", kClauseStart | kEndsTableReference | kNotFunctionName | kEndsExpression},
    {"REVOKE", kStatementVerb},
    {"RIGHT", kEndsTableReference | kNotTableAlias | kNotViewAlias | kEndsExpression},
    {"ROLLBACK", kStatementVerb},
    {"ROWNUM", kJoinSyntax},
    {"ROWS", kEndsOrderBy | kEndsExpression},
    {"SAVEPOINT", kStatementVerb},
    {"SELECT", kClauseStart | kEndsComparand | kExpressionFollows | kStatementVerb | kEndsTableReference | kBeforeParenthesis | kBeforeLeftOperand | kNotItemAlias | kNotFunctionName | kEndsExpression | kColumnMayFollow},
    {"SET", kClauseStart | kEndsComparand | kExpressionFollows | kEndsTableReference | kBeforeParenthesis | kNotFunctionName | kEndsExpression},
    {"SOME", kEndsExpression},
    {"START", kClauseStart | kEndsComparand | kEndsTableReference | kNotTableAlias | kNotViewAlias | kEndsExpression},
    {"SYSDATE", kJoinSyntax},
    {"SYSTIMESTAMP", kJoinSyntax},
    {"TABLE", kNotFunctionName | kEndsExpression},
    {"THEN", kEndsComparand | kExpressionFollows | kBeforeParenthesis | kJoinSyntax | kBeforeLeftOperand | kNotItemAlias | kNotFunctionName | kEndsExpression | kColumnMayFollow},
    {"TIMESTAMP", kJoinSyntax},
    {"TRUE", kJoinSyntax},
    {"TRUNCATE", kStatementVerb},
    {"UID", kJoinSyntax},
    {"UNION", kClauseStart | kEndsComparand | kEndsTableReference | kNotTableAlias | kNotViewAlias | kEndsOrderBy | kNotFunctionName | kEndsExpression},
    {"UNIQUE", kNotItemAlias | kEndsExpression},
    {"UPDATE", kStatementVerb | kEndsExpression},
    {"USER", kJoinSyntax},
    {"USING", kEndsTableReference | kNotTableAlias | kNotViewAlias | kNotFunctionName | kEndsExpression},
    {"VACUUM", kStatementVerb},
    {"VALUES", kClauseStart | kStatementVerb | kEndsTableReference | kBeforeParenthesis | kNotFunctionName | kEndsExpression},
    {"VIEW", kEndsExpression},
    {"WHEN", kEndsComparand | kExpressionFollows | kBeforeParenthesis | kJoinSyntax | kBeforeLeftOperand | kNotItemAlias | kNotFunctionName | kEndsExpression | kColumnMayFollow},
    {"WHERE", kClauseStart | kEndsComparand | kExpressionFollows | kEndsTableReference | kNotTableAlias | kNotViewAlias | kBeforeParenthesis | kBeforeLeftOperand | kNotItemAlias | kNotFunctionName | kEndsExpression | kColumnMayFollow},
    {"WINDOW", kClauseStart | kEndsTableReference | kNotTableAlias | kNotViewAlias | kEndsOrderBy | kEndsExpression},
    {"WITH", kStatementVerb | kBeforeLeftOperand | kNotFunctionName | kEndsExpression},
    {"WITHIN", kEndsExpression},
};

constexpr bool before(const char* a, const char* b) {
    while (*a && *a == *b) ++a, ++b;
    return static_cast<unsigned char>(*a) < static_cast<unsigned char>(*b);
}

constexpr bool sorted() {
    for (std::size_t i = 1; i < std::size(kKeywords); ++i)
        if (!before(kKeywords[i - 1].word, kKeywords[i].word)) return false;
    return true;
}
static_assert(sorted(), "kKeywords must stay sorted by word, each word once");

}  // namespace

bool hasRole(const Token& t, KeywordRole role) {
    char upper[32];  // longer than every keyword
    if (t.kind != Token::Kind::Word || t.text.size() >= sizeof upper) return false;
    for (std::size_t i = 0; i < t.text.size(); ++i) {
        const char c = t.text[i];
        upper[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    upper[t.text.size()] = '\0';
    const auto at = std::lower_bound(
        std::begin(kKeywords), std::end(kKeywords), upper,
        [](const Keyword& k, const char* w) { return std::strcmp(k.word, w) < 0; });
    return at != std::end(kKeywords) && std::strcmp(at->word, upper) == 0 &&
           (at->roles & role) != 0;
}

}  // namespace detail
}  // namespace kavexdb
