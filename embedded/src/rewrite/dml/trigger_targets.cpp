#include "rewrite/dml/trigger_targets.h"

#include <map>

#include "base/text.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_util.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

namespace {

// The items of the parenthesized list opening at open, split at its top-level commas, as token
// ranges; end is left just past the closing parenthesis. False when it does not close.
bool listItems(const TokenEditor& e, std::size_t open,
               std::vector<std::pair<std::size_t, std::size_t>>& items, std::size_t& end) {
    int depth = 0;
    std::size_t start = open + 1;
    for (std::size_t k = open; k < e.size(); ++k) {
        if (e.punct(k, '(')) {
            ++depth;
        } else if (e.punct(k, ')')) {
            if (--depth == 0) {
                items.emplace_back(start, k);
                end = k + 1;
                return true;
            }
        } else if (depth == 1 && e.punct(k, ',')) {
            items.emplace_back(start, k);
            start = k + 1;
        }
    }
    return false;
}

std::vector<std::string> bindsOf(const std::string& sql) {
    std::vector<std::string> out;
    for (const Token& t : lexSql(sql))
        if (t.kind == Token::Kind::Bind) out.push_back(t.text);
    return out;
}

}  // namespace

DmlTarget dmlTarget(const std::string& sql) {
    DmlTarget out;
    const TokenEditor e(lexSql(sql));
    std::size_t i = e.next(0);
    auto tableAt = [&](std::size_t k) {
        if (!e.name(k)) return;
        out.table = identifierName(e.at(k));
        if (e.punct(e.next(k + 1), '.') && e.name(e.next(e.next(k + 1) + 1)))
            out.table = identifierName(e.at(e.next(e.next(k + 1) + 1)));
    };
    // The columns of SET c = ..., (c, d) = (...) at i (after SET), at the top level.
    auto setColumns = [&](std::size_t k) {
        int depth = 0;
        bool listStart = true;  // after SET or a top-level comma
        for (; k < e.size(); k = e.next(k + 1)) {
            if (depth == 0 && (e.word(k, "WHERE") || e.word(k, "RETURNING") ||
                               e.word(k, "RETURN") || e.word(k, "LOG") || e.word(k, "WHEN") ||
                               e.word(k, "DELETE")))
                break;
            if (e.punct(k, '(')) {
                ++depth;
                if (depth == 1 && listStart) {
                    for (std::size_t c = e.next(k + 1); c < e.size() && !e.punct(c, ')');
                         c = e.next(c + 1))
                        if (e.name(c)) out.updated.push_back(identifierName(e.at(c)));
                }
            } else if (e.punct(k, ')')) {
                --depth;
            } else if (depth == 0 && e.punct(k, ',')) {
                listStart = true;
                continue;
            } else if (depth == 0 && listStart && e.name(k)) {
                std::size_t c = k;
                if (e.punct(e.next(c + 1), '.')) c = e.next(e.next(c + 1) + 1);  // alias.column
                out.updated.push_back(identifierName(e.at(c)));
            }
            listStart = false;
        }
    };
    if (e.word(i, "INSERT")) {
        i = e.next(i + 1);
        if (!e.word(i, "INTO")) return out;
        tableAt(e.next(i + 1));
        out.events = "I";
    } else if (e.word(i, "UPDATE")) {
        tableAt(e.next(i + 1));
        out.events = "U";
        std::size_t k = e.next(i + 1);
        while (k < e.size() && !e.word(k, "SET")) k = e.next(k + 1);
        setColumns(e.next(k + 1));
    } else if (e.word(i, "DELETE")) {
        i = e.next(i + 1);
        if (e.word(i, "FROM")) i = e.next(i + 1);
        tableAt(i);
        out.events = "D";
    } else if (e.word(i, "MERGE")) {
        i = e.next(i + 1);
        if (!e.word(i, "INTO")) return out;
        tableAt(e.next(i + 1));
        out.events = "IU";
        for (std::size_t k = i; k < e.size(); k = e.next(k + 1)) {
            if (e.word(k, "SET") && out.updated.empty()) setColumns(e.next(k + 1));
            if (e.word(k, "DELETE")) out.events = "IUD";
        }
    }
    return out;
}

bool insertWithTriggerValues(const std::string& sql, const std::string& inlineInsert,
                             const std::set<std::string>& defaulted, std::string& out) {
    const TokenEditor e(lexSql(sql));
    std::size_t i = e.next(0);
    if (!e.word(i, "INSERT")) return false;
    i = e.next(i + 1);
    if (!e.word(i, "INTO")) return false;
    const std::size_t tableAt = e.next(i + 1);
    if (!e.name(tableAt)) return false;
    std::size_t k = e.next(tableAt + 1);
    if (e.punct(k, '.') && e.name(e.next(k + 1))) k = e.next(e.next(k + 1) + 1);  // schema.table
    // The trigger's columns and their values after it, in terms of NEW.c.
    const TokenEditor t(lexSql(inlineInsert));
    std::size_t tk = t.next(0);
    while (tk < t.size() && !t.punct(tk, '(')) tk = t.next(tk + 1);
    std::vector<std::pair<std::size_t, std::size_t>> tColumns, tValues;
    std::size_t after = 0;
    if (!listItems(t, tk, tColumns, after)) return false;
    std::size_t tv = t.next(after);
    if (!t.word(tv, "VALUES") || !listItems(t, t.next(tv + 1), tValues, after) ||
        tValues.size() != tColumns.size())
        return false;
    std::vector<std::string> columns;
    for (const auto& c : tColumns) columns.push_back(identifierName(t.at(t.next(c.first))));
    // The statement's columns and values.
    std::vector<std::string> listed;
    std::size_t v = k;
    if (e.punct(k, '(')) {
        std::vector<std::pair<std::size_t, std::size_t>> items;
        if (!listItems(e, k, items, after)) return false;
        for (const auto& c : items) {
            const std::size_t n = e.next(c.first);
            if (!e.name(n) || e.next(n + 1) != c.second) return false;
            listed.push_back(identifierName(e.at(n)));
        }
        v = e.next(after);
    } else {
        listed = columns;
    }
    if (!e.word(v, "VALUES")) return false;
    std::vector<std::pair<std::size_t, std::size_t>> given;
    std::size_t rest = 0;
    if (!listItems(e, e.next(v + 1), given, rest) || given.size() != listed.size()) return false;
    if (e.punct(e.next(rest), ',')) return false;  // more than one row
    std::map<std::string, std::string> value;  // NEW.c at the trigger's start
    for (std::size_t c = 0; c < listed.size(); ++c)
        value[listed[c]] = "(" + trimmed(e.textBetween(given[c].first, given[c].second)) + ")";
    std::string outColumns, outValues;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const auto& r = tValues[c];
        const std::string own = "NEW." + columns[c];
        const bool assigned = asciiUpper(t.textBetween(t.next(r.first), r.second)) != own;
        const bool isListed = value.count(columns[c]) != 0;
        if (!assigned && !isListed) continue;
        std::string text;
        std::size_t from = r.first;
        for (std::size_t q = t.next(r.first); q < r.second; q = t.next(q + 1)) {
            if (!t.word(q, "NEW") || !t.punct(t.next(q + 1), '.')) continue;
            const std::size_t name = t.next(t.next(q + 1) + 1);
            const std::string column = identifierName(t.at(name));
            auto found = value.find(column);
            if (found == value.end() && defaulted.count(column) != 0) return false;
            text += t.textBetween(from, q) +
                    (found == value.end() ? std::string("NULL") : found->second);
            from = name + 1;
        }
        text += t.textBetween(from, r.second);
        text = trimmed(text);
        outColumns += (outColumns.empty() ? "" : ", ") + columns[c];
        outValues += (outValues.empty() ? "" : ", ") + text;
    }
    out = trimmed(e.textBetween(0, k)) + " (" + outColumns + ") VALUES (" +
          outValues + ")" + e.textBetween(rest, e.size());
    // Each bind once, in the order the statement has them: positions stay what the host bound.
    if (bindsOf(out) != bindsOf(sql)) return false;
    return true;
}

}  // namespace detail
}  // namespace kavexdb
