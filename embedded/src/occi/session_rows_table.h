// An eponymous virtual table over rows the session holds (DBMS_OUTPUT's lines, the binds the
// last block assigned): it exists in every session without CREATE, and each scan takes the rows
// as they are when it starts, so that what runs while the scan goes on does not change it.
#ifndef KAVEXDB_OCCI_SESSION_ROWS_TABLE_H
#define KAVEXDB_OCCI_SESSION_ROWS_TABLE_H

#include <sqlite3.h>

#include <string>
#include <vector>

namespace kavexdb {
namespace detail {

// A table's rows, each its columns' values as SQLite takes them.
struct SessionRow {
    enum class Kind { Null, Integer, Real, Text, Blob };
    struct Cell {
        Kind kind = Kind::Null;
        sqlite3_int64 integer = 0;
        double real = 0;
        std::string bytes;  // Text and Blob
    };
    std::vector<Cell> cells;
};

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
