// The command line of kavex-sql.
#ifndef KAVEXSQL_OPTIONS_H
#define KAVEXSQL_OPTIONS_H

#include <optional>
#include <string>
#include <vector>

namespace kavexsql {

struct Input {
    enum class Kind { File, Text };
    Kind kind;
    std::string value;  // the path, or the SQL of -c
};

struct Options {
    std::string connect;
    std::string user;
    std::optional<std::string> password;
    std::vector<Input> inputs;  // in command-line order; empty: the terminal or standard input
    bool csv = false;
    bool timing = false;
    bool stopOnError = false;
    bool autoCommit = false;
    bool quiet = false;
    bool silent = false;   // -s: no banner, no prompts
    bool noLogon = false;  // /nolog: start without a session
    int maxColumnSize = 0;  // 0: the library's default
    std::string nullText = "(null)";
    bool help = false;
    bool version = false;
};

// Throws UsageError for an unknown option, a missing value or a missing CONNECT / USER.
Options parseOptions(int argc, const char* const* argv);

std::string helpText();
std::string versionText();

}  // namespace kavexsql

#endif
