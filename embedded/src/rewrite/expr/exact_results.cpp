#include "rewrite/expr/exact_results.h"

#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

#include "base/text.h"
#include "functions/catalog.h"
#include "rewrite/expr/expression_rewrite.h"
#include "sql/internal_names.h"
#include "sql/sql_context.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_util.h"
#include "sql/token_editor.h"
#include "types/decimal.h"

namespace kavexdb {
namespace detail {

namespace {

// A numeric literal a double would not hold: more than 15 significant digits, unless it is a
// whole number within 64 bits (SQLite reads those exactly).
bool isLongLiteral(const Token& t) {
    if (t.kind != Token::Kind::Number) return false;
    Decimal d;
    if (!parseDecimal(t.text, d) || d.digits.size() <= 15) return false;
    const bool whole = d.exponent >= static_cast<int>(d.digits.size());
    return !(whole && d.exponent <= 18);
}

class Marker {
  public:
    explicit Marker(TokenEditor& e) : e_(e) {}

    // Marks the expression [from, to) (significant tokens) when it is one call or one literal.
    // Returns whether it changed anything.
    bool mark(std::size_t from, std::size_t to) {
        from = e_.next(from);
        if (from >= to) return false;
        const std::size_t last = e_.previous(to);
        if (from == last && isLongLiteral(e_[from])) {
            e_[from].text = exactTwinName(kOraNum) + "('" + e_[from].text + "')";
            return true;
        }
        // A signed literal: its sign goes into the text.
        if ((e_.punct(from, '-') || e_.punct(from, '+')) && e_.next(from + 1) == last &&
            isLongLiteral(e_[last])) {
            e_[last].text = exactTwinName(kOraNum) + "('" + e_[from].text + e_[last].text + "')";
            e_.erase(from);
            return true;
        }
        if (e_[from].kind != Token::Kind::Word) return false;
        const std::size_t open = e_.next(from + 1);
        if (!e_.punct(open, '(')) return false;
        const std::size_t close = e_.pastParens(open);
        if (close > e_.size() || close == 0) return false;
        const std::string upper = asciiUpper(e_[from].text);
        if (!hasExactTwin(upper)) return false;
        // The whole expression must be the call (an aggregate's OVER clause may follow).
        const std::size_t after = e_.next(close);
        if (close - 1 != last && !(after < to && e_.word(after, "OVER"))) return false;
        for (const auto& a : callArguments(e_, open)) mark(a.first, a.second);
        e_[from].text = exactTwinName(upper);
        return true;
    }

  private:
    TokenEditor& e_;
};

struct Item {
    std::size_t first, end;  // [first, end): the expression, without its alias
    std::string alias;       // as Oracle resolves the name, "" when none
};

// The items of the select list after SELECT at select.
std::vector<Item> itemsOf(const TokenEditor& e, std::size_t select, std::size_t& listEnd) {
    std::size_t i = e.next(select + 1);
    if (e.word(i, "DISTINCT") || e.word(i, "ALL") || e.word(i, "UNIQUE")) i = e.next(i + 1);
    int depth = 0;
    std::size_t k = i;
    for (; k < e.size(); ++k) {
        if (e.punct(k, '(')) ++depth;
        if (e.punct(k, ')') && --depth < 0) break;
        if (depth == 0 && (e.word(k, "FROM") || e.word(k, "UNION") || e.word(k, "INTERSECT") ||
                           e.word(k, "EXCEPT") || e.word(k, "ORDER") || e.word(k, "LIMIT")))
            break;
    }
    listEnd = k;
    std::vector<Item> items;
    for (const auto& span : depthZeroItems(e, i, k)) {
        const std::size_t first = e.next(span.first), last = e.previous(span.second);
        if (first >= span.second || last >= e.size()) continue;
        Item item{first, span.second, ""};
        if (last != first && e.name(last) && !e.word(last, "END")) {
            const std::size_t before = e.previous(last);
            const Token& b = e.at(before);
            const bool alias = e.word(before, "AS") || b.isPunct(')') ||
                               b.kind == Token::Kind::Number || b.kind == Token::Kind::String ||
                               b.kind == Token::Kind::Word || b.kind == Token::Kind::QuotedIdent;
            if (alias) {
                item.alias = identifierName(e.at(last));
                item.end = e.word(before, "AS") ? before : last;
            }
        }
        items.push_back(item);
    }
    return items;
}

}  // namespace

std::string markExactResults(const std::string& sql) {
    TokenEditor e(lexSql(sql));
    std::size_t i = e.next(0);
    if (e.word(i, "WITH")) {
        // WITH name [(cols)] AS (query), ...: the main query follows the last one.
        int depth = 0;
        for (++i; i < e.size(); ++i) {
            if (e.punct(i, '(')) ++depth;
            if (e.punct(i, ')')) --depth;
            if (depth == 0 && e.word(i, "SELECT")) break;
        }
    }
    if (!e.word(i, "SELECT")) return sql;
    // The parts of a compound, and the ORDER BY after them.
    std::vector<std::vector<Item>> parts;
    std::size_t k = i;
    bool compound = false, distinct = false;
    std::size_t orderBy = e.size();
    while (k < e.size() && e.word(k, "SELECT")) {
        std::size_t listEnd = 0;
        parts.push_back(itemsOf(e, k, listEnd));
        int depth = 0;
        std::size_t next = e.size();
        for (std::size_t j = listEnd; j < e.size(); ++j) {
            if (e.punct(j, '(')) ++depth;
            if (e.punct(j, ')')) --depth;
            if (depth != 0) continue;
            if (e.word(j, "UNION") || e.word(j, "INTERSECT") || e.word(j, "EXCEPT")) {
                compound = true;
                next = e.next(j + 1);
                if (e.word(next, "ALL"))
                    next = e.next(next + 1);
                else
                    distinct = true;
                break;
            }
            if (e.word(j, "ORDER") && orderBy == e.size()) orderBy = j;
        }
        k = next;
    }
    if (k < e.size()) return sql;  // a form this pass does not follow
    if (compound && orderBy < e.size()) return sql;
    // What a top-level ORDER BY names: positions and aliases.
    std::set<std::size_t> positions;
    std::set<std::string> aliases;
    if (orderBy < e.size()) {
        const std::size_t by = e.next(orderBy + 1);
        std::size_t end = by + 1;
        int depth = 0;
        for (; end < e.size(); ++end) {
            if (e.punct(end, '(')) ++depth;
            if (e.punct(end, ')')) --depth;
            if (depth == 0 && (e.word(end, "LIMIT") || e.word(end, "OFFSET"))) break;
        }
        for (const auto& term : depthZeroItems(e, by + 1, end)) {
            const std::size_t first = e.next(term.first);
            if (first >= term.second) continue;
            if (e.at(first).kind == Token::Kind::Number)
                positions.insert(static_cast<std::size_t>(std::atol(e.at(first).text.c_str())));
            else if (e.name(first))
                aliases.insert(identifierName(e.at(first)));
        }
    }
    Marker marker(e);
    for (const std::vector<Item>& items : parts) {
        for (std::size_t n = 0; n < items.size(); ++n) {
            const Item& item = items[n];
            if (positions.count(n + 1) || (!item.alias.empty() && aliases.count(item.alias)))
                continue;
            const std::string before = textOf(e, item.first, item.end);
            const bool changed = marker.mark(item.first, item.end);
            // A compound that drops duplicates compares its rows: values in their stored form
            // compare equal to a column's (number_storage.h).
            if (changed && distinct) {
                e[item.first].text = std::string(kOraNumStored) + "(" + e[item.first].text;
                e[e.previous(item.end)].text += ")";
            }
            // An item without an alias keeps the name its text gave it.
            if (changed && item.alias.empty() && !isExpressionAlias(before))
                e.writeAfter(e.previous(item.end), expressionAlias(trimmed(before)));
        }
    }
    return e.text();
}

std::string markExactWrites(const std::string& sql) {
    TokenEditor e(lexSql(sql));
    bool changed = false;
    // INSERT ... SELECT converts the query's rows named in WITH ora$rows(...) AS (query): the
    // query's items are what the columns store.
    for (std::size_t k = e.next(0); k < e.size(); k = e.next(k + 1)) {
        if (!e.word(k, "WITH") || !e.word(e.next(k + 1), kOraRows)) continue;
        std::size_t open = e.next(k + 1);
        while (open < e.size() && !e.word(open, "AS"))
            open = e.punct(open, '(') ? e.next(e.pastParens(open)) : e.next(open + 1);
        open = e.next(open + 1);
        if (!e.punct(open, '(')) break;
        const std::size_t past = e.pastParens(open);
        if (past > e.size() || past < open + 2) break;
        const std::string query = e.textBetween(open + 1, past - 1);
        const std::string marked = markExactResults(query);
        if (marked != query) {
            e.erase(open + 2, past - 1);
            e[open + 1].text = marked;
            changed = true;
        }
        break;
    }
    Marker marker(e);
    for (std::size_t k = e.next(0); k < e.size(); k = e.next(k + 1)) {
        if (!e.word(k, kOraWNum) || e.punct(e.previous(k), '.')) continue;
        const std::size_t open = e.next(k + 1);
        if (!e.punct(open, '(')) continue;
        const auto args = callArguments(e, open);
        if (!args.empty()) changed = marker.mark(args[0].first, args[0].second) || changed;
    }
    return changed ? e.text() : sql;
}

}  // namespace detail
}  // namespace kavexdb
