// Oracle's TO_CHAR, TO_NUMBER and TO_DATE as SQL functions of a session.
#ifndef KAVEXDB_CONVERSION_FUNCTIONS_H
#define KAVEXDB_CONVERSION_FUNCTIONS_H

#include <sqlite3.h>

#include <string>

#include "base/errors.h"

namespace kavexdb {
namespace detail {


// A number as TO_CHAR gives it without a model: Oracle's minimal text, no zero before the point.
std::string plainNumberText(const occi::Number& n);

}  // namespace detail
}  // namespace kavexdb

#endif
