// GOTO's targets, checked when a unit compiles: a GOTO may branch to a <<label>> of its own
// statement sequence or of one that encloses it (out of IFs, CASEs, loops and blocks), and from
// an exception handler to the sequences enclosing its block, never into an IF, a CASE, a loop, a
// sub-block or a handler, and never out of a subprogram.
#ifndef KAVEXDB_PLSQL_GOTO_TARGETS_H
#define KAVEXDB_PLSQL_GOTO_TARGETS_H

#include "plsql/ast.h"

namespace kavexdb {
namespace detail {
namespace plsql {

// Throws the CompileError of the first GOTO that cannot branch to its label: PLS-00375 when
// the label is in the unit but out of the GOTO's reach, PLS-00201 when there is no such label.
// The block's own procedures and functions are units of their own.
void checkGotos(const Block& block);

// The index in body of the statement labelled `label`, or body.size() when none is.
std::size_t labelledStatement(const Body& body, const std::string& label);

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb

#endif
