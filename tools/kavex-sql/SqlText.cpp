#include "SqlText.h"

#include <algorithm>
#include <cctype>

namespace kavexsql {

namespace {

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#' ||
           (static_cast<unsigned char>(c) & 0x80);
}

// Skips a quoted run or comment starting at i; returns the index after it, or i when none starts.
size_t skipQuotedOrComment(const std::string& sql, size_t i) {
    char c = sql[i];
    if (c == '\'' || c == '"') {
        size_t j = i + 1;
        while (j < sql.size()) {
            if (sql[j] == c) {
                if (j + 1 < sql.size() && sql[j + 1] == c) {
                    j += 2;  // doubled quote inside the run
                    continue;
                }
                return j + 1;
            }
            ++j;
        }
        return sql.size();
    }
    if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
        size_t end = sql.find('\n', i);
        return end == std::string::npos ? sql.size() : end + 1;
    }
    if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
        size_t end = sql.find("*/", i + 2);
        return end == std::string::npos ? sql.size() : end + 2;
    }
    return i;
}

}  // namespace

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string trim(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return "";
    size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

std::vector<std::string> placeholders(const std::string& sql) {
    std::vector<std::string> names;
    size_t i = 0;
    while (i < sql.size()) {
        size_t skipped = skipQuotedOrComment(sql, i);
        if (skipped != i) {
            i = skipped;
            continue;
        }
        // ":name", but not "::" or ":=" and not a colon inside a word.
        if (sql[i] == ':' && i + 1 < sql.size() && isNameChar(sql[i + 1]) &&
            (i == 0 || (!isNameChar(sql[i - 1]) && sql[i - 1] != ':'))) {
            size_t j = i + 1;
            while (j < sql.size() && isNameChar(sql[j])) ++j;
            std::string name = upper(sql.substr(i + 1, j - i - 1));
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
            i = j;
            continue;
        }
        ++i;
    }
    return names;
}

std::string withoutLeadingComments(const std::string& sql) {
    size_t i = 0;
    while (i < sql.size()) {
        if (std::isspace(static_cast<unsigned char>(sql[i]))) {
            ++i;
            continue;
        }
        size_t skipped = skipQuotedOrComment(sql, i);
        if (skipped != i && sql[i] != '\'' && sql[i] != '"') {
            i = skipped;
            continue;
        }
        break;
    }
    return sql.substr(i);
}

std::string firstKeyword(const std::string& text) {
    const std::string sql = withoutLeadingComments(text);
    size_t i = 0;
    size_t j = i;
    while (j < sql.size() && (std::isalpha(static_cast<unsigned char>(sql[j])) || sql[j] == '_'))
        ++j;
    return upper(sql.substr(i, j - i));
}

}  // namespace kavexsql
