// The Oracle types of a query's result columns that are expressions, known before any row is
// fetched (an empty result describes as a full one). Worked out from the statement SQLite runs:
// the rewriting has made Oracle's operators into calls (ORA$ADD, ORA$CAT, ORA$CAST, ...), so
// each select item is a call tree over literals and columns. Columns take their declared types,
// read from a statement that selects them alone from the same FROM clause; operators and
// functions give their documented result types: arithmetic on numbers NUMBER, a DATE or
// TIMESTAMP plus or minus a number DATE, DATE minus DATE NUMBER, || VARCHAR2, CAST its target;
// CASE, NVL, NVL2, COALESCE, DECODE, GREATEST and LEAST the type of their first known result,
// but numbers of different precisions, scales or types the number type of highest precedence
// (NUMBER without precision, BINARY_FLOAT, BINARY_DOUBLE); MIN, MAX, TRUNC and ROUND the type
// of their first argument. Anything else stays unknown, for the fetched values to decide.
#ifndef KAVEXDB_EXPRESSION_TYPES_H
#define KAVEXDB_EXPRESSION_TYPES_H

#include <sqlite3.h>

#include <vector>

#include "types/declared_type.h"

namespace kavexdb {
namespace detail {

struct ExpressionType {
    bool known = false;
    DeclaredType type;
    // Not known, but a NUMBER unless its values are datetimes or intervals: + or - of an operand
    // whose type only the values tell (a bind) and one that is no datetime.
    bool numberUnlessDatetime = false;
};

// One entry per result column of stmt; columns with a declared type (plain table columns) and
// anything the analysis does not follow come back unknown. Never throws for SQL it cannot read.
std::vector<ExpressionType> expressionTypes(sqlite3* db, sqlite3_stmt* stmt);

}  // namespace detail
}  // namespace kavexdb

#endif
