// An eponymous virtual table over rows the session holds (DBMS_OUTPUT's lines, the binds the
// last block assigned): it exists in every session without CREATE, and each scan takes the rows
// as they are when it starts, so that what runs while the scan goes on does not change it.
#ifndef KAVEXDB_OCCI_SESSION_ROWS_TABLE_H
#define KAVEXDB_OCCI_SESSION_ROWS_TABLE_H

#include <sqlite3.h>

#include <vector>

#include "storage/bind_value.h"

namespace kavexdb {
namespace detail {

// A table's row: its columns' values (Integer, Real, Text, Blob; anything else is NULL).
using SessionRow = std::vector<BindValue>;

// What a table is: its columns ("CREATE TABLE x(...)", as sqlite3_declare_vtab takes it) and
// how a scan reads the rows of the session's source.
struct SessionRowsTable {
    const char* declaration;
    std::vector<SessionRow> (*rows)(void* source);
};

// Registers the table of that name over source; table and source must outlive db's use of it.
void registerSessionRowsTable(sqlite3* db, const char* name, const SessionRowsTable& table,
                              void* source);

}  // namespace detail
}  // namespace kavexdb

#endif
