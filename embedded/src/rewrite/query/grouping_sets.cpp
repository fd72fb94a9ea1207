#include "rewrite/query/grouping_sets.h"
#include "sql/internal_names.h"
#include "sql/keywords.h"

#include <string>
#include <vector>

namespace kavexdb {
namespace detail {

namespace {

using Range = std::pair<std::size_t, std::size_t>;  // [first, end) token indices
using Set = std::vector<std::size_t>;               // indices into the grouping expressions

bool isCompoundWord(const TokenEditor& e, std::size_t i) {
    return e.word(i, "UNION") || e.word(i, "INTERSECT") || e.word(i, "MINUS") ||
           e.word(i, "EXCEPT");
}

bool isAggregate(const TokenEditor& e, std::size_t i) {
    for (const char* w : {"SUM", "AVG", "COUNT", "MIN", "MAX", "STDDEV", "VARIANCE", "MEDIAN",
                          "LISTAGG", kOraListagg, "STDDEV_SAMP", "STDDEV_POP", "VAR_SAMP",
                          "VAR_POP", "COVAR_POP", "COVAR_SAMP", "CORR", "GROUP_CONCAT"})
        if (e.word(i, w)) return true;
    return false;
}

// The expression's significant tokens, upper-cased outside literals, one blank apart.
std::string canonical(const TokenEditor& e, Range r) {
    std::string out;
    for (std::size_t k = e.next(r.first); k < r.second; k = e.next(k + 1)) {
        if (!out.empty()) out += ' ';
        const Token& t = e.at(k);
        out += t.kind == Token::Kind::Word ? asciiUpper(t.text) : t.text;
    }
    return out;
}

// The last name of a [qualifier.]column expression, "" for any other expression.
std::string columnName(const TokenEditor& e, Range r) {
    std::size_t k = e.next(r.first);
    std::string name;
    while (k < r.second && e.name(k)) {
        name = identifierName(e.at(k));
        k = e.next(k + 1);
        if (k >= r.second) return name;
        if (!e.punct(k, '.')) return "";
        k = e.next(k + 1);
    }
    return "";
}

// Whether the parentheses opened at open close at the end of r (blanks may follow).
bool closesAtEnd(const TokenEditor& e, std::size_t open, Range r) {
    if (!e.punct(open, '(')) return false;
    const std::size_t past = e.pastParens(open);
    return past <= r.second && e.next(past) >= r.second;
}

// Range r without one pair of enclosing parentheses, and whether it had them.
bool unparenthesized(const TokenEditor& e, Range& r) {
    const std::size_t open = e.next(r.first);
    if (!closesAtEnd(e, open, r)) return false;
    r = Range(open + 1, e.pastParens(open) - 1);
    return true;
}

class Rewriter {
  public:
    explicit Rewriter(TokenEditor& e) : e_(e) {}

    bool run() {
        for (std::size_t i = e_.next(0); i < e_.size(); i = e_.next(i + 1)) {
            if (!e_.word(i, "GROUP") || !e_.word(e_.next(i + 1), "BY")) continue;
            if (rewriteBlock(i)) return true;
        }
        return false;
    }

  private:
    // The index of the expression with this canonical text, added when new.
    std::size_t expressionIndex(Range r) {
        const std::string c = canonical(e_, r);
        for (std::size_t k = 0; k < exprs_.size(); ++k)
            if (canon_[k] == c) return k;
        exprs_.push_back(r);
        canon_.push_back(c);
        names_.push_back(columnName(e_, r));
        return exprs_.size() - 1;
    }

    // One unit of ROLLUP/CUBE/GROUPING SETS: an expression or a parenthesized list.
    bool unit(Range r, Set& out) {
        Range inner = r;
        if (unparenthesized(e_, inner)) {
            if (e_.next(inner.first) >= inner.second) return true;  // ()
            for (const Range& item : depthZeroItems(e_, inner.first, inner.second))
                out.push_back(expressionIndex(item));
            return true;
        }
        const std::size_t first = e_.next(r.first);
        if (e_.word(first, "ROLLUP") || e_.word(first, "CUBE") || e_.word(first, "GROUPING"))
            return false;
        out.push_back(expressionIndex(r));
        return true;
    }

    // The grouping sets one GROUP BY item stands for.
    bool itemSets(Range r, std::vector<Set>& out) {
        const std::size_t first = e_.next(r.first);
        std::size_t open = e_.next(first + 1);
        const bool rollup = e_.word(first, "ROLLUP"), cube = e_.word(first, "CUBE");
        const bool sets = e_.word(first, "GROUPING") && e_.word(open, "SETS");
        if (sets) open = e_.next(open + 1);
        if (rollup || cube || sets) {
            if (!closesAtEnd(e_, open, r)) return false;
            std::vector<Set> units;
            for (const Range& item : depthZeroItems(e_, open + 1, e_.pastParens(open) - 1)) {
                units.emplace_back();
                if (!unit(item, units.back())) return false;
            }
            if (sets) {
                out = units;
            } else if (rollup) {
                for (std::size_t n = units.size() + 1; n-- > 0;) {
                    Set s;
                    for (std::size_t k = 0; k < n; ++k)
                        s.insert(s.end(), units[k].begin(), units[k].end());
                    out.push_back(s);
                }
            } else {
                if (units.size() > 12) return false;
                const std::size_t n = units.size();
                for (std::size_t mask = (std::size_t{1} << n); mask-- > 0;) {
                    Set s;
                    for (std::size_t k = 0; k < n; ++k)
                        if (mask & (std::size_t{1} << (n - 1 - k)))
                            s.insert(s.end(), units[k].begin(), units[k].end());
                    out.push_back(s);
                }
            }
            return true;
        }
        if (closesAtEnd(e_, first, r) && e_.punct(e_.next(first + 1), ')'))
            return false;  // GROUP BY ()
        out.push_back(Set{expressionIndex(r)});
        return true;
    }

    bool inSet(const Set& s, std::size_t expr) const {
        for (std::size_t k : s)
            if (k == expr) return true;
        return false;
    }

    // The grouping expression matching the tokens at k (its end in end), or npos.
    std::size_t matchAt(std::size_t k, std::size_t to, std::size_t& end) const {
        for (std::size_t x = 0; x < exprs_.size(); ++x) {
            // The same significant tokens.
            std::size_t a = e_.next(exprs_[x].first), b = k, last = k;
            bool same = true;
            while (a < exprs_[x].second) {
                if (b >= to || canonical(e_, Range(a, a + 1)) != canonical(e_, Range(b, b + 1))) {
                    same = false;
                    break;
                }
                last = b;
                a = e_.next(a + 1);
                b = e_.next(b + 1);
            }
            if (same && !e_.punct(b, '(') && !e_.punct(b, '.')) {
                end = last + 1;
                return x;
            }
            // A column of the same name, qualified or not.
            if (!names_[x].empty()) {
                std::size_t c = k;
                while (e_.name(c) && e_.punct(e_.next(c + 1), '.')) c = e_.next(e_.next(c + 1) + 1);
                const std::size_t after = e_.next(c + 1);
                if (c < to && e_.name(c) && identifierName(e_.at(c)) == names_[x] &&
                    !e_.punct(after, '(') && !e_.punct(after, '.')) {
                    end = c + 1;
                    return x;
                }
            }
        }
        return std::string::npos;
    }

    // Whether the name at k names a select item (after AS, or right after an operand).
    bool isAlias(std::size_t k) const {
        const std::size_t prev = e_.previous(k);
        if (prev >= e_.size()) return false;
        const Token& p = e_.at(prev);
        if (p.kind == Token::Kind::Word) {
            if (hasRole(e_, prev, kNotItemAlias)) return false;
            return true;  // AS, or a column before an implicit alias
        }
        return p.kind == Token::Kind::QuotedIdent || p.kind == Token::Kind::Number ||
               p.kind == Token::Kind::String || e_.punct(prev, ')');
    }

    // Text of [from, to) for grouping set s.
    std::string textFor(std::size_t from, std::size_t to, const Set& s) const {
        std::string out;
        std::size_t k = from;
        while (k < to) {
            const Token& t = e_.at(k);
            if (!t.significant()) {
                out += t.text;
                ++k;
                continue;
            }
            const std::size_t open = e_.next(k + 1);
            if ((e_.word(k, "GROUPING") || e_.word(k, "GROUPING_ID")) && e_.punct(open, '(')) {
                const std::size_t past = e_.pastParens(open);
                long long id = 0;
                for (const Range& arg : depthZeroItems(e_, open + 1, past - 1)) {
                    std::size_t end = 0;
                    const std::size_t x = matchAt(e_.next(arg.first), arg.second, end);
                    id = id * 2 + (x != std::string::npos && !inSet(s, x) ? 1 : 0);
                }
                out += std::to_string(id);
                k = past;
                continue;
            }
            if ((isAggregate(e_, k) && e_.punct(open, '(')) ||
                (e_.punct(k, '(') && e_.word(e_.next(k + 1), "SELECT"))) {
                const std::size_t past = e_.punct(k, '(') ? e_.pastParens(k) : e_.pastParens(open);
                for (std::size_t c = k; c < past && c < to; ++c) out += e_.at(c).text;
                k = past;
                continue;
            }
            if (!e_.punct(e_.previous(k), '.') && !isAlias(k)) {
                std::size_t end = 0;
                const std::size_t x = matchAt(k, to, end);
                if (x != std::string::npos && !inSet(s, x)) {
                    out += "NULL";
                    k = end;
                    continue;
                }
            }
            out += t.text;
            ++k;
        }
        return out;
    }

    std::string expressionsOf(const Set& s) const {
        std::string out;
        for (std::size_t x : s) {
            if (!out.empty()) out += ", ";
            for (std::size_t c = exprs_[x].first; c < exprs_[x].second; ++c)
                out += e_.at(c).text;
        }
        return out;
    }

    bool rewriteBlock(std::size_t group) {
        // The query block around GROUP BY: back to its SELECT, on to its end.
        int depth = 0;
        std::size_t select = e_.size();
        for (std::size_t k = e_.previous(group); k < e_.size(); k = e_.previous(k)) {
            if (e_.punct(k, ')')) ++depth;
            if (e_.punct(k, '(') && depth-- == 0) break;
            if (depth == 0 && e_.word(k, "SELECT")) {
                select = k;
                break;
            }
        }
        if (select == e_.size()) return false;
        const std::size_t by = e_.next(group + 1);
        std::size_t from = e_.size(), having = e_.size(), order = e_.size(), end = e_.size();
        bool compound = false;
        depth = 0;
        for (std::size_t k = e_.next(select + 1); k < e_.size(); k = e_.next(k + 1)) {
            if (e_.punct(k, '(')) ++depth;
            if (e_.punct(k, ')') && depth-- == 0) {
                end = k;
                compound = true;  // a subquery: wrap it whole
                break;
            }
            if (depth != 0) continue;
            if (e_.word(k, "FROM") && from == e_.size()) from = k;
            if (k > by && e_.word(k, "HAVING")) having = k;
            if (k > by && e_.word(k, "ORDER") && e_.word(e_.next(k + 1), "BY")) order = k;
            if (isCompoundWord(e_, k) || e_.punct(k, ';')) {
                end = k;
                compound = true;
                break;
            }
        }
        // Before the SELECT: part of a compound query too.
        for (std::size_t k = e_.previous(select); k < e_.size(); k = e_.previous(k)) {
            if (isCompoundWord(e_, k)) compound = true;
            if (!e_.word(k, "ALL") && !e_.punct(k, '(')) break;
        }
        if (from == e_.size() || from > group) return false;
        const std::size_t bodyEnd = std::min(std::min(having, order), end);
        std::vector<Set> sets{Set{}};
        bool grouped = false;
        for (const Range& item : depthZeroItems(e_, e_.next(by + 1), bodyEnd)) {
            std::vector<Set> itemSet;
            const std::size_t first = e_.next(item.first);
            if (e_.word(first, "ROLLUP") || e_.word(first, "CUBE") || e_.word(first, "GROUPING"))
                grouped = true;
            if (!itemSets(item, itemSet)) return false;
            std::vector<Set> product;
            for (const Set& a : sets)
                for (const Set& b : itemSet) {
                    Set s = a;
                    for (std::size_t x : b)
                        if (!inSet(s, x)) s.push_back(x);
                    product.push_back(s);
                }
            sets = product;
        }
        if (!grouped) return false;
        const std::size_t blockEnd = compound ? end : order;
        std::string out;
        for (const Set& s : sets) {
            if (!out.empty()) out += " UNION ALL ";
            out += "SELECT" + textFor(select + 1, from, s) + joinRange(from, group);
            if (!s.empty()) out += " GROUP BY " + expressionsOf(s) + " ";
            if (having < blockEnd) out += textFor(having, std::min(order, blockEnd), s);
        }
        if (compound || order == e_.size()) {
            out = "SELECT * FROM (" + out + ") ";
            if (order < blockEnd) out += joinRange(order, blockEnd);
        } else
            out += " ";  // the ORDER BY of the UNION ALL, by positions and names
        e_.erase(select, blockEnd);
        e_[select] = Token{Token::Kind::Punct, out};
        return true;
    }

    std::string joinRange(std::size_t from, std::size_t to) const {
        std::string out;
        for (std::size_t k = from; k < to; ++k) out += e_.at(k).text;
        return out;
    }

    TokenEditor& e_;
    std::vector<Range> exprs_;
    std::vector<std::string> canon_;
    std::vector<std::string> names_;
};

}  // namespace

bool rewriteGroupingSets(TokenEditor& e) { return Rewriter(e).run(); }

}  // namespace detail
}  // namespace kavexdb
