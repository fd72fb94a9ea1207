// DBMS_LOB's functions in SQL: GETLENGTH, SUBSTR, INSTR and COMPARE, counting characters for a
// CLOB and bytes for a BLOB, with the package's defaults and its NULL for arguments out of range.
// "DBMS_LOB.F(" becomes the session function "ORA$LOB_F(".
#ifndef KAVEXDB_DBMS_LOB_FUNCTIONS_H
#define KAVEXDB_DBMS_LOB_FUNCTIONS_H

#include <sqlite3.h>

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

void rewriteDbmsLobCalls(TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
