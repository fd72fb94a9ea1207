// Table collection expressions the client answers: TABLE(DBMS_OUTPUT.GET_LINES) (with or
// without "()") reads the session's DBMS_OUTPUT lines, a table of one column, COLUMN_VALUE;
// TABLE(KAVEX$BIND_VALUES) the host binds the session's last block assigned (NAME, VALUE).
#ifndef KAVEXDB_REWRITE_QUERY_TABLE_COLLECTIONS_H
#define KAVEXDB_REWRITE_QUERY_TABLE_COLLECTIONS_H

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

void rewriteTableCollections(TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
