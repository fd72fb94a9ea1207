// Array DML without SQLite evaluating the value checks row by row. When an INSERT ... VALUES
// writes only bind parameters into a table whose only CHECK constraints are the client's value
// checks (value_checks.h), and the table has no triggers, the client checks each bound value
// itself (ValueChecks::passes) and runs the statement compiled without CHECK constraints. A
// value it cannot vouch for puts SQLite's checks back before that row runs, so every refusal
// still comes from SQLite with the same ORA error, and every other write path keeps its
// constraints.
#ifndef KAVEXDB_NATIVE_CHECKS_H
#define KAVEXDB_NATIVE_CHECKS_H

#include <sqlite3.h>

#include <string>
#include <vector>

#include "catalog/authorizer.h"
#include "rewrite/ddl/value_checks.h"

namespace kavexdb {
namespace detail {

class NativeChecks {
  public:
    // Executions of fewer rows keep SQLite's checks: switching them off and on re-prepares the
    // statement, which only pays off over many rows.
    static constexpr unsigned kMinimumRows = 64;

    // Whether the statement sql, prepared as stmt, qualifies; the answer is kept until the
    // database's schema changes. Runs the client's own catalog queries (trusted).
    bool applies(sqlite3* db, Authorizer& authorizer, const std::string& sql, sqlite3_stmt* stmt);
    // The checks of the column parameter index (1-based) writes; valid after applies() is true.
    const ValueChecks& at(int index) const { return checks_[static_cast<std::size_t>(index)]; }

  private:
    bool plan(sqlite3* db, const std::string& sql, sqlite3_stmt* stmt);

    bool planned_ = false;
    bool applies_ = false;
    std::string schemaVersions_;   // main and temp, when planned
    std::vector<ValueChecks> checks_;  // by parameter index
};

// SQLite's CHECK constraints off for the statements compiled while it lasts (PRAGMA
// ignore_check_constraints, which makes the connection's statements re-prepare on their next
// step); on again at restore() or at the end of its scope.
class CheckConstraintsOff {
  public:
    CheckConstraintsOff(sqlite3* db, Authorizer& authorizer);
    ~CheckConstraintsOff() { restore(); }
    CheckConstraintsOff(const CheckConstraintsOff&) = delete;
    CheckConstraintsOff& operator=(const CheckConstraintsOff&) = delete;

    bool active() const { return active_; }
    void restore();

  private:
    sqlite3* db_;
    Authorizer& authorizer_;
    bool active_ = false;
};

}  // namespace detail
}  // namespace kavexdb

#endif
