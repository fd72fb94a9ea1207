#include "sql/oracle_errors.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/errors.h"
#include "base/ora_messages.h"
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
    return hasRole(t, kStatementVerb);
}

// A token after which an expression must follow. A '*' that stands for all columns (after
// SELECT, DISTINCT, a ',' or "t.") is a whole select item.
bool expectsExpression(const TokenEditor& e, std::size_t i) {
    if (i >= e.size()) return true;
    const Token& t = e.at(i);
    if (t.isPunct('*')) {
        const std::size_t before = e.previous(i);
        if (e.word(before, "SELECT") || e.word(before, "DISTINCT") || e.word(before, "ALL") ||
            e.word(before, "UNIQUE") || e.punct(before, ',') || e.punct(before, '.'))
            return false;
    }
    if (t.kind == Token::Kind::Punct)
        return t.text != ")" && t.text != ";";  // operators, '(' and ','
    return hasRole(t, kExpressionFollows);
}

[[noreturn]] void syntaxError(sqlite3* db, const std::string& sql, const std::string& message) {
    TokenEditor e(lexSql(sql));
    const std::size_t first = e.next(0);
    if (first < e.size() && !isStatementVerb(e.at(first)) && !e.punct(first, '('))
        raise(ora::kInvalidSqlStatementBecause, message);
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
        raise(ora::kInvalidTableName);
    if (expectsExpression(e, prev) && !e.punct(prev, '(')) raise(ora::kMissingExpression);
    if (e.punct(prev, '(') && (at >= e.size() || e.punct(at, ')'))) raise(ora::kMissingExpression);
    if (depth > 0) raise(ora::kMissingRightParenthesis);
    if (at >= e.size()) raise(ora::kUnexpectedEndOfCommand);
    if (inSelectList) raise(ora::kFromKeywordNotFound);
    raise(ora::kCommandNotProperlyEnded);
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

const OraMessage<0>* oracleErrorFor(const std::string& m) {
    if (startsWith(m, "wrong number of arguments to function") ||
        startsWith(m, "DISTINCT aggregates must have exactly one argument"))
        return &ora::kInvalidArgumentCount;
    if (startsWith(m, "ambiguous column name")) return &ora::kColumnAmbiguous;
    if (startsWith(m, "table ") && m.find(" columns but ") != std::string::npos) {
        const long columns = numberAfter(m, " has "), values = numberAfter(m, " but ");
        return values < columns ? &ora::kNotEnoughValues : &ora::kTooManyValues;
    }
    if (m.find(" values for ") != std::string::npos && m.find(" columns") != std::string::npos) {
        const long values = std::strtol(m.c_str(), nullptr, 10);
        const long columns = numberAfter(m, " values for ");
        return values < columns ? &ora::kNotEnoughValues : &ora::kTooManyValues;
    }
    if (startsWith(m, "sub-select returns")) return &ora::kTooManyValues;
    if (startsWith(m, "SELECTs to the left and right of")) return &ora::kResultColumnCountDiffers;
    if (startsWith(m, "duplicate column name")) return &ora::kDuplicateColumnName;
    if (startsWith(m, "no such index")) return &ora::kIndexDoesNotExist;
    if (startsWith(m, "misuse of aggregate") || startsWith(m, "aggregate functions are not allowed"))
        return &ora::kGroupFunctionNotAllowed;
    if (startsWith(m, "misuse of window function")) return &ora::kWindowFunctionNotAllowed;
    if (startsWith(m, "cannot modify") && m.find("because it is a view") != std::string::npos)
        return &ora::kDmlOnView;
    if (m.find("ORDER BY term out of range") != std::string::npos)
        return &ora::kOrderByItemNotInSelectList;
    if (startsWith(m, "Cannot add a NOT NULL column")) return &ora::kNotNullColumnOnFilledTable;
    if (startsWith(m, "no such savepoint")) return &ora::kSavepointNotEstablished;
    return nullptr;
}

}  // namespace detail
}  // namespace kavexdb
