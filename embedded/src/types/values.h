// Conversions between the value classes (Number, Date, Timestamp, Bytes) and what SQLite stores.
#ifndef KAVEXDB_TYPES_VALUES_H
#define KAVEXDB_TYPES_VALUES_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "kavexdb/occi.h"

namespace kavexdb {
namespace detail {

namespace occi = oracle::occi;

// ---- Values (number.cpp, datetime.cpp, format_model.cpp, bytes.cpp) --------------------------
occi::Number numberFromInt64(std::int64_t v);
occi::Number numberFromDouble(double v);          // shortest round-trip decimal form
occi::Number numberFromText(const std::string& text);  // ORA-01722 when not a number
// Plain decimal text without exponent where reasonable ("123.45", "-0.5", "1E+40" beyond).
std::string numberToPlainText(const occi::Number& n);
bool numberToInt64(const occi::Number& n, std::int64_t& out);  // false when not integral/too big
double numberToDouble(const occi::Number& n);
// A double rounded to the nearest BINARY_FLOAT (single precision), infinite beyond its range.
double singlePrecision(double d);
// Number text read as a BINARY_DOUBLE: the whole double range, beyond NUMBER's, and the words
// INF, INFINITY (signed) and NAN; ORA-01722 when none of these.
double binaryFromText(const std::string& text);

// Storage texts: DATE "YYYY-MM-DD HH24:MI:SS"; TIMESTAMP "YYYY-MM-DD HH24:MI:SS.FFFFFFFFF";
// with time zone "... .FFFFFFFFF+HH:MM". Parsing accepts a date alone, missing fraction, and
// fewer fraction digits; anything else throws ORA-01861.
occi::Date dateFromText(const std::string& text);
std::string dateToStorage(const occi::Date& d);
occi::Timestamp timestampFromText(const std::string& text);
std::string timestampToStorage(const occi::Timestamp& t, bool withTimeZone);

occi::Bytes bytesFrom(const void* data, std::size_t size);

}  // namespace detail
}  // namespace kavexdb

#endif
