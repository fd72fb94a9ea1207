// PL/SQL NUMBER values, exact to NUMBER's 40 digits as SQL's are. A Number value holds its
// number in the form a query's result gives it: an INTEGER when whole within 64 bits, a REAL
// when it has 15 significant digits or fewer (a double holds every such decimal and its
// shortest text gives the digits back), else its exact digits as text. Arithmetic on two
// Numbers is computed here in decimal (types/number_arithmetic.h), so that a variable keeps
// every digit SQL would.
#ifndef KAVEXDB_PLSQL_NUMBER_VALUE_H
#define KAVEXDB_PLSQL_NUMBER_VALUE_H

#include <string>

#include "kavexdb/occi.h"
#include "plsql/value.h"

namespace kavexdb {
namespace detail {
namespace plsql {

// The Value of n (n not NULL), in the form above.
Value numberValue(const oracle::occi::Number& n);
// The number v holds; v must be a non-NULL Number. A text that is no number is ORA-01722.
oracle::occi::Number numberIn(const Value& v);
// A Number's text as TO_CHAR writes it without a model (".5", "-12.25").
std::string numberText(const Value& v);
// -1, 0 or 1 as a is below, equal to or above b (both non-NULL Numbers).
int compareNumbers(const Value& a, const Value& b);
// The number parsed from a numeric literal's text ("1.5", "12E3", ".5"); false for anything
// else (BINARY_FLOAT and BINARY_DOUBLE literals: 1.5f, 2d).
bool numberLiteral(const std::string& text, Value& out);

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb

#endif
