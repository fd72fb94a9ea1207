// CREATE [OR REPLACE] [[NO]FORCE] [EDITIONABLE | NONEDITIONABLE] VIEW v [(columns)] AS query
// [WITH READ ONLY | WITH CHECK OPTION [CONSTRAINT c]].
//
// SQLite has no OR REPLACE: the statement becomes a DROP VIEW IF EXISTS followed, in the same
// DDL transaction, by the CREATE VIEW (so a failing new definition leaves the old one). A name
// that belongs to a table is ORA-00955. NOFORCE (the default) checks that the query runs, as
// Oracle does; FORCE stores the view even when its tables do not exist yet.
#ifndef KAVEXDB_VIEWS_H
#define KAVEXDB_VIEWS_H

#include "rewrite/sql_rewrite.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// Takes the Oracle-only words out of a CREATE VIEW and notes in out what finishViewDdl must do;
// false for other statements.
bool rewriteViewDdl(TokenEditor& e, RewrittenSql& out);
// Once out.sql holds the rewritten CREATE VIEW: orders the replacement's statements.
void finishViewDdl(RewrittenSql& out);

}  // namespace detail
}  // namespace kavexdb

#endif
