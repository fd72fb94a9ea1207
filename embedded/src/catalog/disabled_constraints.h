// Constraints ALTER TABLE ... DISABLE CONSTRAINT took out of their table's definition, kept in
// the client's catalog table KAVEX$DISABLED_CONSTRAINTS until ENABLE CONSTRAINT puts them back
// (and checks the rows against them). SQLite has no disabled constraint: the table is rebuilt
// without it (exec/alter_table.h). USER_CONSTRAINTS lists them as DISABLED.
#ifndef KAVEXDB_CATALOG_DISABLED_CONSTRAINTS_H
#define KAVEXDB_CATALOG_DISABLED_CONSTRAINTS_H

#include <sqlite3.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kavexdb {
namespace detail {

struct DisabledConstraint {
    std::string table;       // SQLite's name of the table, upper case
    std::string name;        // the constraint's name as Oracle resolves it
    std::string definition;  // the constraint as a table constraint: CONSTRAINT name CHECK (...)
};

// All of them, in the order they were disabled; none when the catalog does not exist yet.
std::vector<DisabledConstraint> disabledConstraints(sqlite3* db);

// Records one (creating the catalog table when needed). Run inside the DDL's transaction.
void recordDisabledConstraint(sqlite3* db, const DisabledConstraint& constraint);

// Takes table's constraint name out of the catalog: true, with its definition, when it was there.
bool takeDisabledConstraint(sqlite3* db, const std::string& table, const std::string& name,
                            std::string& definition);

// Constraints enabled with NOVALIDATE, which USER_CONSTRAINTS shows NOT VALIDATED: validated
// false records table's constraint name, true takes it out (ENABLE VALIDATE, DISABLE, DROP).
void recordValidation(sqlite3* db, const std::string& table, const std::string& name,
                      bool validated);
// The (table, constraint name) pairs recorded, upper case.
std::set<std::pair<std::string, std::string>> unvalidatedConstraints(sqlite3* db);

// DROP TABLE and RENAME TO: the table's disabled and unvalidated constraints go, or follow its
// new name.
void forgetDisabledConstraints(sqlite3* db, const std::string& table);
void renameDisabledConstraints(sqlite3* db, const std::string& from, const std::string& to);

}  // namespace detail
}  // namespace kavexdb

#endif
