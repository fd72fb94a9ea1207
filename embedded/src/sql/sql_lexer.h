// The client's view of SQL text as tokens: Oracle's lexical forms (sql_scanner.h), with text
// that ends inside a literal or a quoted identifier an error as Oracle reports it. Joined, the
// tokens give the input back, except that q-quoted literals come back as ordinary ones of the same
// value, so rewriting meets one form of text literal and never touches what sits inside it.
#ifndef KAVEXDB_SQL_LEXER_H
#define KAVEXDB_SQL_LEXER_H

#include <string>
#include <vector>

#include "base/text.h"
#include "sql/sql_scanner.h"

namespace kavexdb {
namespace detail {

using lexer::sqlStringLiteral;
using lexer::Token;

// Throws ORA-01756 for an unterminated string literal and ORA-01740 for an unterminated quoted
// identifier.
std::vector<Token> lexSql(const std::string& sql);

std::string joinTokens(const std::vector<Token>& tokens);
// The name a Word or QuotedIdent stands for as Oracle resolves it: a word in upper case, a quoted
// identifier as written without its quotes.
std::string identifierName(const Token& token);
// Upper-cases the text outside string literals and quoted identifiers; text that does not lex
// is upper-cased whole.
std::string upperOutsideQuotes(const std::string& text);
// "name" with embedded quotes doubled ('text' is sqlStringLiteral).
std::string sqlQuotedIdentifier(const std::string& name);
// name as SQL text: as it is when it is a word in upper case (a letter, then letters, digits,
// _, $ and #), which SQL reads back as the same name; quoted otherwise.
std::string sqlIdentifier(const std::string& name);
// The text of a string literal token: its quotes taken off, doubled quotes single again.
std::string literalContent(const Token& t);

}  // namespace detail
}  // namespace kavexdb

#endif
