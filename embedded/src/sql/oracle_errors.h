// Oracle's words for the mistakes users make in SQL, where SQLite has its own: the misspelt
// statement (ORA-00900 for an unknown verb, ORA-00933, 00936, 00907, 00923, 00921, 00903 as
// Oracle's parser tells them apart), and SQLite's messages for wrong argument counts, value
// counts, ambiguous columns and the like. What is not a user mistake stays ORA-00604.
#ifndef KAVEXDB_ORACLE_ERRORS_H
#define KAVEXDB_ORACLE_ERRORS_H

#include <sqlite3.h>

#include <string>

#include "base/ora_message.h"

namespace kavexdb {
namespace detail {

// SQLite could not prepare sql on db (rc): throws the Oracle error for it.
[[noreturn]] void raisePrepareFailure(sqlite3* db, int rc, const std::string& sql);

// Oracle's message for an SQLite error message about a user mistake; nullptr when none applies.
const OraMessage<0>* oracleErrorFor(const std::string& sqliteMessage);

}  // namespace detail
}  // namespace kavexdb

#endif
