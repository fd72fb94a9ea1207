// The client's one error path: ORA errors as the client's SQLException (SQLite's failures are
// mapped onto them by sql/sqlite_errors.h).
#ifndef KAVEXDB_BASE_ERRORS_H
#define KAVEXDB_BASE_ERRORS_H

#include <string>

#include "kavexdb/occi.h"

namespace kavexdb {
namespace detail {

namespace occi = oracle::occi;

// ---- Errors (errors.cpp) -----------------------------------------------------------------
// "ORA-" + 5-digit code + ": " + text: an error as SQLite carries it and the client shows it.
std::string oraErrorText(int code, const std::string& text);

// Builds the client's exception: getErrorCode() == code, getMessage() == oraErrorText(code,
// text) + "\n".
//
// The client's own errors are raised from its message table (base/ora_messages.h). These two
// take the code as data: for an error that arrives composed ("ORA-NNNNN: text" out of SQLite,
// ORA$RAISE(code, text)) and for tests that inject one.
occi::SQLException makeError(int code, const std::string& text);
[[noreturn]] void raise(int code, const std::string& text);

}  // namespace detail
}  // namespace kavexdb

#endif
