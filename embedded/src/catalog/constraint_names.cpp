#include "catalog/constraint_names.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "catalog/disabled_constraints.h"
#include "catalog/table_definition.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_util.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

namespace {

// The highest n of the SYS_Cn names in text.
long highestSystemNumber(const std::string& text, long highest) {
    for (std::size_t at = 0; (at = text.find("SYS_C", at)) != std::string::npos;) {
        at += 5;
        long n = 0;
        std::size_t digits = 0;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) &&
               digits < 12) {
            n = n * 10 + (text[at++] - '0');
            ++digits;
        }
        if (digits > 0 && n > highest) highest = n;
    }
    return highest;
}

// Whether the CHECK at k is one the declared type asks for: its condition opens with the
// message literal.
bool typeCheck(const TokenEditor& e, std::size_t k) {
    const std::size_t open = e.next(k + 1);
    const std::size_t message = e.next(open + 1);
    return e.punct(open, '(') && message < e.size() && e.at(message).kind == Token::Kind::String &&
           e.at(message).text.compare(0, 5, "'ORA-") == 0;
}

bool named(const TokenEditor& e, std::size_t k) {
    const std::size_t name = e.previous(k);
    return name < e.size() && e.name(name) && e.word(e.previous(name), "CONSTRAINT");
}

}  // namespace

SystemConstraintNames::SystemConstraintNames(sqlite3* db) {
    for (const char* schema : {"main", "temp"}) {
        SqliteStmt read =
            prepareSql(db, std::string("SELECT sql FROM ") + schema +
                               ".sqlite_master WHERE sql LIKE '%SYS\\_C%' ESCAPE '\\'");
        while (sqlite3_step(read.get()) == SQLITE_ROW) {
            const unsigned char* sql = sqlite3_column_text(read.get(), 0);
            if (sql) last_ = highestSystemNumber(reinterpret_cast<const char*>(sql), last_);
        }
    }
    // A disabled constraint keeps its name for ENABLE.
    for (const DisabledConstraint& c : disabledConstraints(db))
        last_ = highestSystemNumber(c.name, last_);
}

std::string SystemConstraintNames::next() {
    char name[32];
    std::snprintf(name, sizeof name, "SYS_C%07ld", ++last_);
    return name;
}

namespace {

// Names the unnamed constraints of the column definition whose name is at first and which ends
// before end; keyColumn: a primary key's column, whose NOT NULL the key stands for.
void nameColumnConstraints(TokenEditor& e, std::size_t first, std::size_t end, bool keyColumn,
                           SystemConstraintNames& names) {
    for (std::size_t m = e.next(first + 1); m < end;
         m = e.next(e.punct(m, '(') ? e.pastParens(m) : m + 1)) {
        const bool constraint = e.word(m, "PRIMARY") || e.word(m, "UNIQUE") ||
                                e.word(m, "REFERENCES") ||
                                (e.word(m, "CHECK") && !typeCheck(e, m)) ||
                                (!keyColumn && e.word(m, "NOT") && e.word(e.next(m + 1), "NULL"));
        if (constraint && !named(e, m)) e[m].text = "CONSTRAINT " + names.next() + " " + e[m].text;
    }
}

// ALTER TABLE t ADD [COLUMN] definition: the column's own constraints.
std::string withAddedColumnNames(sqlite3* db, TokenEditor& e, std::size_t table,
                                 const std::string& sql) {
    std::size_t k = e.next(table + 1);
    if (e.punct(e.next(k + 1), '.')) k = e.next(e.next(k + 1) + 1);
    k = e.next(k + 1);
    if (!e.word(k, "ADD")) return sql;
    k = e.next(k + 1);
    if (e.word(k, "COLUMN")) k = e.next(k + 1);
    if (k >= e.size() || !e.name(k) || startsTableConstraint(e, k)) return sql;
    SystemConstraintNames names(db);
    nameColumnConstraints(e, k, e.size(), false, names);
    return e.text();
}

}  // namespace

std::string withConstraintNames(sqlite3* db, const std::string& createSql) {
    TokenEditor e(lexSql(createSql));
    std::size_t k = e.next(0);
    if (e.word(k, "ALTER") && e.word(e.next(k + 1), "TABLE"))
        return withAddedColumnNames(db, e, e.next(k + 1), createSql);
    if (!e.word(k, "CREATE")) return createSql;
    k = e.next(k + 1);
    if (e.word(k, "TEMP") || e.word(k, "TEMPORARY")) k = e.next(k + 1);
    if (!e.word(k, "TABLE")) return createSql;
    std::size_t open = k;
    while (open < e.size() && !e.punct(open, '(')) open = e.next(open + 1);
    if (open >= e.size()) return createSql;
    const std::size_t close = e.pastParens(open) - 1;
    // A query after the parentheses makes it CREATE TABLE ... AS, which declares no keys.
    if (e.word(e.next(close + 1), "AS")) return createSql;
    // A primary key's columns are NOT NULL through the key; Oracle lists no NOT NULL of theirs.
    std::vector<std::string> keyColumns;
    for (const auto& key : parseDefinition(createSql).keys(true))
        keyColumns.insert(keyColumns.end(), key.begin(), key.end());
    SystemConstraintNames names(db);
    for (const auto& item : depthZeroItems(e, open + 1, close)) {
        const std::size_t first = e.next(item.first);
        if (first >= item.second) continue;
        if (startsTableConstraint(e, first)) {
            if (!e.word(first, "CONSTRAINT"))
                e[first].text = "CONSTRAINT " + names.next() + " " + e[first].text;
            continue;
        }
        const bool keyColumn = std::find(keyColumns.begin(), keyColumns.end(),
                                         identifierName(e.at(first))) != keyColumns.end();
        nameColumnConstraints(e, first, item.second, keyColumn, names);
    }
    return e.text();
}

namespace {

// The names a definition gives its constraints, in order, repeated ones repeated.
std::vector<std::string> declaredNames(const Definition& d) {
    std::vector<std::string> out;
    for (const DeclaredConstraint& c : d.constraints())
        if (!c.name.empty()) out.push_back(c.name);
    for (const Item& item : d.items)
        for (const Clause& c : item.column.clauses)
            if (item.isColumn && c.kind == "NOT" && !c.name.empty()) out.push_back(c.name);
    return out;
}

}  // namespace

std::set<std::string> constraintNamesInUse(sqlite3* db) {
    std::set<std::string> out;
    for (const StoredTable& t : storedTables(db))
        for (const std::string& name : declaredNames(t.definition)) out.insert(name);
    for (const DisabledConstraint& c : disabledConstraints(db)) out.insert(c.name);
    return out;
}

void refuseUsedConstraintNames(sqlite3* db, const std::string& createSql) {
    TokenEditor e(lexSql(createSql));
    std::size_t k = e.next(0);
    if (!e.word(k, "CREATE")) return;
    k = e.next(k + 1);
    if (e.word(k, "TEMP") || e.word(k, "TEMPORARY")) k = e.next(k + 1);
    if (!e.word(k, "TABLE")) return;
    const Definition definition = parseDefinition(createSql);
    // A table of that name exists: the statement fails on that (ORA-00955) first.
    std::string table;
    for (const Token& t : lexSql(definition.nameText))
        if (t.kind == Token::Kind::Word || t.kind == Token::Kind::QuotedIdent)
            table = identifierName(t);
    StoredTable existing;
    if (table.empty() || storedTable(db, table, existing)) return;
    std::set<std::string> used = constraintNamesInUse(db);
    for (const std::string& name : declaredNames(definition))
        if (!used.insert(name).second) raise(ora::kConstraintNameUsed);
}

}  // namespace detail
}  // namespace kavexdb
