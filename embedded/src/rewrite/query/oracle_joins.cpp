#include "rewrite/query/oracle_joins.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "functions/function_args.h"
#include "functions/sql_function.h"
#include "sql/internal_names.h"
#include "sql/sql_context.h"
#include "sql/sql_lexer.h"
#include "functions/catalog.h"
#include "sql/internal_names.h"
#include "sql/keywords.h"

namespace kavexdb {
namespace detail {

namespace {

using TK = Token::Kind;

// The clauses of the query block that starts at a SELECT: each clause's first token (its
// keyword) and the end of the block; size() for clauses that are absent.
struct Clauses {
    std::size_t select = 0, from, where, start, connect, group, having, order, end;
    bool siblings = false;
};

Clauses clausesAt(const TokenEditor& e, std::size_t select) {
    Clauses c;
    c.select = select;
    c.from = c.where = c.start = c.connect = c.group = c.having = c.order = c.end = e.size();
    int depth = 0;
    for (std::size_t i = e.next(select + 1); i < e.size(); i = e.next(i + 1)) {
        if (e.punct(i, '(')) ++depth;
        if (e.punct(i, ')')) {
            if (depth == 0) {
                c.end = i;
                break;
            }
            --depth;
        }
        if (depth != 0) continue;
        const std::size_t nx = e.next(i + 1);
        // The row limiting clause applies to the hierarchy's rows: it stays after the block.
        const bool rowLimit =
            (e.word(i, "FETCH") && (e.word(nx, "FIRST") || e.word(nx, "NEXT"))) ||
            (e.word(i, "OFFSET") && c.from < i &&
             (e.at(nx).kind == TK::Number || e.at(nx).kind == TK::Bind || e.punct(nx, '(')));
        if (e.word(i, "UNION") || e.word(i, "INTERSECT") || e.word(i, "EXCEPT") ||
            e.word(i, "MINUS") || rowLimit) {
            c.end = i;
            break;
        }
        if (e.word(i, "FROM") && c.from == e.size()) c.from = i;
        else if (e.word(i, "WHERE") && c.where == e.size()) c.where = i;
        else if (e.word(i, "START") && e.word(nx, "WITH")) c.start = i;
        else if (e.word(i, "CONNECT") && e.word(nx, "BY")) c.connect = i;
        else if (e.word(i, "GROUP") && e.word(nx, "BY")) c.group = i;
        else if (e.word(i, "HAVING")) c.having = i;
        else if (e.word(i, "ORDER") && (e.word(nx, "BY") || e.word(nx, "SIBLINGS"))) {
            c.order = i;
            c.siblings = e.word(nx, "SIBLINGS");
        }
    }
    return c;
}

// The end of the clause that starts at `clause`: the next clause's start.
std::size_t clauseEnd(const Clauses& c, std::size_t clause) {
    std::size_t end = c.end;
    for (std::size_t k : {c.from, c.where, c.start, c.connect, c.group, c.having, c.order})
        if (k > clause && k < end) end = k;
    return end;
}

// Top-level pieces of [from, to) split at commas (for FROM lists) or AND (for conditions).
std::vector<std::pair<std::size_t, std::size_t>> split(const TokenEditor& e, std::size_t from,
                                                       std::size_t to, bool atAnd) {
    std::vector<std::pair<std::size_t, std::size_t>> parts;
    int depth = 0;
    std::size_t start = from;
    bool between = false;
    for (std::size_t i = e.next(from); i < to; i = e.next(i + 1)) {
        if (e.punct(i, '(')) ++depth;
        if (e.punct(i, ')')) --depth;
        if (depth != 0) continue;
        if (atAnd && e.word(i, "BETWEEN")) between = true;
        const bool cut = atAnd ? e.word(i, "AND") : e.punct(i, ',');
        if (!cut) continue;
        if (atAnd && between) {
            between = false;
            continue;
        }
        parts.emplace_back(start, i);
        start = i + 1;
    }
    parts.emplace_back(start, to);
    return parts;
}

bool isOuterMark(const TokenEditor& e, std::size_t i) {
    if (!e.punct(i, '(')) return false;
    const std::size_t plus = e.next(i + 1);
    return e.punct(plus, '+') && e.punct(e.next(plus + 1), ')');
}

// ---- (+) -------------------------------------------------------------------------------------

// The name a FROM item is known by (its alias, or its table's name) in upper case.
std::string itemName(const TokenEditor& e, std::size_t from, std::size_t to) {
    const std::size_t last = e.previous(to);
    if (last < e.size() && last >= from && e.name(last)) return identifierName(e.at(last));
    return std::string();
}

void rewriteOuterJoinBlock(TokenEditor& e, std::size_t select) {
    const Clauses c = clausesAt(e, select);
    if (c.from >= e.size() || c.where >= e.size()) return;
    const std::size_t fromEnd = clauseEnd(c, c.from), whereEnd = clauseEnd(c, c.where);
    bool marked = false;
    for (std::size_t i = c.where; i < whereEnd; ++i)
        if (isOuterMark(e, i)) marked = true;
    if (!marked) return;
    const auto items = split(e, c.from + 1, fromEnd, false);
    for (const auto& item : items)
        for (std::size_t k = item.first; k < item.second; ++k)
            if (e.word(k, "JOIN")) raise(ora::kOldStyleJoinWithAnsiJoins);
    // Terms per outer table.
    std::map<std::string, std::vector<std::string>> outerTerms;
    const auto terms = split(e, c.where + 1, whereEnd, true);
    std::vector<std::size_t> moved;
    for (std::size_t t = 0; t < terms.size(); ++t) {
        std::string outer;
        std::string text;
        for (std::size_t k = terms[t].first; k < terms[t].second; ++k) {
            if (isOuterMark(e, k)) {
                const std::size_t column = e.previous(k);
                const std::size_t dot = e.previous(column);
                if (!e.punct(dot, '.') || !e.name(e.previous(dot)))
                    raise(ora::kOuterJoinColumnNeedsTable);
                const std::string table = identifierName(e.at(e.previous(dot)));
                if (!outer.empty() && outer != table) raise(ora::kOuterJoinToSeveralTables);
                outer = table;
                k = e.next(e.next(k + 1) + 1);  // past '+' and ')'
                continue;
            }
            if (e.word(k, "OR")) raise(ora::kOuterJoinInOrOrIn);
            text += e.at(k).text;
        }
        if (outer.empty()) continue;
        outerTerms[outer].push_back(text);
        moved.push_back(t);
    }
    // FROM: the other tables first, then each outer table as a LEFT JOIN with its terms.
    std::string inner, joins;
    for (const auto& item : items) {
        const std::string name = itemName(e, item.first, item.second);
        const std::string itemText = textOf(e, item.first, item.second);
        auto it = outerTerms.find(name);
        if (it == outerTerms.end()) {
            inner += (inner.empty() ? "" : ",") + itemText;
            continue;
        }
        std::string on;
        for (const std::string& term : it->second) on += (on.empty() ? "" : " AND ") + term;
        joins += " LEFT JOIN " + itemText + " ON (" + on + ")";
    }
    if (inner.empty()) raise(ora::kTablesOuterJoinedToEachOther);
    e.erase(c.from + 1, fromEnd);
    e[c.from].text += " " + inner + joins + " ";
    // WHERE: what is left of it.
    std::string kept;
    for (std::size_t t = 0; t < terms.size(); ++t)
        if (std::find(moved.begin(), moved.end(), t) == moved.end())
            kept += (kept.empty() ? "" : " AND ") + textOf(e, terms[t].first, terms[t].second);
    e.erase(c.where, whereEnd);
    e[c.where] = Token{TK::Word, kept.empty() ? std::string(" ") : " WHERE " + kept + " "};
}

// ---- hierarchical queries -------------------------------------------------------------------

bool isKeyword(const Token& t) {
    return hasRole(t, kJoinSyntax);
}

// An expression's text with its columns qualified: PRIOR x and alias.x under PRIOR name the
// parent row (qualifier `parent`), other columns the row itself (`self`); LEVEL is `level`, and
// so is ROWNUM when rownumIsLevel (a source of one row numbers its rows by their levels).
std::string qualified(const TokenEditor& e, std::size_t from, std::size_t to,
                      const std::string& alias, const std::string& self,
                      const std::string& parent, const std::string& level,
                      bool rownumIsLevel = false) {
    std::string out;
    int priorDepth = -1, depth = 0;
    for (std::size_t i = from; i < to; ++i) {
        const Token& t = e.at(i);
        if (t.isPunct('(')) ++depth;
        if (t.isPunct(')')) --depth;
        if (t.isWord("PRIOR")) {
            priorDepth = depth;
            continue;
        }
        const bool prior = priorDepth >= 0;
        const std::string& q = prior ? parent : self;
        if (t.kind == TK::Word && (t.isWord("LEVEL") || (rownumIsLevel && t.isWord("ROWNUM")))) {
            out += level;
        } else if ((t.kind == TK::Word || t.kind == TK::QuotedIdent) && !isKeyword(t) &&
                   !e.punct(e.previous(i), '.') && !e.punct(e.next(i + 1), '(')) {
            if (e.punct(e.next(i + 1), '.')) {
                // alias.column: the alias is this table's
                const bool ours = identifierName(t) == alias;
                out += ours ? q : t.text;
            } else {
                out += q + "." + t.text;
            }
        } else {
            out += t.text;
        }
        // PRIOR binds to the operand that follows it: a name, a call or a parenthesised group.
        if (prior && t.significant() && !t.isWord("PRIOR") && depth == priorDepth &&
            !e.punct(e.next(i + 1), '.') && !e.punct(e.next(i + 1), '(') &&
            !(t.isPunct('.')))
            priorDepth = -1;
    }
    return out;
}

std::string rewriteHierarchical(TokenEditor& e, std::size_t select) {
    const Clauses c = clausesAt(e, select);
    const std::size_t fromEnd = clauseEnd(c, c.from);
    const auto items = split(e, c.from + 1, fromEnd, false);
    if (items.size() != 1) raise(ora::kJoinWithConnectBy);
    // The source: a table (rowids) or anything else, numbered in a CTE of its own.
    std::size_t s = e.next(items[0].first);
    const std::size_t itemEnd = items[0].second;
    std::string source, alias;
    bool table = false, dual = false;
    if (e.punct(s, '(')) {
        const std::size_t past = e.pastParens(s);
        source = textOf(e, s, past);
        s = e.next(past);
    } else {
        std::size_t last = s;
        if (e.punct(e.next(s + 1), '.')) last = e.next(e.next(s + 1) + 1);
        source = textOf(e, s, last + 1);
        alias = identifierName(e.at(last));
        dual = e.word(last, "DUAL");
        table = !dual;
        s = e.next(last + 1);
    }
    if (e.word(s, "AS")) s = e.next(s + 1);
    if (s < itemEnd && e.name(s)) alias = identifierName(e.at(s));
    const std::string aliasText = s < itemEnd && e.name(s) ? e.at(s).text : std::string();
    const std::string base = table ? source : kOraSrc;
    const std::string rid = table ? "rowid" : kOraRid;

    // CONNECT BY [NOCYCLE] condition
    std::size_t cond = e.next(e.next(c.connect + 1) + 1);
    const bool nocycle = e.word(cond, "NOCYCLE");
    if (nocycle) cond = e.next(cond + 1);
    const std::size_t connectEnd = clauseEnd(c, c.connect);
    bool hasPrior = false;
    std::string identity;  // the row's values that PRIOR compares, to recognise an ancestor
    for (std::size_t k = cond; k < connectEnd; ++k) {
        if (e.word(k, "SELECT")) raise(ora::kSubqueryInConnectBy);
        if (e.word(k, "PRIOR")) {
            hasPrior = true;
            const std::size_t operand = e.next(k + 1);
            std::size_t end = e.next(operand + 1);
            if (e.punct(end, '.')) end = e.next(e.next(end + 1) + 1);
            else if (e.punct(operand, '(')) end = e.pastParens(operand);
            identity += (identity.empty() ? "" : " || '|' || ") + std::string("quote(") +
                        qualified(e, operand, end, alias, "c", "c", "h.ORA$LVL") + ")";
        }
    }
    const std::string connect =
        qualified(e, cond, connectEnd, alias, "c", "p", "(h.ORA$LVL + 1)", dual);
    const std::string start =
        c.start < e.size() ? qualified(e, e.next(e.next(c.start + 1) + 1), clauseEnd(c, c.start),
                                       alias, "c", "c", "1")
                           : std::string("1");

    // Sibling order: ORDER SIBLINGS BY keys, or the rows' own order.
    std::string order;
    if (c.siblings) {
        const std::size_t keysFrom = e.next(e.next(e.next(c.order + 1) + 1) + 1);
        for (const auto& key : split(e, keysFrom, clauseEnd(c, c.order), false)) {
            std::size_t last = e.previous(key.second);
            bool desc = false;
            if (e.word(last, "DESC") || e.word(last, "ASC")) {
                desc = e.word(last, "DESC");
                last = e.previous(last);
            }
            const std::string k = qualified(e, key.first, last + 1, alias, "c", "c", kOraLevel);
            order += " || char(1) || ORA$SORTKEY(" + k + ", " + (desc ? "1" : "0") + ")";
        }
    } else if (dual) {
        // One row: the rows of a generator come in the order of their levels, and a row's
        // place is its level (a path of the levels would grow with each one: n^2 for n rows).
    } else {
        // The row number in hexadecimal behind its digit count, so that texts sort as numbers.
        order = " || char(1) || char(64 + length(printf('%x', c." + rid + "))) || printf('%x', c." +
                rid + ")";
    }
    // Pseudo-columns of the select list and the clauses after CONNECT BY.
    std::vector<std::string> paths, roots;
    std::string list;
    // Oracle's column name for a pseudo-column that is a whole select-list item.
    auto named = [&](std::size_t first, std::size_t past, bool selectList) {
        if (!selectList) return std::string();
        const std::size_t before = e.previous(first), after = e.next(past);
        const bool whole = (e.word(before, "SELECT") || e.punct(before, ',') ||
                            e.word(before, "DISTINCT")) &&
                           (after >= e.size() || e.punct(after, ',') || e.word(after, "FROM"));
        return whole ? " AS " + sqlQuotedIdentifier(upperOutsideQuotes(textOf(e, first, past)))
                     : std::string();
    };
    auto pseudo = [&](std::size_t from, std::size_t to, bool selectList) {
        std::string out;
        for (std::size_t i = from; i < to; ++i) {
            const std::size_t nx = e.next(i + 1);
            if (e.word(i, "LEVEL")) {
                out += "h.ORA$LVL" + named(i, i + 1, selectList);
            } else if (e.word(i, "CONNECT_BY_ISLEAF")) {
                out += "(NOT EXISTS (SELECT 1 FROM ORA$H h2 WHERE h2.ORA$PORD = h.ORA$ORD AND h2.ORA$LVL = h.ORA$LVL + 1 "
                       "AND h2.ORA$CYC = 0))" + named(i, i + 1, selectList);
            } else if (e.word(i, "CONNECT_BY_ISCYCLE")) {
                out += "(EXISTS (SELECT 1 FROM ORA$H h2 WHERE h2.ORA$PORD = h.ORA$ORD AND h2.ORA$LVL = h.ORA$LVL + 1 "
                       "AND h2.ORA$CYC = 1))" + named(i, i + 1, selectList);
            } else if (e.word(i, "SYS_CONNECT_BY_PATH") && e.punct(nx, '(')) {
                const std::size_t past = e.pastParens(nx);
                const auto args = split(e, nx + 1, past - 1, false);
                if (args.size() != 2) raise(ora::kInvalidArgumentCount);
                const std::string value =
                    qualified(e, args[0].first, args[0].second, alias, "c", "c", kOraLevel);
                const std::string sep = textOf(e, args[1].first, args[1].second);
                paths.push_back(sep + " || coalesce(" + value + ", '')");
                out += "h.ORA$P" + std::to_string(paths.size()) + named(i, past, selectList);
                i = past - 1;
            } else if (e.word(i, "CONNECT_BY_ROOT")) {
                std::size_t end = e.next(nx + 1);
                if (e.punct(end, '.')) end = e.next(e.next(end + 1) + 1);
                else if (e.punct(nx, '(')) end = e.pastParens(nx);
                roots.push_back(qualified(e, nx, end, alias, "c", "c", "1"));
                out += "h.ORA$R" + std::to_string(roots.size()) + named(i, end, selectList);
                i = end - 1;
            } else {
                out += e.at(i).text;
            }
        }
        return out;
    };
    list = pseudo(e.next(c.select + 1), c.from, true);
    // A bare * is the source's columns.
    {
        TokenEditor l(lexSql(list));
        const std::size_t only = l.next(0);
        if (l.punct(only, '*') && l.next(only + 1) >= l.size())
            list = " " + (aliasText.empty() ? source : aliasText) + ".* ";
    }
    const std::string where = c.where < e.size() ? pseudo(e.next(c.where + 1), clauseEnd(c, c.where), false) : "";
    std::string tail;
    for (std::size_t k : {c.group, c.having})
        if (k < e.size()) tail += " " + pseudo(k, clauseEnd(c, k), false);
    const std::string userOrder =
        c.order < e.size() && !c.siblings ? pseudo(c.order, clauseEnd(c, c.order), false) : "";

    std::string columns = "ORA$RID, ORA$LVL, ORA$ORD, ORA$PORD, ORA$SEEN, ORA$CYC";
    // Without PRIOR there are no ancestors to recognise: nothing is remembered.
    const bool levelOrder = dual && !c.siblings;
    std::string anchor = "SELECT c." + rid + ", 1, " + (levelOrder ? "1" : "''" + order) + ", NULL, " +
                         (hasPrior ? "',' || " + identity + " || ','" : "''") + ", 0";
    std::string step = "SELECT c." + rid + ", h.ORA$LVL + 1, " +
                       (levelOrder ? "h.ORA$LVL + 1" : "h.ORA$ORD" + order) + ", h.ORA$ORD, " +
                       (hasPrior ? "h.ORA$SEEN || " + identity + " || ','" : "''") + ", " +
                       (hasPrior ? "instr(h.ORA$SEEN, ',' || " + identity + " || ',') > 0" : "0");
    for (std::size_t k = 0; k < paths.size(); ++k) {
        columns += ", ORA$P" + std::to_string(k + 1);
        anchor += ", " + paths[k];
        step += ", h.ORA$P" + std::to_string(k + 1) + " || " + paths[k];
    }
    for (std::size_t k = 0; k < roots.size(); ++k) {
        columns += ", ORA$R" + std::to_string(k + 1);
        anchor += ", " + roots[k];
        step += ", h.ORA$R" + std::to_string(k + 1);
    }
    // LEVEL inside the carried values is the row's own level: 1 in the anchor, one more than
    // the parent's in the recursive step.
    auto levelled = [](std::string text, const std::string& level) {
        for (std::size_t at; (at = text.find(kOraLevel)) != std::string::npos;)
            text.replace(at, 9, level);
        return text;
    };
    anchor = levelled(anchor, "1");
    step = levelled(step, "(h.ORA$LVL + 1)");
    // A generator over one row (DUAL) with nothing to remember of the ancestors: its rows are
    // its levels, one each, made in their order (the recursion's queue is first in, first out),
    // so there is nothing to sort and a row limit stops the recursion. CROSS JOIN keeps the
    // recursion the outer loop, so rows stream instead of the levels being stored first.
    const std::string used = list + where + tail + userOrder;
    if (levelOrder && !hasPrior && paths.empty() && roots.empty() &&
        used.find("ORA$PORD") == std::string::npos) {
        const std::string named = aliasText.empty() ? std::string() : " " + aliasText;
        return "WITH RECURSIVE ORA$H(ORA$LVL) AS (SELECT 1 FROM " + source + " c WHERE " + start +
               " UNION ALL SELECT h.ORA$LVL + 1 FROM ORA$H h JOIN " + source + " c ON " + connect +
               ") SELECT " + list + " FROM ORA$H h CROSS JOIN " + source + named +
               (where.empty() ? "" : " WHERE (" + where + ")") + tail +
               (userOrder.empty() ? "" : " " + userOrder);
    }
    std::string out = "WITH RECURSIVE ";
    if (!table)
        out += "ORA$SRC AS MATERIALIZED (SELECT row_number() OVER () AS ORA$RID, s.* FROM " + source +
               " s), ";
    out += "ORA$H(" + columns + ") AS (" + anchor + " FROM " + base + " c WHERE " + start +
           " UNION ALL " + step + " FROM ORA$H h JOIN " + base + " p ON p." + rid +
           " = h.ORA$RID JOIN " + base + " c ON " + connect + " WHERE h.ORA$CYC = 0) ";
    const std::string joined = aliasText.empty() ? (table ? source : kOraSrc) : aliasText;
    out += "SELECT " + list + " FROM ORA$H h JOIN " + base +
           (aliasText.empty() ? "" : " " + aliasText) + " ON " + joined + "." + rid +
           " = h.ORA$RID WHERE " +
           (nocycle ? std::string("h.ORA$CYC = 0")
                    : "(h.ORA$CYC = 0 OR " + raiseCall(ora::kConnectByLoop) + ")") +
           (where.empty() ? "" : " AND (" + where + ")") + tail +
           (userOrder.empty() ? (dual ? " ORDER BY h.ORA$LVL" : " ORDER BY h.ORA$ORD")
                              : " " + userOrder);
    return out;
}

// ORA$SORTKEY(value, descending): numbers as 'N' and 16 hex digits of an order-preserving
// image of the double, texts as 'T' and the text (ascending only), NULL last.
void sortKey(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_NULL) return resultText(ctx, "\x7f");
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        double d = sqlite3_value_double(argv[0]);
        if (sqlite3_value_int(argv[1])) d = -d;
        std::uint64_t bits = 0;
        std::memcpy(&bits, &d, sizeof bits);
        bits = (bits >> 63) ? ~bits : bits | (std::uint64_t(1) << 63);
        char buf[20];
        std::snprintf(buf, sizeof buf, "N%016llx", static_cast<unsigned long long>(bits));
        return resultText(ctx, buf);
    }
    resultText(ctx, "T" + textArg(argv[0]));
}

}  // namespace

namespace {

// ORA$SORTKEY(value, descending): a text that sorts as the value does (hierarchy order).
const FunctionRow kRows[] = {
    {kOraSortkey, 2, 2, sortKey, nullptr},
};

}  // namespace

const FunctionFamily kJoinFunctions{kRows};

std::string rewriteOracleJoins(const TokenEditor& in) {
    bool outer = false, connect = false;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (isOuterMark(in, i)) outer = true;
        if (in.word(i, "CONNECT") && in.word(in.next(i + 1), "BY")) connect = true;
    }
    if (!outer && !connect) return std::string();
    TokenEditor e = in;
    if (outer)
        for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1))
            if (e.word(i, "SELECT")) rewriteOuterJoinBlock(e, i);
    if (!connect) return e.text();
    // One hierarchical block per pass, innermost first, until none is left.
    for (int pass = 0; pass < 8; ++pass) {
        std::size_t found = e.size();
        for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1))
            if (e.word(i, "SELECT") && clausesAt(e, i).connect < e.size()) found = i;
        if (found >= e.size()) break;
        const Clauses c = clausesAt(e, found);
        if (c.from >= e.size()) {
            // A query without FROM, as Oracle allows one: the hierarchy grows from DUAL's row.
            const std::size_t first = std::min({c.where, c.start, c.connect, c.group, c.order});
            e[first].text = "FROM DUAL " + e[first].text;
            e = TokenEditor(lexSql(e.text()));
            continue;
        }
        const std::string block = rewriteHierarchical(e, found);
        const bool whole = e.next(0) == found && c.end >= e.size();
        e.erase(found, c.end);
        e[found] = Token{TK::Word, whole ? block : "SELECT * FROM (" + block + ")"};
        e = TokenEditor(lexSql(e.text()));
    }
    return e.text();
}

}  // namespace detail
}  // namespace kavexdb
