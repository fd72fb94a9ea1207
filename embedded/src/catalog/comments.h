// COMMENT ON TABLE t IS 'text' and COMMENT ON COLUMN t.c IS 'text': the comments are kept in
// the catalog table KAVEX$COMMENTS (created by the first COMMENT) and shown by the dictionary
// views USER_TAB_COMMENTS and USER_COL_COMMENTS. IS '' removes a comment, as in Oracle.
#ifndef KAVEXDB_COMMENTS_H
#define KAVEXDB_COMMENTS_H

#include <sqlite3.h>

#include <string>

#include "sql/plan.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// A COMMENT statement -> e (a read of the object, which must exist) and out.ddl.catalogSql; false
// for other statements. Throws ORA-00905 (missing keyword) or ORA-01780 (no string literal) for a
// malformed one.
bool rewriteCommentOn(TokenEditor& e, RewrittenSql& out);

// The dictionary views' subqueries.
std::string tableCommentsQuery();
std::string columnCommentsQuery();

}  // namespace detail
}  // namespace kavexdb

#endif
