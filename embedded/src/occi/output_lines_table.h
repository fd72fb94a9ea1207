// DBMS_OUTPUT's lines as a table: SELECT COLUMN_VALUE FROM TABLE(DBMS_OUTPUT.GET_LINES) (the
// rewriting names it ORA$DBMS_OUTPUT) hands the host the lines the session's PL/SQL wrote and
// takes them out of the buffer, as GET_LINES does; the hosts have no OUT binds to call it with.
#ifndef KAVEXDB_OCCI_OUTPUT_LINES_TABLE_H
#define KAVEXDB_OCCI_OUTPUT_LINES_TABLE_H

#include <sqlite3.h>

#include "plsql/output_buffer.h"

namespace kavexdb {
namespace detail {

// buffer must outlive db's use of the table.
void registerOutputLinesTable(sqlite3* db, plsql::OutputBuffer& buffer);

}  // namespace detail
}  // namespace kavexdb

#endif
