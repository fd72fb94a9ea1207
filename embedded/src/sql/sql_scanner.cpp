#include "sql/sql_scanner.h"

#include <cctype>

namespace kavexdb {
namespace lexer {

namespace {

bool isWordStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool isWordChar(unsigned char c) {
    return isWordStart(c) || std::isdigit(c) || c == '$' || c == '#';
}
bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Bytes in the UTF-8 character whose first byte is c (1 for a byte that starts none).
std::size_t utf8Length(unsigned char c) {
    if (c >= 0xF0 && c < 0xF8) return 4;
    if (c >= 0xE0) return c < 0xF0 ? 3 : 1;
    if (c >= 0xC0) return 2;
    return 1;
}

// Where "q'" or "Q'" at `at` opens a q-quoted literal, the length in bytes of its delimiter, the
// character after the quote; 0 when it opens none. The delimiter may be any character but a
// space, a tab or a line break.
std::size_t qDelimiterLength(const std::string& sql, std::size_t at) {
    if (at + 2 >= sql.size() || (sql[at] != 'q' && sql[at] != 'Q') || sql[at + 1] != '\'') return 0;
    const char d = sql[at + 2];
    if (d == ' ' || d == '\t' || d == '\n' || d == '\r') return 0;
    const std::size_t length = utf8Length(static_cast<unsigned char>(d));
    return at + 2 + length <= sql.size() ? length : 1;
}

// The delimiter that closes a q-quote opened with `open`: the partner of [ { < (, else the same
// character.
std::string qClosing(const std::string& open) {
    if (open == "[") return "]";
    if (open == "{") return "}";
    if (open == "<") return ">";
    if (open == "(") return ")";
    return open;
}

// Index just past a literal or identifier opened by quote at `start`; a doubled quote stands
// for itself. npos when it never closes.
std::size_t closingQuote(const std::string& sql, std::size_t start, char quote) {
    for (std::size_t i = start + 1; i < sql.size(); ++i) {
        if (sql[i] != quote) continue;
        if (i + 1 < sql.size() && sql[i + 1] == quote) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return std::string::npos;
}

Lexeme upTo(Token::Kind kind, std::size_t begin, std::size_t end, const std::string& sql) {
    if (end == std::string::npos) return Lexeme{kind, begin, sql.size(), false};
    return Lexeme{kind, begin, end, true};
}

Lexeme qQuoted(const std::string& sql, std::size_t at, std::size_t delimiterLength) {
    const std::size_t body = at + 2 + delimiterLength;
    const std::string closing = qClosing(sql.substr(at + 2, delimiterLength)) + "'";
    const std::size_t close = sql.find(closing, body);
    return upTo(Token::Kind::String, at,
                close == std::string::npos ? close : close + closing.size(), sql);
}

Lexeme number(const std::string& sql, std::size_t at) {
    const std::size_t n = sql.size();
    // One decimal point at most, and none that begins PL/SQL's range operator (1..10).
    bool point = sql[at] == '.';
    std::size_t j = at + 1;
    for (; j < n; ++j) {
        if (sql[j] == '.' && !point && !(j + 1 < n && sql[j + 1] == '.'))
            point = true;
        else if (!isDigit(sql[j]))
            break;
    }
    if (j < n && (sql[j] == 'e' || sql[j] == 'E')) {
        std::size_t k = j + 1;
        if (k < n && (sql[k] == '+' || sql[k] == '-')) ++k;
        if (k < n && isDigit(sql[k])) {
            j = k;
            while (j < n && isDigit(sql[j])) ++j;
        }
    }
    // A BINARY_FLOAT or BINARY_DOUBLE literal's suffix (2.5f, 1e3D), unless it begins a word
    // (3from is 3 FROM).
    if (j < n && (sql[j] == 'f' || sql[j] == 'F' || sql[j] == 'd' || sql[j] == 'D') &&
        !(j + 1 < n && (std::isalnum(static_cast<unsigned char>(sql[j + 1])) || sql[j + 1] == '_' ||
                        sql[j + 1] == '$' || sql[j + 1] == '#')))
        ++j;
    return Lexeme{Token::Kind::Number, at, j};
}

}  // namespace

bool Token::isWord(const char* upperWord) const {
    if (kind != Kind::Word) return false;
    // ASCII case folding (what the C locale's toupper does, without its call per character).
    std::size_t i = 0;
    for (; i < text.size() && upperWord[i]; ++i) {
        const char c = text[i];
        if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != upperWord[i])
            return false;
    }
    return i == text.size() && upperWord[i] == '\0';
}

Lexeme lexemeAt(const std::string& sql, std::size_t at) {
    const std::size_t n = sql.size();
    const unsigned char c = static_cast<unsigned char>(sql[at]);
    const char next = at + 1 < n ? sql[at + 1] : '\0';
    std::size_t j = at + 1;
    if (std::isspace(c)) {
        while (j < n && std::isspace(static_cast<unsigned char>(sql[j]))) ++j;
        return Lexeme{Token::Kind::Space, at, j};
    }
    if (c == '-' && next == '-') {
        const std::size_t eol = sql.find('\n', at);
        return Lexeme{Token::Kind::Comment, at, eol == std::string::npos ? n : eol};
    }
    if (c == '/' && next == '*') {
        const std::size_t close = sql.find("*/", at + 2);
        return upTo(Token::Kind::Comment, at, close == std::string::npos ? close : close + 2, sql);
    }
    if (c == '\'') return upTo(Token::Kind::String, at, closingQuote(sql, at, '\''), sql);
    if (c == '"') return upTo(Token::Kind::QuotedIdent, at, closingQuote(sql, at, '"'), sql);
    if (std::size_t d = qDelimiterLength(sql, at)) return qQuoted(sql, at, d);
    if ((c == 'n' || c == 'N') && qDelimiterLength(sql, at + 1) != 0)
        return Lexeme{Token::Kind::Word, at, at + 1};  // the N of nq'...'
    if (c == ':' && isWordChar(static_cast<unsigned char>(next))) {
        while (j < n && isWordChar(static_cast<unsigned char>(sql[j]))) ++j;
        return Lexeme{Token::Kind::Bind, at, j};
    }
    if (std::isdigit(c) || (c == '.' && isDigit(next))) return number(sql, at);
    if (isWordStart(c)) {
        while (j < n && isWordChar(static_cast<unsigned char>(sql[j]))) ++j;
        return Lexeme{Token::Kind::Word, at, j};
    }
    return Lexeme{Token::Kind::Punct, at, j};
}

std::vector<Lexeme> scanSql(const std::string& sql) {
    std::vector<Lexeme> lexemes;
    lexemes.reserve(sql.size() / 4 + 8);  // SQL text averages a lexeme in fewer than 4 bytes
    for (std::size_t at = 0; at < sql.size(); at = lexemes.back().end)
        lexemes.push_back(lexemeAt(sql, at));
    return lexemes;
}

Token tokenOf(const std::string& sql, const Lexeme& lexeme) {
    const std::size_t delimiter = lexeme.kind == Token::Kind::String && lexeme.closed
                                      ? qDelimiterLength(sql, lexeme.begin)
                                      : 0;
    if (delimiter == 0)
        return Token{lexeme.kind, sql.substr(lexeme.begin, lexeme.end - lexeme.begin)};
    const std::size_t body = lexeme.begin + 2 + delimiter;
    const std::size_t bodyEnd = lexeme.end - 1 - delimiter;
    return Token{Token::Kind::String, sqlStringLiteral(sql.substr(body, bodyEnd - body))};
}

std::string sqlStringLiteral(const std::string& text) {
    std::string out(1, '\'');
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + '\'';
}

}  // namespace lexer
}  // namespace kavexdb
