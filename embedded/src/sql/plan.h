// What the rewriting makes of one statement: its kind, the SQL SQLite runs, and what the client
// does besides running it (identity columns, renames, rebuilds, catalog changes, steps).
#ifndef KAVEXDB_SQL_PLAN_H
#define KAVEXDB_SQL_PLAN_H

#include <string>
#include <vector>

namespace kavexdb {
namespace detail {

// An identity column declared by a CREATE TABLE; names in upper case (SQLite's names do not
// depend on case), generation 'ALWAYS', 'BY DEFAULT' or 'BY DEFAULT ON NULL'.
struct IdentityColumn {
    std::string table, column, generation;
};

struct RewrittenSql {
    enum class Kind {
        Empty,
        Query,
        Dml,
        Ddl,
        Commit,
        Rollback,
        CreateUser,
        AlterUser,
        DropUser,
        TempLobBlock,
        PlSql
    };
    Kind kind = Kind::Empty;
    std::string sql;                         // what SQLite runs (Query, Dml, Ddl, PlSql text)
    std::string userName, password;          // CreateUser, AlterUser (password), DropUser
    std::vector<IdentityColumn> identities;  // record in kIdentityCatalog once the CREATE ran
    std::string droppedTable;                // DROP TABLE: upper-case name whose identities go
    bool cascadeConstraints = false;         // DROP TABLE ... CASCADE CONSTRAINTS
    bool forUpdate = false;                  // Query: SELECT ... FOR UPDATE (for_update.h)
    std::string renamedFrom, renamedTo;      // ALTER TABLE a RENAME TO b, upper case
    bool rebuildTable = false;               // ALTER TABLE forms of alter_table.h
    std::string renamedIndexFrom, renamedIndexTo;  // ALTER INDEX a RENAME TO b
    std::vector<std::string> catalogSql;     // Ddl: run after sql, in its transaction
    std::string viewName;                    // CREATE VIEW: upper-case name (views.h)
    bool replaceView = false, forceView = false;
    std::vector<std::string> steps;          // Dml run as several statements (merge.h)
    std::vector<std::string> bindNames;      // steps: parameter names in the host's order
};

}  // namespace detail
}  // namespace kavexdb

#endif
