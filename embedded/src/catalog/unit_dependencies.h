// What stored units use: the tables, views, sequences and other units their texts name, kept
// in the catalog table "KAVEX$DEPENDENCIES" (NAME, TYPE, REFERENCED_NAME, REFERENCED_TYPE), as
// USER_DEPENDENCIES shows them. When one of those is replaced, altered or dropped, the units
// that use it, and the units that use those, become INVALID (without errors of their own); the
// next use of such a unit compiles it again (plsql/unit_compiler.h). A package's body uses its
// package; replacing a body changes nothing for the units that call the package.
#ifndef KAVEXDB_CATALOG_UNIT_DEPENDENCIES_H
#define KAVEXDB_CATALOG_UNIT_DEPENDENCIES_H

#include <sqlite3.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kavexdb {
namespace detail {

// Records, in place of what was recorded before, what the unit (name, type) uses among names:
// those that are tables, views, sequences or other units of the database.
void recordDependencies(sqlite3* db, const std::string& name, const std::string& type,
                        const std::set<std::string>& names);
void forgetDependencies(sqlite3* db, const std::string& name, const std::string& type);
// Makes INVALID the VALID units that use the object (name, type), directly or through others.
void invalidateDependents(sqlite3* db, const std::string& name, const std::string& type);
// The same for the table, view or sequence that a CREATE OR REPLACE, ALTER, DROP or RENAME
// statement changes; nothing for other statements.
void invalidateDependentsOfDdl(sqlite3* db, const std::string& sql);

// What the unit uses that is gone, or is a unit INVALID with errors of its own: each
// (name, type) as recorded.
std::vector<std::pair<std::string, std::string>> brokenDependencies(sqlite3* db,
                                                                    const std::string& name,
                                                                    const std::string& type);

// ORA$DEPENDENCY_ROWS() (kUnitDependencyFunctions): [name, type, referenced name, referenced
// type] of every recorded use, as JSON, for USER_DEPENDENCIES.

}  // namespace detail
}  // namespace kavexdb

#endif
