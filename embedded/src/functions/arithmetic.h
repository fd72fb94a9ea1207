// Oracle's + - * / and || as SQL functions (the operator rewriting turns each operator into a
// call, expression_rewrite.h):
//   ORA$ADD/ORA$SUB: numbers (text converted, ORA-01722 when it is none); DATE or TIMESTAMP plus
//     or minus a number of days (fractions allowed) is a DATE; DATE minus DATE is the number of
//     days between them. Forms Oracle answers with an interval fail with an ORA error.
//   ORA$MUL/ORA$DIV: numbers; a division never truncates, dividing by zero is ORA-01476.
//   ORA$CAT: concatenation with NULL as '', numbers and dates as TO_CHAR writes them, RAW as
//     hex.
// Numbers are computed exactly in decimal (number_arithmetic.h) and come back as resultComputed
// gives them: whole 64-bit results as INTEGER, results of 15 digits or fewer as REAL, longer ones
// as their exact text when called as exact twins (functions/catalog.h).
#ifndef KAVEXDB_ARITHMETIC_H
#define KAVEXDB_ARITHMETIC_H

#include <sqlite3.h>

namespace kavexdb {
namespace detail {


}  // namespace detail
}  // namespace kavexdb

#endif
