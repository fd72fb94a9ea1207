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

#include "rewrite/pipeline.h"
#include "sql/plan.h"

namespace kavexdb {
namespace detail {

class TokenEditor;

// The statement-level passes of the pipeline (rewrite/pipeline.h runs them in its order).

// Drops trailing blanks, comments and the ';' or '/' terminators that tools leave at the end.
void trimStatementEnd(TokenEditor& e);
// The statement's kind; fills out's account fields for CREATE / ALTER / DROP USER.
RewrittenSql::Kind classifyStatement(TokenEditor& e, RewrittenSql& out);
// The rewrites every statement gets (literals, types, clock functions, MINUS, DUAL, the own
// schema). storedObject: DDL, whose stored expressions use SQLite's built-in clock.
void rewriteCommonForms(TokenEditor& e, const std::string& schema, bool storedObject);
// CREATE / DROP / ALTER TABLE, TRUNCATE, ALTER INDEX, COMMENT, RENAME.
void rewriteTableDdl(TokenEditor& e, RewrittenSql& out);
// CREATE [OR REPLACE] [FORCE] VIEW: its query gets the expression semantics of a query.
bool isCreateView(const TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
