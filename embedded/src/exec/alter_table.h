// ALTER TABLE forms SQLite cannot carry out in place: ADD of constraints (PRIMARY KEY, UNIQUE,
// CHECK, FOREIGN KEY; one, or several in parentheses), DROP CONSTRAINT name, DROP PRIMARY KEY,
// DROP UNIQUE (columns), and MODIFY of columns (type, DEFAULT, NULL / NOT NULL; one, or several
// in parentheses).
//
// The table is rebuilt under its changed definition: a new table is made, the rows are copied
// with their rowids, the old table goes, the new one takes its name, and the old indexes and
// triggers are made again. Copying the rows validates them against the new definition; a row
// that fails gives Oracle's error for the change (ORA-02437, ORA-02299, ORA-02293, ORA-02298,
// ORA-01449, ORA-02296, ORA-01441, ...) and the statement's transaction is rolled back.
#ifndef KAVEXDB_ALTER_TABLE_H
#define KAVEXDB_ALTER_TABLE_H

#include <sqlite3.h>

#include <string>

namespace kavexdb {
namespace detail {

class TokenEditor;

// Carries out such an ALTER TABLE (the host's text). The caller runs it as DDL: in a transaction
// of its own, with foreign key enforcement off (the old table's rows go without the actions of
// their children's keys), and with the authorizer trusting it. schema: the session user's name
// in upper case, for the constraint names of messages.
void alterTableByRebuild(sqlite3* db, const std::string& oracleSql, const std::string& schema);

}  // namespace detail
}  // namespace kavexdb

#endif
