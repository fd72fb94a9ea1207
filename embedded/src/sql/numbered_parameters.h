// The statements the client prepares number their parameters instead of naming them: SQLite
// looks a named parameter up among all the names before it when it parses one and again when it
// compiles it, so a statement of n names costs n^2 (30,000 placeholders: seconds). A name's first
// appearance becomes "?", which takes the next index, and a later one "?N" for that index: the
// indexes are the ones SQLite gives names, in the order they first appear, and a plain "?" is
// never looked up.
#ifndef KAVEXDB_NUMBERED_PARAMETERS_H
#define KAVEXDB_NUMBERED_PARAMETERS_H

#include <string>
#include <unordered_map>
#include <vector>

namespace kavexdb {
namespace detail {

class NumberedParameters {
  public:
    NumberedParameters() = default;
    // sql: SQLite SQL with Oracle's placeholders (:1, :name), as the rewriting leaves them.
    explicit NumberedParameters(const std::string& sql);

    // The SQL to prepare.
    const std::string& sql() const { return sql_; }
    // The index of the parameter written as name (":1", ":x"); 0 when the statement has none.
    int index(const std::string& name) const;
    // The name parameter index (1-based) was written as; "" when there is no such parameter.
    const std::string& name(int index) const;
    // The names, by index (the first is index 1).
    const std::vector<std::string>& names() const { return names_; }

  private:
    std::string sql_;
    std::vector<std::string> names_;
    std::unordered_map<std::string, int> indexes_;
};

}  // namespace detail
}  // namespace kavexdb

#endif
