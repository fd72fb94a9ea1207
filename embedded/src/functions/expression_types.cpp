#include "functions/expression_types.h"

#include "functions/interval.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>

#include "functions/interval.h"
#include "functions/sql_values.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_util.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

namespace {

using Tokens = std::vector<Token>;
using Span = std::pair<std::size_t, std::size_t>;  // [first, last) of significant tokens

ExpressionType unknown() { return ExpressionType{}; }
ExpressionType typed(const std::string& declared) {
    return ExpressionType{true, mapDeclaredType(declared)};
}

bool isDatetimeType(const ExpressionType& t) {
    return t.known && (t.type.dataType == 12 || t.type.dataType == 187 ||
                       t.type.dataType == 188 || t.type.dataType == 232);
}
bool isNumberType(const ExpressionType& t) {
    return t.known && (t.type.dataType == 2 || t.type.dataType == 3 || t.type.dataType == 100 ||
                       t.type.dataType == 101);
}

bool isVarchar(const ExpressionType& t) { return t.known && t.type.dataType == 1; }

bool word(const Token& t, const char* upper) { return t.isWord(upper); }

// Index just past the ')' matching the '(' at open within span (span.second when unbalanced).
std::size_t pastParens(const Tokens& t, std::size_t open, std::size_t end) {
    int depth = 0;
    for (std::size_t i = open; i < end; ++i) {
        if (t[i].isPunct('(')) ++depth;
        if (t[i].isPunct(')') && --depth == 0) return i + 1;
    }
    return end;
}

// Spans of [from, to) split at top-level commas.
std::vector<Span> splitTopLevel(const Tokens& t, std::size_t from, std::size_t to) {
    std::vector<Span> parts;
    int depth = 0;
    std::size_t start = from;
    for (std::size_t i = from; i < to; ++i) {
        if (t[i].isPunct('(')) ++depth;
        if (t[i].isPunct(')')) --depth;
        if (depth == 0 && t[i].isPunct(',')) {
            parts.emplace_back(start, i);
            start = i + 1;
        }
    }
    parts.emplace_back(start, to);
    return parts;
}

class Typer {
  public:
    Typer(const Tokens& t, const std::map<std::string, ExpressionType>& columns)
        : t_(t), columns_(columns) {}

    ExpressionType of(Span s) const {
        if (s.first >= s.second) return unknown();
        if (s.second - s.first >= 3 && word(t_[s.second - 2], "COLLATE"))
            return of({s.first, s.second - 2});  // a collation leaves the type as it is
        const Token& first = t_[s.first];
        if (first.isPunct('(')) {
            if (pastParens(t_, s.first, s.second) != s.second) return unknown();
            if (s.second - s.first > 2 && word(t_[s.first + 1], "SELECT")) return unknown();
            return of({s.first + 1, s.second - 1});
        }
        if (first.isPunct('-') || first.isPunct('+')) {
            const ExpressionType inner = of({s.first + 1, s.second});
            return isNumberType(inner) ? inner : unknown();
        }
        if (s.second - s.first == 1) return single(first);
        if (word(first, "CASE")) return caseResult(s);
        if ((first.kind == Token::Kind::Word || first.kind == Token::Kind::QuotedIdent) &&
            t_[s.first + 1].isPunct('(') && pastParens(t_, s.first + 1, s.second) == s.second)
            return call(baseFunctionName(asciiUpper(first.text)),
                        splitTopLevel(t_, s.first + 2, s.second - 1));
        if (isQualifiedName(s)) return column(s);
        return unknown();
    }

  private:
    ExpressionType single(const Token& t) const {
        switch (t.kind) {
            case Token::Kind::Number:
                return typed("NUMBER");
            case Token::Kind::String: {
                // DATE and TIMESTAMP literals were rewritten into their storage texts.
                const std::string text = t.text.substr(1, t.text.size() - 2);
                const ValueKind k = textKind(text.data(), text.size());
                if (k == ValueKind::Date) return typed("DATE");
                if (k == ValueKind::Timestamp) return typed("TIMESTAMP(9)");
                if (k == ValueKind::TimestampTz) return typed("TIMESTAMP WITH TIME ZONE(9)");
                // An interval's storage text is described by its value, which holds its
                // precisions.
                Interval interval;
                if (parseIntervalText(text.data(), text.size(), interval)) return unknown();
                return textLiteral(t.text);
            }
            case Token::Kind::Word:
            case Token::Kind::QuotedIdent:
                if (t.isWord("NULL")) return unknown();
                if (t.isWord("CURRENT_DATE")) return typed("DATE");
                return columnNamed(t.text);
            default:
                return unknown();
        }
    }

    // A text literal: as wide as its bytes, so that an expression giving it is described (and
    // made a column by CREATE TABLE AS) as wide with no row fetched. '' is NULL: unknown.
    static ExpressionType textLiteral(const std::string& quoted) {
        if (quoted.size() < 3 || quoted.front() != '\'') return unknown();
        std::size_t bytes = 0;
        for (std::size_t i = 1; i + 1 < quoted.size(); ++i, ++bytes)
            if (quoted[i] == '\'' && quoted[i + 1] == '\'') ++i;  // a doubled quote is one
        if (bytes > 4000) return unknown();
        return typed("VARCHAR2(" + std::to_string(bytes) + ")");
    }

    bool isQualifiedName(Span s) const {
        for (std::size_t i = s.first; i < s.second; ++i) {
            const bool name = t_[i].kind == Token::Kind::Word || t_[i].kind == Token::Kind::QuotedIdent;
            if ((i - s.first) % 2 == 0 ? !name : !t_[i].isPunct('.')) return false;
        }
        return (s.second - s.first) % 2 == 1;
    }

    ExpressionType column(Span s) const {
        std::string text;
        for (std::size_t i = s.first; i < s.second; ++i) text += t_[i].text;
        return columnNamed(text);
    }

    ExpressionType columnNamed(const std::string& text) const {
        const auto it = columns_.find(text);
        return it == columns_.end() ? unknown() : it->second;
    }

    // CASE ... THEN r ... [ELSE r] END: the type its results have in common.
    ExpressionType caseResult(Span s) const {
        std::vector<ExpressionType> results;
        int depth = 0;
        for (std::size_t i = s.first + 1; i < s.second; ++i) {
            if (t_[i].isPunct('(')) ++depth;
            if (t_[i].isPunct(')')) --depth;
            if (depth != 0 || (!word(t_[i], "THEN") && !word(t_[i], "ELSE"))) continue;
            std::size_t end = i + 1;
            int inner = 0;
            for (; end < s.second; ++end) {
                if (t_[end].isPunct('(')) ++inner;
                if (t_[end].isPunct(')')) --inner;
                if (inner == 0 && (word(t_[end], "WHEN") || word(t_[end], "ELSE") ||
                                   word(t_[end], "END") || word(t_[end], "CASE")))
                    break;
            }
            if (end < s.second && word(t_[end], "CASE")) return unknown();  // nested: not followed
            results.push_back(of({i + 1, end}));
            i = end - 1;
        }
        return common(results);
    }

    ExpressionType argument(const std::vector<Span>& args, std::size_t i) const {
        return i < args.size() ? of(args[i]) : unknown();
    }

    // The type of an expression that gives one of several results (NVL, COALESCE, DECODE,
    // CASE, GREATEST, LEAST): the first known result's, except that numbers of different
    // precisions or scales give a NUMBER of neither (NVL(n52, 1.2345) is 1.2345), as Oracle
    // converts the results to the one of highest precedence.
    static ExpressionType common(const std::vector<ExpressionType>& results) {
        ExpressionType found;
        int rank = 0;  // of the numbers: 1 NUMBER, 2 BINARY_FLOAT, 3 BINARY_DOUBLE
        bool mixed = false;
        for (const ExpressionType& r : results) {
            if (!r.known) continue;
            if (!found.known) found = r;
            // Texts as wide as the widest of them.
            if (isVarchar(found) && isVarchar(r)) found.type.size = std::max(found.type.size, r.type.size);
            if (!isNumberType(r)) continue;
            const int t = r.type.dataType;
            rank = std::max(rank, t == 101 ? 3 : t == 100 ? 2 : 1);
            mixed = mixed || !isNumberType(found) || t != found.type.dataType ||
                    r.type.precision != found.type.precision || r.type.scale != found.type.scale;
        }
        if (!mixed || !isNumberType(found)) return found;
        return typed(rank == 3 ? "BINARY_DOUBLE" : rank == 2 ? "BINARY_FLOAT" : "NUMBER");
    }

    ExpressionType commonOf(const std::vector<Span>& args, std::size_t from, std::size_t step,
                            bool withLast) const {
        std::vector<ExpressionType> results;
        for (std::size_t i = from; i < args.size(); i += step) results.push_back(of(args[i]));
        if (withLast && !args.empty() && (args.size() - 1 - from) % step != 0)
            results.push_back(of(args.back()));
        return common(results);
    }

    // Arithmetic on two numbers: the type of higher precedence, BINARY_DOUBLE over BINARY_FLOAT
    // over NUMBER.
    static ExpressionType arithmetic(const ExpressionType& a, const ExpressionType& b) {
        if (a.type.dataType == 101 || b.type.dataType == 101) return typed("BINARY_DOUBLE");
        if (a.type.dataType == 100 || b.type.dataType == 100) return typed("BINARY_FLOAT");
        return typed("NUMBER");
    }

    ExpressionType call(const std::string& name, const std::vector<Span>& args) const {
        if (name == kOraMul || name == kOraDiv) {
            const ExpressionType a = argument(args, 0), b = argument(args, 1);
            return isNumberType(a) && isNumberType(b) ? arithmetic(a, b) : typed("NUMBER");
        }
        if (name == kOraAdd || name == kOraSub) {
            const ExpressionType a = argument(args, 0), b = argument(args, 1);
            // A datetime moved by a number of days is a DATE; DATE - DATE a number of days;
            // forms with intervals are left to the values.
            if (name == kOraSub && a.known && b.known && a.type.dataType == 12 &&
                b.type.dataType == 12)
                return typed("NUMBER");
            if ((isDatetimeType(a) && isNumberType(b)) ||
                (name == kOraAdd && isNumberType(a) && isDatetimeType(b)))
                return typed("DATE");
            if (isNumberType(a) && isNumberType(b)) return arithmetic(a, b);
            auto interval = [](const ExpressionType& t) {
                return t.known && (t.type.dataType == 189 || t.type.dataType == 190);
            };
            if (isDatetimeType(a) || isDatetimeType(b) || interval(a) || interval(b))
                return unknown();
            ExpressionType maybe = unknown();
            maybe.numberUnlessDatetime = true;
            return maybe;
        }
        if (name == kOraCast || name == kOraCastOr) {
            if (args.size() < 2 || args[1].second != args[1].first + 1 ||
                t_[args[1].first].kind != Token::Kind::String)
                return unknown();
            const std::string& literal = t_[args[1].first].text;
            return typed(literal.substr(1, literal.size() - 2));
        }
        if (name == "MIN" || name == "MAX" || name == kOraClobText) return argument(args, 0);
        if (name == "GREATEST" || name == "LEAST" || name == "NVL" || name == "COALESCE" ||
            name == "IFNULL")
            return commonOf(args, 0, 1, false);
        if (name == "SUM" || name == "AVG") {  // of intervals an interval, of numbers a number
            const ExpressionType a = argument(args, 0);
            if (!a.known || a.type.dataType == 189 || a.type.dataType == 190) return a;
            return typed("NUMBER");
        }
        if (name == "NVL2") return commonOf(args, 1, 1, false);
        // DECODE(x, s1, r1, s2, r2, ..., [default])
        if (name == "DECODE") return commonOf(args, 2, 2, true);
        if (name == "CEIL" || name == "FLOOR")
            return typed(isDatetimeType(argument(args, 0)) ? "DATE" : "NUMBER");
        if (name == "TRUNC" || name == "ROUND") {
            const ExpressionType a = argument(args, 0);
            if (isDatetimeType(a)) return typed("DATE");
            return isNumberType(a) ? typed("NUMBER") : unknown();
        }
        const char* type = catalogResultType(name);
        return type ? typed(type) : unknown();
    }

    const Tokens& t_;
    const std::map<std::string, ExpressionType>& columns_;
};

// The significant tokens of a statement.
Tokens significant(const char* sql) {
    Tokens out;
    for (Token& t : lexSql(sql))
        if (t.significant()) out.push_back(std::move(t));
    return out;
}

bool isKeyword(const Token& t) {
    for (const char* w : {"END", "NULL", "FROM", "DISTINCT", "ALL", "SELECT"})
        if (t.isWord(w)) return true;
    return false;
}

// An item without its alias ("x AS a", "x a").
Span withoutAlias(const Tokens& t, Span s) {
    int depth = 0;
    for (std::size_t i = s.first; i < s.second; ++i) {
        if (t[i].isPunct('(')) ++depth;
        if (t[i].isPunct(')')) --depth;
        if (depth == 0 && t[i].isWord("AS")) return {s.first, i};
    }
    if (s.second - s.first >= 2) {
        const Token& last = t[s.second - 1];
        const Token& before = t[s.second - 2];
        if ((last.kind == Token::Kind::Word || last.kind == Token::Kind::QuotedIdent) &&
            !isKeyword(last) && !before.isPunct('.') &&
            (before.kind != Token::Kind::Punct || before.isPunct(')')))
            return {s.first, s.second - 1};
    }
    return s;
}

struct SelectList {
    std::size_t select = 0;          // the SELECT word
    std::vector<Span> items;
    std::size_t from = 0, end = 0;   // the FROM clause [from, end), end at a compound operator
};

// The outermost query's first SELECT and its select list; false when there is none to follow.
bool findSelectList(const Tokens& t, SelectList& out) {
    std::size_t i = 0;
    int depth = 0;
    for (; i < t.size(); ++i) {
        if (t[i].isPunct('(')) ++depth;
        if (t[i].isPunct(')')) --depth;
        if (depth == 0 && t[i].isWord("SELECT")) break;
    }
    if (i >= t.size()) return false;
    out.select = i;
    std::size_t start = i + 1;
    if (start < t.size() && (t[start].isWord("DISTINCT") || t[start].isWord("ALL"))) ++start;
    std::size_t k = start;
    for (depth = 0; k < t.size(); ++k) {
        if (t[k].isPunct('(')) ++depth;
        if (t[k].isPunct(')')) --depth;
        if (depth == 0 && (t[k].isWord("FROM") || t[k].isWord("UNION") ||
                           t[k].isWord("INTERSECT") || t[k].isWord("EXCEPT") ||
                           t[k].isWord("ORDER") || t[k].isWord("LIMIT")))
            break;
    }
    out.items = splitTopLevel(t, start, k);
    out.from = k;
    out.end = k;
    if (k < t.size() && t[k].isWord("FROM")) {
        for (depth = 0, ++out.end; out.end < t.size(); ++out.end) {
            if (t[out.end].isPunct('(')) ++depth;
            if (t[out.end].isPunct(')')) --depth;
            if (depth == 0 && (t[out.end].isWord("UNION") || t[out.end].isWord("INTERSECT") ||
                               t[out.end].isWord("EXCEPT") || t[out.end].isWord("ORDER") ||
                               t[out.end].isWord("LIMIT") || t[out.end].isWord("WINDOW")))
                break;
        }
    }
    return true;
}

std::string join(const Tokens& t, std::size_t from, std::size_t to) {
    std::string text;
    for (std::size_t i = from; i < to; ++i) {
        if (!text.empty()) text += ' ';
        text += t[i].text;
    }
    return text;
}

// Column references (a, t.a, s.t.a) anywhere in the items.
std::vector<std::string> columnReferences(const Tokens& t, const std::vector<Span>& items) {
    std::vector<std::string> refs;
    for (const Span& item : items) {
        for (std::size_t i = item.first; i < item.second; ++i) {
            // A subquery's columns belong to its own FROM clause (and it stays untyped).
            if (t[i].isPunct('(') && i + 1 < item.second && t[i + 1].isWord("SELECT")) {
                i = pastParens(t, i, item.second) - 1;
                continue;
            }
            const bool name = t[i].kind == Token::Kind::Word || t[i].kind == Token::Kind::QuotedIdent;
            if (!name || (i > item.first && (t[i - 1].isPunct('.') || t[i - 1].isWord("COLLATE"))))
                continue;
            if (i + 1 < item.second && t[i + 1].isPunct('(')) continue;  // a call
            std::size_t j = i + 1;
            while (j + 1 < item.second && t[j].isPunct('.') &&
                   (t[j + 1].kind == Token::Kind::Word || t[j + 1].kind == Token::Kind::QuotedIdent))
                j += 2;
            if (t[i].kind == Token::Kind::Word && j == i + 1) {
                static const char* const kWords[] = {
                    "CASE", "WHEN", "THEN", "ELSE", "END", "AND", "OR", "NOT", "NULL", "IS",
                    "IN", "LIKE", "BETWEEN", "AS", "DISTINCT", "ALL", "ESCAPE", "OVER",
                    "PARTITION", "BY", "ORDER", "ASC", "DESC", "NULLS", "FIRST", "LAST",
                    "ROWS", "RANGE", "PRECEDING", "FOLLOWING", "CURRENT", "ROW", "UNBOUNDED",
                    "EXISTS", "SELECT", "FROM", "WHERE", "COLLATE", "GLOB", "CURRENT_DATE"};
                bool keyword = false;
                for (const char* w : kWords) keyword = keyword || t[i].isWord(w);
                if (keyword) continue;
            }
            std::string text;
            for (std::size_t k = i; k < j; ++k) text += t[k].text;
            refs.push_back(text);
            i = j - 1;
        }
    }
    return refs;
}

// The declared types of the references, from a statement selecting them from the same FROM.
std::map<std::string, ExpressionType> columnTypes(sqlite3* db, const Tokens& t,
                                                  const SelectList& list,
                                                  const std::vector<std::string>& refs) {
    std::map<std::string, ExpressionType> types;
    if (refs.empty()) return types;
    std::string sql = join(t, 0, list.select) + " SELECT ";
    for (std::size_t i = 0; i < refs.size(); ++i) sql += (i ? ", " : "") + refs[i];
    sql += " " + join(t, list.from, list.end);
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
    SqliteStmt probe(raw);
    if (rc != SQLITE_OK) return types;
    for (std::size_t i = 0; i < refs.size(); ++i) {
        const char* decl = sqlite3_column_decltype(raw, static_cast<int>(i));
        if (decl && *decl) types[refs[i]] = ExpressionType{true, mapDeclaredType(decl)};
    }
    return types;
}

}  // namespace

std::vector<ExpressionType> expressionTypes(sqlite3* db, sqlite3_stmt* stmt) {
    const int count = sqlite3_column_count(stmt);
    std::vector<ExpressionType> out(static_cast<std::size_t>(count));
    bool expressions = false;
    for (int i = 0; i < count; ++i) {
        const char* decl = sqlite3_column_decltype(stmt, i);
        if (!decl || !*decl) expressions = true;
    }
    const char* sql = sqlite3_sql(stmt);
    if (!expressions || !sql) return out;
    try {
        const Tokens t = significant(sql);
        SelectList list;
        if (!findSelectList(t, list) || list.items.size() != out.size()) return out;
        std::vector<Span> items;
        for (const Span& item : list.items) items.push_back(withoutAlias(t, item));
        const auto columns = columnTypes(db, t, list, columnReferences(t, items));
        const Typer typer(t, columns);
        for (std::size_t i = 0; i < items.size(); ++i) {
            const char* decl = sqlite3_column_decltype(stmt, static_cast<int>(i));
            if (!decl || !*decl) out[i] = typer.of(items[i]);
        }
    } catch (const std::exception&) {
        // SQL this does not read: the fetched values decide.
    }
    return out;
}

}  // namespace detail
}  // namespace kavexdb
