// Oracle's || treats NULL as an empty string, SQLite's makes the whole result NULL: every operand
// of || is wrapped in ORA$STR(...), a session function giving '' for NULL.
#ifndef KAVEXDB_REWRITE_EXPR_CONCATENATION_H
#define KAVEXDB_REWRITE_EXPR_CONCATENATION_H

#include <string>

namespace kavexdb {
namespace detail {

class TokenEditor;

void rewriteConcatenation(TokenEditor& e);
// The expression text with the ORA$STR( ... ) wrappers taken out again, for column names.
std::string unwrapConcatenation(const std::string& expression);

}  // namespace detail
}  // namespace kavexdb

#endif
