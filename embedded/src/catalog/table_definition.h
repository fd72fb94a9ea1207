// A table's stored CREATE TABLE statement read clause by clause: its columns with their
// clauses, its table constraints, and the constraints Oracle would list for it. ALTER TABLE
// edits it and writes it back (exec/alter_table.h); the dictionary and the constraint errors
// read the declared names from it.
#ifndef KAVEXDB_CATALOG_TABLE_DEFINITION_H
#define KAVEXDB_CATALOG_TABLE_DEFINITION_H

#include <sqlite3.h>

#include <cstddef>
#include <string>
#include <vector>

namespace kavexdb {
namespace detail {

class TokenEditor;

// Whether the words at token i start a table constraint (CONSTRAINT, PRIMARY, UNIQUE, CHECK,
// FOREIGN).
bool startsTableConstraint(const TokenEditor& e, std::size_t i);

// The names in the first parentheses from token k on (a key's columns).
std::vector<std::string> namesInParens(const TokenEditor& e, std::size_t k);

// One clause of a column definition: NOT NULL, DEFAULT, CHECK (...), REFERENCES ..., ...
struct Clause {
    std::string kind;  // its keyword (after CONSTRAINT name), upper case
    std::string name;  // the constraint's name as Oracle resolves it; empty when unnamed
    std::string text;
    // The client adds these itself to hold values to the declared type (value_checks.h).
    bool fromType() const;
};

struct Column {
    std::string name, nameText, type;
    std::vector<Clause> clauses;

    bool has(const char* kind) const;
    std::string text() const;
};

Column parseColumn(const std::string& item);

// One definition in the table's parentheses: a column or a table constraint.
struct Item {
    bool isColumn = true;
    Column column;
    std::string kind, name, text;         // table constraint
    std::vector<std::string> keyColumns;  // PRIMARY KEY, UNIQUE, FOREIGN KEY

    std::string render() const { return isColumn ? column.text() : text; }
};

Item parseItem(const std::string& text);

// A PRIMARY KEY, UNIQUE, CHECK or FOREIGN KEY constraint as USER_CONSTRAINTS shows it.
struct DeclaredConstraint {
    std::string name;                  // as Oracle resolves it; empty when unnamed
    char type = 'C';                   // P, U, C or R
    std::vector<std::string> columns;  // the key's columns, or the column of a column constraint
    std::string condition;             // C: the condition as written, without its parentheses
    std::string parent;                // R: the parent table, as Oracle resolves it
    std::vector<std::string> parentColumns;  // R: empty for the parent's primary key
    std::string deleteRule;                  // R: CASCADE, SET NULL or NO ACTION
};

struct Definition {
    std::string nameText;  // the table's name as CREATE TABLE spelled it
    std::vector<Item> items;
    std::string tail;  // after the parentheses: WITHOUT ROWID and the like

    std::string createSql(const std::string& name) const;
    Column* column(const std::string& name);
    bool namesConstraint(const std::string& name) const;
    // The columns of each PRIMARY KEY (first) and UNIQUE key.
    std::vector<std::vector<std::string>> keys(bool primary) const;
    // The key, check and foreign key constraints in the order they are written, without the
    // checks the client adds for the declared types.
    std::vector<DeclaredConstraint> constraints() const;
};

Definition parseDefinition(const std::string& createSql);

// A table of the database (or a temporary one) with its stored definition.
struct StoredTable {
    std::string name;   // SQLite's name
    std::string shown;  // Oracle's: upper case unless the definition quotes it
    Definition definition;
};

// The user's tables (not SQLite's or the client's own), in the order they were made, the
// temporary ones last.
std::vector<StoredTable> storedTables(sqlite3* db);
// The one of that name (any case), or false.
bool storedTable(sqlite3* db, const std::string& name, StoredTable& table);

}  // namespace detail
}  // namespace kavexdb

#endif
