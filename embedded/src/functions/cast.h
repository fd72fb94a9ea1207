// Oracle's CAST over the client's storage forms. SQLite's CAST knows only its own affinities (a
// DATE cast to TIMESTAMP became the number 2024), so the rewriting turns
//   CAST(x AS type [, fmt [, nls]])   -> ORA$CAST(x, 'type' [, fmt [, nls]])
//   CAST(x AS type DEFAULT d ON CONVERSION ERROR [, fmt [, nls]])
//                                     -> ORA$CAST_OR(x, 'type', d [, fmt [, nls]])
// The BINARY_FLOAT and BINARY_DOUBLE targets become TO_BINARY_...(x ...), a NUMBER target with a
// format TO_NUMBER(x ...) (conversion_forms.h takes their DEFAULT forms on), RAW and BLOB targets
// HEXTORAW(x). CAST(MULTISET ...), INTERVAL targets and SQLite's own TEXT are left as written.
//
// ORA$CAST converts as Oracle's CAST table does: to NUMBER(p,s) rounded to s (ORA-01438 beyond
// p), to VARCHAR2/CHAR as TO_CHAR writes the value (ORA-25137 when longer than the type; CHAR
// blank-padded), to DATE (a timestamp's fraction rounded, its zone dropped), to TIMESTAMP (a
// DATE with fraction 0, a fraction rounded to the precision), to TIMESTAMP WITH TIME ZONE (the
// session's zone, UTC, for values without one); text to a datetime by the format, else the
// session's default formats. A datetime to a number or a number to a datetime is ORA-00932, an
// unknown type ORA-00902. ORA$CAST_OR converts the default when the value fails to convert.
#ifndef KAVEXDB_CAST_H
#define KAVEXDB_CAST_H

#include <sqlite3.h>

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

void rewriteCast(TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
