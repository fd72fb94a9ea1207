#include "Variables.h"

#include <cstdio>
#include <regex>

#include "DbError.h"
#include "SqlText.h"
#include "ValueReader.h"

namespace kavexsql {

std::string Variable::describe() const {
    switch (kind) {
        case Kind::Text:
            return "'" + text + "'";
        case Kind::Null:
            return "NULL";
        case Kind::Integer:
            return std::to_string(integer);
        case Kind::Double:
            return formatDouble(number);
        case Kind::Timestamp: {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer,
                          "TIMESTAMP '%04d-%02u-%02u %02u:%02u:%02u.%09u %+03d:%02d'",
                          timestamp.year, timestamp.month, timestamp.day, timestamp.hour,
                          timestamp.minute, timestamp.second, timestamp.fraction, timestamp.tzHour,
                          timestamp.tzMinute < 0 ? -timestamp.tzMinute : timestamp.tzMinute);
            return buffer;
        }
        case Kind::ClobFile:
            return "CLOB FILE '" + text + "'";
        case Kind::BlobFile:
            return "BLOB FILE '" + text + "'";
    }
    return "";
}

void Variables::set(const std::string& name, Variable value) {
    values_[upper(name)] = std::move(value);
}

bool Variables::unset(const std::string& name) { return values_.erase(upper(name)) > 0; }

const Variable* Variables::find(const std::string& name) const {
    auto it = values_.find(upper(name));
    return it == values_.end() ? nullptr : &it->second;
}

Timestamp parseTimestamp(const std::string& text) {
    static const std::regex pattern(
        R"(\s*(-?\d{1,4})-(\d{1,2})-(\d{1,2})(?:[ T](\d{1,2}):(\d{2})(?::(\d{2})(?:\.(\d{1,9}))?)?)?\s*(?:([+-])(\d{1,2}):(\d{2}))?\s*)");
    std::smatch m;
    if (!std::regex_match(text, m, pattern))
        throw UsageError("timestamp '" + text + "' is not YYYY-MM-DD HH:MI:SS[.FFFFFFFFF][+HH:MM]");
    auto number = [&](int group) { return m[group].matched ? std::stoi(m[group].str()) : 0; };
    Timestamp ts;
    ts.year = number(1);
    ts.month = static_cast<unsigned>(number(2));
    ts.day = static_cast<unsigned>(number(3));
    ts.hour = static_cast<unsigned>(number(4));
    ts.minute = static_cast<unsigned>(number(5));
    ts.second = static_cast<unsigned>(number(6));
    if (m[7].matched) {
        std::string digits = m[7].str();
        digits.resize(9, '0');
        ts.fraction = static_cast<unsigned>(std::stoul(digits));
    }
    if (m[8].matched) {
        int sign = m[8].str() == "-" ? -1 : 1;
        ts.tzHour = sign * number(9);
        ts.tzMinute = sign * number(10);
    }
    return ts;
}

}  // namespace kavexsql
