#include "sqlite_util.h"

#include "detail.h"
#include "oracle_errors.h"

namespace kavexdb {
namespace detail {

void execSql(sqlite3* db, const char* sql) {
    int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

SqliteStmt prepareSql(sqlite3* db, const std::string& sql, const char** tail) {
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size() + 1), &raw, tail);
    SqliteStmt stmt(raw);
    if (rc != SQLITE_OK) raisePrepareFailure(db, rc, sql);
    return stmt;
}

std::string upperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace detail
}  // namespace kavexdb
