// Asks for the password on the controlling terminal with echo off.
#ifndef KAVEXSQL_PASSWORD_H
#define KAVEXSQL_PASSWORD_H

#include <optional>
#include <string>

namespace kavexsql {

// Nothing when the process has no terminal to ask on.
std::optional<std::string> askPassword(const std::string& prompt);

}  // namespace kavexsql

#endif
