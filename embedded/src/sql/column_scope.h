// The columns of a statement's tables, views and inline views, by the name or alias they are
// referred to with, for the rewriting passes that need a column's declared type. Looked up only
// when a pass asks: a table's columns one by one in the schema, a view's or a subquery's by
// preparing a query of it. Table-valued functions are not followed, nor, unless asked for, common
// table expressions (when followed, one is read as its query alone: one that names another, or
// itself, stays unknown, unless it lists its columns: then it has those, of unknown types).
#ifndef KAVEXDB_COLUMN_SCOPE_H
#define KAVEXDB_COLUMN_SCOPE_H

#include <sqlite3.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

class ColumnScope {
  public:
    // e must outlive the scope; its FROM, JOIN and UPDATE table references are read at once.
    ColumnScope(sqlite3* db, const TokenEditor& e, bool followWith = false);

    // A column named alone (name in upper case): the declared types ("" when none) of the
    // sources that have it. False when some source's columns are unknown.
    bool declaredTypes(const std::string& name, std::vector<std::string>& out);
    // source.name, source being a name or alias in upper case (one or more sources so named).
    void declaredTypes(const std::string& source, const std::string& name,
                       std::vector<std::string>& out);

  private:
    enum class State { Unresolved, Table, Read, Unknown };
    struct Source {
        std::string name;           // the name or alias it is referred to by, in upper case
        std::string schema, table;  // a table or view by name (table empty for a subquery)
        std::string query;          // what SELECT * FROM takes
        State state = State::Unresolved;
        std::map<std::string, std::string> columns;  // declared types; a table's: those looked up
        std::set<std::string> missing;               // a table's names looked up and not found
    };

    State resolve(Source& s);
    bool lookup(Source& s, const std::string& name, std::string& decl);
    void references(std::size_t i, bool list);
    void commonTables(std::size_t i);

    sqlite3* db_;
    const TokenEditor& e_;
    std::vector<Source> sources_;
    std::set<std::string> seen_;  // the sources_ by what they are
    struct CommonTable {
        std::string query;                 // "(query)"
        std::vector<std::string> columns;  // its column list, in upper case; empty when none
    };
    std::map<std::string, CommonTable> commonTables_;  // by upper-case name
    bool opaque_ = false;  // a source whose columns are not followed
};

}  // namespace detail
}  // namespace kavexdb

#endif
