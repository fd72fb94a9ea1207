#include "session/Messages.h"

namespace kavex::messages {

std::string QuotingSql::with(const char* sql) const {
    std::string text(prefix);
    text += sql != nullptr ? sql : "";
    text += '\'';
    return text;
}

std::string NamingPosition::at(std::int32_t index) const {
    return prefix + std::to_string(index) + suffix;
}

std::string NamingPosition::atOrPrefix(std::int32_t index) const {
    try {
        return at(index);
    } catch (...) {
        return prefix;
    }
}

}  // namespace kavex::messages
