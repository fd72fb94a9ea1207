// The PL/SQL engine's entry: one anonymous block, parsed and run on a session's SQL.
#ifndef KAVEXDB_PLSQL_BLOCK_RUNNER_H
#define KAVEXDB_PLSQL_BLOCK_RUNNER_H

#include <string>

#include "plsql/interpreter.h"
#include "plsql/sql_port.h"

namespace kavexdb {
namespace detail {
namespace plsql {

// Parses and runs text. Errors come as occi::SQLException: ORA-06550 when the block does not
// compile, the unhandled error with "ORA-06512: at line N" when it fails as it runs, and
// ORA-00036 for blocks that run blocks (EXECUTE IMMEDIATE) more than 50 deep. The caller undoes
// what a failed block changed. When the block ends, host holds the values it assigned to its
// host binds (HostBinds::assigned marks them); a failed block leaves host as it was.
void runAnonymousBlock(SqlPort& port, const std::string& text, HostBinds& host);

// CREATE [OR REPLACE] PROCEDURE | FUNCTION | PACKAGE [BODY] | TRIGGER (the unit is kept; one
// that does not compile is kept INVALID, and the statement then fails with ORA-24344), DROP of
// each, ALTER TRIGGER, and ALTER PROCEDURE | FUNCTION | PACKAGE ... COMPILE.
void runUnitDdl(SqlPort& port, const std::string& text);

// A stored function (NAME, or PKG.NAME of a package) called from SQL, with its arguments in
// order.
Value callStoredFunction(SqlPort& port, const std::string& name, const std::vector<Value>& args);

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb

#endif
