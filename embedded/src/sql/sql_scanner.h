// Oracle's lexical forms in SQL text: text literals ('...' with '' inside, q'[...]' with any
// delimiter, N'...' and nq'...'), "quoted identifiers", "--" and "/* */" comments (hints among
// them), numbers, words, bind placeholders (":name", ":1") and single punctuation characters.
//
// Scanning needs nothing but the text and never fails: text that ends inside a literal, a quoted
// identifier or a block comment ends in an open lexeme, and each user decides what that means
// (the embedded client raises ORA-01756 or ORA-01740; kavex-sql waits for more lines).
#ifndef KAVEXDB_SQL_SCANNER_H
#define KAVEXDB_SQL_SCANNER_H

#include <cstddef>
#include <string>
#include <vector>

namespace kavexdb {
namespace lexer {

struct Token {
    enum class Kind { Space, Comment, Word, QuotedIdent, String, Number, Bind, Punct };
    Kind kind;
    std::string text;

    bool significant() const { return kind != Kind::Space && kind != Kind::Comment; }
    bool isWord(const char* upperWord) const;  // a Word equal to upperWord, ignoring case
    bool isPunct(char c) const { return kind == Kind::Punct && text.size() == 1 && text[0] == c; }
};

// One lexical unit where it stands in the text: sql.substr(begin, end - begin) is what was
// written. A national literal is two lexemes, the Word "N" and the literal after it, for N'...'
// and nq'...' alike.
struct Lexeme {
    Token::Kind kind;
    std::size_t begin;
    std::size_t end;     // one past its last character
    bool closed = true;  // false when the text ends inside it: then end == sql.size()
};

// The lexeme that starts at `at`, which must be 0 or the end of another lexeme (so that "aq'x'"
// is the word "aq" and a literal, not a q-quote). `at` < sql.size().
Lexeme lexemeAt(const std::string& sql, std::size_t at);

// Every lexeme of the text, in order; joined, their ranges cover it.
std::vector<Lexeme> scanSql(const std::string& sql);

// The token a lexeme stands for: its text as written, except that a closed q-quoted literal is
// written as the ordinary literal of the same value (q'[it's]' -> 'it''s'), so that whatever reads
// tokens meets one form of text literal only.
Token tokenOf(const std::string& sql, const Lexeme& lexeme);

// 'text' with every quote in it doubled.
std::string sqlStringLiteral(const std::string& text);

}  // namespace lexer
}  // namespace kavexdb

#endif
