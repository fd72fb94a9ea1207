#include "plsql/source.h"

#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {
namespace plsql {

bool SourceToken::isWord(const char* upperWord) const {
    Token t{kind, text};
    return t.isWord(upperWord);
}

std::string SourceToken::name() const { return identifierName(Token{kind, text}); }

namespace {

// The two-character symbols PL/SQL reads as one.
bool joins(const std::string& first, char second) {
    if (first.size() != 1) return false;
    switch (first[0]) {
        case ':':
            return second == '=';
        case '=':
            return second == '>';
        case '.':
            return second == '.';
        case '<':
            return second == '<';
        case '>':
            return second == '>';
        default:
            return false;
    }
}

}  // namespace

Source::Source(std::string text) : text_(std::move(text)) { scan(std::string::npos); }

Source::Source(const std::string& first, const std::string& second) : text_(first + "\n" + second) {
    scan(first.size() + 1);
}

void Source::scan(std::size_t restartAt) {
    int line = 1;
    std::size_t lineStart = 0, counted = 0;
    auto position = [&](std::size_t at, SourceToken& t) {
        for (; counted < at; ++counted) {
            if (counted + 1 == restartAt) {
                line = 1;
                lineStart = restartAt;
            } else if (text_[counted] == '\n') {
                ++line, lineStart = counted + 1;
            }
        }
        t.line = line;
        t.column = static_cast<int>(at - lineStart) + 1;
    };
    for (const lexer::Lexeme& lx : lexer::scanSql(text_)) {
        if (!lx.closed && lx.kind == Token::Kind::String) raise(ora::kUnterminatedString);
        if (!lx.closed && lx.kind == Token::Kind::QuotedIdent) raise(ora::kMissingDoubleQuote);
        if (lx.kind == Token::Kind::Space || lx.kind == Token::Kind::Comment) continue;
        SourceToken t;
        t.kind = lx.kind;
        t.text = lexer::tokenOf(text_, lx).text;
        t.begin = lx.begin;
        t.end = lx.end;
        position(lx.begin, t);
        if (!tokens_.empty()) {
            SourceToken& last = tokens_.back();
            // 1..10 lexes as 1 . .10: the range symbol, then 10.
            if (last.isSymbol(".") && last.end == t.begin && t.kind == Token::Kind::Number &&
                t.text[0] == '.') {
                last.text = "..";
                t.text.erase(0, 1);
                ++t.begin;
                ++t.column;
            } else if (last.kind == Token::Kind::Punct && t.kind == Token::Kind::Punct &&
                       last.end == t.begin && joins(last.text, t.text[0]) && t.text.size() == 1) {
                last.text += t.text;
                last.end = t.end;
                continue;
            }
        }
        tokens_.push_back(std::move(t));
    }
    SourceToken end;
    end.begin = end.end = text_.size();
    position(text_.size(), end);
    tokens_.push_back(end);
}

std::string Source::slice(std::size_t first, std::size_t last) const {
    if (first >= last || first >= tokens_.size()) return std::string();
    const std::size_t from = tokens_[first].begin;
    const std::size_t to = tokens_[last - 1 < tokens_.size() ? last - 1 : tokens_.size() - 1].end;
    return text_.substr(from, to - from);
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
