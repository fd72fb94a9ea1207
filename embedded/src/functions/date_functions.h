// Oracle's datetime functions over the client's storage texts: TRUNC and ROUND (of dates and of
// numbers), ADD_MONTHS, LAST_DAY, NEXT_DAY, NEW_TIME, MONTHS_BETWEEN, EXTRACT (as ORA$EXTRACT, see
// rewriteExtract), TO_TIMESTAMP and LOCALTIMESTAMP. Dates in, dates out: a DATE result is the
// DATE storage text.
#ifndef KAVEXDB_DATE_FUNCTIONS_H
#define KAVEXDB_DATE_FUNCTIONS_H

#include <sqlite3.h>

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {



// EXTRACT(field FROM expr) -> ORA$EXTRACT('FIELD', expr): SQLite's grammar has no such form.
void rewriteExtract(TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
