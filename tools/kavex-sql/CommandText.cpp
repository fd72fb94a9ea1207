#include "CommandText.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "DbError.h"
#include "SqlText.h"

namespace kavexsql {

std::pair<std::string, std::string> splitWord(const std::string& text) {
    std::string t = trim(text);
    size_t end = 0;
    while (end < t.size() && !std::isspace(static_cast<unsigned char>(t[end]))) ++end;
    return {t.substr(0, end), trim(t.substr(end))};
}

std::string unquote(const std::string& text) {
    if (text.size() >= 2 && (text.front() == '\'' || text.front() == '"') &&
        text.back() == text.front()) {
        const char quote = text.front();
        std::string out;
        for (size_t i = 1; i + 1 < text.size(); ++i) {
            out += text[i];
            if (text[i] == quote && text[i + 1] == quote) ++i;
        }
        return out;
    }
    return text;
}

std::string stripSemicolon(std::string text) {
    text = trim(text);
    while (!text.empty() && text.back() == ';') text = trim(text.substr(0, text.size() - 1));
    return text;
}

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        if (std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        std::string word;
        if (text[i] == '\'' || text[i] == '"') {
            const char quote = text[i++];
            while (i < text.size() && text[i] != quote) word += text[i++];
            ++i;
        } else {
            while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])))
                word += text[i++];
        }
        out.push_back(word);
    }
    return out;
}

bool abbreviates(const std::string& word, const std::string& full, size_t shortest) {
    const std::string w = upper(word);
    return w.size() >= shortest && w.size() <= full.size() && full.compare(0, w.size(), w) == 0;
}

long boundedNumber(const std::string& text, long low, long high, const std::string& what) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || value < low || value > high)
        throw UsageError(what + " needs a number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not '" + text + "'");
    return value;
}

}  // namespace kavexsql
