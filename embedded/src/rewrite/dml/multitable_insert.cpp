#include "rewrite/dml/multitable_insert.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {

namespace {

std::string textOf(const TokenEditor& e, std::size_t from, std::size_t to) {
    std::string out;
    for (std::size_t k = from; k < to && k < e.size(); ++k) out += e.at(k).text;
    return out;
}

struct Into {
    std::string table, columns, values;
    int when = -1;  // index of its WHEN condition; -1 none, -2 ELSE
};

bool startsSubquery(const TokenEditor& e, std::size_t i) {
    return e.word(i, "SELECT") || e.word(i, "WITH") || e.punct(i, '(');
}

}  // namespace

bool rewriteMultitableInsert(TokenEditor& e, RewrittenSql& out) {
    std::size_t i = e.next(0);
    if (!e.word(i, "INSERT")) return false;
    i = e.next(i + 1);
    const bool first = e.word(i, "FIRST");
    if (!first && !e.word(i, "ALL")) return false;
    i = e.next(i + 1);
    std::vector<std::string> conditions;
    std::vector<Into> intos;
    int when = -1;
    while (i < e.size() && !startsSubquery(e, i)) {
        if (e.word(i, "WHEN")) {
            const std::size_t from = e.next(i + 1);
            std::size_t k = from;
            int depth = 0;
            for (; k < e.size(); k = e.next(k + 1)) {
                if (e.punct(k, '(')) ++depth;
                if (e.punct(k, ')')) --depth;
                if (depth == 0 && e.word(k, "THEN")) break;
            }
            if (k >= e.size()) raise(ora::kMissingKeyword);
            conditions.push_back(textOf(e, from, k));
            when = static_cast<int>(conditions.size()) - 1;
            i = e.next(k + 1);
            continue;
        }
        if (e.word(i, "ELSE")) {
            when = -2;
            i = e.next(i + 1);
            continue;
        }
        if (!e.word(i, "INTO")) raise(ora::kMissingSelectKeyword);
        i = e.next(i + 1);
        Into into;
        into.when = when;
        const std::size_t table = i;
        if (!e.name(i)) raise(ora::kInvalidTableName);
        i = e.next(i + 1);
        if (e.punct(i, '.') && e.name(e.next(i + 1))) i = e.next(e.next(i + 1) + 1);
        into.table = textOf(e, table, i);
        if (e.name(i) && !e.word(i, "VALUES") && !e.word(i, "INTO") && !e.word(i, "WHEN") &&
            !e.word(i, "ELSE") && !e.word(i, "SELECT") && !e.word(i, "WITH"))
            i = e.next(i + 1);  // a table alias: the values name the subquery's columns
        if (e.punct(i, '(')) {
            const std::size_t past = e.pastParens(i);
            into.columns = textOf(e, i, past);
            i = e.next(past);
        }
        if (e.word(i, "VALUES")) {
            const std::size_t open = e.next(i + 1);
            if (!e.punct(open, '(')) raise(ora::kMissingValuesKeyword);
            const std::size_t past = e.pastParens(open);
            into.values = textOf(e, open + 1, past - 1);
            i = e.next(past);
        }
        intos.push_back(into);
    }
    if (intos.empty() || i >= e.size()) raise(ora::kMissingSelectKeyword);
    const std::string source = " FROM (" + textOf(e, i, e.size()) + ") ORA$MULTI";
    auto holds = [&](int c) { return "(CASE WHEN " + conditions[c] + " THEN 1 ELSE 0 END = 1)"; };
    for (const Into& into : intos) {
        std::string where;
        if (into.when >= 0) {
            where = holds(into.when);
            if (first)
                for (int c = 0; c < into.when; ++c) where += " AND NOT " + holds(c);
        } else if (into.when == -2) {
            for (int c = 0; c < static_cast<int>(conditions.size()); ++c)
                where += (where.empty() ? "NOT " : " AND NOT ") + holds(c);
        }
        out.dml.steps.push_back("INSERT INTO " + into.table + " " + into.columns + " SELECT " +
                            (into.values.empty() ? std::string("*") : into.values) + source +
                            (where.empty() ? "" : " WHERE " + where));
    }
    for (const Token& t : e.tokens())
        if (t.kind == Token::Kind::Bind &&
            std::find(out.dml.bindNames.begin(), out.dml.bindNames.end(), t.text) ==
                out.dml.bindNames.end())
            out.dml.bindNames.push_back(t.text);
    return true;
}

}  // namespace detail
}  // namespace kavexdb
