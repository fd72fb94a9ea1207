// Where the operands of a comparison are in a statement's tokens (sql/comparisons.h).
#include "sql/comparisons.h"

#include "sql/token_editor.h"
#include "sql/keywords.h"

namespace kavexdb {
namespace detail {

namespace {

// Words that end an operand of a comparison.
bool endsComparand(const TokenEditor& e, std::size_t i) {
    if (hasRole(e, i, kEndsComparand)) return true;
    return e.punct(i, ',') || e.punct(i, ';') || e.punct(i, '=') || e.punct(i, '<') ||
           e.punct(i, '>') || e.punct(i, '!') || e.punct(i, '^');
}

// Whether the '=' whose left side starts at first assigns in a SET clause.
bool assigns(const TokenEditor& e, std::size_t first) {
    int depth = 0;
    for (std::size_t k = e.previous(first); k < e.size(); k = e.previous(k)) {
        if (e.punct(k, ')')) ++depth;
        if (e.punct(k, '(') && depth-- == 0) return false;
        if (depth > 0) continue;
        if (e.word(k, "SET")) return true;
        if (endsComparand(e, k) && !e.punct(k, ',') && !e.punct(k, '=')) return false;
    }
    return false;
}

}  // namespace

// The first (going backwards, the last) token of the operand next to a comparison operator
// that starts at from; e.size() when there is none.
std::size_t comparandEnd(const TokenEditor& e, std::size_t from, bool forward) {
    std::size_t end = e.size();
    int depth = 0;
    for (std::size_t k = from; k < e.size(); k = forward ? e.next(k + 1) : e.previous(k)) {
        const bool opens = e.punct(k, forward ? '(' : ')');
        const bool closes = e.punct(k, forward ? ')' : '(');
        if (depth == 0 && (closes || endsComparand(e, k))) break;
        if (opens) ++depth;
        if (closes) --depth;
        end = k;
    }
    return end;
}

std::vector<std::pair<std::size_t, std::size_t>> comparisonAt(const TokenEditor& e,
                                                              std::size_t& op) {
    std::vector<std::pair<std::size_t, std::size_t>> operands;
    if (e.word(op, "BETWEEN")) {
        std::size_t leftLast = e.previous(op);
        if (e.word(leftLast, "NOT")) leftLast = e.previous(leftLast);
        const std::size_t leftFirst = comparandEnd(e, leftLast, false);
        const std::size_t lowFirst = e.next(op + 1), lowLast = comparandEnd(e, lowFirst, true);
        const std::size_t andWord = e.next(lowLast + 1);
        if (leftFirst >= e.size() || lowLast >= e.size() || !e.word(andWord, "AND"))
            return operands;
        const std::size_t highFirst = e.next(andWord + 1);
        const std::size_t highLast = comparandEnd(e, highFirst, true);
        if (highLast >= e.size()) return operands;
        operands = {{leftFirst, leftLast}, {lowFirst, lowLast}, {highFirst, highLast}};
        return operands;
    }
    std::size_t opEnd = op;
    const std::size_t second = e.next(op + 1);
    if (e.punct(op, '<') && (e.punct(second, '=') || e.punct(second, '>'))) {
        opEnd = second;
    } else if ((e.punct(op, '>') || e.punct(op, '!') || e.punct(op, '^') || e.punct(op, '=')) &&
               e.punct(second, '=')) {
        opEnd = second;
    } else if (!e.punct(op, '=') && !e.punct(op, '<') && !e.punct(op, '>')) {
        return operands;
    }
    const std::size_t leftLast = e.previous(op), rightFirst = e.next(opEnd + 1);
    const std::size_t leftFirst = comparandEnd(e, leftLast, false);
    const std::size_t rightLast = comparandEnd(e, rightFirst, true);
    const bool assignment = op == opEnd && e.punct(op, '=') && assigns(e, leftFirst);
    op = opEnd;
    if (leftFirst < e.size() && rightLast < e.size() && !assignment)
        operands = {{leftFirst, leftLast}, {rightFirst, rightLast}};
    return operands;
}

}  // namespace detail
}  // namespace kavexdb
