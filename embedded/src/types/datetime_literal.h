// Oracle's DATE '...' and TIMESTAMP '...' literals turned into the client's storage texts.
#ifndef KAVEXDB_DATETIME_LITERAL_H
#define KAVEXDB_DATETIME_LITERAL_H

#include <string>

namespace kavexdb {
namespace detail {

// 'YYYY-MM-DD' -> "YYYY-MM-DD 00:00:00".
std::string dateLiteralToStorage(const std::string& literal);
// 'YYYY-MM-DD HH24:MI:SS[.F...][ +HH:MM]' -> "YYYY-MM-DD HH24:MI:SS.FFFFFFFFF", with the zone
// appended as "+HH:MM" when the literal names one (UTC, GMT and Z are +00:00).
std::string timestampLiteralToStorage(const std::string& literal);
// Both throw the ORA error Oracle gives for the first field out of range, ORA-01861 when the
// text does not have the literal's shape.

}  // namespace detail
}  // namespace kavexdb

#endif
