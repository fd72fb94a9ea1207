#include "rewrite/query/long_compounds.h"

#include <string>
#include <vector>

namespace kavexdb {
namespace detail {

namespace {

// Queries a chain keeps together: SQLite takes at most 500.
constexpr std::size_t kTermsPerChain = 500;

enum class SetOp { None, UnionAll, Union, Intersect, Other };

class Chains {
public:
    explicit Chains(TokenEditor& e) : e_(e) {}

    bool changed() const { return changed_; }

    // The query bodies in [from, to): the chain at this depth, and those in parentheses.
    void region(std::size_t from, std::size_t to) {
        std::size_t firstSelect = e_.size();
        std::vector<std::size_t> ops;  // the set operators of the chain, in order
        std::size_t end = to;
        for (std::size_t k = e_.next(from); k < to; k = e_.next(k + 1)) {
            if (e_.punct(k, '(')) {
                const std::size_t past = e_.pastParens(k);
                if (past > to) return;  // unbalanced: left to SQLite's error
                region(k + 1, past - 1);
                k = past - 1;
                continue;
            }
            if (firstSelect == e_.size()) {
                if (e_.word(k, "SELECT")) firstSelect = k;
                continue;
            }
            if (operatorAt(k) != SetOp::None) {
                ops.push_back(k);
            } else if (!ops.empty() && (e_.word(k, "ORDER") || e_.word(k, "LIMIT") ||
                                        e_.word(k, "OFFSET") || e_.word(k, "FETCH"))) {
                end = k;  // the chain's own ORDER BY or row limit
                break;
            }
        }
        if (ops.size() + 1 <= kTermsPerChain) return;
        const SetOp op = operatorAt(ops[0]);
        if (op == SetOp::Other) return;
        for (std::size_t o : ops)
            if (operatorAt(o) != op) return;
        frame(firstSelect, ops, end);
    }

private:
    SetOp operatorAt(std::size_t k) const {
        if (e_.word(k, "UNION"))
            return e_.word(e_.next(k + 1), "ALL") ? SetOp::UnionAll : SetOp::Union;
        if (e_.word(k, "INTERSECT")) return SetOp::Intersect;
        if (e_.word(k, "MINUS") || e_.word(k, "EXCEPT")) return SetOp::Other;
        return SetOp::None;
    }

    // Frames runs of the chain's queries until no chain is longer than kTermsPerChain.
    void frame(std::size_t firstSelect, const std::vector<std::size_t>& ops, std::size_t end) {
        struct Span {
            std::size_t first, last;
        };
        std::vector<Span> terms;
        for (std::size_t i = 0; i <= ops.size(); ++i) {
            std::size_t first = firstSelect;
            if (i > 0) {
                first = e_.next(ops[i - 1] + 1);
                if (e_.word(first, "ALL")) first = e_.next(first + 1);
            }
            const std::size_t last = e_.previous(i < ops.size() ? ops[i] : end);
            if (first >= e_.size() || last >= e_.size() || last < first) return;
            terms.push_back({first, last});
        }
        while (terms.size() > kTermsPerChain) {
            std::vector<Span> framed;
            for (std::size_t i = 0; i < terms.size(); i += kTermsPerChain) {
                const std::size_t j = std::min(terms.size(), i + kTermsPerChain) - 1;
                if (j > i) {
                    changed_ = true;
                    e_[terms[i].first].text = "SELECT * FROM (" + e_[terms[i].first].text;
                    e_[terms[j].last].text += ")";
                }
                framed.push_back({terms[i].first, terms[j].last});
            }
            terms = std::move(framed);
        }
    }

    TokenEditor& e_;
    bool changed_ = false;
};

}  // namespace

bool frameLongCompounds(TokenEditor& e) {
    Chains chains(e);
    chains.region(0, e.size());
    return chains.changed();
}

}  // namespace detail
}  // namespace kavexdb
