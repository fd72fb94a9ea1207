// ROWNUM in the WHERE clause of an UPDATE or DELETE ("DELETE FROM t WHERE ROWNUM <= 10", the
// idiom for deleting in batches) numbers the rows of the target as the WHERE finds them. SQLite
// has no ROWNUM there, so the clause becomes a query of the target's rows, which ROWNUM
// numbers as in any query:
//   UPDATE t a SET ... WHERE c  ->  UPDATE t a SET ... WHERE rowid IN (SELECT rowid FROM t a WHERE c)
//   DELETE FROM t a WHERE c     ->  DELETE FROM t a WHERE rowid IN (SELECT rowid FROM t a WHERE c)
// A RETURNING clause stays after the new WHERE.
#ifndef KAVEXDB_ROWNUM_DML_H
#define KAVEXDB_ROWNUM_DML_H

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// Whether it changed e (which is then to be lexed anew).
bool rewriteRownumInDml(TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
