#include "values/TextConversion.h"

std::string numberToText(occi::Number number, const std::string& format,
                         const occi::Environment* environment) {
    return number.toText(environment, format, "");
}

std::string dateToText(occi::Date date, const std::string& format) {
    return date.toText(format, "");
}

const std::string& timestampFormatText() {
    static const std::string* const text = new std::string(timestampFormat);  // never released
    return *text;
}

std::string timestampToText(occi::Timestamp timestamp, const std::string& format) {
    return timestamp.toText(format, 0, "");
}
