#include "SqlText.h"

#include <algorithm>
#include <cctype>

namespace kavexsql {

namespace {

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#' ||
           (static_cast<unsigned char>(c) & 0x80);
}

// Calls visit(begin, end) for every placeholder ":name" outside quotes and comments, but not
// for the ":" of "::" or a colon inside a word.
template <class Visit>
void forEachPlaceholder(const std::string& sql, Visit visit) {
    for (size_t i = 0; i < sql.size();) {
        const Lexeme lexeme = lexemeAt(sql, i);
        if (lexeme.kind == LexemeKind::Bind &&
            (i == 0 || (!isNameChar(sql[i - 1]) && sql[i - 1] != ':')))
            visit(i + 1, lexeme.end);
        i = lexeme.end;
    }
}

}  // namespace

std::string standardLiterals(const std::string& sql) {
    std::string out;
    for (const Lexeme& lexeme : kavexdb::lexer::scanSql(sql))
        out += kavexdb::lexer::tokenOf(sql, lexeme).text;
    return out;
}

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
    forEachPlaceholder(sql, [&](size_t begin, size_t end) {
        std::string name = upper(sql.substr(begin, end - begin));
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    });
    return names;
}

std::string upperPlaceholders(const std::string& sql) {
    std::string out = sql;
    forEachPlaceholder(sql, [&](size_t begin, size_t end) {
        for (size_t k = begin; k < end; ++k)
            out[k] = static_cast<char>(std::toupper(static_cast<unsigned char>(out[k])));
    });
    return out;
}

std::string withoutLeadingComments(const std::string& sql) {
    size_t i = 0;
    while (i < sql.size()) {
        const Lexeme lexeme = lexemeAt(sql, i);
        if (lexeme.kind != LexemeKind::Space && lexeme.kind != LexemeKind::Comment) break;
        i = lexeme.end;
    }
    return sql.substr(i);
}

std::string firstKeyword(const std::string& text) {
    const std::string sql = withoutLeadingComments(text);
    size_t j = 0;
    while (j < sql.size() && (std::isalpha(static_cast<unsigned char>(sql[j])) || sql[j] == '_'))
        ++j;
    return upper(sql.substr(0, j));
}

std::vector<std::string> leadingWords(const std::string& text, size_t count) {
    std::vector<std::string> out;
    size_t i = 0;
    while (out.size() < count && i < text.size()) {
        while (i < text.size() && !std::isalpha(static_cast<unsigned char>(text[i]))) ++i;
        size_t j = i;
        while (j < text.size() &&
               (std::isalnum(static_cast<unsigned char>(text[j])) || text[j] == '_'))
            ++j;
        if (j > i) out.push_back(upper(text.substr(i, j - i)));
        i = j;
    }
    return out;
}

}  // namespace kavexsql
