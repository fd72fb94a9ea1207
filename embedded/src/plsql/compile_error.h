// ORA-06550, the error of a PL/SQL unit that does not compile: where, and the PLS- message.
#ifndef KAVEXDB_PLSQL_COMPILE_ERROR_H
#define KAVEXDB_PLSQL_COMPILE_ERROR_H

#include <cstdio>
#include <string>

#include "base/ora_messages.h"
#include "plsql/ast.h"

namespace kavexdb {
namespace detail {
namespace plsql {

// "PLS-NNNNN: " and the message's text.
template <int N, class... A>
std::string plsText(const OraMessage<N>& message, const A&... args) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "PLS-%05d: ", message.code);
    return prefix + messageText(message, args...);
}

// Thrown for a unit that does not compile; the runner hands `error` to the host. It is no
// occi::SQLException, so that no handler of the unit takes it for an error the unit raised.
struct CompileError {
    occi::SQLException error;
};

template <int N, class... A>
[[noreturn]] void compileError(Position at, const OraMessage<N>& message, const A&... args) {
    throw CompileError{
        makeError(ora::kPlSqlCompileError, at.line, at.column, plsText(message, args...))};
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb

#endif
