// The host binds the session's last anonymous block assigned, as a table:
// SELECT NAME, VALUE FROM TABLE(KAVEX$BIND_VALUES) (the rewriting names it ORA$BIND_VALUES). The
// hosts have no OUT binds; this is how they read what a block wrote to its binds. NAME is the
// bind's name in upper case without the colon; VALUE has the value's own type (no declared
// type), so a query of one bind describes it as a NUMBER, a VARCHAR2, a DATE, ...
#ifndef KAVEXDB_OCCI_BIND_VALUES_TABLE_H
#define KAVEXDB_OCCI_BIND_VALUES_TABLE_H

#include <sqlite3.h>

#include <string>
#include <utility>
#include <vector>

#include "plsql/interpreter.h"

namespace kavexdb {
namespace detail {

// What the last anonymous block assigned to its host binds, in the order the block names them.
// Every block replaces it; a block that fails leaves none.
class AssignedBinds {
  public:
    using Entry = std::pair<std::string, plsql::Value>;

    // Keeps the binds host marks assigned, in place of the last block's.
    void keep(const plsql::HostBinds& host);
    void clear() { entries_.clear(); }
    const std::vector<Entry>& entries() const { return entries_; }

  private:
    std::vector<Entry> entries_;
};

// binds must outlive db's use of the table.
void registerBindValuesTable(sqlite3* db, AssignedBinds& binds);

}  // namespace detail
}  // namespace kavexdb

#endif
