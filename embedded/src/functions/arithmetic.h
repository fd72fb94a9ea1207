// Oracle's + - * / and || as SQL functions (the operator rewriting turns each operator into a
// call, expression_rewrite.h):
//   ORA$ADD/ORA$SUB: numbers (text converted, ORA-01722 when it is none); DATE or TIMESTAMP plus
//     or minus a number of days (fractions allowed) is a DATE; DATE minus DATE is the number of
//     days between them. Forms Oracle answers with an interval fail with an ORA error.
//   ORA$MUL/ORA$DIV: numbers; a division never truncates, dividing by zero is ORA-01476.
//   ORA$CAT: concatenation with NULL as '', numbers and dates as TO_CHAR writes them, RAW as
//     hex.
// Results with a fraction are computed in binary floating point and kept to 15 significant digits,
// so decimal sums come out exact (0.1 + 0.2 = 0.3); Oracle's NUMBER carries 38.
#ifndef KAVEXDB_ARITHMETIC_H
#define KAVEXDB_ARITHMETIC_H

#include <sqlite3.h>

namespace kavexdb {
namespace detail {


}  // namespace detail
}  // namespace kavexdb

#endif
