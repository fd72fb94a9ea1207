// Plain ASCII text helpers the SQL and value code share.
#ifndef KAVEXDB_BASE_TEXT_H
#define KAVEXDB_BASE_TEXT_H

#include <string>

namespace kavexdb {
namespace detail {

// text with a-z in upper case; every other byte (UTF-8 included) unchanged.
inline std::string asciiUpper(std::string text) {
    for (char& ch : text)
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    return text;
}

}  // namespace detail
}  // namespace kavexdb

#endif
