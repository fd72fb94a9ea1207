#include "rewrite/dml/dml_forms.h"

#include <map>

#include "sql/sql_lexer.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

namespace {

bool startsQuery(const TokenEditor& e, std::size_t i) {
    while (e.punct(i, '(')) i = e.next(i + 1);
    return e.word(i, "SELECT") || e.word(i, "WITH");
}

// [schema.]table at i: the table's token; sets i past the name.
std::size_t tableAt(const TokenEditor& e, std::size_t& i) {
    std::size_t name = i;
    if (e.punct(e.next(i + 1), '.') && e.name(e.next(e.next(i + 1) + 1)))
        name = e.next(e.next(i + 1) + 1);
    i = e.next(name + 1);
    return name;
}

// The table's columns in order, each with its default's SQL text ("" for none).
std::vector<std::pair<std::string, std::string>> columnDefaults(sqlite3* db,
                                                                const std::string& table) {
    std::vector<std::pair<std::string, std::string>> out;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name, dflt_value FROM pragma_table_info(?1) ORDER BY cid",
                           -1, &raw, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(raw, 1, table.c_str(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(raw) == SQLITE_ROW) {
            const unsigned char* n = sqlite3_column_text(raw, 0);
            const unsigned char* d = sqlite3_column_text(raw, 1);
            out.emplace_back(asciiUpper(n ? reinterpret_cast<const char*>(n) : ""),
                             d ? reinterpret_cast<const char*>(d) : "");
        }
    }
    sqlite3_finalize(raw);
    return out;
}

std::string defaultOf(const std::vector<std::pair<std::string, std::string>>& columns,
                      const std::string& column) {
    for (const auto& c : columns)
        if (c.first == column) return c.second.empty() ? "NULL" : "(" + c.second + ")";
    return "NULL";
}

void replaceDefaultsInValues(TokenEditor& e, std::size_t i, const std::string& table,
                             sqlite3* db) {
    // i: after the table name (and alias). Column list, then VALUES (...).
    std::vector<std::string> names;
    if (e.punct(i, '(') && !startsQuery(e, i)) {
        const std::size_t past = e.pastParens(i);
        for (std::size_t k = i + 1; k + 1 < past; ++k)
            if (e.name(k)) names.push_back(identifierName(e.at(k)));
        i = e.next(past);
    }
    if (!e.word(i, "VALUES")) return;
    const std::size_t open = e.next(i + 1);
    if (!e.punct(open, '(')) return;
    const std::size_t past = e.pastParens(open);
    const auto items = depthZeroItems(e, open + 1, past - 1);
    bool any = false;
    for (const auto& item : items) {
        const std::size_t v = e.next(item.first);
        any = any || (e.word(v, "DEFAULT") && e.next(v + 1) >= item.second);
    }
    if (!any) return;
    const auto columns = columnDefaults(db, table);
    for (std::size_t n = 0; n < items.size(); ++n) {
        const std::size_t v = e.next(items[n].first);
        if (!e.word(v, "DEFAULT") || e.next(v + 1) < items[n].second) continue;
        std::string column;
        if (!names.empty())
            column = n < names.size() ? names[n] : std::string();
        else if (n < columns.size())
            column = columns[n].first;
        e[v].text = defaultOf(columns, column);
    }
}

void replaceDefaultsInSet(TokenEditor& e, std::size_t set, const std::string& table,
                          sqlite3* db) {
    std::vector<std::pair<std::string, std::string>> columns;
    bool loaded = false;
    int depth = 0;
    for (std::size_t k = e.next(set + 1); k < e.size(); k = e.next(k + 1)) {
        if (e.punct(k, '(')) ++depth;
        if (e.punct(k, ')')) --depth;
        if (depth == 0 && (e.word(k, "WHERE") || e.word(k, "FROM") || e.word(k, "RETURNING")))
            return;
        if (depth != 0 || !e.punct(k, '=')) continue;
        const std::size_t column = e.previous(k), value = e.next(k + 1);
        const std::size_t after = e.next(value + 1);
        if (!e.name(column) || !e.word(value, "DEFAULT") ||
            (after < e.size() && !e.punct(after, ',') && !e.word(after, "WHERE")))
            continue;
        if (!loaded) {
            columns = columnDefaults(db, table);
            loaded = true;
        }
        e[value].text = defaultOf(columns, identifierName(e.at(column)));
    }
}

}  // namespace

std::string rewriteDmlForms(sqlite3* db, const std::string& sql) {
    TokenEditor e(lexSql(sql));
    std::size_t i = e.next(0);
    if (e.word(i, "DELETE")) {
        std::size_t k = e.next(i + 1);
        if (!e.word(k, "FROM")) {
            if (!e.name(k)) return sql;
            e[i].text = "DELETE FROM";
        } else {
            k = e.next(k + 1);
        }
        if (!e.name(k)) return sql;
        tableAt(e, k);
        if (e.name(k) && !e.word(k, "WHERE") && !e.word(k, "AS") && !e.word(k, "RETURNING"))
            e[k].text = "AS " + e[k].text;
        return e.text();
    }
    if (e.word(i, "UPDATE")) {
        std::size_t k = e.next(i + 1);
        if (!e.name(k)) return sql;
        const std::size_t name = tableAt(e, k);
        while (k < e.size() && !e.word(k, "SET")) k = e.next(k + 1);
        replaceDefaultsInSet(e, k, identifierName(e.at(name)), db);
        return e.text();
    }
    if (!e.word(i, "INSERT") || !e.word(e.next(i + 1), "INTO")) return sql;
    std::size_t k = e.next(e.next(i + 1) + 1);
    if (!e.name(k)) return sql;
    const std::size_t name = tableAt(e, k);
    if (e.word(k, "AS")) k = e.next(k + 1);
    if (e.name(k) && !e.word(k, "VALUES") && !e.word(k, "SELECT") && !e.word(k, "WITH"))
        k = e.next(k + 1);  // an alias
    replaceDefaultsInValues(e, k, identifierName(e.at(name)), db);
    // A parenthesised query after the optional column list loses its parentheses.
    std::size_t q = k;
    if (e.punct(q, '(') && !startsQuery(e, q)) q = e.next(e.pastParens(q));
    if (e.punct(q, '(') && startsQuery(e, q)) {
        const std::size_t past = e.pastParens(q);
        if (e.next(past) >= e.size() && e.punct(past - 1, ')')) {
            e.erase(q);
            e.erase(past - 1);
        }
    }
    return e.text();
}

}  // namespace detail
}  // namespace kavexdb
