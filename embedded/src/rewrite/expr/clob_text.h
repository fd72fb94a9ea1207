// A CLOB or NCLOB column holds its value as text, or, when the value was streamed into the row
// without being built in memory, as a blob of the text's UTF-8 bytes. SQLite would treat such a
// blob as bytes (its LENGTH, SUBSTR, comparisons with texts, sorting), so this pass makes every
// reference to such a column read it through ORA$CLOB_TEXT, which gives a blob's bytes back as
// text and anything else as it is. The references left alone are those that hand the value on
// whole and keep the column's declared type: a plain column item of the select list of the
// statement's query or of an inline view (no DISTINCT, GROUP BY or set operator there), which the
// result set reads as a CLOB whatever its storage; and the columns a statement writes (INSERT's
// column list, UPDATE's SET targets). A column is known to be a CLOB the way the comparison pass
// knows a column's type (a name that is ambiguous or not followed is left alone).
#ifndef KAVEXDB_CLOB_TEXT_H
#define KAVEXDB_CLOB_TEXT_H

#include <sqlite3.h>

#include <string>

namespace kavexdb {
namespace detail {

// sql: a query, DML statement or CREATE VIEW as the rewriting made it for SQLite; anything else
// comes back as it is.
std::string readClobsAsText(sqlite3* db, const std::string& sql);


}  // namespace detail
}  // namespace kavexdb

#endif
