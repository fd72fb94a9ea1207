#include "sql/sql_context.h"

#include "sql/internal_names.h"
#include "sql/keywords.h"
#include "sql/sql_lexer.h"

namespace kavexdb {
namespace detail {

const char* const kRaiseFunction = kOraRaise;

std::string raiseCallText(int code, const std::string& text) {
    return std::string(kRaiseFunction) + "(" + std::to_string(code) + ", " +
           sqlStringLiteral(text) + ")";
}

std::vector<std::pair<std::size_t, std::size_t>> callArguments(const TokenEditor& e,
                                                               std::size_t open) {
    std::vector<std::pair<std::size_t, std::size_t>> args;
    const std::size_t close = e.pastParens(open) - 1;
    int depth = 0;
    std::size_t start = open + 1;
    for (std::size_t i = open + 1; i < close; ++i) {
        if (e.punct(i, '(')) ++depth;
        if (e.punct(i, ')')) --depth;
        if (depth == 0 && e.punct(i, ',')) {
            args.emplace_back(start, i);
            start = i + 1;
        }
    }
    args.emplace_back(start, close);
    return args;
}

std::string textOf(const TokenEditor& e, std::size_t from, std::size_t to) {
    return e.textBetween(from, to);
}

std::size_t enclosingParen(const TokenEditor& e, std::size_t i) {
    int depth = 0;
    for (std::size_t j = e.previous(i); j < e.size(); j = e.previous(j)) {
        if (e.punct(j, ')')) ++depth;
        if (e.punct(j, '(')) {
            if (depth == 0) return j;
            --depth;
        }
    }
    return e.size();
}

bool isClauseWord(const TokenEditor& e, std::size_t i) {
    return hasRole(e, i, kClauseStart);
}

bool isWholeSelectItem(const TokenEditor& e, std::size_t i) {
    const std::size_t before = e.previous(i);
    const std::size_t after = e.next(i + 1);
    if (!(e.punct(before, ',') || e.word(before, "SELECT") || e.word(before, "DISTINCT") ||
          e.word(before, "ALL")))
        return false;
    if (!(after >= e.size() || e.punct(after, ',') || e.punct(after, ')') ||
          e.word(after, "FROM")))
        return false;
    int depth = 0;
    for (std::size_t j = before; j < e.size(); j = e.previous(j)) {
        if (e.punct(j, ')')) ++depth;
        if (e.punct(j, '(')) {
            if (depth == 0) return false;
            --depth;
        }
        if (depth == 0 && isClauseWord(e, j)) return e.word(j, "SELECT");
    }
    return false;
}

}  // namespace detail
}  // namespace kavexdb
