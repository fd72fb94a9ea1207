#include "rewrite/query/quantified_comparisons.h"
#include "sql/keywords.h"

#include <string>

namespace kavexdb {
namespace detail {

namespace {

// Words before which a comparison's left operand cannot reach.
bool endsLeftOperand(const TokenEditor& e, std::size_t i) {
    if (hasRole(e, i, kBeforeLeftOperand)) return true;
    return e.punct(i, ',');
}

// The comparison operator just before index at (its first token in start), "" when none.
std::string operatorBefore(const TokenEditor& e, std::size_t at, std::size_t& start) {
    const std::size_t last = e.previous(at);
    const std::vector<Token>& t = e.tokens();
    if (last >= e.size() || t[last].kind != Token::Kind::Punct) return "";
    start = last;
    const char c = t[last].text[0];
    const bool joined = last > 0 && t[last - 1].kind == Token::Kind::Punct;
    const char before = joined ? t[last - 1].text[0] : ' ';
    if (c == '=') {
        if (before == '<' || before == '>' || before == '!' || before == '^') {
            start = last - 1;
            return before == '<' ? "<=" : before == '>' ? ">=" : "<>";
        }
        return "=";
    }
    if (c == '>' && before == '<') {
        start = last - 1;
        return "<>";
    }
    if (c == '<' || c == '>') return std::string(1, c);
    return "";
}

std::string textOf(const TokenEditor& e, std::size_t from, std::size_t to) {
    std::string out;
    for (std::size_t k = from; k < to; ++k) out += e.at(k).text;
    return out;
}

// EXISTS over the subquery's rows where condition (in terms of ORA$QV) holds.
std::string existsRow(const std::string& subquery, const std::string& condition) {
    return "EXISTS (WITH ORA$Q(ORA$QV) AS (" + subquery + ") SELECT 1 FROM ORA$Q WHERE " +
           condition + ")";
}

// The start of the left operand of a condition whose operator starts at op.
std::size_t leftOperandStart(const TokenEditor& e, std::size_t op) {
    std::size_t left = op;
    int depth = 0;
    for (std::size_t k = e.previous(op); k < e.size(); k = e.previous(k)) {
        if (e.punct(k, ')')) ++depth;
        if (e.punct(k, '(') && depth-- == 0) break;
        if (depth == 0 && endsLeftOperand(e, k)) break;
        left = k;
    }
    return left;
}

// x IS [NOT] NAN | INFINITE at the IS token is: true where x = x (no NaN is ever stored or
// computed), false for NaN; NULL for a NULL x. False if so.
bool rewriteFloatingPointCondition(TokenEditor& e, std::size_t is) {
    std::size_t what = e.next(is + 1);
    const bool negated = e.word(what, "NOT");
    if (negated) what = e.next(what + 1);
    const bool nan = e.word(what, "NAN");
    if (!nan && !e.word(what, "INFINITE")) return false;
    const std::size_t left = leftOperandStart(e, is);
    if (left == is) return false;
    const std::string x = "(" + textOf(e, left, is) + ")";
    const std::string out = nan ? x + (negated ? " = " : " <> ") + x
                                : x + (negated ? " NOT IN " : " IN ") + "(9e999, -9e999)";
    e.erase(left, what + 1);
    e[left] = Token{Token::Kind::Punct, " (" + out + ") "};
    return true;
}

}  // namespace

bool rewriteQuantifiedComparisons(TokenEditor& e) {
    bool changed = false;
    for (std::size_t q = e.next(0); q < e.size(); q = e.next(q + 1)) {
        if (e.word(q, "IS") && rewriteFloatingPointCondition(e, q)) {
            changed = true;
            continue;
        }
        const bool all = e.word(q, "ALL");
        if (!all && !e.word(q, "ANY") && !e.word(q, "SOME")) continue;
        const std::size_t open = e.next(q + 1);
        if (!e.punct(open, '(')) continue;
        std::size_t opStart = 0;
        const std::string op = operatorBefore(e, q, opStart);
        if (op.empty()) continue;
        const std::size_t past = e.pastParens(open);
        if (past > e.size()) continue;
        const std::size_t left = leftOperandStart(e, opStart);
        if (left == opStart) continue;
        const std::string x = textOf(e, left, opStart);
        const std::string inner = textOf(e, open + 1, past - 1);
        const std::size_t first = e.next(open + 1);
        const bool subquery = e.word(first, "SELECT") || e.word(first, "WITH");
        std::string out;
        if (!subquery) {
            for (const auto& item : depthZeroItems(e, open + 1, past - 1)) {
                if (!out.empty()) out += all ? " AND " : " OR ";
                out += x + " " + op + " " + textOf(e, item.first, item.second);
            }
            out = "(" + out + ")";
        } else if (op == "=" && !all) {
            out = x + " IN (" + inner + ")";
        } else if (op == "<>" && all) {
            out = x + " NOT IN (" + inner + ")";
        } else {
            const std::string test = "(" + x + ") " + op + " ORA$QV";
            const std::string unknown = existsRow(inner, "(" + test + ") IS NULL");
            out = all ? "(CASE WHEN " + existsRow(inner, "NOT (" + test + ")") + " THEN 0 WHEN " +
                            unknown + " THEN NULL ELSE 1 END = 1)"
                      : "(CASE WHEN " + existsRow(inner, test) + " THEN 1 WHEN " + unknown +
                            " THEN NULL ELSE 0 END = 1)";
        }
        e.erase(left, past);
        e[left] = Token{Token::Kind::Punct, " " + out + " "};
        changed = true;
        q = left;
    }
    return changed;
}

}  // namespace detail
}  // namespace kavexdb
