// Oracle's TO_CHAR, TO_NUMBER and TO_DATE as SQL functions of a session.
#ifndef KAVEXDB_CONVERSION_FUNCTIONS_H
#define KAVEXDB_CONVERSION_FUNCTIONS_H

#include <sqlite3.h>

#include <string>

#include "base/errors.h"

namespace kavexdb {
namespace detail {

// TO_CHAR(number | date text [, model]), TO_NUMBER(text [, model]) and TO_DATE(text [, model]),
// the last giving the DATE storage text. Failures are the statement's error with the ORA text
// ("ORA-01722: invalid number", "ORA-01861: ...").
void registerConversionFunctions(sqlite3* db);

// A number as TO_CHAR gives it without a model: Oracle's minimal text, no zero before the point.
std::string plainNumberText(const occi::Number& n);

}  // namespace detail
}  // namespace kavexdb

#endif
