#include "rewrite/query/row_limiting.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "sql/internal_names.h"
#include "sql/sql_context.h"

namespace kavexdb {
namespace detail {

namespace {

using TK = Token::Kind;

// The tokens of one query block at its own depth: [select, end).
struct Block {
    std::size_t select = 0, end = 0;
    std::size_t from = 0, where = 0, order = 0;  // size() when absent
    std::size_t offset = 0, fetch = 0;
};

bool isSetOperator(const TokenEditor& e, std::size_t i) {
    return e.word(i, "UNION") || e.word(i, "INTERSECT") || e.word(i, "EXCEPT") ||
           e.word(i, "MINUS");
}

// Moves depth by the parentheses of token i's text outside its quotes: the expression passes
// before this one write calls into tokens ("ORA$ADD(a", "b)"), so a token may hold several or
// none of the ones it stood for. False, with depth unchanged from there, when a ')' would take it
// below zero: the token closes what encloses the scan.
bool step(const TokenEditor& e, std::size_t i, int& depth) {
    const Token& t = e.at(i);
    if (t.kind != TK::Punct && t.text.find_first_of("()") == std::string::npos) return true;
    char quote = 0;
    for (char c : t.text) {
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (depth == 0) return false;
            --depth;
        }
    }
    return true;
}

Block blockAt(const TokenEditor& e, std::size_t select) {
    Block b;
    b.select = select;
    b.from = b.where = b.order = b.offset = b.fetch = e.size();
    b.end = e.size();
    int depth = 0;
    for (std::size_t i = e.next(select + 1); i < e.size(); i = e.next(i + 1)) {
        if (!step(e, i, depth)) {
            b.end = i;
            break;
        }
        if (depth != 0) continue;
        if (isSetOperator(e, i) || e.punct(i, ';')) {
            b.end = i;
            break;
        }
        if (e.word(i, "FROM") && b.from == e.size()) b.from = i;
        if (e.word(i, "WHERE") && b.where == e.size()) b.where = i;
        if (e.word(i, "ORDER") && e.word(e.next(i + 1), "BY")) b.order = i;
        if (e.word(i, "OFFSET")) b.offset = i;
        if (e.word(i, "FETCH") && (e.word(e.next(i + 1), "FIRST") || e.word(e.next(i + 1), "NEXT")))
            b.fetch = i;
    }
    return b;
}

// The end of the WHERE clause that begins at where: the next clause word at its depth.
std::size_t whereEnd(const TokenEditor& e, std::size_t where, std::size_t blockEnd) {
    int depth = 0;
    for (std::size_t i = e.next(where + 1); i < blockEnd; i = e.next(i + 1)) {
        if (!step(e, i, depth)) --depth;
        if (depth == 0 && (isClauseWord(e, i) || e.word(i, "GROUP") || e.word(i, "HAVING")))
            return i;
    }
    return blockEnd;
}

bool isValue(const TokenEditor& e, std::size_t i) {
    return i < e.size() && (e.at(i).kind == TK::Number || e.at(i).kind == TK::Bind);
}

// A comparison operator at i ("<", "<=", "=", ">", ">=", "!=", "<>"); sets past to the token
// after it.
std::string comparisonAt(const TokenEditor& e, std::size_t i, std::size_t& past) {
    std::string op;
    std::size_t k = i;
    while (k < e.size() && e.at(k).kind == TK::Punct && op.size() < 2) {
        const char c = e.at(k).text[0];
        if (c != '<' && c != '>' && c != '=' && c != '!') break;
        op += c;
        ++k;
    }
    past = e.next(k);
    return op;
}

std::string mirrored(const std::string& op) {
    if (op == "<") return ">";
    if (op == ">") return "<";
    if (op == "<=") return ">=";
    if (op == ">=") return "<=";
    return op;
}

// One term "ROWNUM op value" (either way round) spanning [from, to): the LIMIT it stands for,
// or "0 rows" when Oracle can never satisfy it. Returns false for other terms.
bool rownumTerm(const TokenEditor& e, std::size_t from, std::size_t to, std::string& limit,
                bool& never) {
    const std::size_t a = e.next(from);
    const std::size_t last = e.previous(to);
    if (e.punct(a, '(') && last < e.size() && e.pastParens(a) == last + 1)  // (ROWNUM <= n)
        return rownumTerm(e, a + 1, last, limit, never);
    std::size_t past = 0;
    std::string op, value;
    if (e.word(a, "ROWNUM")) {
        op = comparisonAt(e, e.next(a + 1), past);
        if (!isValue(e, past) || e.next(past + 1) != e.next(to)) return false;
        value = e.at(past).text;
    } else if (isValue(e, a)) {
        op = mirrored(comparisonAt(e, e.next(a + 1), past));
        if (!e.word(past, "ROWNUM") || e.next(past + 1) != e.next(to)) return false;
        value = e.at(a).text;
    } else {
        return false;
    }
    never = false;
    const bool literal = e.at(e.word(a, "ROWNUM") ? past : a).kind == TK::Number;
    const double n = literal ? std::stod(value) : 0;
    if (op == "<=") {
        limit = literal ? std::to_string(static_cast<long long>(n)) : value;
    } else if (op == "<") {
        limit = literal ? std::to_string(static_cast<long long>(n) - (n == static_cast<long long>(n)))
                        : "(" + value + ") - 1";
    } else if (op == "=" && literal) {
        if (n == 1) limit = "1";
        else never = true;
    } else if ((op == ">" || op == ">=") && literal) {
        if ((op == ">" && n >= 1) || (op == ">=" && n > 1)) never = true;
        // ROWNUM > 0 always holds: the term goes with no limit
    } else {
        return false;
    }
    return true;
}

// Takes ROWNUM limits out of the block's WHERE clause; returns the LIMIT expression ("" when
// none).
std::string takeRownumLimit(TokenEditor& e, const Block& b) {
    if (b.where >= e.size()) return std::string();
    const std::size_t end = whereEnd(e, b.where, b.end);
    // Top-level AND terms; an OR at the top level keeps the clause as it is.
    std::vector<std::size_t> ands;
    int depth = 0;
    for (std::size_t i = e.next(b.where + 1); i < end; i = e.next(i + 1)) {
        if (!step(e, i, depth)) --depth;
        if (depth != 0) continue;
        if (e.word(i, "OR")) return std::string();
        if (e.word(i, "AND")) {
            // BETWEEN x AND y keeps its AND
            bool between = false;
            for (std::size_t k = e.previous(i); k > b.where && k < e.size(); k = e.previous(k)) {
                if (e.word(k, "AND")) break;
                if (e.word(k, "BETWEEN")) between = true;
            }
            if (!between) ands.push_back(i);
        }
    }
    std::vector<std::pair<std::size_t, std::size_t>> terms;  // [from, to) per term
    std::size_t start = b.where + 1;
    for (std::size_t a : ands) {
        terms.emplace_back(start, a);
        start = a + 1;
    }
    terms.emplace_back(start, end);
    std::string limit;
    std::size_t kept = terms.size();
    for (std::size_t t = 0; t < terms.size(); ++t) {
        std::string l;
        bool never = false;
        if (!rownumTerm(e, terms[t].first, terms[t].second, l, never)) continue;
        if (never) {
            e.erase(terms[t].first, terms[t].second);
            e[terms[t].first] = Token{TK::Number, " 0"};
            continue;
        }
        if (!l.empty()) limit = limit.empty() ? l : "min(" + limit + ", " + l + ")";
        // The term and the AND joining it to its neighbour go.
        e.erase(terms[t].first, terms[t].second);
        if (t > 0 && ands.size() >= t)
            e.erase(ands[t - 1]);
        else if (t < ands.size())
            e.erase(ands[t]);
        --kept;
    }
    if (kept == 0) e.erase(b.where);
    return limit;
}

// FETCH FIRST|NEXT [n] [PERCENT] ROW|ROWS ONLY|WITH TIES and OFFSET m ROW|ROWS.
struct FetchClause {
    std::string offset, count = "1";
    bool percent = false, ties = false, present = false;
};

FetchClause takeFetch(TokenEditor& e, const Block& b) {
    FetchClause f;
    if (b.offset < e.size()) {
        std::size_t i = e.next(b.offset + 1);
        std::size_t rows = i;
        int depth = 0;
        for (; rows < b.end; rows = e.next(rows + 1)) {
            if (!step(e, rows, depth)) --depth;
            if (depth == 0 && (e.word(rows, "ROW") || e.word(rows, "ROWS"))) break;
        }
        if (rows >= b.end) return f;  // SQLite's own LIMIT ... OFFSET
        f.offset = textOf(e, i, rows);
        e.erase(b.offset, rows + 1);
        f.present = true;
    }
    if (b.fetch < e.size()) {
        std::size_t i = e.next(e.next(b.fetch + 1) + 1);
        std::size_t stop = i;
        for (; stop < b.end; stop = e.next(stop + 1))
            if (e.word(stop, "ROW") || e.word(stop, "ROWS") || e.word(stop, "PERCENT")) break;
        if (stop > i) f.count = textOf(e, i, stop);
        if (e.word(stop, "PERCENT")) {
            f.percent = true;
            stop = e.next(stop + 1);
        }
        if (!e.word(stop, "ROW") && !e.word(stop, "ROWS")) raise(ora::kCommandNotProperlyEnded);
        stop = e.next(stop + 1);
        if (e.word(stop, "WITH") && e.word(e.next(stop + 1), "TIES")) {
            f.ties = true;
            stop = e.next(stop + 1);
        } else if (!e.word(stop, "ONLY")) {
            raise(ora::kCommandNotProperlyEnded);
        }
        e.erase(b.fetch, stop + 1);
        f.present = true;
    }
    return f;
}

// The LIMIT expression of a FETCH clause: PERCENT and WITH TIES count the block's own rows.
std::string fetchLimit(const FetchClause& f, const std::string& body, const std::string& rest,
                       const std::string& orderKeys) {
    std::string limit = "(" + f.count + ")";
    if (f.percent) {
        limit = "(SELECT CAST(c AS INTEGER) + (c > CAST(c AS INTEGER)) FROM (SELECT count(*) * (" +
                f.count + ") / 100.0 AS c FROM (" + body + ")))";
    }
    const std::string offset = f.offset.empty() ? "0" : "(" + f.offset + ")";
    if (f.ties && !orderKeys.empty() && !rest.empty()) {
        limit = "((SELECT count(*) FROM (SELECT RANK() OVER (ORDER BY " + orderKeys +
                ") AS ORA$RANK " + rest + ") WHERE ORA$RANK <= " + offset + " + " + limit + ") - " +
                offset + ")";
    }
    return limit;
}

// ROWNUM counts the rows that pass WHERE before any grouping or sorting: over one table the
// limit goes into a subquery that stands for it,
//   FROM t a WHERE w -> FROM (SELECT * FROM t a WHERE w LIMIT n) AS a
// so that aggregates, DISTINCT and ORDER BY see only those rows. False when the FROM clause
// joins several items (the LIMIT then applies to the block's result).
bool limitInsideFrom(TokenEditor& e, const Block& b, const std::string& limit) {
    if (b.from >= e.size()) return false;
    std::size_t fromEnd = b.end;
    int depth = 0;
    for (std::size_t i = e.next(b.from + 1); i < b.end; i = e.next(i + 1)) {
        if (!step(e, i, depth)) --depth;
        if (depth != 0) continue;
        if (e.punct(i, ',') || e.word(i, "JOIN")) return false;
        if (isClauseWord(e, i) || e.word(i, "GROUP") || e.word(i, "HAVING") ||
            e.word(i, "ORDER") || e.word(i, "WHERE")) {
            fromEnd = i;
            break;
        }
    }
    const std::size_t last = e.previous(fromEnd);
    if (last >= e.size() || last <= b.from) return false;
    const std::string name = e.name(last) ? e.at(last).text : std::string(kOraRows);
    const std::size_t whereStop =
        e.word(fromEnd, "WHERE") ? whereEnd(e, fromEnd, b.end) : fromEnd;
    // The item and its WHERE stay where they are, as tokens: only the subquery's frame is
    // written around them. OFFSET 0 keeps SQLite from taking the n rows in the outer query's
    // ORDER BY order.
    // The subquery keeps the item's ROWID for a block that asks for it (SELECT ROWID ...,
    // WHERE ROWID IN (SELECT ROWID ... WHERE ROWNUM <= n)).
    bool rowid = false;
    for (std::size_t i = e.next(b.select + 1); i < b.end && !rowid; i = e.next(i + 1))
        rowid = e.word(i, "ROWID");
    e.writeAfter(b.from, rowid ? " (SELECT *, rowid AS rowid FROM " : " (SELECT * FROM ");
    e.writeAfter(e.previous(whereStop), " LIMIT " + limit + " OFFSET 0) AS " + name + " ");
    return true;
}

// Takes the block's ROWNUM terms out of its WHERE clause (returning the limit they stand for)
// and numbers what is left of ROWNUM in the block.
std::string takeRownum(TokenEditor& e, std::size_t select) {
    const Block b = blockAt(e, select);
    const std::string limit = takeRownumLimit(e, b);
    int depth = 0;
    for (std::size_t i = e.next(b.select + 1); i < b.end; i = e.next(i + 1)) {
        if (!step(e, i, depth)) --depth;
        if (e.word(i, "SELECT") && depth > 0) {  // a nested block keeps its own numbering
            i = blockAt(e, i).end;
            if (i >= b.end) break;
            --depth;
            continue;
        }
        if (e.word(i, "ROWNUM") && !e.punct(e.previous(i), '.')) {
            const bool item = isWholeSelectItem(e, i);
            e[i].text = item ? "row_number() OVER () AS ROWNUM" : "row_number() OVER ()";
        }
    }
    return limit;
}

// Writes the block's limits: the ROWNUM limit taken before, and its OFFSET and FETCH clauses.
void limitBlock(TokenEditor& e, std::size_t select, std::string rownumLimit) {
    const Block b = blockAt(e, select);
    // Text of the block before ORDER BY and the ORDER BY keys, taken before anything changes.
    const std::size_t bodyEnd = std::min({b.order, b.offset, b.fetch, b.end});
    const std::string body = textOf(e, b.select, bodyEnd);
    std::string orderKeys;
    if (b.order < e.size())
        orderKeys = textOf(e, e.next(b.order + 1) + 1, std::min({b.offset, b.fetch, b.end}));
    const std::string rest = b.from < bodyEnd ? textOf(e, b.from, bodyEnd) : std::string();

    if (!rownumLimit.empty() && limitInsideFrom(e, b, rownumLimit)) rownumLimit.clear();
    const FetchClause f = takeFetch(e, b);
    std::string limit = rownumLimit;
    if (b.fetch < e.size()) {
        const std::string fetch = fetchLimit(f, body, rest, orderKeys);
        limit = limit.empty() ? fetch : "min(" + limit + ", " + fetch + ")";
    } else if (!f.offset.empty() && limit.empty()) {
        limit = "-1";  // SQLite's OFFSET needs a LIMIT
    }
    if (limit.empty()) return;
    std::string clause = " LIMIT " + limit;
    if (!f.offset.empty()) clause += " OFFSET " + f.offset;
    e.writeAfter(e.previous(b.end), clause);
}

}  // namespace

RowLimits::RowLimits(TokenEditor& e) {
    bool any = false;
    for (const Token& t : e.tokens())
        if (t.isWord("ROWNUM") || t.isWord("FETCH") || t.isWord("OFFSET")) any = true;
    if (!any) return;
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1))
        if (e.word(i, "SELECT")) blocks_.push_back(Limit{i, takeRownum(e, i)});
}

void RowLimits::apply(TokenEditor& e) const {
    // Innermost blocks first: the text a block copies into its LIMIT then has its inner
    // blocks' limits (written outside the tokens, which every block still reads as they were).
    for (auto block = blocks_.rbegin(); block != blocks_.rend(); ++block)
        limitBlock(e, block->select, block->rownum);
}

}  // namespace detail
}  // namespace kavexdb
