// The database's own user accounts. A database without accounts lets anyone in; once one
// exists, logging on needs a known name and its password. Passwords are kept only as salted
// Argon2 hashes (libsodium).
#ifndef KAVEXDB_ACCOUNTS_H
#define KAVEXDB_ACCOUNTS_H

#include <sqlite3.h>

#include <string>

namespace kavexdb {
namespace detail {

class AccountStore {
public:
    explicit AccountStore(sqlite3* db) : db_(db) {}

    // Reads only. ORA-01017 when accounts exist and the name or password does not match.
    void verifyLogon(const std::string& user, const std::string& password) const;
    // CREATE USER: ORA-01920 when the name is taken. Creates the table on first use.
    void create(const std::string& user, const std::string& password);
    // ALTER USER ... IDENTIFIED BY: ORA-01918 when unknown.
    void changePassword(const std::string& user, const std::string& password);
    // DROP USER: ORA-01918 when unknown.
    void drop(const std::string& user);

private:
    bool tableExists() const;
    sqlite3* db_;
};

}  // namespace detail
}  // namespace kavexdb

#endif
