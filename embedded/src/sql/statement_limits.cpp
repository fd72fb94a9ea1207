#include "sql/statement_limits.h"

#include <vector>

#include "base/errors.h"
#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {

namespace {

constexpr int kMaxListExpressions = 1000;
constexpr int kMaxDecodeArguments = 255;
constexpr int kMaxCaseArguments = 65535;
constexpr int kMaxSelectItems = 1000;

// One level of parentheses (the statement itself is the outermost).
struct Level {
    enum class Kind { Other, InList, Decode } kind = Kind::Other;
    int items = 1;         // comma-separated items so far
    int selectItems = -1;  // items of a select list being read at this level, -1 when none
};

}  // namespace

void checkStatementLimits(const TokenEditor& e) {
    std::vector<Level> levels(1);
    std::vector<int> cases;  // arguments of the CASE expressions open
    int depth = 0;
    std::size_t before = e.size();  // the previous significant token
    for (std::size_t i = e.next(0); i < e.size(); before = i, i = e.next(i + 1)) {
        const Token& t = e.at(i);
        if (t.isPunct('(')) {
            if (++depth > kMaxNesting) raise(ora::kExpressionTooDeep, kMaxNesting);
            Level level;
            if (!e.word(e.next(i + 1), "SELECT") && !e.word(e.next(i + 1), "WITH")) {
                if (e.word(before, "IN")) level.kind = Level::Kind::InList;
                if (e.word(before, "DECODE")) level.kind = Level::Kind::Decode;
            }
            levels.push_back(level);
        } else if (t.isPunct(')')) {
            if (depth > 0) --depth;
            if (levels.size() > 1) levels.pop_back();
        } else if (t.isPunct(',')) {
            Level& level = levels.back();
            ++level.items;
            if (level.kind == Level::Kind::InList && level.items > kMaxListExpressions)
                raise(ora::kTooManyListExpressions);
            if (level.kind == Level::Kind::Decode && level.items > kMaxDecodeArguments)
                raise(ora::kTooManyArguments);
            if (level.selectItems >= 0 && ++level.selectItems > kMaxSelectItems)
                raise(ora::kTooManyColumns);
        } else if (t.isWord("SELECT")) {
            levels.back().selectItems = 1;
        } else if (t.isWord("FROM") || t.isWord("INTO")) {
            levels.back().selectItems = -1;
        } else if (t.isWord("CASE")) {
            if (++depth > kMaxNesting) raise(ora::kExpressionTooDeep, kMaxNesting);
            // A simple CASE's operand is an argument.
            cases.push_back(e.word(e.next(i + 1), "WHEN") ? 0 : 1);
        } else if (!cases.empty() && (t.isWord("WHEN") || t.isWord("ELSE"))) {
            cases.back() += t.isWord("WHEN") ? 2 : 1;
            if (cases.back() > kMaxCaseArguments) raise(ora::kTooManyArguments);
        } else if (t.isWord("END") && !cases.empty()) {
            if (depth > 0) --depth;
            cases.pop_back();
        }
    }
}

}  // namespace detail
}  // namespace kavexdb
