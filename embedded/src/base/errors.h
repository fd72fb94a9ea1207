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
// Builds the client's exception: getErrorCode() == code, getMessage() == "ORA-" + 5-digit code +
// ": " + text + "\n".
occi::SQLException makeError(int code, const std::string& text);
[[noreturn]] void raise(int code, const std::string& text);

}  // namespace detail
}  // namespace kavexdb

#endif
