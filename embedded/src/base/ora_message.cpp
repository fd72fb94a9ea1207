// Filling an ORA message's placeholders.
#include "base/ora_message.h"

namespace kavexdb {
namespace detail {

std::string fillPlaceholders(const char* text, std::initializer_list<std::string> args) {
    std::string out;
    auto next = args.begin();
    for (; *text != '\0'; ++text) {
        if (text[0] == '{' && text[1] == '}' && next != args.end()) {
            out += *next++;
            ++text;
        } else {
            out += *text;
        }
    }
    return out;
}

}  // namespace detail
}  // namespace kavexdb
