// Turns the Oracle SQL a host sends into what SQLite runs, and says what kind of statement it is.
//
// Rewritten outside string literals, quoted identifiers and comments:
//   TIMESTAMP(3) WITH [LOCAL] TIME ZONE -> TIMESTAMP WITH [LOCAL] TIME ZONE(3)
//   NUMBER(*,s) -> NUMBER(38,s), NUMBER(*) -> NUMBER, VARCHAR2(n CHAR|BYTE) -> VARCHAR2(n)
//   DATE '2024-01-15', TIMESTAMP '...' -> the storage texts; N'x' -> 'x'
//   INTERVAL '...' qualifier, interval types, casts, expressions and comparisons (interval.h)
//   SYSDATE, SYSTIMESTAMP -> session functions (SQLite's clock in stored objects)
//   OWNSCHEMA.name -> name; MINUS -> EXCEPT; DUAL in views and triggers -> an inline row
//   a || b -> ORA$STR(a) || ORA$STR(b), so that NULL concatenates as '' (token_editor.h)
//   ... GENERATED [ALWAYS | BY DEFAULT [ON NULL]] AS IDENTITY -> taken out, see identities
//   TRUNCATE TABLE t -> DELETE FROM t; DROP TABLE t CASCADE CONSTRAINTS PURGE -> DROP TABLE t
//   ALTER TABLE t ADD (column) -> ADD COLUMN column; RENAME a TO b -> ALTER TABLE a RENAME TO b
//   CREATE GLOBAL TEMPORARY TABLE ... ON COMMIT ... ROWS -> CREATE TEMPORARY TABLE ...
//   CREATE / DROP [PUBLIC] SYNONYM -> changes of the synonym catalog (synonyms.h; the statement
//     that names a synonym reaches rewriteSql with it already resolved)
//   column definitions of CREATE TABLE and ALTER TABLE ADD -> with CHECK constraints holding
//     written values to the declared Oracle type, failing as "ORA-NNNNN: ..." (value_checks.h)
// A trailing ';' or '/' goes (the PL/SQL text is kept as sent).
#ifndef KAVEXDB_SQL_REWRITE_H
#define KAVEXDB_SQL_REWRITE_H

#include <sqlite3.h>

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

// sessionSchema is the connected user's name in upper case; "SCHEMA.table" naming it becomes
// "table". Throws ORA errors (through raise) only for forms it cannot carry over, e.g. an
// unterminated string literal (ORA-01756).
RewrittenSql rewriteSql(const std::string& oracleSql, const std::string& sessionSchema);

// Call right after a Ddl statement ran successfully (in the same transaction): records the
// identity columns of a CREATE TABLE in kIdentityCatalog and installs what generates their
// values; follows a renamed table; forgets a dropped table. Does nothing for other statements.
// Throws the client's ORA errors when SQLite fails.
void applyDdlEffects(sqlite3* db, const RewrittenSql& rewritten);

// Functions and objects every session has: NVL, NVL2, DECODE, GREATEST, LEAST, LPAD, RPAD,
// INITCAP, TO_CHAR, TO_NUMBER, TO_DATE, EMPTY_CLOB(), EMPTY_BLOB(), the SYSDATE(),
// SYSTIMESTAMP() and ORA$STR() the rewriting uses, the datetime collation, and the DUAL view (TEMP, so nothing is
// written to the file).
void registerSessionFunctions(sqlite3* db);

}  // namespace detail
}  // namespace kavexdb

#endif
