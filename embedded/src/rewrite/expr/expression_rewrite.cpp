// A small precedence parser over the lexed statement. Only the additive level (+ - ||) and the
// multiplicative level (* /) are parsed; everything binding more loosely (comparisons, AND, OR,
// commas, clauses) ends an expression, and parentheses, function arguments and CASE bodies are
// scanned as regions of their own. Edits are applied only once an expression parsed completely.
#include "rewrite/expr/expression_rewrite.h"

#include <initializer_list>
#include <vector>

#include "sql/sql_lexer.h"
#include "sql/internal_names.h"
#include "sql/keywords.h"

namespace kavexdb {
namespace detail {

namespace {

// Closes a call after token t: before the NULLS FIRST/LAST the ORDER BY rewriting may have put
// behind the last token of a sort key.
void closeCall(Token& t) {
    const std::size_t nulls = t.text.rfind(" NULLS ");
    const char quote = t.kind == Token::Kind::String        ? '\''
                       : t.kind == Token::Kind::QuotedIdent ? '"'
                                                            : '\0';
    const std::size_t quoted = quote ? t.text.rfind(quote) : std::string::npos;
    if (nulls == std::string::npos || (quoted != std::string::npos && quoted > nulls))
        t.text += ")";
    else
        t.text.insert(nulls, ")");
}

using TK = Token::Kind;

// Words that end an expression (and never start an operand).
bool isBoundaryWord(const TokenEditor& e, std::size_t i) {
    return hasRole(e, i, kEndsExpression);
}

// Words that start a form the parser does not know: an expression holding one is left alone.
bool isUnknownForm(const TokenEditor& e, std::size_t i) {
    return e.word(i, "INTERVAL") || e.word(i, "PRIOR") || e.word(i, "CONNECT_BY_ROOT");
}

struct Op {
    std::size_t first, last, op;
    bool concat;
    const char* function;
    bool unary = false;  // -x: op is the sign, first == op
    // The operators after the first of a run (SQLite's parser gives up on calls nested about
    // 33 deep, and a row of CSV or a sum of a month's daily columns is a long chain):
    // - concatenations a || b || c are one call ORA$CAT(a, b, c);
    // - additions a + b + c and multiplications a * b * c nest as calls of two: to the left
    //   ((a + b) + c) in a short run, as a balanced tree in a longer one. The tree is as deep as
    //   the logarithm of the run, and gives the same value: over numbers, one datetime and
    //   intervals, + and * are associative.
    std::vector<std::size_t> more = {};
};

// Operands one call of a run takes at most (SQLite's limit on arguments is 127): a longer run
// is a call of calls, each of as many.
constexpr std::size_t kMaxRunOperands = 100;

// Operands of a run of + or * nested to the left, as written; a longer run becomes a tree.
constexpr std::size_t kLeftNestedOperands = 8;

bool extendsRun(const char* function) { return function == kOraAdd || function == kOraMul; }

class Parser {
  public:
    explicit Parser(TokenEditor& e) : e_(e) {}

    // Rewrites the expressions in [from, to).
    void region(std::size_t from, std::size_t to) {
        std::size_t k = e_.next(from);
        while (k < to) {
            if (startsOperand(k)) {
                std::size_t i = k;
                std::vector<Op> ops;
                std::size_t first = 0, last = 0;
                if (additive(i, to, ops, first, last)) {
                    apply(ops);
                    k = i;
                    continue;
                }
                // Leave the rest of this expression as it stands.
                k = skipExpression(k, to);
                continue;
            }
            if (e_.punct(k, '(')) {  // a parenthesised list or subquery in no expression
                const std::size_t past = e_.pastParens(k);
                region(k + 1, past - 1);
                k = e_.next(past);
                continue;
            }
            k = e_.next(k + 1);
        }
    }

  private:
    bool startsOperand(std::size_t i) const {
        if (i >= e_.size()) return false;
        const Token& t = e_.at(i);
        if (t.kind == TK::Number || t.kind == TK::String || t.kind == TK::Bind ||
            t.kind == TK::QuotedIdent)
            return true;
        if (t.kind == TK::Word) return !isBoundaryWord(e_, i) || e_.word(i, "CASE");
        return e_.punct(i, '(') || e_.punct(i, '-') || e_.punct(i, '+');
    }

    std::size_t skipExpression(std::size_t k, std::size_t to) {
        k = e_.next(k + 1);
        while (k < to && !e_.punct(k, ',') && !(isBoundaryWord(e_, k) && !e_.word(k, "CASE"))) {
            if (e_.punct(k, '(')) {
                const std::size_t past = e_.pastParens(k);
                region(k + 1, past - 1);
                k = e_.next(past);
            } else {
                k = e_.next(k + 1);
            }
        }
        return k;
    }

    bool concatAt(std::size_t i) const { return e_.punct(i, '|') && e_.punct(i + 1, '|'); }

    bool additive(std::size_t& i, std::size_t to, std::vector<Op>& ops, std::size_t& first,
                  std::size_t& last) {
        if (!multiplicative(i, to, ops, first, last)) return false;
        constexpr std::size_t kNoRun = static_cast<std::size_t>(-1);
        std::size_t run = kNoRun;  // the op of the run of concatenations going on, if any
        while (i < to && (e_.punct(i, '+') || e_.punct(i, '-') || concatAt(i))) {
            const std::size_t op = i;
            const bool concat = concatAt(i);
            i = e_.next(concat ? i + 2 : i + 1);
            std::size_t rf = 0, rl = 0;
            if (!multiplicative(i, to, ops, rf, rl)) return false;
            const char* function = concat ? kOraCat : e_.punct(op, '+') ? kOraAdd : kOraSub;
            if (run != kNoRun && ops[run].function == function) {
                ops[run].last = rl;
                ops[run].more.push_back(op);
            } else {
                ops.push_back(Op{first, rl, op, concat, function});
                run = concat || extendsRun(function) ? ops.size() - 1 : kNoRun;
            }
            last = rl;
        }
        return true;
    }

    bool multiplicative(std::size_t& i, std::size_t to, std::vector<Op>& ops, std::size_t& first,
                        std::size_t& last) {
        if (!unary(i, to, ops, first, last)) return false;
        constexpr std::size_t kNoRun = static_cast<std::size_t>(-1);
        std::size_t run = kNoRun;  // the op of the run of multiplications going on, if any
        while (i < to && (e_.punct(i, '*') || e_.punct(i, '/'))) {
            const std::size_t op = i;
            i = e_.next(i + 1);
            std::size_t rf = 0, rl = 0;
            if (!unary(i, to, ops, rf, rl)) return false;
            const char* function = e_.punct(op, '*') ? kOraMul : kOraDiv;
            if (run != kNoRun && function == kOraMul) {
                ops[run].last = rl;
                ops[run].more.push_back(op);
            } else {
                ops.push_back(Op{first, rl, op, false, function});
                run = function == kOraMul ? ops.size() - 1 : kNoRun;
            }
            last = rl;
        }
        return true;
    }

    bool unary(std::size_t& i, std::size_t to, std::vector<Op>& ops, std::size_t& first,
               std::size_t& last) {
        if (e_.punct(i, '-') || e_.punct(i, '+')) {
            first = i;
            const bool minus = e_.punct(i, '-');
            i = e_.next(i + 1);
            std::size_t f = 0;
            if (!unary(i, to, ops, f, last)) return false;
            // -x of anything but a number literal is 0 - x, so a date or text operand gets
            // Oracle's error instead of a number made up from it.
            if (minus && !(f == last && e_.at(f).kind == TK::Number))
                ops.push_back(Op{first, last, first, false, kOraSub, true});
            return true;
        }
        return primary(i, to, first, last);
    }

    // One operand: a literal, bind, name, call, parenthesised expression or CASE; i moves past.
    bool primary(std::size_t& i, std::size_t to, std::size_t& first, std::size_t& last) {
        if (i >= to) return false;
        const Token& t = e_.at(i);
        first = i;
        if (t.kind == TK::Number || t.kind == TK::String || t.kind == TK::Bind) {
            last = i;
        } else if (e_.punct(i, '(')) {
            const std::size_t past = e_.pastParens(i);
            if (past > to) return false;
            region(i + 1, past - 1);
            last = past - 1;
        } else if (e_.word(i, "CASE")) {
            std::size_t end = i;
            int depth = 0;
            for (; end < to; ++end) {
                if (e_.word(end, "CASE")) ++depth;
                if (e_.word(end, "END") && --depth == 0) break;
            }
            if (end >= to) return false;
            region(i + 1, end);
            last = end;
        } else if (e_.name(i) && !isBoundaryWord(e_, i) && !isUnknownForm(e_, i)) {
            last = i;
            if (t.kind == TK::Word && i + 1 < e_.size() && e_.at(i + 1).kind == TK::String) {
                last = i + 1;  // x'00ff'
            } else {
                for (;;) {
                    const std::size_t dot = e_.next(last + 1);
                    if (!e_.punct(dot, '.') || !e_.name(e_.next(dot + 1))) break;
                    last = e_.next(dot + 1);
                }
                const std::size_t call = e_.next(last + 1);
                if (e_.punct(call, '(')) {
                    const std::size_t past = e_.pastParens(call);
                    if (past > to) return false;
                    region(call + 1, past - 1);
                    last = past - 1;
                    const std::size_t over = e_.next(past);
                    if (e_.word(over, "OVER")) {
                        const std::size_t window = e_.next(over + 1);
                        if (e_.punct(window, '(')) {
                            const std::size_t end = e_.pastParens(window);
                            if (end > to) return false;
                            region(window + 1, end - 1);
                            last = end - 1;
                        } else if (e_.name(window)) {
                            last = window;
                        }
                    }
                }
            }
        } else {
            return false;
        }
        i = e_.next(last + 1);
        return true;
    }

    void apply(const std::vector<Op>& ops) {
        for (const Op& o : ops) {
            if (o.unary) {
                e_[o.op].text = std::string(o.function) + "(0, ";
                closeCall(e_[o.last]);
                continue;
            }
            if (extendsRun(o.function)) {
                nestRun(o);
                continue;
            }
            const bool chunked = o.more.size() + 2 > kMaxRunOperands;
            const std::string call = std::string(o.function) + "(";
            e_[o.first].text = (chunked ? call + call : call) + e_[o.first].text;
            e_[o.op].text = ",";
            if (o.concat) e_.erase(o.op + 1);
            for (std::size_t k = 0; k < o.more.size(); ++k) {
                // The operator after operand k + 2 of the run; every kMaxRunOperands operands a
                // call ends and the next begins.
                const bool boundary = chunked && (k + 2) % kMaxRunOperands == 0;
                e_[o.more[k]].text = boundary ? "), " + call : ",";
                e_.erase(o.more[k] + 1);
            }
            closeCall(e_[o.last]);
            if (chunked) closeCall(e_[o.last]);
        }
    }

    // A run of + or * as calls of two (Op::more). Operand k runs from the token after
    // operator k - 1 (the run's first token for operand 0) to the token before operator k.
    void nestRun(const Op& o) {
        std::vector<std::size_t> operators{o.op};
        operators.insert(operators.end(), o.more.begin(), o.more.end());
        const std::size_t n = operators.size() + 1;
        auto firstOf = [&](std::size_t k) { return k == 0 ? o.first : e_.next(operators[k - 1] + 1); };
        auto lastOf = [&](std::size_t k) { return k + 1 == n ? o.last : e_.previous(operators[k]); };
        const std::string call = std::string(o.function) + "(";
        for (std::size_t op : operators) e_[op].text = ",";
        // Operands [lo, hi) as one call of two parts. The inner calls are written first: each
        // call is put before the text already in front of its first operand.
        auto nest = [&](auto& self, std::size_t lo, std::size_t hi) -> void {
            if (hi - lo < 2) return;
            const std::size_t split = n <= kLeftNestedOperands ? hi - 1 : lo + (hi - lo) / 2;
            self(self, lo, split);
            self(self, split, hi);
            e_[firstOf(lo)].text = call + e_[firstOf(lo)].text;
            closeCall(e_[lastOf(hi - 1)]);
        };
        nest(nest, 0, n);
    }

    TokenEditor& e_;
};

const char* const kNamePrefix = "ORA$N:";

// Whether token last ends the qualifier of an interval literal (INTERVAL '4' DAY TO SECOND(3)) or
// of an interval expression ((a - b) DAY TO SECOND): then it is no alias.
bool endsIntervalQualifier(const TokenEditor& e, std::size_t last) {
    auto field = [&](std::size_t k) {
        for (const char* w : {"YEAR", "MONTH", "DAY", "HOUR", "MINUTE", "SECOND"})
            if (e.word(k, w)) return true;
        return false;
    };
    bool to = false;
    for (std::size_t k = last; k < e.size(); k = e.previous(k)) {
        if (field(k)) continue;
        if (e.word(k, "TO")) {
            to = true;
            continue;
        }
        if (e.at(k).kind == TK::String) return e.word(e.previous(k), "INTERVAL");
        if (!e.punct(k, ')')) return false;
        // A precision "(n)" or "(n, m)" after a field, else the parenthesised expression.
        std::size_t p = e.previous(k);
        if (p < e.size() && e.at(p).kind == TK::Number) {
            std::size_t q = e.previous(p);
            if (e.punct(q, ',')) q = e.previous(e.previous(q));
            if (e.punct(q, '(') && field(e.previous(q))) {
                k = q;
                continue;
            }
        }
        return to;
    }
    return false;
}

bool aliasEnds(const TokenEditor& e, std::size_t first, std::size_t last) {
    if (last == first) return false;
    const Token& t = e.at(last);
    if (t.kind == TK::QuotedIdent) return true;
    if (t.kind != TK::Word || isBoundaryWord(e, last)) return false;
    for (const char* w : {"NULL", "TRUE", "FALSE", "END"})
        if (e.word(last, w)) return false;
    // "expr AS name", or "expr name" where expr ends in an operand
    const std::size_t before = e.previous(last);
    if (before >= e.size()) return false;
    const Token& b = e.at(before);
    if (endsIntervalQualifier(e, last)) return false;
    return e.word(before, "AS") || e.punct(before, ')') || b.kind == TK::Number ||
           b.kind == TK::String || b.kind == TK::Bind || b.kind == TK::QuotedIdent ||
           e.word(before, "END") || (b.kind == TK::Word && !isBoundaryWord(e, before));
}

}  // namespace

void rewriteOperators(TokenEditor& e) { Parser(e).region(0, e.size()); }

SelectItemNames::SelectItemNames(const TokenEditor& e) {
    // Every query block's select list names its columns: the statement's own, and those of
    // inline views, WITH queries and set operations, whose names SELECT * reports.
    for (std::size_t select = e.next(0); select < e.size(); select = e.next(select + 1))
        if (e.word(select, "SELECT")) addItemsOf(e, select);
}

void SelectItemNames::addItemsOf(const TokenEditor& e, std::size_t select) {
    std::size_t i = e.next(select + 1);
    if (e.word(i, "DISTINCT") || e.word(i, "ALL") || e.word(i, "UNIQUE")) i = e.next(i + 1);
    std::size_t start = i;
    int depth = 0;
    for (std::size_t k = i; k <= e.size(); ++k) {
        const bool end = k == e.size() || (depth == 0 && (e.word(k, "FROM") || e.punct(k, ')') ||
                                                          e.word(k, "UNION") || e.word(k, "INTO")));
        if (k < e.size() && e.punct(k, '(')) ++depth;
        if (k < e.size() && e.punct(k, ')') && depth > 0) --depth;
        if (end || (depth == 0 && e.punct(k, ','))) {
            const std::size_t first = e.next(start);
            const std::size_t last = e.previous(k);
            bool plainName = true;  // a column reference keeps SQLite's name for it
            for (std::size_t j = first; j <= last && j < e.size() && plainName; j = e.next(j + 1))
                plainName = e.name(j) || e.punct(j, '.');
            if (first < k && last < e.size() && last >= first && !e.punct(last, '*') &&
                !plainName && !aliasEnds(e, first, last)) {
                std::string text;
                for (std::size_t j = first; j <= last; ++j) text += e.at(j).text;
                items_.push_back(Item{first, last, text});
            }
            start = k + 1;
            if (end) break;
        }
    }
}

void SelectItemNames::relexed(const std::vector<TokenEditor::Span>& spans) {
    std::vector<Item> kept;
    for (Item& item : items_) {
        // The item now runs from the first new token of its first token to the last new token
        // of the last of its tokens that still has text; an item with none left is gone.
        bool any = false;
        std::size_t last = 0;
        for (std::size_t j = item.first; j <= item.last && j < spans.size(); ++j) {
            if (spans[j].last < spans[j].first) continue;
            any = true;
            last = spans[j].last;
        }
        if (!any) continue;
        item.first = spans[item.first].first;
        item.last = last;
        kept.push_back(std::move(item));
    }
    items_ = std::move(kept);
}

void SelectItemNames::nameChangedItems(TokenEditor& e) const {
    for (const Item& item : items_) {
        std::string now;
        for (std::size_t j = item.first; j <= item.last; ++j) now += e.at(j).text;
        if (now == item.text) continue;
        // A rewrite that named the item itself (" AS NAME" at its end) keeps that name.
        const std::size_t alias = now.rfind(" AS ");
        if (alias != std::string::npos &&
            (now.compare(alias + 4, 1, "\"") == 0 ||
             now.find_first_of("()", alias) == std::string::npos))
            continue;
        e[item.last].text += expressionAlias(item.text);
    }
}

std::string expressionAlias(const std::string& originalText) {
    std::string quoted;
    for (char c : originalText) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return " AS \"" + std::string(kNamePrefix) + quoted + "\"";
}

bool isExpressionAlias(const std::string& sqliteName) {
    return sqliteName.compare(0, 6, kNamePrefix) == 0;
}

std::string reportedColumnName(const std::string& sqliteName) {
    return isExpressionAlias(sqliteName) ? sqliteName.substr(6) : sqliteName;
}

}  // namespace detail
}  // namespace kavexdb
