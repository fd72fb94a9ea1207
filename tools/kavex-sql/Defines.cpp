#include "Defines.h"

#include <cctype>

#include "DbError.h"
#include "SqlText.h"

namespace kavexsql {

namespace {

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#';
}

}  // namespace

void Defines::set(const std::string& name, const std::string& value) {
    values_[upper(name)] = value;
}

bool Defines::unset(const std::string& name) { return values_.erase(upper(name)) > 0; }

const std::string* Defines::find(const std::string& name) const {
    auto it = values_.find(upper(name));
    return it == values_.end() ? nullptr : &it->second;
}

std::string Defines::substitute(const std::string& text) const {
    if (!enabled || text.find('&') == std::string::npos) return text;
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '&') {
            out += text[i++];
            continue;
        }
        size_t begin = i + 1;
        if (begin < text.size() && text[begin] == '&') ++begin;
        size_t end = begin;
        while (end < text.size() && isNameChar(text[end])) ++end;
        if (end == begin) {  // "&" alone, or "&&" before no name: plain text
            out.append(text, i, end - i);
            i = end;
            continue;
        }
        const std::string name = text.substr(begin, end - begin);
        const std::string* value = find(name);
        if (!value)
            throw UsageError("substitution variable &" + name + " is not defined (DEFINE " +
                             upper(name) + " = value, or SET DEFINE OFF for a plain \"&\")");
        out += *value;
        i = end < text.size() && text[end] == '.' ? end + 1 : end;
    }
    return out;
}

}  // namespace kavexsql
