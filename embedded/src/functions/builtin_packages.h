// Functions of Oracle's built-in packages that SQL and PL/SQL call, as session functions:
//   DBMS_RANDOM.VALUE [(low, high)], DBMS_RANDOM.NORMAL, DBMS_RANDOM.STRING(opt, len),
//     DBMS_RANDOM.RANDOM (a 32-bit integer); DBMS_RANDOM.SEED(n) seeds them all;
//   UTL_RAW.CAST_TO_RAW(text), CAST_TO_VARCHAR2(raw), LENGTH(raw), CONCAT(raw, ...),
//     SUBSTR(raw, pos [, len]);
//   DBMS_UTILITY.GET_TIME (hundredths of a second);
//   DBMS_ASSERT.NOOP, ENQUOTE_LITERAL, ENQUOTE_NAME, SIMPLE_SQL_NAME.
// "PACKAGE.F" becomes "ORA$PACKAGE_F", with "()" added where the call had no arguments.
#ifndef KAVEXDB_FUNCTIONS_BUILTIN_PACKAGES_H
#define KAVEXDB_FUNCTIONS_BUILTIN_PACKAGES_H

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

void rewriteBuiltinPackageCalls(TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
