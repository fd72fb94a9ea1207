// Oracle's view of foreign keys over SQLite's: which side of a key a failed statement broke
// (ORA-02291 parent key not found, ORA-02292 child record found), and which other tables
// refer to a table that DROP TABLE would remove (ORA-02449).
#ifndef KAVEXDB_FOREIGN_KEYS_H
#define KAVEXDB_FOREIGN_KEYS_H

#include <sqlite3.h>

#include <set>
#include <string>
#include <vector>

namespace kavexdb {
namespace detail {

// 2291 or 2292 for a statement (SQLite's text, as run) that failed on a foreign key: DELETE
// removes parent rows; UPDATE breaks the side whose key columns its SET assigns; INSERT adds
// child rows.
int foreignKeyErrorCode(sqlite3* db, const std::string& sql);

// The name of the foreign key such a statement broke, as the table's definition declares it
// ("" for a key without a name): for 2291 a key of the table the statement writes (for an
// UPDATE one whose columns it sets), for 2292 a key naming that table whose child rows have a
// parent row there. SQLite does not tell which key failed: of several that fit, the first.
std::string brokenForeignKey(sqlite3* db, const std::string& sql, int code);

// For a statement that failed with 2291 writing a table with several foreign keys: runs stmt
// once more (bound as it was) with the keys' checks deferred, inside a savepoint it then rolls
// back, and returns the name of the key whose check then fails; "" when it cannot tell.
std::string probedForeignKey(sqlite3* db, sqlite3_stmt* stmt);

// The tables other than itself whose foreign keys name table (SQLite's names, any case).
std::vector<std::string> referencingTables(sqlite3* db, const std::string& table);

// The columns of table that other tables' keys (or its own, self-referencing) point at, upper
// case: a key that names no columns points at the primary key.
std::set<std::string> referencedColumns(sqlite3* db, const std::string& table);

// DROP TABLE table CASCADE CONSTRAINTS: takes the foreign keys naming table out of the other
// tables' definitions (their rows stay as they are). The caller runs it inside the DDL's
// transaction with the authorizer trusting it (it rewrites SQLite's schema table).
void dropReferencesTo(sqlite3* db, const std::string& table);

// Replaces table's stored CREATE statement with createSql, which must describe the same
// columns and keys (only names, literals and constraints SQLite checks per row may differ). The
// caller runs it inside a DDL transaction with the authorizer trusting it.
void storeDefinition(sqlite3* db, const std::string& table, const std::string& createSql);

// A table's CREATE statement (SQLite's text) without the foreign keys that name parent.
std::string withoutReferencesTo(const std::string& createSql, const std::string& parent);

}  // namespace detail
}  // namespace kavexdb

#endif
