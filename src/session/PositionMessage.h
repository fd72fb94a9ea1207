// The operations' own failure messages that name a column or parameter position, e.g.
// "Cannot read 'int' type value from [3] column".
#ifndef KAVEX_SESSION_POSITIONMESSAGE_H
#define KAVEX_SESSION_POSITIONMESSAGE_H

#include <cstdint>
#include <string>

namespace core {

// prefix + index + "] column"
inline std::string columnMessage(const char* prefix, std::int32_t index) {
    return prefix + std::to_string(index) + "] column";
}

// prefix + index + "] parameter"
inline std::string parameterMessage(const char* prefix, std::int32_t index) {
    return prefix + std::to_string(index) + "] parameter";
}

}  // namespace core

#endif
