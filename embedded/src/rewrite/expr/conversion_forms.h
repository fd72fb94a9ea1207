// Oracle's conversion syntax around the TO_ functions:
//   TO_NUMBER | TO_DATE | TO_TIMESTAMP | TO_BINARY_DOUBLE | TO_BINARY_FLOAT
//       (x DEFAULT d ON CONVERSION ERROR [, fmt [, nls]])
//     -> (CASE WHEN ORA$CONVERTS('TO_...', x [, fmt]) THEN TO_...(x [, fmt])
//              ELSE TO_...(d [, fmt]) END)
//   VALIDATE_CONVERSION(x AS type [, fmt [, nls]]) -> ORA$CONVERTS('TO_...', x [, fmt])
//   TO_DATE | TO_TIMESTAMP | ... (x, fmt, 'NLS_...') -> the call without the NLS argument: the
//     embedded client's date language is American. TO_CHAR and TO_NUMBER keep theirs, for the
//     numeric characters and currency symbols it names.
//   2.5f, 2.5d (BINARY_FLOAT and BINARY_DOUBLE literals) -> TO_BINARY_FLOAT(2.5),
//     TO_BINARY_DOUBLE(2.5)
// ORA$CONVERTS runs the conversion on the session's own database and reports whether it
// succeeded (1 for NULL, as VALIDATE_CONVERSION does).
#ifndef KAVEXDB_CONVERSION_FORMS_H
#define KAVEXDB_CONVERSION_FORMS_H

#include <sqlite3.h>

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

void rewriteConversionForms(TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
