// PL/SQL exceptions: the error a block raises while it runs, the predefined exception names
// and the numbers they stand for, and SQLCODE / SQLERRM of an error.
#ifndef KAVEXDB_PLSQL_EXCEPTIONS_H
#define KAVEXDB_PLSQL_EXCEPTIONS_H

#include <string>

#include "base/errors.h"
#include "plsql/ast.h"

namespace kavexdb {
namespace detail {
namespace plsql {

// An exception in flight. code is the ORA number (1403 for NO_DATA_FOUND); a user-defined
// exception without a number has code 1 and its name.
struct PlError {
    int code = 0;
    std::string message;  // the error stack as the host will read it: "ORA-01403: ...\n"
    std::string name;     // a user-defined exception's name; empty for ORA errors
    Position at;          // the statement it was raised in

    static PlError fromSql(const occi::SQLException& e, Position at);
    static PlError userDefined(const std::string& name, Position at);
    // An ORA error by its number, with the message the client gives that number (RAISE of a
    // predefined exception, or of a declared one bound to a number).
    static PlError numbered(int code, Position at);
    int sqlcode() const;  // 100 for NO_DATA_FOUND, +1 for user-defined, else -code
    std::string sqlerrm() const;
};

// The ORA number a predefined exception name stands for; 0 when the name is none.
int predefinedException(const std::string& name);

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb

#endif
