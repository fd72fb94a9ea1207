// Text of NUMBER, DATE and TIMESTAMP values, rendered by OCCI with the format the library fixes.
// Callers test the value for null first: a null value is never converted.
#ifndef KAVEX_VALUES_TEXTCONVERSION_H
#define KAVEX_VALUES_TEXTCONVERSION_H

#include <string>

#include "occi/occi.h"

// Every TIMESTAMP value: the hour on the 24-hour clock (a 12-hour hour without a meridian
// indicator would turn afternoons into mornings), no fractional seconds, the time zone.
inline constexpr char timestampFormat[] = "yyyy-mm-dd hh24:mi:sstzh:tzm";
// The same as the string OCCI takes, made once rather than for every value.
const std::string& timestampFormatText();

std::string numberToText(occi::Number number, const std::string& format,
                         const occi::Environment* environment);
// An empty format gives OCCI's default date rendering.
std::string dateToText(occi::Date date, const std::string& format);
// Rendered without fractional seconds.
std::string timestampToText(occi::Timestamp timestamp, const std::string& format);

#endif
