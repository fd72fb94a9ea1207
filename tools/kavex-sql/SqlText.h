// Helpers over SQL text that know where quotes and comments are, read with the embedded
// database's lexer (sql_scanner.h), the one that knows all of Oracle's lexical forms: '...'
// literals (with '' inside), "quoted identifiers", q-quoted literals (q'[...]', nq'{...}',
// q'!...!'), "--" and "/* */" comments. Used to find the bind placeholders, the first keyword
// and a statement's end.
#ifndef KAVEXSQL_SQLTEXT_H
#define KAVEXSQL_SQLTEXT_H

#include <string>
#include <vector>

#include "sql/sql_scanner.h"

namespace kavexsql {

using kavexdb::lexer::Lexeme;
using kavexdb::lexer::lexemeAt;
using LexemeKind = kavexdb::lexer::Token::Kind;

// The text with every q-quoted literal written as an ordinary one (q'[it's]' -> 'it''s',
// nq'{x}' -> N'x'): the same value, in the form every database accepts.
std::string standardLiterals(const std::string& sql);

// The distinct placeholder names (":name" or ":1", without the colon, upper-cased) in order of
// first appearance. Placeholder n of this list is bound as parameter n: the embedded client binds
// the n-th distinct placeholder.
std::vector<std::string> placeholders(const std::string& sql);

// The text with every placeholder name in upper case, so ":a" and ":A" (one bind variable, as
// Oracle compares bind names) are also one placeholder to a client that compares them exactly.
std::string upperPlaceholders(const std::string& sql);

// The text after the leading blanks and comments.
std::string withoutLeadingComments(const std::string& sql);

// The first word of the statement, upper-cased, skipping blanks and comments.
std::string firstKeyword(const std::string& sql);

// The first count words of the text (letters, digits, "_"), upper-cased, skipping everything else.
std::vector<std::string> leadingWords(const std::string& text, size_t count);

std::string upper(std::string text);
std::string trim(const std::string& text);

}  // namespace kavexsql

#endif
