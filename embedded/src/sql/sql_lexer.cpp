#include "sql/sql_lexer.h"

#include <cctype>

#include "base/errors.h"
#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {

namespace {

bool isWordStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool isWordChar(unsigned char c) {
    return isWordStart(c) || std::isdigit(c) || c == '$' || c == '#';
}

// Index just past a literal opened by quote at `start`; a doubled quote stands for itself.
// Returns npos when the literal never closes.
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

}  // namespace

bool Token::isWord(const char* upperWord) const {
    if (kind != Kind::Word) return false;
    std::size_t i = 0;
    for (; i < text.size() && upperWord[i]; ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != upperWord[i]) return false;
    return i == text.size() && upperWord[i] == '\0';
}

std::vector<Token> lexSql(const std::string& sql) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    const std::size_t n = sql.size();
    auto push = [&](Token::Kind kind, std::size_t end) {
        tokens.push_back(Token{kind, sql.substr(i, end - i)});
        i = end;
    };
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(sql[i]);
        std::size_t j = i + 1;
        if (std::isspace(c)) {
            while (j < n && std::isspace(static_cast<unsigned char>(sql[j]))) ++j;
            push(Token::Kind::Space, j);
        } else if (c == '-' && j < n && sql[j] == '-') {
            while (j < n && sql[j] != '\n') ++j;
            push(Token::Kind::Comment, j);
        } else if (c == '/' && j < n && sql[j] == '*') {
            const std::size_t close = sql.find("*/", j + 1);
            push(Token::Kind::Comment, close == std::string::npos ? n : close + 2);
        } else if (c == '\'') {
            const std::size_t end = closingQuote(sql, i, '\'');
            if (end == std::string::npos) raise(ora::kUnterminatedString);
            push(Token::Kind::String, end);
        } else if (c == '"' || c == '`') {
            const std::size_t end = closingQuote(sql, i, static_cast<char>(c));
            if (end == std::string::npos) raise(ora::kMissingDoubleQuote);
            push(Token::Kind::QuotedIdent, end);
        } else if (c == ':' && j < n && isWordChar(static_cast<unsigned char>(sql[j]))) {
            while (j < n && isWordChar(static_cast<unsigned char>(sql[j]))) ++j;
            push(Token::Kind::Bind, j);
        } else if (std::isdigit(c) ||
                   (c == '.' && j < n && std::isdigit(static_cast<unsigned char>(sql[j])))) {
            while (j < n && (std::isdigit(static_cast<unsigned char>(sql[j])) || sql[j] == '.'))
                ++j;
            if (j < n && (sql[j] == 'e' || sql[j] == 'E')) {
                std::size_t k = j + 1;
                if (k < n && (sql[k] == '+' || sql[k] == '-')) ++k;
                if (k < n && std::isdigit(static_cast<unsigned char>(sql[k]))) {
                    j = k;
                    while (j < n && std::isdigit(static_cast<unsigned char>(sql[j]))) ++j;
                }
            }
            push(Token::Kind::Number, j);
        } else if (isWordStart(c)) {
            while (j < n && isWordChar(static_cast<unsigned char>(sql[j]))) ++j;
            push(Token::Kind::Word, j);
        } else {
            push(Token::Kind::Punct, j);
        }
    }
    return tokens;
}

std::string joinTokens(const std::vector<Token>& tokens) {
    std::string out;
    for (const Token& t : tokens) out += t.text;
    return out;
}

std::string identifierName(const Token& token) {
    if (token.kind != Token::Kind::QuotedIdent) return asciiUpper(token.text);
    const char quote = token.text[0];
    std::string name;
    for (std::size_t i = 1; i + 1 < token.text.size(); ++i) {
        name += token.text[i];
        if (token.text[i] == quote) ++i;  // a doubled quote stands for one
    }
    return name;
}

std::string upperOutsideQuotes(const std::string& text) {
    std::vector<Token> tokens;
    try {
        tokens = lexSql(text);
    } catch (const occi::SQLException&) {
        return asciiUpper(text);
    }
    std::string out;
    for (const Token& t : tokens) {
        const bool quoted = t.kind == Token::Kind::String || t.kind == Token::Kind::QuotedIdent;
        out += quoted ? t.text : asciiUpper(t.text);
    }
    return out;
}

namespace {

std::string quoted(const std::string& text, char quote) {
    std::string out(1, quote);
    for (char c : text) {
        out += c;
        if (c == quote) out += quote;
    }
    return out + quote;
}

}  // namespace

std::string sqlStringLiteral(const std::string& text) { return quoted(text, '\''); }

std::string literalContent(const Token& t) {
    std::string body;
    for (std::size_t i = 1; i + 1 < t.text.size(); ++i) {
        body += t.text[i];
        if (t.text[i] == '\'') ++i;
    }
    return body;
}
std::string sqlQuotedIdentifier(const std::string& name) { return quoted(name, '"'); }

}  // namespace detail
}  // namespace kavexdb
