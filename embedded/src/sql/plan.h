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

// What a query adds to its SQL.
struct QueryPlan {
    bool forUpdate = false;  // SELECT ... FOR UPDATE (rewrite/query/for_update.h)
};

// A DML statement SQLite has no single statement for runs as steps (rewrite/dml/merge.h).
struct DmlPlan {
    std::vector<std::string> steps;      // run in order, in one savepoint per iteration
    std::vector<std::string> bindNames;  // the steps' parameter names in the host's order
};

// CREATE TABLE name [(column, ...)] AS query, as its parts (exec/create_table_as.h runs it).
struct CreateTableAs {
    std::string table;                 // the name as the statement spells it
    std::vector<std::string> columns;  // the names listed after the table, if any
    std::string query;                 // the query's Oracle SQL
};

// What the client does besides running a DDL statement's SQL.
struct DdlPlan {
    std::vector<IdentityColumn> identities;  // record in kIdentityCatalog once the CREATE ran
    std::string droppedTable;                // DROP TABLE: upper-case name whose identities go
    bool cascadeConstraints = false;         // DROP TABLE ... CASCADE CONSTRAINTS
    std::string renamedFrom, renamedTo;      // ALTER TABLE a RENAME TO b, upper case
    bool rebuildTable = false;               // ALTER TABLE forms of exec/alter_table.h
    std::string renamedIndexFrom, renamedIndexTo;  // ALTER INDEX a RENAME TO b
    std::vector<std::string> catalogSql;     // run after sql, in its transaction
    std::string viewName;                    // CREATE VIEW: upper-case name (views.h)
    bool replaceView = false, forceView = false;
    bool createsTableAs = false;  // CREATE TABLE ... AS query: createAs holds its parts
    CreateTableAs createAs;
    std::string rebuiltFrom;  // rebuildTable: the statement's Oracle SQL, synonyms resolved
};

// CREATE USER, ALTER USER (password), DROP USER.
struct AccountPlan {
    std::string userName, password;
};

// One statement as the rewriting leaves it: its kind, the SQL SQLite runs, and the payload of
// its kind (the payloads of the other kinds stay empty).
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
        AlterSession,
        TempLobBlock,
        PlSql
    };
    Kind kind = Kind::Empty;
    std::string sql;  // what SQLite runs (Query, Dml, Ddl; the PL/SQL text as sent)
    QueryPlan query;
    DmlPlan dml;
    DdlPlan ddl;
    AccountPlan account;  // CreateUser, AlterUser, DropUser
};

}  // namespace detail
}  // namespace kavexdb

#endif
