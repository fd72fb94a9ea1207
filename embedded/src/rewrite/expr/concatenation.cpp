// Oracle's || treats a NULL operand as an empty string; SQLite's gives NULL. Each operand of ||
// is wrapped in ORA$STR(...), which gives '' for NULL, and column names drop the wrappers again.
// An operand whose extent the pass cannot tell is left as it is.
#include <map>
#include <set>
#include <string>
#include <utility>

#include "base/errors.h"
#include "sql/token_editor.h"
#include "sql/internal_names.h"
#include "sql/keywords.h"

namespace kavexdb {
namespace detail {


namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
using Span = std::pair<std::size_t, std::size_t>;  // first and last token of an operand

// Words that may stand before '(' without naming a function.
bool isKeyword(const TokenEditor& e, std::size_t i) {
    return hasRole(e, i, kNotFunctionName);
}

std::size_t openingParen(const TokenEditor& e, std::size_t close) {
    int depth = 0;
    for (std::size_t i = close + 1; i-- > 0;) {
        if (e.punct(i, ')')) ++depth;
        if (e.punct(i, '(') && --depth == 0) return i;
    }
    return kNone;
}

std::size_t closingParen(const TokenEditor& e, std::size_t open) {
    const std::size_t past = e.pastParens(open);
    return past <= e.size() && past > 0 && e.punct(past - 1, ')') ? past - 1 : kNone;
}

std::size_t caseOfEnd(const TokenEditor& e, std::size_t end) {
    int depth = 0;
    for (std::size_t i = end + 1; i-- > 0;) {
        if (e.word(i, "END")) ++depth;
        if (e.word(i, "CASE") && --depth == 0) return i;
    }
    return kNone;
}

std::size_t endOfCase(const TokenEditor& e, std::size_t start) {
    int depth = 0;
    for (std::size_t i = start; i < e.size(); ++i) {
        if (e.word(i, "CASE")) ++depth;
        if (e.word(i, "END") && --depth == 0) return i;
    }
    return kNone;
}

bool isValue(const Token& t) {
    return t.kind == Token::Kind::String || t.kind == Token::Kind::Number ||
           t.kind == Token::Kind::Bind;
}

// a.b.c ending at i: the index of a.
std::size_t qualifiedStart(const TokenEditor& e, std::size_t i) {
    for (;;) {
        const std::size_t dot = e.previous(i);
        if (!e.punct(dot, '.')) return i;
        const std::size_t qualifier = e.previous(dot);
        if (!e.name(qualifier)) return i;
        i = qualifier;
    }
}

Span leftOperand(const TokenEditor& e, std::size_t op) {
    const std::size_t last = e.previous(op);
    if (last >= e.size()) return {kNone, kNone};
    const Token& t = e.at(last);
    std::size_t first = kNone;
    if (e.punct(last, ')')) {
        first = openingParen(e, last);
        if (first == kNone) return {kNone, kNone};
        const std::size_t function = e.previous(first);
        if (e.name(function) && !isKeyword(e, function)) first = qualifiedStart(e, function);
    } else if (e.word(last, "END")) {
        first = caseOfEnd(e, last);
    } else if (e.name(last) && !isKeyword(e, last)) {
        first = qualifiedStart(e, last);
    } else if (isValue(t)) {
        first = last;
        // x'00ff': the blob literal's prefix belongs to it
        if (t.kind == Token::Kind::String && last > 0 &&
            e.at(last - 1).kind == Token::Kind::Word)
            first = last - 1;
    }
    return first == kNone ? Span{kNone, kNone} : Span{first, last};
}

Span rightOperand(const TokenEditor& e, std::size_t op) {
    const std::size_t first = e.next(op + 1);
    if (first >= e.size()) return {kNone, kNone};
    const Token& t = e.at(first);
    std::size_t last = kNone;
    if (e.punct(first, '(')) {
        last = closingParen(e, first);
    } else if (e.word(first, "CASE")) {
        last = endOfCase(e, first);
    } else if (t.kind == Token::Kind::Word && first + 1 < e.size() &&
               e.at(first + 1).kind == Token::Kind::String) {
        last = first + 1;  // x'00ff'
    } else if (e.name(first) && !isKeyword(e, first)) {
        last = first;
        for (;;) {
            const std::size_t dot = e.next(last + 1);
            if (!e.punct(dot, '.') || !e.name(e.next(dot + 1))) break;
            last = e.next(dot + 1);
        }
        const std::size_t call = e.next(last + 1);
        if (e.punct(call, '(')) last = closingParen(e, call);
    } else if (isValue(t)) {
        last = first;
    }
    return last == kNone ? Span{kNone, kNone} : Span{first, last};
}

}  // namespace

void rewriteConcatenation(TokenEditor& e) {
    std::set<Span> operands;
    for (std::size_t i = 0; i + 1 < e.size(); ++i) {
        if (!e.punct(i, '|') || !e.punct(i + 1, '|')) continue;
        for (const Span& s : {leftOperand(e, i), rightOperand(e, i + 1)})
            if (s.first != kNone) operands.insert(s);
        ++i;
    }
    std::map<std::size_t, int> opens, closes;
    for (const Span& s : operands) {
        ++opens[s.first];
        ++closes[s.second];
    }
    for (const auto& o : opens)
        for (int k = 0; k < o.second; ++k)
            e[o.first].text = std::string(kOraStr) + "(" + e[o.first].text;
    for (const auto& c : closes)
        e[c.first].text += std::string(static_cast<std::size_t>(c.second), ')');
}

std::string unwrapConcatenation(const std::string& expression) {
    if (expression.find(kOraStr) == std::string::npos &&
        asciiUpper(expression).find(kOraStr) == std::string::npos)
        return expression;
    std::vector<Token> tokens;
    try {
        tokens = lexSql(expression);
    } catch (const occi::SQLException&) {
        return expression;
    }
    std::string out;
    std::vector<bool> wrappers;  // one per open parenthesis: whether it opened a wrapper
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.isWord(kOraStr) && i + 1 < tokens.size() && tokens[i + 1].isPunct('(')) {
            wrappers.push_back(true);
            ++i;
            continue;
        }
        if (t.isPunct('(')) wrappers.push_back(false);
        if (t.isPunct(')') && !wrappers.empty()) {
            const bool wrapper = wrappers.back();
            wrappers.pop_back();
            if (wrapper) continue;
        }
        out += t.text;
    }
    return out;
}

}  // namespace detail
}  // namespace kavexdb
