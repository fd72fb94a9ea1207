// ALTER SESSION: the embedded client keeps one set of session settings (American NLS
// settings, the user's own schema), and has no optimizer, tracing or parallel execution to
// tune. A statement that sets a setting to the value the client keeps, or tunes what does not
// exist here, succeeds and changes nothing, as scripts written for Oracle expect; one asking
// for another value is refused, never silently ignored.
#ifndef KAVEXDB_REWRITE_SESSION_ALTER_SESSION_H
#define KAVEXDB_REWRITE_SESSION_ALTER_SESSION_H

#include <string>

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// Whether the statement is ALTER SESSION (first is its first significant token).
bool isAlterSession(const TokenEditor& e, std::size_t first);

// Checks an ALTER SESSION statement (the terminator trimmed) for the session of user
// sessionSchema. Throws ORA-02248 for a clause or parameter ALTER SESSION does not take,
// ORA-00922 for a SET without a value, and ORA-02097 for a value other than the one kept.
void checkAlterSession(const TokenEditor& e, const std::string& sessionSchema);

}  // namespace detail
}  // namespace kavexdb

#endif
