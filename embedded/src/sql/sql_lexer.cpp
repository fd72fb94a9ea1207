#include "sql/sql_lexer.h"

#include <cctype>

#include "base/errors.h"
#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {

std::vector<Token> lexSql(const std::string& sql) {
    const std::vector<lexer::Lexeme> lexemes = lexer::scanSql(sql);
    std::vector<Token> tokens;
    tokens.reserve(lexemes.size());
    for (const lexer::Lexeme& lexeme : lexemes) {
        if (!lexeme.closed && lexeme.kind == Token::Kind::String)
            raise(ora::kUnterminatedString);
        if (!lexeme.closed && lexeme.kind == Token::Kind::QuotedIdent)
            raise(ora::kMissingDoubleQuote);
        tokens.push_back(lexer::tokenOf(sql, lexeme));
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

std::string literalContent(const Token& t) {
    std::string body;
    for (std::size_t i = 1; i + 1 < t.text.size(); ++i) {
        body += t.text[i];
        if (t.text[i] == '\'') ++i;
    }
    return body;
}
std::string sqlIdentifier(const std::string& name) {
    bool plain = !name.empty() && name[0] >= 'A' && name[0] <= 'Z';
    for (char c : name)
        plain = plain && ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                          c == '$' || c == '#');
    return plain ? name : sqlQuotedIdentifier(name);
}

std::string sqlQuotedIdentifier(const std::string& name) {
    std::string out(1, '"');
    for (char c : name) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + '"';
}

}  // namespace detail
}  // namespace kavexdb
