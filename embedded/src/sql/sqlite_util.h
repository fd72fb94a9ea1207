// Small RAII owners of SQLite handles and the few helpers every part of the client uses.
#ifndef KAVEXDB_SQLITE_UTIL_H
#define KAVEXDB_SQLITE_UTIL_H

#include <sqlite3.h>

#include <memory>
#include <string>

namespace kavexdb {
namespace detail {

struct SqliteCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using SqliteDb = std::unique_ptr<sqlite3, SqliteCloser>;

struct SqliteFinalizer {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using SqliteStmt = std::unique_ptr<sqlite3_stmt, SqliteFinalizer>;

// One of sqlite3_db_config's on/off settings (SQLITE_DBCONFIG_...) set to value while it lives,
// then back to what it was.
class DbConfigScope {
  public:
    DbConfigScope(sqlite3* db, int option, int value) : db_(db), option_(option) {
        sqlite3_db_config(db_, option_, -1, &old_);
        sqlite3_db_config(db_, option_, value, nullptr);
    }
    ~DbConfigScope() { sqlite3_db_config(db_, option_, old_, nullptr); }
    DbConfigScope(const DbConfigScope&) = delete;
    DbConfigScope& operator=(const DbConfigScope&) = delete;

  private:
    sqlite3* db_;
    int option_;
    int old_ = 0;
};

// Runs SQL that returns no rows; an SQLite failure becomes the mapped Oracle error.
void execSql(sqlite3* db, const char* sql);
// Prepares one statement; tail receives what follows it in sql when not null.
SqliteStmt prepareSql(sqlite3* db, const std::string& sql, const char** tail = nullptr);
// Whether the text after a statement holds only blanks and semicolons.
bool onlyTerminators(const char* tail);
// Runs one statement that returns no rows (DDL and catalog maintenance); ORA-00933 when sql
// holds more than one.
void runOnce(sqlite3* db, const std::string& sql);
std::string upperAscii(std::string text);
// Whether the main database has a table of that name (as SQLite keeps it).
bool tableExists(sqlite3* db, const char* name);
// A result column as text; "" for NULL.
std::string columnText(sqlite3_stmt* s, int i);
// text without leading and trailing blanks, tabs and line ends.
std::string trimmed(const std::string& text);

}  // namespace detail
}  // namespace kavexdb

#endif
