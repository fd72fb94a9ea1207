// SQL*Plus's logon text, user[/password][@connect], as CONNECT and the command line take it. A
// password in double quotes may hold "/" and "@"; without "/" there is no password (it is asked
// for), without "@" no connect string (the current one is kept).
#ifndef KAVEXSQL_LOGON_H
#define KAVEXSQL_LOGON_H

#include <optional>
#include <string>

namespace kavexsql {

struct Logon {
    std::string user;
    std::optional<std::string> password;
    std::optional<std::string> connect;
};

// Throws UsageError naming what is missing (what: the command, for the message).
Logon parseLogon(const std::string& text, const std::string& what);

}  // namespace kavexsql

#endif
