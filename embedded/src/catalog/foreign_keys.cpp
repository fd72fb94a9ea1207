#include "catalog/foreign_keys.h"

#include <set>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "catalog/ddl_effects.h"
#include "catalog/table_definition.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "sql/sqlite_util.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

namespace {

// Rows of a query with one text parameter, each row's first columns as texts.
std::vector<std::vector<std::string>> textRows(sqlite3* db, const char* sql,
                                               const std::string& parameter, int columns) {
    std::vector<std::vector<std::string>> rows;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return rows;
    }
    sqlite3_bind_text(raw, 1, parameter.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(raw) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int c = 0; c < columns; ++c) {
            const unsigned char* text = sqlite3_column_text(raw, c);
            row.push_back(text ? asciiUpper(reinterpret_cast<const char*>(text)) : std::string());
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(raw);
    return rows;
}

std::set<std::string> keyColumns(sqlite3* db, const std::string& table) {
    std::set<std::string> out;
    for (const auto& row :
         textRows(db, "SELECT \"from\" FROM pragma_foreign_key_list(?1)", table, 1))
        out.insert(row[0]);
    return out;
}

// The columns an UPDATE's SET assigns: "c = ..." and "(a, b) = (...)" at the top level.
std::set<std::string> assignedColumns(const TokenEditor& e, std::size_t set) {
    std::set<std::string> out;
    int depth = 0;
    bool itemStart = true;
    for (std::size_t k = e.next(set + 1); k < e.size(); k = e.next(k + 1)) {
        if (depth == 0 && (e.word(k, "WHERE") || e.word(k, "FROM") || e.word(k, "RETURNING")))
            break;
        if (e.punct(k, '(')) {
            if (depth == 0 && itemStart) {
                const std::size_t past = e.pastParens(k);
                for (std::size_t c = k + 1; c + 1 < past; ++c)
                    if (e.name(c)) out.insert(identifierName(e.at(c)));
                k = past - 1;
                itemStart = false;
                continue;
            }
            ++depth;
        } else if (e.punct(k, ')')) {
            --depth;
        } else if (depth == 0 && e.punct(k, ',')) {
            itemStart = true;
            continue;
        } else if (depth == 0 && itemStart && e.name(k) && e.punct(e.next(k + 1), '=')) {
            out.insert(identifierName(e.at(k)));
        }
        itemStart = false;
    }
    return out;
}

bool meets(const std::set<std::string>& a, const std::set<std::string>& b) {
    for (const std::string& x : a)
        if (b.count(x)) return true;
    return false;
}

}  // namespace

// The target's columns other tables' keys (or its own, self-referencing) point at: a key that
// names no columns points at the primary key.
std::set<std::string> referencedColumns(sqlite3* db, const std::string& table) {
    std::set<std::string> out;
    bool primaryKey = false;
    for (const auto& row : textRows(db,
                                    "SELECT f.\"to\" FROM sqlite_master m, "
                                    "pragma_foreign_key_list(m.name) f WHERE m.type = 'table' "
                                    "AND f.\"table\" = ?1 COLLATE NOCASE",
                                    table, 1)) {
        if (row[0].empty())
            primaryKey = true;
        else
            out.insert(row[0]);
    }
    if (primaryKey)
        for (const auto& row :
             textRows(db, "SELECT name FROM pragma_table_info(?1) WHERE pk > 0", table, 1))
            out.insert(row[0]);
    return out;
}

int foreignKeyErrorCode(sqlite3* db, const std::string& sql) {
    TokenEditor e(lexSql(sql));
    const std::size_t verb = e.next(0);
    if (e.word(verb, "DELETE")) return 2292;
    if (!e.word(verb, "UPDATE")) return 2291;
    std::size_t i = e.next(verb + 1);
    if (e.word(i, "OR")) i = e.next(e.next(i + 1) + 1);
    if (!e.name(i)) return 2291;
    if (e.punct(e.next(i + 1), '.')) i = e.next(e.next(i + 1) + 1);
    const std::string table = identifierName(e.at(i));
    std::size_t set = i;
    while (set < e.size() && !e.word(set, "SET")) set = e.next(set + 1);
    const std::set<std::string> assigned = assignedColumns(e, set);
    const std::set<std::string> parents = referencedColumns(db, table);
    const std::set<std::string> children = keyColumns(db, table);
    const bool parentSide = meets(assigned, parents), childSide = meets(assigned, children);
    if (parentSide != childSide) return parentSide ? 2292 : 2291;
    return children.empty() && !parents.empty() ? 2292 : 2291;
}

namespace {

// The table an INSERT, UPDATE or DELETE writes, as SQLite's text names it; "" for another.
std::string targetTable(const TokenEditor& e, std::size_t& verb) {
    verb = e.next(0);
    std::size_t i = e.next(verb + 1);
    if (e.word(i, "OR")) i = e.next(e.next(i + 1) + 1);
    if (e.word(i, "INTO") || e.word(i, "FROM")) i = e.next(i + 1);
    if (!e.name(i)) return std::string();
    if (e.punct(e.next(i + 1), '.')) i = e.next(e.next(i + 1) + 1);
    return identifierName(e.at(i));
}

bool sameText(const std::string& a, const std::string& b) {
    return sqlite3_stricmp(a.c_str(), b.c_str()) == 0;
}

// Whether child has a row whose key columns match a row of parent.
bool hasMatchedChildRows(sqlite3* db, const StoredTable& child, const DeclaredConstraint& key) {
    std::vector<std::string> parentColumns = key.parentColumns;
    if (parentColumns.empty())
        for (const auto& row : textRows(db, "SELECT name FROM pragma_table_info(?1) WHERE pk > 0 "
                                            "ORDER BY pk",
                                        key.parent, 1))
            parentColumns.push_back(row[0]);
    if (parentColumns.size() != key.columns.size() || parentColumns.empty()) return false;
    std::string match;
    for (std::size_t c = 0; c < parentColumns.size(); ++c)
        match += (c ? " AND p." : "p.") + sqlQuotedIdentifier(parentColumns[c]) + " = c." +
                 sqlQuotedIdentifier(key.columns[c]);
    const std::string sql = "SELECT 1 FROM " + sqlQuotedIdentifier(child.name) +
                            " c WHERE EXISTS (SELECT 1 FROM " +
                            sqlQuotedIdentifier(key.parent) + " p WHERE " + match + ") LIMIT 1";
    sqlite3_stmt* raw = nullptr;
    const bool found = sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) == SQLITE_OK &&
                       sqlite3_step(raw) == SQLITE_ROW;
    sqlite3_finalize(raw);
    return found;
}

}  // namespace

std::string brokenForeignKey(sqlite3* db, const std::string& sql, int code) {
    TokenEditor e(lexSql(sql));
    std::size_t verb = 0;
    const std::string table = targetTable(e, verb);
    if (table.empty()) return std::string();
    if (code == 2291) {
        StoredTable child;
        if (!storedTable(db, table, child)) return std::string();
        std::set<std::string> assigned;
        if (e.word(verb, "UPDATE")) {
            std::size_t set = verb;
            while (set < e.size() && !e.word(set, "SET")) set = e.next(set + 1);
            assigned = assignedColumns(e, set);
        }
        std::string first;
        for (const DeclaredConstraint& c : child.definition.constraints()) {
            if (c.type != 'R') continue;
            const std::set<std::string> columns(c.columns.begin(), c.columns.end());
            if (assigned.empty() || meets(assigned, columns)) return c.name;
            if (first.empty()) first = c.name;
        }
        return first;
    }
    std::string first;
    for (const StoredTable& child : storedTables(db))
        for (const DeclaredConstraint& c : child.definition.constraints()) {
            if (c.type != 'R' || !sameText(c.parent, table)) continue;
            // A DELETE takes such children with it or empties their key.
            if (e.word(verb, "DELETE") && c.deleteRule != "NO ACTION") continue;
            if (hasMatchedChildRows(db, child, c)) return c.name;
            if (first.empty()) first = c.name;
        }
    return first;
}

std::string probedForeignKey(sqlite3* db, sqlite3_stmt* stmt) {
    TokenEditor e(lexSql(sqlite3_sql(stmt)));
    std::size_t verb = 0;
    StoredTable child;
    if (!storedTable(db, targetTable(e, verb), child)) return std::string();
    std::vector<DeclaredConstraint> keys;
    for (const DeclaredConstraint& c : child.definition.constraints())
        if (c.type == 'R') keys.push_back(c);
    if (keys.size() < 2) return std::string();
    // SQLite's number of the key whose check fails, and that key's columns and parent.
    std::string parent;
    std::set<std::string> columns;
    sqlite3_reset(stmt);
    if (sqlite3_exec(db, "SAVEPOINT kavex_key_probe", nullptr, nullptr, nullptr) != SQLITE_OK)
        return std::string();
    sqlite3_exec(db, "PRAGMA defer_foreign_keys = ON", nullptr, nullptr, nullptr);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    sqlite3_reset(stmt);
    if (rc == SQLITE_DONE) {
        const auto failed = textRows(db, "SELECT fkid FROM pragma_foreign_key_check(?1) LIMIT 1",
                                     child.name, 1);
        if (!failed.empty()) {
            const std::string keyColumns =
                "SELECT \"table\", \"from\" FROM pragma_foreign_key_list(?1) WHERE id = " +
                std::to_string(std::stol(failed[0][0]));
            for (const auto& row : textRows(db, keyColumns.c_str(), child.name, 2)) {
                parent = row[0];
                columns.insert(row[1]);
            }
        }
    }
    sqlite3_exec(db, "ROLLBACK TO kavex_key_probe", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "RELEASE kavex_key_probe", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA defer_foreign_keys = OFF", nullptr, nullptr, nullptr);
    for (const DeclaredConstraint& c : keys) {
        std::set<std::string> own;
        for (const std::string& column : c.columns) own.insert(asciiUpper(column));
        if (own == columns && sameText(c.parent, parent)) return c.name;
    }
    return std::string();
}

std::vector<std::string> referencingTables(sqlite3* db, const std::string& table) {
    std::vector<std::string> out;
    for (const auto& row :
         textRows(db,
                  "SELECT DISTINCT m.name FROM sqlite_master m, pragma_foreign_key_list(m.name) f "
                  "WHERE m.type = 'table' AND f.\"table\" = ?1 COLLATE NOCASE AND "
                  "m.name <> ?1 COLLATE NOCASE",
                  table, 1))
        out.push_back(row[0]);
    return out;
}

std::string withoutReferencesTo(const std::string& createSql, const std::string& parent) {
    TokenEditor e(lexSql(createSql));
    const std::string wanted = asciiUpper(parent);
    for (std::size_t k = e.next(0); k < e.size(); k = e.next(k + 1)) {
        if (!e.word(k, "REFERENCES")) continue;
        std::size_t n = e.next(k + 1);
        if (e.punct(e.next(n + 1), '.')) n = e.next(e.next(n + 1) + 1);
        if (!e.name(n) || asciiUpper(identifierName(e.at(n))) != wanted) continue;
        // The clause's end: the parent's columns, then ON DELETE/UPDATE actions, MATCH and
        // deferrability.
        std::size_t end = e.next(n + 1);
        if (e.punct(end, '(')) end = e.next(e.pastParens(end));
        for (;;) {
            if (e.word(end, "ON") && (e.word(e.next(end + 1), "DELETE") ||
                                      e.word(e.next(end + 1), "UPDATE"))) {
                end = e.next(e.next(end + 1) + 1);
                if (e.word(end, "SET") || e.word(end, "NO")) end = e.next(end + 1);
                end = e.next(end + 1);
            } else if (e.word(end, "MATCH")) {
                end = e.next(e.next(end + 1) + 1);
            } else if (e.word(end, "NOT") || e.word(end, "DEFERRABLE") ||
                       e.word(end, "INITIALLY") || e.word(end, "DEFERRED") ||
                       e.word(end, "IMMEDIATE")) {
                end = e.next(end + 1);
            } else {
                break;
            }
        }
        // Its start: FOREIGN KEY (columns) of a table constraint, and the constraint's name.
        std::size_t start = k;
        bool tableConstraint = false;
        std::size_t before = e.previous(start);
        if (e.punct(before, ')')) {
            std::size_t open = before;
            while (open < e.size() && !e.punct(open, '(')) open = e.previous(open);
            const std::size_t key = e.previous(open);
            if (e.word(key, "KEY") && e.word(e.previous(key), "FOREIGN")) {
                start = e.previous(key);
                tableConstraint = true;
            }
        }
        before = e.previous(start);
        if (e.name(before) && e.word(e.previous(before), "CONSTRAINT"))
            start = e.previous(before);
        if (tableConstraint) {
            const std::size_t comma = e.previous(start);
            if (e.punct(comma, ',')) start = comma;
        }
        e.erase(start, end);
        k = start;
    }
    return e.text();
}

void storeDefinition(sqlite3* db, const std::string& table, const std::string& createSql) {
    {
        // SQLite's schema table open to UPDATE.
        DbConfigScope writable(db, SQLITE_DBCONFIG_WRITABLE_SCHEMA, 1);
        SqliteStmt update = prepareSql(db,
                                       "UPDATE sqlite_master SET sql = ?1 WHERE type = 'table' AND "
                                       "name = ?2 COLLATE NOCASE");
        sqlite3_bind_text(update.get(), 1, createSql.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(update.get(), 2, table.c_str(), -1, SQLITE_TRANSIENT);
        const int rc = sqlite3_step(update.get());
        if (rc != SQLITE_DONE) raiseSqlite(db, rc);
    }
    // A new schema version makes every connection read the changed definition.
    const auto version = textRows(db, "PRAGMA schema_version", std::string(), 1);
    const long next = version.empty() ? 1 : std::stol(version[0][0]) + 1;
    runDdlSql(db, "PRAGMA schema_version = " + std::to_string(next));
}

void dropReferencesTo(sqlite3* db, const std::string& table) {
    const std::vector<std::string> children = referencingTables(db, table);
    if (children.empty()) return;
    for (const std::string& child : children) {
        // The definition as stored: its literals and quoted names keep their case.
        SqliteStmt read = prepareSql(db,
                                     "SELECT sql FROM sqlite_master WHERE type = 'table' AND "
                                     "name = ?1 COLLATE NOCASE");
        sqlite3_bind_text(read.get(), 1, child.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(read.get()) != SQLITE_ROW) continue;
        const unsigned char* stored = sqlite3_column_text(read.get(), 0);
        const std::string definition = stored ? reinterpret_cast<const char*>(stored) : "";
        read.reset();
        storeDefinition(db, child, withoutReferencesTo(definition, table));
    }
}

}  // namespace detail
}  // namespace kavexdb
