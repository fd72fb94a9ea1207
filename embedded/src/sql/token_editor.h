// Edits a lexed statement in place: an erased token becomes an empty Space, so the positions
// of the others stay valid while rewriting passes run. Text written after a token
// (writeAfter) is part of the statement's text but no token: the passes that run later see
// the tokens as they were.
#ifndef KAVEXDB_TOKEN_EDITOR_H
#define KAVEXDB_TOKEN_EDITOR_H

#include <string>
#include <utility>
#include <vector>

#include "sql/sql_lexer.h"

namespace kavexdb {
namespace detail {

class TokenEditor {
  public:
    explicit TokenEditor(std::vector<Token> tokens) : t_(std::move(tokens)) {}

    std::size_t size() const { return t_.size(); }
    // The token at i to change; i must be a position of the statement (ORA-00600, an internal
    // error, when it is not: a pass that walked off the end fails its statement, not the host).
    Token& operator[](std::size_t i) {
        if (i >= t_.size()) outOfRange(i);
        return t_[i];
    }
    // The token at i, looking ahead or behind: past either end an empty Space token, so that a
    // pass reading beyond the statement sees nothing rather than another object's memory.
    const Token& at(std::size_t i) const { return i < t_.size() ? t_[i] : kNone; }
    const std::vector<Token>& tokens() const { return t_; }

    // The first significant token at or after i (size() when none).
    std::size_t next(std::size_t i) const {
        while (i < t_.size() && !t_[i].significant()) ++i;
        return i;
    }
    // The last significant token before i (size() when none).
    std::size_t previous(std::size_t i) const {
        while (i > 0) {
            --i;
            if (t_[i].significant()) return i;
        }
        return t_.size();
    }
    bool word(std::size_t i, const char* upper) const {
        return i < t_.size() && t_[i].isWord(upper);
    }
    bool punct(std::size_t i, char c) const { return i < t_.size() && t_[i].isPunct(c); }
    bool name(std::size_t i) const {
        return i < t_.size() &&
               (t_[i].kind == Token::Kind::Word || t_[i].kind == Token::Kind::QuotedIdent);
    }
    void erase(std::size_t i) { t_[i] = Token{Token::Kind::Space, std::string()}; }
    void erase(std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to && i < t_.size(); ++i) erase(i);
    }
    // Index just past the ')' matching the '(' at open (size() when unbalanced).
    std::size_t pastParens(std::size_t open) const {
        int depth = 0;
        for (std::size_t i = open; i < t_.size(); ++i) {
            if (t_[i].isPunct('(')) ++depth;
            if (t_[i].isPunct(')') && --depth == 0) return i + 1;
        }
        return t_.size();
    }
    // Writes text after token i (after any text written there before), outside the token.
    void writeAfter(std::size_t i, const std::string& text) {
        if (i >= t_.size()) outOfRange(i);
        if (after_.size() < t_.size()) after_.resize(t_.size());
        after_[i] += text;
    }
    // The statement's text from token from to before token to, with the text written after
    // each of them.
    std::string textBetween(std::size_t from, std::size_t to) const {
        std::string out;
        for (std::size_t i = from; i < to && i < t_.size(); ++i) {
            out += t_[i].text;
            if (i < after_.size()) out += after_[i];
        }
        return out;
    }
    std::string text() const { return textBetween(0, t_.size()); }

    // Where an old token went when the statement was lexed again: the new tokens first..last
    // hold its text (last < first when it had none; then first - 1 is the new token it follows).
    struct Span {
        std::size_t first, last;
    };
    // Lexes the statement's text again, so that what passes wrote into one token (a call with
    // its arguments) is tokens that later passes read; returns each old token's Span.
    std::vector<Span> relex();

  private:
    [[noreturn]] static void outOfRange(std::size_t i);
    static const Token kNone;
    std::vector<Token> t_;
    std::vector<std::string> after_;  // by token; shorter than t_ until something is written
};

// The depth-0 comma-separated items of e in [from, to), as [start, end) ranges.
inline std::vector<std::pair<std::size_t, std::size_t>> depthZeroItems(const TokenEditor& e,
                                                                       std::size_t from,
                                                                       std::size_t to) {
    std::vector<std::pair<std::size_t, std::size_t>> out;
    int depth = 0;
    std::size_t start = from;
    for (std::size_t k = from; k < to; ++k) {
        if (e.punct(k, '(')) ++depth;
        if (e.punct(k, ')')) --depth;
        if (depth == 0 && e.punct(k, ',')) {
            out.emplace_back(start, k);
            start = k + 1;
        }
    }
    out.emplace_back(start, to);
    return out;
}

// Where an UPDATE's SET list that starts at from ends: the depth-0 WHERE, FROM, RETURNING,
// ORDER or LIMIT after it, else e.size().
inline std::size_t setListEnd(const TokenEditor& e, std::size_t from) {
    int depth = 0;
    for (std::size_t to = from; to < e.size(); ++to) {
        if (e.punct(to, '(')) ++depth;
        if (e.punct(to, ')')) --depth;
        if (depth == 0 && (e.word(to, "WHERE") || e.word(to, "FROM") || e.word(to, "RETURNING") ||
                           e.word(to, "ORDER") || e.word(to, "LIMIT")))
            return to;
    }
    return e.size();
}

// A [schema.]name at i, as Oracle resolves the names; i moves past it. False when i is no name.
inline bool qualifiedNameAt(const TokenEditor& e, std::size_t& i, std::string& schema,
                            std::string& name) {
    if (!e.name(i)) return false;
    name = identifierName(e.at(i));
    i = e.next(i + 1);
    if (e.punct(i, '.') && e.name(e.next(i + 1))) {
        schema = name;
        i = e.next(i + 1);
        name = identifierName(e.at(i));
        i = e.next(i + 1);
    }
    return true;
}


}  // namespace detail
}  // namespace kavexdb

#endif
