// Plain ASCII text helpers the SQL and value code share.
#ifndef KAVEXDB_BASE_TEXT_H
#define KAVEXDB_BASE_TEXT_H

#include <cstdio>
#include <string>

namespace kavexdb {
namespace detail {

// text as a JSON string: quoted, with '"' and '\' escaped and control characters as \u00XX.
inline std::string jsonText(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// text with a-z in upper case; every other byte (UTF-8 included) unchanged.
inline std::string asciiUpper(std::string text) {
    for (char& ch : text)
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    return text;
}

}  // namespace detail
}  // namespace kavexdb

#endif
