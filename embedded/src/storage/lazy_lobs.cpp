#include "storage/lazy_lobs.h"

#include <cstring>

#include "sql/numbered_parameters.h"
#include "sql/sql_lexer.h"
#include "sql/token_editor.h"
#include "types/declared_type.h"

namespace kavexdb {
namespace detail {

namespace {

using Range = std::pair<std::size_t, std::size_t>;

std::string textOf(const TokenEditor& e, std::size_t from, std::size_t to) {
    std::string out;
    for (std::size_t k = from; k < to; ++k) out += e.at(k).text;
    return out;
}

bool isLob(sqlite3_stmt* query, int i) {
    const char* decl = sqlite3_column_decltype(query, i);
    if (!decl || !sqlite3_column_origin_name(query, i)) return false;
    const int type = mapDeclaredType(decl).dataType;
    return type == occi::OCCI_SQLT_CLOB || type == occi::OCCI_SQLT_BLOB;
}

// Words that end a FROM clause's one table or show that it has more.
bool endsTable(const TokenEditor& e, std::size_t k) {
    static const char* const words[] = {"WHERE", "ORDER", "LIMIT", "GROUP", "HAVING", "WINDOW",
                                        "JOIN", "NATURAL", "LEFT", "RIGHT", "FULL", "INNER",
                                        "CROSS", "UNION", "INTERSECT", "EXCEPT", "INDEXED", "NOT"};
    for (const char* w : words)
        if (e.word(k, w)) return true;
    return false;
}

// The value's type where it is text or a blob (so nothing of it is read), else the value.
std::string typeOnly(const std::string& column) {
    return "CASE WHEN typeof(" + column + ") IN ('text', 'blob') THEN typeof(" + column +
           ") ELSE " + column + " END";
}

}  // namespace

std::string rowidTableSchema(sqlite3* db, const std::string& schema, const std::string& table) {
    const char* candidates[] = {"temp", "main"};
    for (const char* s : candidates) {
        if (!schema.empty() && sqlite3_stricmp(schema.c_str(), s) != 0) continue;
        const char* type = nullptr;
        int primaryKey = 0;
        if (sqlite3_table_column_metadata(db, s, table.c_str(), "rowid", &type, nullptr, nullptr,
                                          &primaryKey, nullptr) == SQLITE_OK &&
            type && sqlite3_stricmp(type, "INTEGER") == 0 && primaryKey)
            return s;
    }
    return std::string();
}

std::unique_ptr<LazyLobQuery> planLazyLobs(sqlite3* db, sqlite3_stmt* query,
                                           const std::string& sql) {
    const int count = sqlite3_column_count(query);
    auto plan = std::make_unique<LazyLobQuery>();
    plan->lazy.assign(static_cast<std::size_t>(count), false);
    plan->column.assign(static_cast<std::size_t>(count), std::string());
    bool any = false;
    for (int i = 0; i < count; ++i) {
        if (!isLob(query, i)) continue;
        const char* table = sqlite3_column_table_name(query, i);
        const char* schema = sqlite3_column_database_name(query, i);
        if (!table || !schema) return nullptr;
        if (!any) {
            plan->table = table;
            plan->schema = schema;
        } else if (plan->table != table || plan->schema != schema) {
            return nullptr;
        }
        any = true;
        plan->lazy[static_cast<std::size_t>(i)] = true;
        plan->column[static_cast<std::size_t>(i)] = sqlite3_column_origin_name(query, i);
    }
    if (!any) return nullptr;

    std::vector<Token> tokens;
    try {
        tokens = lexSql(sql);
    } catch (const occi::SQLException&) {
        return nullptr;
    }
    TokenEditor e(std::move(tokens));
    const std::size_t select = e.next(0);
    if (!e.word(select, "SELECT")) return nullptr;
    std::size_t first = e.next(select + 1);
    if (e.word(first, "DISTINCT")) return nullptr;
    if (e.word(first, "ALL")) first = e.next(first + 1);
    // FROM at depth 0 ends the select list.
    std::size_t from = first;
    for (int depth = 0; from < e.size(); ++from) {
        if (e.punct(from, '(')) ++depth;
        if (e.punct(from, ')')) --depth;
        if (depth == 0 && e.word(from, "FROM")) break;
    }
    if (from >= e.size()) return nullptr;
    // One table, as SQLite resolves it, with an optional alias.
    std::size_t k = e.next(from + 1);
    const std::size_t tableStart = k;
    std::string schema, table;
    if (!qualifiedNameAt(e, k, schema, table)) return nullptr;
    std::string qualifier = textOf(e, tableStart, k);
    if (e.word(k, "AS")) k = e.next(k + 1);
    if (e.name(k) && !endsTable(e, k)) {
        qualifier = e.at(k).text;
        k = e.next(k + 1);
    }
    if (sqlite3_stricmp(table.c_str(), plan->table.c_str()) != 0 ||
        rowidTableSchema(db, schema, table) != plan->schema)
        return nullptr;
    for (int depth = 0; k < e.size(); ++k) {
        if (e.punct(k, '(')) ++depth;
        if (e.punct(k, ')')) --depth;
        if (depth == 0 && (e.punct(k, ',') || (endsTable(e, k) && !e.word(k, "WHERE") &&
                                               !e.word(k, "ORDER") && !e.word(k, "LIMIT"))))
            return nullptr;
    }

    // The select list again, with each LOB column giving its type only.
    const std::vector<Range> items = depthZeroItems(e, first, from);
    std::size_t stars = 0;
    for (const Range& item : items) {
        const std::size_t last = e.previous(item.second);
        if (last < e.size() && e.punct(last, '*')) ++stars;
    }
    if (stars > 1 || items.size() - stars > static_cast<std::size_t>(count)) return nullptr;
    const std::size_t starWidth = static_cast<std::size_t>(count) - (items.size() - stars);
    std::string list;
    std::size_t column = 0;
    for (const Range& item : items) {
        if (!list.empty()) list += ", ";
        const std::size_t last = e.previous(item.second);
        if (last < e.size() && e.punct(last, '*')) {
            for (std::size_t w = 0; w < starWidth; ++w, ++column) {
                const char* name = sqlite3_column_origin_name(query, static_cast<int>(column));
                if (!name) return nullptr;
                const std::string ref = qualifier + "." + sqlQuotedIdentifier(name);
                list += (w ? ", " : "") + (plan->lazy[column] ? typeOnly(ref) : ref);
            }
            continue;
        }
        if (column >= static_cast<std::size_t>(count)) return nullptr;
        if (!plan->lazy[column]) {
            list += textOf(e, item.first, item.second);
            ++column;
            continue;
        }
        // A column reference, [[schema.]table.]name, then an optional alias.
        std::size_t t = e.next(item.first);
        const std::size_t refStart = t;
        if (!e.name(t)) return nullptr;
        t = e.next(t + 1);
        while (e.punct(t, '.') && e.name(e.next(t + 1))) t = e.next(e.next(t + 1) + 1);
        const std::size_t refEnd = t;
        if (e.word(t, "AS")) t = e.next(t + 1);
        if (t < item.second && e.name(t)) t = e.next(t + 1);
        if (t < item.second) return nullptr;
        list += typeOnly(textOf(e, refStart, refEnd)) + " " + textOf(e, refEnd, item.second);
        ++column;
    }
    if (column != static_cast<std::size_t>(count)) return nullptr;
    const std::string rowsSql = textOf(e, 0, first) + list + ", " + qualifier + ".rowid " +
                                textOf(e, from, e.size());
    sqlite3_stmt* raw = nullptr;
    const NumberedParameters numbered(rowsSql);  // as the query was prepared
    if (sqlite3_prepare_v2(db, numbered.sql().c_str(), -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return nullptr;
    }
    plan->rows.reset(raw);
    // The same parameters in the same places, and the rowid after the query's columns.
    const int parameters = sqlite3_bind_parameter_count(query);
    if (sqlite3_column_count(raw) != count + 1 || sqlite3_bind_parameter_count(raw) != parameters)
        return nullptr;
    if (NumberedParameters(sql).names() != numbered.names()) return nullptr;
    plan->rowidColumn = count;
    return plan;
}

}  // namespace detail
}  // namespace kavexdb
