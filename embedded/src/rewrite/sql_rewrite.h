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

#include <string>

#include "sql/plan.h"

namespace kavexdb {
namespace detail {

// sessionSchema is the connected user's name in upper case; "SCHEMA.table" naming it becomes
// "table". Throws ORA errors (through raise) only for forms it cannot carry over, e.g. an
// unterminated string literal (ORA-01756).
RewrittenSql rewriteSql(const std::string& oracleSql, const std::string& sessionSchema);

}  // namespace detail
}  // namespace kavexdb

#endif
