#include "sql/sqlite_util.h"

#include <cctype>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "sql/oracle_errors.h"
#include "sql/sqlite_errors.h"

namespace kavexdb {
namespace detail {

void execSql(sqlite3* db, const char* sql) {
    int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

bool onlyTerminators(const char* tail) {
    for (; tail && *tail; ++tail)
        if (!std::isspace(static_cast<unsigned char>(*tail)) && *tail != ';') return false;
    return true;
}

void runOnce(sqlite3* db, const std::string& sql) {
    const char* tail = nullptr;
    SqliteStmt stmt = prepareSql(db, sql, &tail);
    if (!onlyTerminators(tail)) raise(ora::kCommandNotProperlyEnded);
    if (!stmt) return;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) raiseSqlite(db, rc);
}

SqliteStmt prepareSql(sqlite3* db, const std::string& sql, const char** tail) {
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size() + 1), &raw, tail);
    SqliteStmt stmt(raw);
    if (rc != SQLITE_OK) raisePrepareFailure(db, rc, sql);
    return stmt;
}

bool tableExists(sqlite3* db, const char* name) {
    SqliteStmt s =
        prepareSql(db, "SELECT 1 FROM main.sqlite_master WHERE type = 'table' AND name = ?1");
    sqlite3_bind_text(s.get(), 1, name, -1, SQLITE_STATIC);
    return sqlite3_step(s.get()) == SQLITE_ROW;
}

std::string columnText(sqlite3_stmt* s, int i) {
    const unsigned char* t = sqlite3_column_text(s, i);
    return t ? std::string(reinterpret_cast<const char*>(t),
                           static_cast<std::size_t>(sqlite3_column_bytes(s, i)))
             : std::string();
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string upperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace detail
}  // namespace kavexdb
