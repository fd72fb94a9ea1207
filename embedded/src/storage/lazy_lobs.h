// Queries whose LOB columns are read lazily. SQLite steps a copy of the query in which each
// LOB column of its one table gives only the type of its value (what SQLite can tell without
// reading the value), with the row's rowid after the query's own columns; a value is read
// from its row with incremental blob I/O when it is asked for, as much of it as is asked for.
// Other queries copy their values as they are fetched.
#ifndef KAVEXDB_LAZY_LOBS_H
#define KAVEXDB_LAZY_LOBS_H

#include <memory>
#include <string>
#include <vector>

#include "base/errors.h"
#include "sql/sqlite_util.h"

namespace kavexdb {
namespace detail {

struct LazyLobQuery {
    SqliteStmt rows;                  // what is stepped: the query's columns, then the rowid
    std::vector<bool> lazy;           // by result column
    std::vector<std::string> column;  // by result column: the table's column read lazily
    std::string schema, table;
    int rowidColumn = 0;
};

// The rowid table's schema ("main", "temp") for a table named as in SQL; "" when the table is
// unknown, a view or without rowid.
std::string rowidTableSchema(sqlite3* db, const std::string& schema, const std::string& table);

// Null when query (prepared from sql) has no LOB column to read lazily or another form than
// SELECT items FROM one table [alias] [WHERE ...] [ORDER BY ...] [LIMIT ...].
std::unique_ptr<LazyLobQuery> planLazyLobs(sqlite3* db, sqlite3_stmt* query,
                                           const std::string& sql);

}  // namespace detail
}  // namespace kavexdb

#endif
