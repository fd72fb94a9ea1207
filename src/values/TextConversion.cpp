#include "values/TextConversion.h"

namespace kavex {

std::string numberToText(occi::Number number, const std::string& format,
                         const occi::Environment* environment) {
    return number.toText(environment, format, "");
}

std::string dateToText(occi::Date date, const std::string& format) {
    return date.toText(format, "");
}

std::string timestampFormatWithFraction(unsigned int digits) {
    if (digits == 0) {
        return timestampFormat;
    }
    // Oracle's FF1 to FF9 name the digits; the precision passed with the value says the same.
    return "yyyy-mm-dd hh24:mi:ss.ff" + std::to_string(digits > 9 ? 9 : digits) + "tzh:tzm";
}

std::string timestampToText(occi::Timestamp timestamp, const std::string& format,
                            unsigned int fractionDigits) {
    return timestamp.toText(format, fractionDigits, "");
}

}  // namespace kavex
