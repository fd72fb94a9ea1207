// A PL/SQL unit's text as the parser reads it: the significant tokens of the SQL lexer, each
// with where it stands (for error positions and for cutting SQL out of the text), and with
// PL/SQL's compound symbols joined: := => .. << >>
#ifndef KAVEXDB_PLSQL_SOURCE_H
#define KAVEXDB_PLSQL_SOURCE_H

#include <cstddef>
#include <string>
#include <vector>

#include "sql/sql_lexer.h"

namespace kavexdb {
namespace detail {
namespace plsql {

struct SourceToken {
    Token::Kind kind = Token::Kind::Punct;
    std::string text;       // as the lexer gives it (q-quoted literals as ordinary ones)
    std::size_t begin = 0;  // in the unit's text
    std::size_t end = 0;
    int line = 1;
    int column = 1;

    bool isWord(const char* upperWord) const;
    bool isSymbol(const char* symbol) const { return kind == Token::Kind::Punct && text == symbol; }
    // The name a word or quoted identifier stands for (upper case unless quoted).
    std::string name() const;
};

class Source {
  public:
    // ORA-01756 / ORA-01740 for a literal or quoted identifier that does not end.
    explicit Source(std::string text);
    // A package and its body as one text (joined by a newline), with the body's
    // lines counted from 1 again, as Oracle counts each unit's lines.
    Source(const std::string& first, const std::string& second);

    const std::string& text() const { return text_; }
    // The significant tokens, then one empty Punct token at the end of the text.
    const std::vector<SourceToken>& tokens() const { return tokens_; }
    const SourceToken& at(std::size_t i) const {
        return tokens_[i < tokens_.size() ? i : tokens_.size() - 1];
    }
    // The text of tokens [first, last), as written.
    std::string slice(std::size_t first, std::size_t last) const;

  private:
    void scan(std::size_t restartAt);

    std::string text_;
    std::vector<SourceToken> tokens_;
};

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb

#endif
