// What to try when a connection fails: with the embedded client a connect string names a database
// file, so a missing file, a directory or a file that is not a database is said in plain words.
#ifndef KAVEXSQL_CONNECTHINT_H
#define KAVEXSQL_CONNECTHINT_H

#include <string>

namespace kavexsql {

// A line of advice for the failed connect string and the library's message, or "" when there is
// nothing useful to add (a wrong password, an in-memory database, a name that is not a path).
std::string connectHint(const std::string& connect, const std::string& message);

}  // namespace kavexsql

#endif
