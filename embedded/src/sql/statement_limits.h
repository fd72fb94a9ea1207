// Oracle's limits on the size of a statement's parts, checked once over its tokens before any
// rewriting, so that a statement past them fails at once with Oracle's error instead of costing
// time and memory in the passes and in SQLite:
//   - parentheses and CASE nested more than kMaxNesting deep: ORA-03095 (the passes and SQLite's
//     parser recurse over nesting; the bound keeps a JVM thread's 1 MiB stack enough);
//   - an expression list of IN with more than 1000 expressions: ORA-01795;
//   - DECODE with more than 255 arguments, a CASE expression with more than 65535 (each WHEN and
//     THEN pair two, the simple CASE's operand and the ELSE one each): ORA-00939;
//   - a select list of more than 1000 items: ORA-01792.
#ifndef KAVEXDB_STATEMENT_LIMITS_H
#define KAVEXDB_STATEMENT_LIMITS_H

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

constexpr int kMaxNesting = 255;

void checkStatementLimits(const TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
