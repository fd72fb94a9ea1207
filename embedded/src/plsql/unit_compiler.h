// Compiling a stored unit's text: what CREATE keeps of it (its USER_ARGUMENTS rows), or the
// compile error USER_ERRORS shows; and compiling again a unit that a change of what it uses
// made INVALID.
#ifndef KAVEXDB_PLSQL_UNIT_COMPILER_H
#define KAVEXDB_PLSQL_UNIT_COMPILER_H

#include "plsql/sql_port.h"

namespace kavexdb {
namespace detail {
namespace plsql {

// Sets unit's status (VALID or INVALID), arguments and error from its text. A package's body
// compiles with its package, which must be there and VALID. uses: the objects the unit
// was recorded to use must still be there (and not INVALID with errors of their own).
void compileUnit(SqlPort& port, UnitSource& unit, bool uses);

// A unit INVALID without errors of its own (what it uses changed) is compiled again and its
// new status kept; other units are left as they are.
void revalidateUnit(SqlPort& port, UnitSource& unit);

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb

#endif
