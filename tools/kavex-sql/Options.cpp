#include "Options.h"

#include <climits>

#include "CommandText.h"
#include "DbError.h"
#include "Logon.h"
#include "SqlText.h"

namespace kavexsql {

Options parseOptions(int argc, const char* const* argv) {
    Options options;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](const std::string& name) -> std::string {
            if (i + 1 >= argc) throw UsageError("option " + name + " needs a value");
            return argv[++i];
        };
        // --name=value is accepted for every option that takes a value.
        std::string inlineValue;
        bool hasInline = false;
        if (!optionsEnded && arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
            inlineValue = arg.substr(arg.find('=') + 1);
            arg = arg.substr(0, arg.find('='));
            hasInline = true;
        }
        auto takeValue = [&](const std::string& name) {
            return hasInline ? inlineValue : value(name);
        };

        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-" ||
            upper(arg) == "/NOLOG") {
            positional.push_back(arg);
            // SQL*Plus's "@script args": everything after it belongs to the script.
            if (!arg.empty() && arg[0] == '@') optionsEnded = true;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-f" || arg == "--file") {
            options.inputs.push_back({Input::Kind::File, takeValue(arg)});
        } else if (arg == "-c" || arg == "--command") {
            options.inputs.push_back({Input::Kind::Text, takeValue(arg)});
        } else if (arg == "--csv") {
            options.csv = true;
        } else if (arg == "--timing") {
            options.timing = true;
        } else if (arg == "-e" || arg == "--stop-on-error") {
            options.stopOnError = true;
        } else if (arg == "--autocommit") {
            options.autoCommit = true;
        } else if (arg == "-s" || arg == "-S" || arg == "--silent") {
            options.silent = true;
        } else if (arg == "-L" || arg == "-l") {
            // SQL*Plus's "log on once": the shell never retries a logon anyway.
        } else if (arg == "-q" || arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--max-column-size") {
            options.maxColumnSize =
                static_cast<int>(boundedNumber(takeValue(arg), 1, INT_MAX, "option " + arg));
        } else if (arg == "--null") {
            options.nullText = takeValue(arg);
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else {
            throw UsageError("unknown option " + arg);
        }
        if (hasInline &&
            (arg == "--csv" || arg == "--timing" || arg == "--stop-on-error" ||
             arg == "--autocommit" || arg == "--quiet" || arg == "--help" || arg == "--version"))
            throw UsageError("option " + arg + " takes no value");
    }
    if (options.help || options.version) return options;
    // "@script [args]" at the end runs that script (".sql" added as SQL*Plus does).
    for (size_t i = 0; i < positional.size(); ++i) {
        if (positional[i].empty() || positional[i][0] != '@') continue;
        std::string line = positional[i];
        for (size_t k = i + 1; k < positional.size(); ++k)
            line += positional[k].find_first_of(" \t") == std::string::npos
                        ? " " + positional[k]
                        : " '" + positional[k] + "'";
        options.inputs.push_back({Input::Kind::Text, line});
        positional.resize(i);
        break;
    }
    if (positional.size() == 1 && upper(positional[0]) == "/NOLOG") {
        options.noLogon = true;
        return options;
    }
    if (positional.size() == 1) {  // SQL*Plus's user[/password]@connect
        const Logon logon = parseLogon(positional[0], "the logon");
        if (!logon.connect)
            throw UsageError("CONNECT and USER are required: CONNECT USER [PASSWORD], "
                             "user[/password]@connect or /nolog");
        options.connect = *logon.connect;
        options.user = logon.user;
        options.password = logon.password;
        return options;
    }
    if (positional.size() < 2)
        throw UsageError("CONNECT and USER are required: CONNECT USER [PASSWORD], "
                         "user[/password]@connect or /nolog");
    if (positional.size() > 3) throw UsageError("unexpected argument '" + positional[3] + "'");
    options.connect = positional[0];
    options.user = positional[1];
    if (positional.size() == 3) {
        options.password = positional[2];
    } else if (positional[1].find('/') != std::string::npos) {  // CONNECT user/password
        const Logon logon = parseLogon(positional[1], "USER");
        if (logon.connect) throw UsageError("USER names a second connect string: " + positional[1]);
        options.user = logon.user;
        options.password = logon.password;
    }
    return options;
}

std::string versionText() {
    return "kavex-sql 1.0.0 (System.Data.Kavex.OracleOCIw flat interface)\n";
}

std::string helpText() {
    return R"HELP(Usage: kavex-sql [OPTION]... CONNECT USER[/PASSWORD] [PASSWORD] [@SCRIPT [ARG]...]
       kavex-sql [OPTION]... USER[/PASSWORD]@CONNECT | /nolog [@SCRIPT [ARG]...]

A SQL shell over the System.Data.Kavex.OracleOCIw library. CONNECT is the connect string: with the
embedded client a database file, a file: URI (file:demo.db?mode=rwc creates the file) or
file:/name?vfs=memdb; with Oracle's client a TNS name or //host:port/service.
SQL*Plus's logon USER[/PASSWORD]@CONNECT is accepted too, and /nolog starts without a session
(CONNECT opens one); @SCRIPT runs a script with its arguments as &1, &2, ...
Without PASSWORD the shell takes $KAVEX_PASSWORD, else asks on the terminal without echo, else
uses an empty password.

Statements end with ";" or a line holding only "/" (PL/SQL blocks and CREATE PROCEDURE,
FUNCTION, PACKAGE, TYPE, TRIGGER end only with "/"; a "/" alone runs the last statement again).
Input comes from -c and -f in the order given, else from the terminal (line editing and
history), else from standard input.

Options:
  -c, --command SQL        run SQL (one or more statements; the last ";" may be left out)
  -f, --file FILE          run the statements and commands of FILE ("-": standard input)
  -e, --stop-on-error      stop at the first failing statement (exit code 1)
      --csv                print results as CSV (NULL is an empty field; LOB and RAW values
                           whole unless --max-column-size is given)
      --timing             print the time each statement took
      --autocommit         commit after every statement (default: COMMIT, or at exit)
      --max-column-size N  read at most N characters / bytes of LOB and RAW values (1 to
                           2147483647; default 2000, for --csv no limit)
      --null TEXT          how NULL shows in tables (default "(null)")
  -q, --quiet              no banner, row counts or statement messages
  -s, -S, --silent         no banner and no prompts (SQL*Plus's -S)
  -h, --help               show this help
      --version            show the version

Commands (one line each, no ";" needed; \help lists them with their arguments):
  \set, \unset, \clob, \blob, \load, \maxsize, \timing, \csv, \autocommit, \d, \dt, \echo,
  \i, \help, \q; SQL*Plus's DESCRIBE, SET, SHOW, COLUMN, CLEAR, SPOOL, PROMPT, @, @@, START,
  DEFINE, UNDEFINE, WHENEVER SQLERROR, CONNECT, DISCONNECT, EXECUTE, RUN, VARIABLE, REMARK, EXIT,
  QUIT, and SQLcl's LOAD; SQL*Plus commands without effect on the database are accepted with a note

Exit status: 0 success; 1 a statement or command failed (standard input, -f and -c only);
2 bad command line or unreadable script; 3 the connection could not be opened; or the code of
EXIT or WHENEVER SQLERROR EXIT.
)HELP";
}

}  // namespace kavexsql
