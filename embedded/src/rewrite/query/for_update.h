// SELECT ... FOR UPDATE [OF columns] [NOWAIT | WAIT n | SKIP LOCKED].
//
// SQLite locks the whole database, not rows: the clause is taken out of the query, and the
// query runs inside the session's transaction holding the write lock (as Oracle's row locks,
// they last until COMMIT or ROLLBACK). Another session's writes wait for it meanwhile.
#ifndef KAVEXDB_FOR_UPDATE_H
#define KAVEXDB_FOR_UPDATE_H

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// Takes a trailing FOR UPDATE clause out of a query; true when there was one. Throws ORA-00933
// for a malformed clause.
bool takeForUpdate(TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
