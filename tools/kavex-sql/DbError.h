// A failure reported by the library (its GetError text) or by the shell itself.
#ifndef KAVEXSQL_DBERROR_H
#define KAVEXSQL_DBERROR_H

#include <stdexcept>
#include <string>

namespace kavexsql {

class DbError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A mistake in a shell command (unknown command, bad argument): reported like a DbError.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace kavexsql

#endif
