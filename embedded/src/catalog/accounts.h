// The database's own user accounts. A database without accounts lets anyone in; once one
// exists, logging on needs a known name and its password. Passwords are kept only as salted
// Argon2 hashes (libsodium). The first account created is the administrator: only it creates,
// alters and drops other accounts; every account may change its own password. Sessions name
// themselves by their upper-case user name.
#ifndef KAVEXDB_ACCOUNTS_H
#define KAVEXDB_ACCOUNTS_H

#include <sqlite3.h>

#include <string>
#include <utility>

namespace kavexdb {
namespace detail {

extern const char* const kAccountsTableName;  // "KAVEX$ACCOUNTS", in the main schema

class AccountStore {
public:
    // session: the upper-case user name of the session that acts.
    AccountStore(sqlite3* db, std::string session) : db_(db), session_(std::move(session)) {}

    // Reads only. ORA-01017 when accounts exist and the name or password does not match.
    void verifyLogon(const std::string& user, const std::string& password) const;
    // CREATE USER: ORA-01031 for anyone but the administrator once accounts exist; ORA-01920
    // when the name is taken. Creates the table on first use.
    void create(const std::string& user, const std::string& password);
    // ALTER USER ... IDENTIFIED BY: the session's own account, or any as administrator
    // (ORA-01031 otherwise); ORA-01918 when unknown.
    void changePassword(const std::string& user, const std::string& password);
    // DROP USER: administrator only (ORA-01031); ORA-01918 when unknown; its own account only
    // when it is the last one (ORA-01940), after which the database is open to anyone again.
    void drop(const std::string& user);

private:
    bool tableExists() const;
    // The first account still present; "" when there is none.
    std::string administrator() const;
    void requireAdministrator(const std::string& admin) const;
    sqlite3* db_;
    std::string session_;
};

}  // namespace detail
}  // namespace kavexdb

#endif
