// The names Oracle gives constraints declared without one: SYS_C followed by a number no other
// constraint of the schema has. The client writes them into the table's stored definition, so
// error messages and the dictionary show the same name for as long as the constraint lives.
#ifndef KAVEXDB_CATALOG_CONSTRAINT_NAMES_H
#define KAVEXDB_CATALOG_CONSTRAINT_NAMES_H

#include <sqlite3.h>

#include <set>
#include <string>

namespace kavexdb {
namespace detail {

// Hands out SYS_Cnnnnnnn names above every such name the database's definitions hold.
class SystemConstraintNames {
  public:
    explicit SystemConstraintNames(sqlite3* db);
    std::string next();

  private:
    long last_ = 0;
};

// A CREATE TABLE statement (SQLite's text, as the rewriting leaves it) with CONSTRAINT
// SYS_Cnnnnnnn before each PRIMARY KEY, UNIQUE, CHECK, REFERENCES, FOREIGN KEY and NOT NULL
// (of a column outside the primary key) constraint that has no name; the checks the declared
// types ask for (value_checks.h) stay unnamed. ALTER TABLE t ADD [COLUMN] definition gets the
// same for the column's constraints. Any other statement comes back as it is.
std::string withConstraintNames(sqlite3* db, const std::string& createSql);

// The names of the schema's constraints: declared, generated and disabled ones, NOT NULL too.
std::set<std::string> constraintNamesInUse(sqlite3* db);

// ORA-02264 when a CREATE TABLE (SQLite's text) gives a constraint a name another constraint of
// the schema has, or gives one name twice. Any other statement passes.
void refuseUsedConstraintNames(sqlite3* db, const std::string& createSql);

}  // namespace detail
}  // namespace kavexdb

#endif
