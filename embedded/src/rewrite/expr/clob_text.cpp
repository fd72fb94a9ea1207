#include "rewrite/expr/clob_text.h"

#include <map>
#include <vector>

#include "functions/sql_function.h"
#include "rewrite/expr/expression_rewrite.h"
#include "sql/column_scope.h"
#include "sql/sql_context.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_util.h"
#include "sql/token_editor.h"
#include "types/declared_type.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"
#include "sql/keywords.h"

namespace kavexdb {
namespace detail {

namespace {

constexpr const char* kClobText = kOraClobText;

bool setOperator(const TokenEditor& e, std::size_t k) {
    return e.word(k, "UNION") || e.word(k, "INTERSECT") || e.word(k, "EXCEPT") ||
           e.word(k, "MINUS");
}

// Whether a name after the token `before` may be a column reference: after an operator, an
// opening parenthesis, a comma, or a word that an expression follows.
bool expressionFollows(const TokenEditor& e, std::size_t before) {
    if (before >= e.size()) return false;
    const Token& t = e.at(before);
    if (t.kind == Token::Kind::Punct) return !t.isPunct(')') && !t.isPunct('.');
    return hasRole(e, before, kColumnMayFollow);
}

class Pass {
  public:
    Pass(sqlite3* db, TokenEditor& e)
        : e_(e), scope_(db, e, true), skip_(e.size(), false), wrapped_(e.size(), false) {}

    // first: where the statement, or the query of a CREATE VIEW, starts.
    void run(std::size_t first) {
        const bool with = e_.word(first, "WITH");
        const bool query = with || e_.word(first, "SELECT") || e_.punct(first, '(');
        if (e_.word(first, "INSERT")) insertColumns(first);
        if (e_.word(first, "UPDATE")) setTargets(first);
        if (with) commonTableNames(first);
        markFromLists(first);
        int depth = 0;
        for (std::size_t k = first; k < e_.size(); k = e_.next(k + 1)) {
            if (e_.punct(k, '(')) ++depth;
            if (e_.punct(k, ')')) --depth;
            if (!e_.word(k, "SELECT")) continue;
            const std::size_t before = e_.previous(k);
            const bool top = query && (k == first || (with && depth == 0) ||
                                       (e_.punct(before, '(') && outermost(first, before)));
            // An inline view, or a common table expression's query.
            const bool inlineView =
                e_.punct(before, '(') &&
                (fromList_[before] || (with && depth == 1 && e_.word(e_.previous(before), "AS")));
            selectList(k, top || inlineView);
        }
        references(first);
        nameWrappedExpressions();
    }

  private:
    // Whether the '(' at open only wraps the query that starts at first.
    bool outermost(std::size_t first, std::size_t open) const {
        for (std::size_t k = open; k != first; k = e_.previous(k))
            if (k >= e_.size() || !e_.punct(k, '(')) return false;
        return true;
    }

    // INSERT INTO t (columns ...): the names written.
    void insertColumns(std::size_t insert) {
        std::size_t i = e_.next(insert + 1);
        if (!e_.word(i, "INTO")) return;
        i = e_.next(i + 1);
        std::string schema, table;
        if (!qualifiedNameAt(e_, i, schema, table)) return;
        if (e_.word(i, "AS") || (e_.name(i) && !e_.word(i, "VALUES") && !e_.word(i, "SELECT")))
            i = e_.next((e_.word(i, "AS") ? e_.next(i + 1) : i) + 1);  // an alias
        if (!e_.punct(i, '(') || e_.word(e_.next(i + 1), "SELECT")) return;
        for (std::size_t k = i; k < e_.pastParens(i) && k < e_.size(); ++k) skip_[k] = true;
    }

    // WITH name [(columns)] AS (query), ...: the names.
    void commonTableNames(std::size_t with) {
        std::size_t i = e_.next(with + 1);
        while (i < e_.size() && !e_.word(i, "SELECT")) {
            const bool body = e_.word(e_.previous(i), "AS");
            const std::size_t past = e_.punct(i, '(') ? e_.pastParens(i) : i + 1;
            if (!body)
                for (std::size_t k = i; k < past && k < e_.size(); ++k) skip_[k] = true;
            i = e_.next(past);
        }
    }

    // UPDATE t SET a = ..., (b, c) = ...: the names before each '='.
    void setTargets(std::size_t update) {
        std::size_t i = update;
        while (i < e_.size() && !e_.word(i, "SET")) i = e_.next(i + 1);
        if (i >= e_.size()) return;
        for (const auto& item : depthZeroItems(e_, i + 1, setListEnd(e_, i + 1))) {
            int depth = 0;
            for (std::size_t k = item.first; k < item.second; ++k) {
                if (e_.punct(k, '(')) ++depth;
                if (e_.punct(k, ')')) --depth;
                if (depth == 0 && e_.punct(k, '=')) break;
                skip_[k] = true;
            }
        }
    }

    // The select list after the SELECT at k. Plain column items stay as they are where whole
    // values may be handed on; elsewhere a wrapped column item keeps its name with an alias.
    void selectList(std::size_t select, bool handsOn) {
        std::size_t start = e_.next(select + 1);
        if (e_.word(start, "DISTINCT") || e_.word(start, "UNIQUE")) handsOn = false;
        if (e_.word(start, "ALL") || e_.word(start, "DISTINCT") || e_.word(start, "UNIQUE"))
            start = e_.next(start + 1);
        std::size_t end = start;
        int depth = 0;
        for (; end < e_.size(); end = e_.next(end + 1)) {
            if (e_.punct(end, '(')) ++depth;
            if (e_.punct(end, ')') && --depth < 0) break;
            if (depth == 0 && e_.word(end, "FROM")) break;
        }
        // The rest of this query's level: GROUP BY and set operators compare the values.
        depth = 0;
        for (std::size_t k = end; k < e_.size() && handsOn; k = e_.next(k + 1)) {
            if (e_.punct(k, '(')) ++depth;
            if (e_.punct(k, ')') && --depth < 0) break;
            if (depth == 0 && (setOperator(e_, k) || e_.word(k, "GROUP"))) handsOn = false;
        }
        const std::size_t before = e_.previous(select);
        if (before < e_.size() && (setOperator(e_, before) || e_.word(before, "ALL"))) handsOn = false;
        for (const auto& item : depthZeroItems(e_, start, end)) {
            std::size_t k = e_.next(item.first);
            const std::size_t chainStart = k;
            const std::size_t last = e_.previous(item.second);
            if (k < item.second && !hasAlias(k, last))
                expressions_.push_back({k, last, textOf(e_, k, last + 1)});
            if (!e_.name(k)) continue;
            k = e_.next(k + 1);
            while (e_.punct(k, '.') && e_.name(e_.next(k + 1))) k = e_.next(e_.next(k + 1) + 1);
            const std::size_t chainLast = e_.previous(k);
            bool aliased = false;
            if (e_.word(k, "AS")) k = e_.next(k + 1);
            if (k < item.second && e_.name(k)) {
                aliased = true;
                k = e_.next(k + 1);
            }
            if (k < item.second || e_.punct(e_.next(chainStart + 1), '(')) continue;
            if (handsOn) {
                for (std::size_t t = chainStart; t <= chainLast; ++t) skip_[t] = true;
            } else if (!aliased) {
                aliases_[chainLast] = " AS " + sqlQuotedIdentifier(identifierName(e_[chainLast]));
            }
        }
    }

    // Whether the select item [first, last] ends in an alias: "expr [AS] name".
    bool hasAlias(std::size_t first, std::size_t last) const {
        if (last <= first || !e_.name(last) || e_.word(last, "END")) return false;
        const std::size_t before = e_.previous(last);
        if (e_.word(before, "AS")) return true;
        if (e_.punct(before, '.')) return false;
        return e_.punct(before, ')') || e_.name(before) ||
               e_.at(before).kind == Token::Kind::String ||
               e_.at(before).kind == Token::Kind::Number;
    }

    // A select item whose value the wrapping changed is named by its text, as Oracle names it.
    void nameWrappedExpressions() {
        for (const Expression& x : expressions_) {
            bool wrapped = false;
            for (std::size_t t = x.first; t <= x.last && !wrapped; ++t) wrapped = wrapped_[t];
            if (wrapped && aliases_.find(x.last) == aliases_.end())
                e_[x.last].text += expressionAlias(x.text);
        }
    }

    bool isClob(std::size_t qualifier, std::size_t name) {
        const std::string column = asciiUpper(identifierName(e_[name]));
        if (qualifier < e_.size())
            scope_.declaredTypes(asciiUpper(identifierName(e_[qualifier])), column, decls_);
        else if (!scope_.declaredTypes(column, decls_))
            return false;
        if (decls_.empty()) return false;
        for (const std::string& decl : decls_)
            if (mapDeclaredType(decl).storage != Storage::Clob) return false;
        return true;
    }

    // The tokens of table references: FROM lists and what JOIN names, not ON conditions.
    void markFromLists(std::size_t first) {
        fromList_.assign(e_.size(), false);
        std::vector<bool> inFrom(1, false);  // by parenthesis depth
        for (std::size_t i = first; i < e_.size(); i = e_.next(i + 1)) {
            if (e_.word(i, "FROM") || e_.word(i, "JOIN")) {
                inFrom.back() = true;
                continue;
            }
            for (const char* w : {"WHERE", "GROUP", "ORDER", "HAVING", "ON", "USING", "LIMIT",
                                  "WINDOW", "CONNECT", "START", "SELECT", "SET", "VALUES",
                                  "RETURNING", "UNION", "INTERSECT", "EXCEPT", "MINUS"})
                if (e_.word(i, w)) inFrom.back() = false;
            fromList_[i] = inFrom.back();
            if (e_.punct(i, '(')) inFrom.push_back(false);
            if (e_.punct(i, ')') && inFrom.size() > 1) inFrom.pop_back();
        }
    }

    void references(std::size_t first) {
        for (std::size_t i = first; i < e_.size(); i = e_.next(i + 1)) {
            if (!e_.name(i) || skip_[i] || fromList_[i]) continue;
            const std::size_t after = e_.next(i + 1);
            if (e_.punct(after, '(') || e_.punct(after, '.')) continue;
            // [[schema.]table.]column
            std::size_t start = i, qualifier = e_.size();
            for (std::size_t dot = e_.previous(start); e_.punct(dot, '.');) {
                const std::size_t part = e_.previous(dot);
                if (!e_.name(part)) break;
                if (qualifier >= e_.size()) qualifier = part;
                start = part;
                dot = e_.previous(start);
            }
            if (skip_[start] || !expressionFollows(e_, e_.previous(start))) continue;
            if (!isClob(qualifier, i)) continue;
            e_[start].text = std::string(kClobText) + "(" + e_[start].text;
            e_[i].text += ")";
            wrapped_[i] = true;
            const auto alias = aliases_.find(i);
            if (alias != aliases_.end()) e_[i].text += alias->second;
        }
    }

    TokenEditor& e_;
    ColumnScope scope_;
    std::vector<bool> skip_;                    // tokens no reference is read at
    std::vector<bool> fromList_;                // table reference tokens
    std::map<std::size_t, std::string> aliases_;  // by a plain select item's last token
    struct Expression {
        std::size_t first, last;
        std::string text;
    };
    std::vector<Expression> expressions_;       // select items without an alias
    std::vector<bool> wrapped_;                 // tokens whose reference was wrapped
    std::vector<std::string> decls_;
};

void clobText(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) != SQLITE_BLOB) return sqlite3_result_value(ctx, argv[0]);
    const void* bytes = sqlite3_value_blob(argv[0]);
    const int size = sqlite3_value_bytes(argv[0]);
    sqlite3_result_text(ctx, bytes ? static_cast<const char*>(bytes) : "", size, SQLITE_TRANSIENT);
}

}  // namespace

namespace {

// Whether a table of db may have a CLOB column: its definition names the type. A database
// without one has no column this pass wraps (GLOB, which no Oracle function replaces).
bool mayHaveClobColumns(sqlite3* db) {
    const SqliteStmt q = prepareSql(
        db, "SELECT 1 FROM sqlite_schema WHERE sql GLOB '*[Cc][Ll][Oo][Bb]*' UNION ALL "
            "SELECT 1 FROM sqlite_temp_schema WHERE sql GLOB '*[Cc][Ll][Oo][Bb]*' LIMIT 1");
    return sqlite3_step(q.get()) == SQLITE_ROW;
}

}  // namespace

std::string readClobsAsText(sqlite3* db, const std::string& sql) {
    if (!mayHaveClobColumns(db)) return sql;
    TokenEditor e(lexSql(sql));
    std::size_t first = e.next(0);
    if (e.word(first, "CREATE")) {
        // CREATE [TEMP] VIEW v [(columns)] AS query: the view's query.
        std::size_t k = e.next(first + 1);
        if (e.word(k, "TEMP") || e.word(k, "TEMPORARY")) k = e.next(k + 1);
        if (!e.word(k, "VIEW")) return sql;
        while (k < e.size() && !e.word(k, "AS"))
            k = e.punct(k, '(') ? e.next(e.pastParens(k)) : e.next(k + 1);
        first = e.next(k + 1);
    }
    if (!e.word(first, "SELECT") && !e.punct(first, '(') && !e.word(first, "WITH") &&
        !e.word(first, "INSERT") &&
        !e.word(first, "UPDATE") && !e.word(first, "DELETE"))
        return sql;
    Pass(db, e).run(first);
    return e.text();
}

namespace {

// ORA$CLOB_TEXT(x): a blob's bytes as UTF-8 text; any other value as it is.
const FunctionRow kRows[] = {
    {kClobText, 1, 1, clobText, nullptr},
};

}  // namespace

const FunctionFamily kClobTextFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
