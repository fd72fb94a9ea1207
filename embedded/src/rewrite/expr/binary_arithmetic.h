// Oracle computes arithmetic with a BINARY_DOUBLE or BINARY_FLOAT operand in IEEE binary floating
// point, converting the other operand first: to BINARY_DOUBLE when either is one, else to
// BINARY_FLOAT (so 0.1d + 0.2d is 3.0000000000000004E-001, and 1d / 0 is Inf). The operators
// pass writes every + - * / as a NUMBER operation (ORA$ADD, ...), which is decimal; this pass
// makes those whose operands are binary call the binary ones (ORA$B_ADD for BINARY_DOUBLE,
// ORA$F_ADD for BINARY_FLOAT, ...). An operand is binary when it is a column declared so (by the
// statement's tables), a TO_BINARY_DOUBLE or TO_BINARY_FLOAT call (as a binary literal such as
// 0.1d is written), a CAST to a binary type, or binary arithmetic itself.
#ifndef KAVEXDB_REWRITE_EXPR_BINARY_ARITHMETIC_H
#define KAVEXDB_REWRITE_EXPR_BINARY_ARITHMETIC_H

#include <sqlite3.h>

#include <string>

namespace kavexdb {
namespace detail {

class ColumnScope;
class TokenEditor;

// e: a query or DML statement as the rewriting made it; columns: the scope of its tables. Makes
// the operations with binary operands call the binary ones; returns whether it changed any.
bool rewriteBinaryArithmetic(TokenEditor& e, ColumnScope& columns);
// The same for SQL text, looking the statement's columns up in db.
std::string binaryArithmetic(sqlite3* db, const std::string& sql);

}  // namespace detail
}  // namespace kavexdb

#endif
