// Oracle converts every value written into a column to the column's declared type: a NUMBER(p,s)
// is rounded to its scale, text becomes a DATE or TIMESTAMP by the session's formats, text into
// RAW or BLOB is hexadecimal, CHAR(n) is blank-padded. SQLite keeps what it is given, so the
// values of INSERT and UPDATE statements are wrapped in conversion functions that do this (or
// fail with Oracle's error) before SQLite stores them.
#ifndef KAVEXDB_WRITE_CONVERSION_H
#define KAVEXDB_WRITE_CONVERSION_H

#include <sqlite3.h>

#include <string>

namespace kavexdb {
namespace detail {

// sql is SQLite SQL as the rewriting made it. INSERT ... VALUES, INSERT ... SELECT and UPDATE ...
// SET get each value for a column whose declared type needs a conversion wrapped in that
// conversion; other statements, and columns of SQLite's own type names, are returned as they are.
// Looks the target table's columns up in db; an unknown table is left for SQLite to report.
std::string addWriteConversions(sqlite3* db, const std::string& sql);

// The conversion functions the wrapped statements call, and HEXTORAW and RAWTOHEX.
void registerWriteConversionFunctions(sqlite3* db);

}  // namespace detail
}  // namespace kavexdb

#endif
