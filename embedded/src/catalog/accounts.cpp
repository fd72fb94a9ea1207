#include "catalog/accounts.h"

#include <sodium.h>

#include <mutex>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "sql/sqlite_errors.h"
#include "sql/sqlite_util.h"

namespace kavexdb {
namespace detail {

const char* const kAccountsTableName = "KAVEX$ACCOUNTS";

namespace {

// Qualified, so that no TEMP table of the same name can stand in for it.
const char* const kAccountsTable = "main.\"KAVEX$ACCOUNTS\"";

// Argon2id at these limits costs roughly 10 ms per logon: slow enough to make guessing
// expensive, fast enough for tests and short-lived sessions.
const unsigned long long kOpsLimit = 3;
const std::size_t kMemLimit = 1024 * 1024;

void ensureSodium() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (sodium_init() < 0) raise(ora::kRecursiveSqlError, "libsodium");
    });
}

std::string hashPassword(const std::string& password) {
    ensureSodium();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, password.data(), password.size(), kOpsLimit, kMemLimit) != 0)
        raise(ora::kPasswordHashMemory);
    return out;
}

bool passwordMatches(const std::string& hash, const std::string& password) {
    ensureSodium();
    return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

void bindText(sqlite3_stmt* stmt, int index, const std::string& text) {
    sqlite3_bind_text64(stmt, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

// Steps a statement that returns no rows; returns the number of rows it changed.
int run(sqlite3* db, sqlite3_stmt* stmt) {
    int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE) raiseSqlite(db, rc);
    return sqlite3_changes(db);
}

}  // namespace

bool AccountStore::tableExists() const {
    SqliteStmt stmt = prepareSql(
        db_, "SELECT 1 FROM main.sqlite_master WHERE type = 'table' AND name = 'KAVEX$ACCOUNTS'");
    int rc = sqlite3_step(stmt.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) raiseSqlite(db_, rc);
    return rc == SQLITE_ROW;
}

void AccountStore::verifyLogon(const std::string& user, const std::string& password) const {
    if (!tableExists()) return;
    SqliteStmt any = prepareSql(db_, std::string("SELECT 1 FROM ") + kAccountsTable + " LIMIT 1");
    int rc = sqlite3_step(any.get());
    if (rc == SQLITE_DONE) return;  // every account was dropped: open again
    if (rc != SQLITE_ROW) raiseSqlite(db_, rc);
    SqliteStmt stmt = prepareSql(
        db_, std::string("SELECT PASSWORD_HASH FROM ") + kAccountsTable + " WHERE USER_NAME = ?");
    bindText(stmt.get(), 1, upperAscii(user));
    rc = sqlite3_step(stmt.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) raiseSqlite(db_, rc);
    bool ok = false;
    if (rc == SQLITE_ROW) {
        const unsigned char* hash = sqlite3_column_text(stmt.get(), 0);
        ok = hash && passwordMatches(reinterpret_cast<const char*>(hash), password);
    }
    if (!ok) raise(ora::kLogonDenied);
}

std::string AccountStore::administrator() const {
    if (!tableExists()) return std::string();
    // Accounts get ever larger rowids while the first one lives, so it has the smallest.
    SqliteStmt stmt = prepareSql(
        db_, std::string("SELECT USER_NAME FROM ") + kAccountsTable + " ORDER BY rowid LIMIT 1");
    const int rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_DONE) return std::string();
    if (rc != SQLITE_ROW) raiseSqlite(db_, rc);
    const unsigned char* name = sqlite3_column_text(stmt.get(), 0);
    return name ? reinterpret_cast<const char*>(name) : std::string();
}

void AccountStore::requireAdministrator(const std::string& admin) const {
    if (!admin.empty() && admin != session_) raise(ora::kInsufficientPrivileges);
}

void AccountStore::create(const std::string& user, const std::string& password) {
    requireAdministrator(administrator());
    std::string name = upperAscii(user);
    std::string hash = hashPassword(password);
    execSql(db_, (std::string("CREATE TABLE IF NOT EXISTS ") + kAccountsTable +
                  "(USER_NAME TEXT PRIMARY KEY, PASSWORD_HASH TEXT NOT NULL)")
                     .c_str());
    SqliteStmt stmt = prepareSql(
        db_, std::string("INSERT OR IGNORE INTO ") + kAccountsTable + " VALUES (?, ?)");
    bindText(stmt.get(), 1, name);
    bindText(stmt.get(), 2, hash);
    if (run(db_, stmt.get()) == 0) raise(ora::kUserNameConflicts, name);
}

void AccountStore::changePassword(const std::string& user, const std::string& password) {
    std::string name = upperAscii(user);
    if (name != session_) requireAdministrator(administrator());
    if (!tableExists()) raise(ora::kUserDoesNotExist, name);
    std::string hash = hashPassword(password);
    SqliteStmt stmt = prepareSql(
        db_, std::string("UPDATE ") + kAccountsTable +
                 " SET PASSWORD_HASH = ? WHERE USER_NAME = ?");
    bindText(stmt.get(), 1, hash);
    bindText(stmt.get(), 2, name);
    if (run(db_, stmt.get()) == 0) raise(ora::kUserDoesNotExist, name);
}

void AccountStore::drop(const std::string& user) {
    std::string name = upperAscii(user);
    const std::string admin = administrator();
    requireAdministrator(admin);
    if (!tableExists()) raise(ora::kUserDoesNotExist, name);
    // The administrator leaves last: with others still there, nobody could manage them.
    if (name == admin) {
        SqliteStmt others = prepareSql(
            db_, std::string("SELECT 1 FROM ") + kAccountsTable + " WHERE USER_NAME <> ?");
        bindText(others.get(), 1, name);
        const int rc = sqlite3_step(others.get());
        if (rc == SQLITE_ROW) raise(ora::kUserConnected);
        if (rc != SQLITE_DONE) raiseSqlite(db_, rc);
    }
    SqliteStmt stmt = prepareSql(
        db_, std::string("DELETE FROM ") + kAccountsTable + " WHERE USER_NAME = ?");
    bindText(stmt.get(), 1, name);
    if (run(db_, stmt.get()) == 0) raise(ora::kUserDoesNotExist, name);
}

}  // namespace detail
}  // namespace kavexdb
