#include "SqlText.h"

#include <algorithm>
#include <cctype>

namespace kavexsql {

namespace {

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#' ||
           (static_cast<unsigned char>(c) & 0x80);
}

// The closing delimiter of a q-quote opened with c: brackets close with their partner, any other
// character with itself.
char qClose(char c) {
    switch (c) {
        case '[':
            return ']';
        case '{':
            return '}';
        case '(':
            return ')';
        case '<':
            return '>';
        default:
            return c;
    }
}

// Where a q-quote starts at i ("q'" or "nq'", any case), the index of its delimiter; 0 if none.
size_t qDelimiterAt(const std::string& sql, size_t i) {
    if (i > 0 && isNameChar(sql[i - 1])) return 0;
    size_t q = i;
    if (q < sql.size() && (sql[q] == 'n' || sql[q] == 'N')) ++q;
    if (q + 2 >= sql.size() || (sql[q] != 'q' && sql[q] != 'Q') || sql[q + 1] != '\'') return 0;
    char delimiter = sql[q + 2];
    if (std::isspace(static_cast<unsigned char>(delimiter))) return 0;
    return q + 2;
}

// Calls visit(begin, end) for every placeholder ":name" outside quotes and comments.
template <class Visit>
void forEachPlaceholder(const std::string& sql, Visit visit) {
    size_t i = 0;
    while (i < sql.size()) {
        Run run = runAt(sql, i);
        if (run.kind != Run::Kind::None) {
            i = run.end;
            continue;
        }
        // ":name", but not "::" or ":=" and not a colon inside a word.
        if (sql[i] == ':' && i + 1 < sql.size() && isNameChar(sql[i + 1]) &&
            (i == 0 || (!isNameChar(sql[i - 1]) && sql[i - 1] != ':'))) {
            size_t j = i + 1;
            while (j < sql.size() && isNameChar(sql[j])) ++j;
            visit(i + 1, j);
            i = j;
            continue;
        }
        ++i;
    }
}

}  // namespace

Run runAt(const std::string& sql, size_t i) {
    Run run;
    if (i >= sql.size()) return run;
    char c = sql[i];
    if (size_t d = qDelimiterAt(sql, i)) {
        run.kind = Run::Kind::QLiteral;
        const char close = qClose(sql[d]);
        for (size_t j = d + 1; j + 1 < sql.size(); ++j) {
            if (sql[j] == close && sql[j + 1] == '\'') {
                run.end = j + 2;
                run.closed = true;
                return run;
            }
        }
        run.end = sql.size();
        return run;
    }
    if (c == '\'' || c == '"') {
        run.kind = c == '\'' ? Run::Kind::Literal : Run::Kind::Identifier;
        size_t j = i + 1;
        while (j < sql.size()) {
            if (sql[j] == c) {
                if (j + 1 < sql.size() && sql[j + 1] == c) {
                    j += 2;  // doubled quote inside the run
                    continue;
                }
                run.end = j + 1;
                run.closed = true;
                return run;
            }
            ++j;
        }
        run.end = sql.size();
        return run;
    }
    if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
        run.kind = Run::Kind::LineComment;
        size_t end = sql.find('\n', i);
        run.end = end == std::string::npos ? sql.size() : end + 1;
        run.closed = true;  // the end of the text ends a line comment too
        return run;
    }
    if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
        run.kind = Run::Kind::BlockComment;
        size_t end = sql.find("*/", i + 2);
        run.closed = end != std::string::npos;
        run.end = run.closed ? end + 2 : sql.size();
        return run;
    }
    return run;
}

std::string standardLiterals(const std::string& sql) {
    std::string out;
    size_t i = 0;
    while (i < sql.size()) {
        Run run = runAt(sql, i);
        if (run.kind == Run::Kind::None) {
            out += sql[i++];
            continue;
        }
        if (run.kind != Run::Kind::QLiteral || !run.closed) {
            out.append(sql, i, run.end - i);
            i = run.end;
            continue;
        }
        size_t d = qDelimiterAt(sql, i);
        if (d - i == 3) out += sql[i];  // the N of nq'...'
        out += '\'';
        for (size_t j = d + 1; j + 2 < run.end; ++j) {
            out += sql[j];
            if (sql[j] == '\'') out += '\'';
        }
        out += '\'';
        i = run.end;
    }
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
        if (std::isspace(static_cast<unsigned char>(sql[i]))) {
            ++i;
            continue;
        }
        Run run = runAt(sql, i);
        if (run.kind == Run::Kind::LineComment || run.kind == Run::Kind::BlockComment) {
            i = run.end;
            continue;
        }
        break;
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
