// Oracle compares values of different types by converting one to the other's type first: text
// compared with a number becomes a NUMBER (ORA-01722 when it is none), and datetimes compare as
// points in time, a DATE with a TIMESTAMP and values in different time zones too. SQLite compares
// by its own affinities and the operands' collations, so this pass makes the conversions explicit
// in the SQL the rewriting made, with the declared types of the statement's tables at hand:
//   - a string literal compared with a number (a NUMBER column, a numeric literal or function) is
//     read as a number when the statement is prepared (ORA-01722 when it is none);
//   - a bind parameter compared with a number is read through ORA$NUM once per execution;
//   - a bind parameter whose value is a number (an integer or a double) compared with text is
//     a number as well: the text side is read as one. Which binds are numbers is known only when
//     the statement runs, so the pass names the binds compared with text (typedBinds), and the
//     statement is rewritten again when one of them changes between number and text;
//   - a character column compared with a number is read through ORA$NUM row by row, failing
//     with ORA-01722 at the first row whose text is no number;
//   - an operand that is a datetime (a datetime column, a DATE or TIMESTAMP literal, a datetime
//     function's result, date arithmetic) gets the collation ORA_DATETIME, as do ORDER BY keys
//     and MIN/MAX arguments that are datetimes, so they compare as instants whether or not a
//     column was declared with that collation (tables created before it existed included).
//   - on a NUMBER column that may hold values in their BLOB form (types/number_storage.h), an
//     ordering comparison, ORDER BY and MIN/MAX compare by value (ORA$NCMP, ORA$NKEY), and an
//     equality compares stored forms (a long literal as its BLOB, a bind through ORA$NSTORE).
// Comparisons are =, <>, !=, ^=, <, <=, >, >=, [NOT] BETWEEN and [NOT] IN (list). The pass first
// makes arithmetic with binary operands binary (rewrite/expr/binary_arithmetic.h), sharing its
// reading of the statement's columns.
#ifndef KAVEXDB_COMPARISON_TYPES_H
#define KAVEXDB_COMPARISON_TYPES_H

#include <sqlite3.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// sql is a query or DML statement as rewriteSql made it. Returns it with the conversions above;
// SQL this does not follow is returned as it is. Throws ORA-01722 for a literal that must be a
// number and is none.
// numericBinds: the binds (as written, ":1", ":name") whose values are numbers; typedBinds, when
// given, receives the binds whose comparison depends on that.
std::string typeComparisons(sqlite3* db, const std::string& sql,
                            const std::set<std::string>& numericBinds = {},
                            std::set<std::string>* typedBinds = nullptr);


}  // namespace detail
}  // namespace kavexdb

#endif
