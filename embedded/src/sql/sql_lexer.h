// A small SQL lexer: splits statement text into tokens whose texts, joined, give the input back.
// It knows string literals, quoted identifiers, comments and bind placeholders, so rewriting never
// touches what sits inside them.
#ifndef KAVEXDB_SQL_LEXER_H
#define KAVEXDB_SQL_LEXER_H

#include <string>
#include <vector>

#include "base/text.h"

namespace kavexdb {
namespace detail {

struct Token {
    enum class Kind { Space, Comment, Word, QuotedIdent, String, Number, Bind, Punct };
    Kind kind;
    std::string text;

    bool significant() const { return kind != Kind::Space && kind != Kind::Comment; }
    bool isWord(const char* upperWord) const;  // a Word equal to upperWord, ignoring case
    bool isPunct(char c) const { return kind == Kind::Punct && text.size() == 1 && text[0] == c; }
};

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
// 'text' and "name" with embedded quotes doubled.
std::string sqlStringLiteral(const std::string& text);
std::string sqlQuotedIdentifier(const std::string& name);
// The text of a string literal token: its quotes taken off, doubled quotes single again.
std::string literalContent(const Token& t);

}  // namespace detail
}  // namespace kavexdb

#endif
