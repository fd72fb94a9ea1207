#include "rewrite/dml/merge.h"

#include <algorithm>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "sql/sql_context.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"

namespace kavexdb {
namespace detail {

const char* const kMergeRowidBound = ":kavex_merge_bound";

namespace {

using TK = Token::Kind;

// A [schema.]name at i; sets i past it.
std::string qualifiedNameAt(const TokenEditor& e, std::size_t& i) {
    if (!e.name(i)) raise(ora::kInvalidTableName);
    std::size_t last = i;
    if (e.punct(e.next(i + 1), '.') && e.name(e.next(e.next(i + 1) + 1)))
        last = e.next(e.next(i + 1) + 1);
    const std::string text = textOf(e, i, last + 1);
    i = e.next(last + 1);
    return text;
}

void expectWord(const TokenEditor& e, std::size_t& i, const char* word,
                const OraMessage<0>& missing) {
    if (!e.word(i, word)) raise(missing);
    i = e.next(i + 1);
}

// The end of an expression list starting at i: the next of the given words outside
// parentheses and CASE expressions (whose WHEN is no clause).
std::size_t clauseEnd(const TokenEditor& e, std::size_t i, std::initializer_list<const char*> words) {
    int depth = 0;
    for (; i < e.size(); i = e.next(i + 1)) {
        if (e.punct(i, '(') || e.word(i, "CASE")) ++depth;
        if (e.punct(i, ')') || e.word(i, "END")) --depth;
        if (depth == 0)
            for (const char* w : words)
                if (e.word(i, w)) return i;
    }
    return e.size();
}

}  // namespace

bool rewriteMerge(TokenEditor& e, RewrittenSql& out) {
    std::size_t i = e.next(0);
    if (!e.word(i, "MERGE")) return false;
    i = e.next(i + 1);
    expectWord(e, i, "INTO", ora::kMissingIntoKeyword);
    const std::string target = qualifiedNameAt(e, i);
    std::string targetAlias = target;
    if (e.name(i) && !e.word(i, "USING")) {
        targetAlias = e.at(i).text;
        i = e.next(i + 1);
    }
    expectWord(e, i, "USING", ora::kMissingOnKeyword);
    std::string source;
    std::string sourceAlias;
    if (e.punct(i, '(')) {
        const std::size_t past = e.pastParens(i);
        source = textOf(e, i, past);
        i = e.next(past);
        sourceAlias = "KAVEX$SOURCE";
    } else {
        source = qualifiedNameAt(e, i);
        sourceAlias = source;
    }
    if (e.name(i) && !e.word(i, "ON")) {
        sourceAlias = e.at(i).text;
        i = e.next(i + 1);
    }
    expectWord(e, i, "ON", ora::kMissingOnKeyword);
    if (!e.punct(i, '(')) raise(ora::kMissingLeftParenthesis);
    const std::size_t onEnd = e.pastParens(i);
    const std::string on = textOf(e, i, onEnd);
    i = e.next(onEnd);

    std::string sets, updateWhere, deleteWhere, columns, values, insertWhere;
    bool update = false, insert = false;
    while (i < e.size()) {
        expectWord(e, i, "WHEN", ora::kMissingKeyword);
        const bool notMatched = e.word(i, "NOT");
        if (notMatched) i = e.next(i + 1);
        expectWord(e, i, "MATCHED", ora::kMissingKeyword);
        expectWord(e, i, "THEN", ora::kMissingKeyword);
        if (!notMatched) {
            expectWord(e, i, "UPDATE", ora::kMissingKeyword);
            expectWord(e, i, "SET", ora::kMissingSetKeyword);
            const std::size_t end = clauseEnd(e, i, {"WHERE", "DELETE", "WHEN"});
            // Assignments: a target column may carry the target's alias, SQLite wants it bare.
            std::size_t item = i;
            int depth = 0;
            for (std::size_t k = i; k <= end; k = e.next(k + 1)) {
                if (k < end && e.punct(k, '(')) ++depth;
                if (k < end && e.punct(k, ')')) --depth;
                if (k == end || (depth == 0 && e.punct(k, ','))) {
                    std::size_t column = item;
                    if (e.name(column) && e.punct(e.next(column + 1), '.'))
                        column = e.next(e.next(column + 1) + 1);
                    sets += (sets.empty() ? "" : ", ") + textOf(e, column, k);
                    item = e.next(k + 1);
                }
                if (k >= e.size()) break;
            }
            i = end;
            if (e.word(i, "WHERE")) {
                const std::size_t w = e.next(i + 1);
                i = clauseEnd(e, w, {"DELETE", "WHEN"});
                updateWhere = textOf(e, w, i);
            }
            if (e.word(i, "DELETE")) {
                i = e.next(i + 1);
                expectWord(e, i, "WHERE", ora::kMissingKeyword);
                const std::size_t w = i;
                i = clauseEnd(e, w, {"WHEN"});
                deleteWhere = textOf(e, w, i);
            }
            update = true;
        } else {
            expectWord(e, i, "INSERT", ora::kMissingKeyword);
            if (e.punct(i, '(')) {
                const std::size_t past = e.pastParens(i);
                // Column names may carry the target's alias too.
                for (std::size_t k = i; k < past; ++k) {
                    if (e.name(k) && e.punct(e.next(k + 1), '.')) {
                        k = e.next(k + 1);
                        continue;
                    }
                    columns += e.at(k).text;
                }
                i = e.next(past);
            }
            expectWord(e, i, "VALUES", ora::kMissingValuesKeyword);
            if (!e.punct(i, '(')) raise(ora::kMissingLeftParenthesis);
            const std::size_t past = e.pastParens(i);
            values = textOf(e, i + 1, past - 1);
            i = e.next(past);
            if (e.word(i, "WHERE")) {
                const std::size_t w = e.next(i + 1);
                i = clauseEnd(e, w, {"WHEN"});
                insertWhere = textOf(e, w, i);
            }
            insert = true;
        }
    }
    if (!update && !insert) raise(ora::kMissingKeyword);
    const std::string from = " FROM " + source + " AS " + sourceAlias;
    const std::string matched = " WHERE " + on + (updateWhere.empty() ? "" : " AND (" + updateWhere + ")");
    if (update)
        out.dml.steps.push_back("UPDATE " + target + " AS " + targetAlias + " SET " + sets + from +
                            matched);
    if (insert && !deleteWhere.empty())
        out.dml.steps.push_back("SELECT coalesce(max(rowid), 0) FROM " + target);
    if (insert)
        out.dml.steps.push_back("INSERT INTO " + target + " " + columns + " SELECT " + values +
                                from + " WHERE NOT EXISTS (SELECT 1 FROM " + target + " AS " +
                                targetAlias + " WHERE " + on + ")" +
                                (insertWhere.empty() ? "" : " AND (" + insertWhere + ")"));
    if (update && !deleteWhere.empty())
        out.dml.steps.push_back(
            "DELETE FROM " + target + " WHERE " +
            (insert ? std::string("rowid <= ") + kMergeRowidBound + " AND " : "") +
            "rowid IN (SELECT " + targetAlias + ".rowid FROM " + target + " AS " + targetAlias +
            ", " + source + " AS " + sourceAlias + matched + " AND (" + deleteWhere + "))");
    for (const Token& t : e.tokens())
        if (t.kind == TK::Bind && std::find(out.dml.bindNames.begin(), out.dml.bindNames.end(),
                                            t.text) == out.dml.bindNames.end())
            out.dml.bindNames.push_back(t.text);
    return true;
}

}  // namespace detail
}  // namespace kavexdb
