// Text of NUMBER, DATE and TIMESTAMP values, rendered by OCCI with the format the library fixes.
// Callers test the value for null first: a null value is never converted.
#ifndef KAVEX_VALUES_TEXTCONVERSION_H
#define KAVEX_VALUES_TEXTCONVERSION_H

#include <string>

#include "occi/occi.h"

namespace kavex {

// Every DATE value: the century and the time of day (every DATE carries one), the hour on the
// 24-hour clock.
inline constexpr char dateFormat[] = "yyyy-mm-dd hh24:mi:ss";
// A TIMESTAMP value without fractional seconds (TIMESTAMP(0)): as a DATE, then the time zone.
// A 12-hour hour without a meridian indicator would turn afternoons into mornings.
inline constexpr char timestampFormat[] = "yyyy-mm-dd hh24:mi:sstzh:tzm";
// The format of a TIMESTAMP with `digits` (1 to 9) of fractional seconds: exactly that many
// digits after the seconds, then the time zone; timestampFormat for 0 digits.
std::string timestampFormatWithFraction(unsigned int digits);

std::string numberToText(occi::Number number, const std::string& format,
                         const occi::Environment* environment);
// An empty format gives OCCI's default date rendering.
std::string dateToText(occi::Date date, const std::string& format);
// `fractionDigits` is the fractional-second precision the format's fraction is rendered with.
std::string timestampToText(occi::Timestamp timestamp, const std::string& format,
                            unsigned int fractionDigits);
// The same texts appended to `out`, so that a caller can reuse its buffer from value to value.
void appendDateText(const occi::Date& date, const std::string& format, std::string& out);
void appendTimestampText(const occi::Timestamp& timestamp, const std::string& format,
                         unsigned int fractionDigits, std::string& out);

}  // namespace kavex

#endif
