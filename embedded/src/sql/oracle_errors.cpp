#include "sql/oracle_errors.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/errors.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "sql/token_editor.h"
#include "sql/keywords.h"

namespace kavexdb {
namespace detail {

namespace {

bool startsWith(const std::string& s, const char* prefix) {
    return s.compare(0, std::strlen(prefix), prefix) == 0;
}

bool isStatementVerb(const Token& t) {
    if (hasRole(t, kStatementVerb)) return true;
    return false;
}

// A token after which an expression must follow.
bool expectsExpression(const TokenEditor& e, std::size_t i) {
    if (i >= e.size()) return true;
    const Token& t = e.at(i);
    if (t.kind == Token::Kind::Punct)
        return t.text != ")" && t.text != ";";  // operators, '(' and ','
    if (hasRole(t, kExpressionFollows)) return true;
    return false;
}

[[noreturn]] void syntaxError(sqlite3* db, const std::string& sql, const std::string& message) {
    TokenEditor e(lexSql(sql));
    const std::size_t first = e.next(0);
    if (first < e.size() && !isStatementVerb(e.at(first)) && !e.punct(first, '('))
        raise(900, "invalid SQL statement: " + message);
    // The token SQLite stopped at.
    const int offset = sqlite3_error_offset(db);
    std::size_t at = e.size();
    if (offset >= 0 && message.find("incomplete input") == std::string::npos) {
        std::size_t pos = 0;
        for (std::size_t i = 0; i < e.size(); pos += e.at(i).text.size(), ++i)
            if (pos + e.at(i).text.size() > static_cast<std::size_t>(offset)) {
                at = e.next(i);
                break;
            }
    }
    int depth = 0;
    bool inSelectList = false;
    for (std::size_t i = e.next(0); i < at && i < e.size(); i = e.next(i + 1)) {
        if (e.punct(i, '(')) ++depth;
        if (e.punct(i, ')')) --depth;
        if (depth == 0 && e.word(i, "SELECT")) inSelectList = true;
        if (depth == 0 && (e.word(i, "FROM") || e.word(i, "INTO"))) inSelectList = false;
    }
    const std::size_t prev = e.previous(at);
    if (e.word(prev, "FROM") || e.word(prev, "JOIN") || e.word(prev, "INTO") ||
        e.word(prev, "TABLE") || e.word(prev, "UPDATE"))
        raise(903, "invalid table name");
    if (expectsExpression(e, prev) && !e.punct(prev, '(')) raise(936, "missing expression");
    if (e.punct(prev, '(') && (at >= e.size() || e.punct(at, ')'))) raise(936, "missing expression");
    if (depth > 0) raise(907, "missing right parenthesis");
    if (at >= e.size()) raise(921, "unexpected end of SQL command");
    if (inSelectList) raise(923, "FROM keyword not found where expected");
    raise(933, "SQL command not properly ended");
}

long numberAfter(const std::string& s, const char* word) {
    const std::size_t at = s.find(word);
    if (at == std::string::npos) return -1;
    std::size_t i = at + std::strlen(word);
    while (i < s.size() && s[i] == ' ') ++i;
    return std::strtol(s.c_str() + i, nullptr, 10);
}

}  // namespace

void raisePrepareFailure(sqlite3* db, int rc, const std::string& sql) {
    const std::string message = sqlite3_errmsg(db);
    if ((rc & 0xff) == SQLITE_ERROR &&
        (message.find("syntax error") != std::string::npos ||
         message.find("incomplete input") != std::string::npos ||
         message.find("unrecognized token") != std::string::npos))
        syntaxError(db, sql, message);
    raiseSqlite(db, rc);
}

bool oracleErrorFor(const std::string& m, int& code, std::string& text) {
    auto set = [&](int c, const char* t) {
        code = c;
        text = t;
        return true;
    };
    if (startsWith(m, "wrong number of arguments to function") ||
        startsWith(m, "DISTINCT aggregates must have exactly one argument"))
        return set(909, "invalid number of arguments");
    if (startsWith(m, "ambiguous column name")) return set(918, "column ambiguously defined");
    if (startsWith(m, "table ") && m.find(" columns but ") != std::string::npos) {
        const long columns = numberAfter(m, " has "), values = numberAfter(m, " but ");
        return values < columns ? set(947, "not enough values") : set(913, "too many values");
    }
    if (m.find(" values for ") != std::string::npos && m.find(" columns") != std::string::npos) {
        const long values = std::strtol(m.c_str(), nullptr, 10);
        const long columns = numberAfter(m, " values for ");
        return values < columns ? set(947, "not enough values") : set(913, "too many values");
    }
    if (startsWith(m, "sub-select returns")) return set(913, "too many values");
    if (startsWith(m, "SELECTs to the left and right of"))
        return set(1789, "query block has incorrect number of result columns");
    if (startsWith(m, "duplicate column name")) return set(957, "duplicate column name");
    if (startsWith(m, "no such index")) return set(1418, "specified index does not exist");
    if (startsWith(m, "misuse of aggregate") || startsWith(m, "aggregate functions are not allowed"))
        return set(934, "group function is not allowed here");
    if (startsWith(m, "misuse of window function"))
        return set(30483, "window  functions are not allowed here");
    if (startsWith(m, "cannot modify") && m.find("because it is a view") != std::string::npos)
        return set(1732, "data manipulation operation not legal on this view");
    if (m.find("ORDER BY term out of range") != std::string::npos)
        return set(1785, "ORDER BY item must be the number of a SELECT-list expression");
    if (startsWith(m, "Cannot add a NOT NULL column"))
        return set(1758, "table must be empty to add mandatory (NOT NULL) column");
    if (startsWith(m, "no such savepoint"))
        return set(1086, "savepoint never established in this session or is invalid");
    return false;
}

}  // namespace detail
}  // namespace kavexdb
