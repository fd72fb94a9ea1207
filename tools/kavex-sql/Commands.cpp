// The shell's backslash commands (psql's habits) and the dispatch of every one-line command.
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <tuple>

#include "BatchLoader.h"
#include "CommandText.h"
#include "DbError.h"
#include "Describer.h"
#include "Shell.h"
#include "SqlText.h"
#include "kavex_oracleociw.h"

namespace kavexsql {

namespace {

const char* const kCommandHelp = R"HELP(Commands (one line each; a trailing ";" is ignored):
  \set                            list the bind variables
  \set NAME VALUE                 text variable (VALUE may be 'quoted'); bound wherever SQL says :NAME
  \set -int NAME N                integer variable (SetInt)
  \set -double NAME X             BINARY_DOUBLE variable (SetDouble)
  \set -timestamp NAME YYYY-MM-DD HH:MI:SS[.F][+HH:MM]   timestamp variable (SetTimestamp)
  \set -null NAME                 NULL
  \unset NAME                     forget a variable
  \clob NAME FILE                 :NAME streams FILE into a temporary CLOB (UTF-8 text)
  \blob NAME FILE                 :NAME streams FILE into a temporary BLOB
  \load FILE TABLE [BATCH]        insert the rows of a CSV file (first line: column names)
                                  in batches of BATCH rows (default 500)
  \maxsize [N]                    read at most N characters / bytes of LOB and RAW values
  \timing [on|off]                print each statement's elapsed time
  \csv [on|off]                   CSV output instead of tables
  \autocommit [on|off]            commit after every statement
  \d [NAME], \dt [PATTERN]        describe NAME; list tables and views; list tables
  \echo TEXT                      print TEXT
  \i FILE                         run the statements of FILE
  \help, \?                       this list
  \q                              leave (a session's open transaction is committed)
SQL*Plus commands:
  DESCRIBE name | DESC name       columns of a table or view
  SET AUTOCOMMIT|TIMING|DEFINE|ECHO|VERIFY|TERMOUT ON|OFF, SET FEEDBACK n|ON|OFF, SET NULL text,
  SET LONG n, SET SQLPROMPT text;  SHOW name|ALL|USER
  SET LINESIZE n, PAGESIZE n, NEWPAGE n, NUMWIDTH n, NUMFORMAT fmt, COLSEP text, HEADING ON|OFF,
      HEADSEP c, UNDERLINE c, TRIMOUT ON|OFF, WRAP ON|OFF    SQL*Plus's report layout
  COLUMN name [FORMAT An|999,990.99] [HEADING text] [NULL text] [NEW_VALUE var] [TRUNCATED]
      [NOPRINT] [CLEAR];  CLEAR COLUMNS
  LOAD table file                 SQLcl's load of a CSV file (like \load)
  BREAK ON col [SKIP n|PAGE] [DUP] ...;  COMPUTE SUM|AVG|COUNT|... [LABEL t] OF col ON col|REPORT
  EXECUTE stmt, RUN, DISCONNECT
  VARIABLE [name [type]], PRINT [name ...], SET AUTOPRINT ON|OFF   bind variables blocks assign
  SPOOL file [CREATE|REPLACE|APPEND] | SPOOL OFF    copy the output to a file (.lst added)
  PROMPT text                     print text
  @file [args], @@file, START file  run a script (.sql added; @@: next to the running script)
  DEFINE [name [= text]], UNDEFINE name   substitution variables, used as &name
  WHENEVER SQLERROR EXIT [SUCCESS|FAILURE|WARNING|n|SQL.SQLCODE] [COMMIT|ROLLBACK]
  WHENEVER SQLERROR CONTINUE [COMMIT|ROLLBACK|NONE]
  CONNECT user[/password][@connect]   a new session in place of this one
  EXIT [code] [COMMIT|ROLLBACK], QUIT  leave
  /                               run the last statement again
)HELP";

bool isName(const std::string& name) {
    if (name.empty()) return false;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#'))
            return false;
    return true;
}

void requireName(const std::string& command, const std::string& name) {
    if (!isName(name))
        throw UsageError(command + " needs a variable name (letters, digits, _ $ #), not '" + name +
                         "'");
}

bool leapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// A timestamp Oracle accepts: years -4712 to 9999 except 0, real calendar days, a time of day,
// a zone from -12:00 to +14:00.
void checkTimestamp(const Timestamp& t, const std::string& text) {
    static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    auto refuse = [&](const std::string& why) {
        throw UsageError("\\set -timestamp: '" + text + "' " + why);
    };
    if (t.year < -4712 || t.year > 9999 || t.year == 0)
        refuse("has a year outside -4712 to 9999 (or 0)");
    if (t.month < 1 || t.month > 12) refuse("has no month " + std::to_string(t.month));
    const unsigned days = kDays[t.month - 1] + (t.month == 2 && leapYear(t.year) ? 1 : 0);
    if (t.day < 1 || t.day > days)
        refuse("has no day " + std::to_string(t.day) + " in month " + std::to_string(t.month));
    if (t.hour > 23 || t.minute > 59 || t.second > 59) refuse("is not a time of day");
    const int zone = t.tzHour * 60 + t.tzMinute;
    if (t.tzMinute > 59 || t.tzMinute < -59 || zone < -12 * 60 || zone > 14 * 60)
        refuse("has a time zone outside -12:00 to +14:00");
}

}  // namespace

Shell::Outcome Shell::command(const std::string& line, LineSource& source) {
    if (line[0] != '\\') {
        auto [word, rest] = splitWord(line);
        return sqlPlusCommand(word, rest, source);
    }
    auto [word, arguments] = splitWord(line);
    const std::string name = upper(word);
    const std::string rest = stripSemicolon(arguments);
    if (name == "\\Q") {
        if (!rest.empty()) throw UsageError("\\q takes no argument (EXIT CODE leaves with a code)");
        return Outcome::Quit;
    }
    if (name == "\\SET") {
        setVariable(rest);
    } else if (name == "\\UNSET") {
        requireName("\\unset", rest);
        if (!variables_.unset(rest)) throw UsageError("no variable " + upper(rest));
    } else if (name == "\\CLOB" || name == "\\BLOB") {
        auto [variable, path] = splitWord(rest);
        requireName(word, variable);
        // A failed \clob leaves the variable unset: it never binds an earlier file.
        variables_.unset(variable);
        if (path.empty()) throw UsageError(word + " needs a variable name and a file");
        std::ifstream probe(unquote(path), std::ios::binary);
        if (!probe)
            throw UsageError("cannot open " + unquote(path) + ": " + std::strerror(errno) +
                             " (:" + upper(variable) + " is now unset)");
        Variable value;
        value.kind = name == "\\CLOB" ? Variable::Kind::ClobFile : Variable::Kind::BlobFile;
        value.text = unquote(path);
        variables_.set(variable, value);
    } else if (name == "\\LOAD") {
        std::vector<std::string> parts = words(rest);
        if (parts.size() < 2 || parts.size() > 3)
            throw UsageError("\\load needs a CSV file, a table name and optionally a batch size");
        size_t batchSize = BatchLoader::kDefaultBatch;
        if (parts.size() == 3)
            batchSize =
                static_cast<size_t>(boundedNumber(parts[2], 1, 1000000, "\\load batch size"));
        long rows =
            BatchLoader(session(), settings_.autoCommit, batchSize).load(parts[0], parts[1]);
        if (!settings_.output.quiet)
            out_ << rows << (rows == 1 ? " row" : " rows") << " loaded into " << parts[1]
                 << ".\n\n";
    } else if (name == "\\MAXSIZE") {
        if (rest.empty()) {
            out_ << "Maximum column size: " << maxColumnSize() << '\n';
        } else {
            explicitMaxSize_ = static_cast<int>(boundedNumber(rest, 1, INT_MAX, "\\maxsize"));
            applyMaxColumnSize();
        }
    } else if (name == "\\TIMING") {
        switchSetting(settings_.timing, rest, "\\timing", "Timing");
    } else if (name == "\\CSV") {
        switchSetting(settings_.output.csv, rest, "\\csv", "CSV output");
    } else if (name == "\\AUTOCOMMIT") {
        switchSetting(settings_.autoCommit, rest, "\\autocommit", "Autocommit");
    } else if (name == "\\D") {
        if (rest.empty())
            listTables("", true);
        else
            return sqlPlusCommand("DESCRIBE", rest, source);
    } else if (name == "\\DT") {
        listTables(rest, false);
    } else if (name == "\\ECHO") {
        out_ << rest << '\n';
    } else if (name == "\\I") {
        if (rest.empty()) throw UsageError("\\i needs a file name");
        return runScript(unquote(rest), {});
    } else if (name == "\\HELP" || name == "\\?") {
        out_ << kCommandHelp;
    } else {
        throw UsageError("unknown command " + word + " (\\help lists the commands)");
    }
    return Outcome::Finished;
}

void Shell::switchSetting(bool& setting, const std::string& argument, const std::string& command,
                          const std::string& what) {
    const std::string value = upper(argument);
    if (value.empty())
        setting = !setting;
    else if (value == "ON")
        setting = true;
    else if (value == "OFF")
        setting = false;
    else
        throw UsageError(command + " takes on or off, not '" + argument + "'");
    if (!settings_.output.quiet) out_ << what << " is " << (setting ? "on." : "off.") << '\n';
}

Shell::Outcome Shell::runScript(const std::string& path,
                                const std::vector<std::string>& arguments) {
    if (scripts_.size() >= 16) throw UsageError("scripts nested too deeply (16 levels) at " + path);
    std::unique_ptr<LineSource> file = openFile(path);
    for (size_t i = 0; i < arguments.size(); ++i) defines_.set(std::to_string(i + 1), arguments[i]);
    return run(*file);
}

// Tables (and views) of the user's schema from the data dictionary; a database without one (the
// embedded client) answers from its own catalogue, leaving out its internal "$" objects.
void Shell::listTables(const std::string& pattern, bool withViews) {
    std::string like;
    for (char c : upper(pattern)) {
        if (c == '*')
            like += '%';
        else if (c == '?')
            like += '_';
        else if (c == '\'')
            like += "''";
        else
            like += c;
    }
    const std::string filter = like.empty() ? "" : " WHERE name LIKE '" + like + "'";
    std::string dictionary = "SELECT table_name AS name, 'TABLE' AS type FROM user_tables";
    if (withViews) dictionary += " UNION ALL SELECT view_name, 'VIEW' FROM user_views";
    dictionary = "SELECT name, type FROM (" + dictionary + ")" + filter + " ORDER BY name";
    std::string catalogue =
        "SELECT UPPER(name) AS name, UPPER(type) AS type FROM sqlite_master WHERE type IN "
        "('table'" +
        std::string(withViews ? ", 'view'" : "") +
        ") AND name NOT LIKE 'sqlite%' AND INSTR(name, '$') = 0";
    catalogue = "SELECT name, type FROM (" + catalogue + ")" + filter + " ORDER BY name";
    const int id = session();
    applyMaxColumnSize();
    if (ExecuteQuery(id, dictionary.c_str(), false) < 0)
        Connection::check(ExecuteQuery(id, catalogue.c_str(), false));
    printRows();
}

void Shell::setVariable(const std::string& arguments) {
    if (arguments.empty()) {
        for (const auto& [name, value] : variables_.all())
            out_ << name << " = " << value.describe() << '\n';
        return;
    }
    auto [first, rest] = splitWord(arguments);
    Variable value;
    std::string kind = first.size() > 1 && first[0] == '-' ? first : "";
    std::string name = first;
    std::string text = rest;
    if (!kind.empty()) std::tie(name, text) = splitWord(rest);
    requireName("\\set", name);
    // A value that is refused leaves the variable unset: it never binds an earlier value.
    variables_.unset(name);
    if (kind.empty()) {
        value.kind = Variable::Kind::Text;
        value.text = unquote(text);
        if (value.text.empty()) value.kind = Variable::Kind::Null;  // Oracle keeps no empty strings
    } else if (kind == "-null") {
        if (!text.empty()) throw UsageError("\\set -null takes no value");
        value.kind = Variable::Kind::Null;
    } else if (kind == "-int") {
        char* end = nullptr;
        errno = 0;
        long long n = std::strtoll(text.c_str(), &end, 10);
        if (text.empty() || *end != '\0' || errno == ERANGE || n < INT32_MIN || n > INT32_MAX)
            throw UsageError("\\set -int needs a 32-bit integer, not '" + text + "'");
        value.kind = Variable::Kind::Integer;
        value.integer = static_cast<int>(n);
    } else if (kind == "-double") {
        char* end = nullptr;
        errno = 0;
        double x = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0' || std::isnan(x))
            throw UsageError("\\set -double needs a number, not '" + text + "'");
        if (std::isinf(x) || (errno == ERANGE && x == 0))
            throw UsageError(
                "\\set -double: " + text +
                " is outside the range of BINARY_DOUBLE (magnitudes 5E-324 to 1.8E+308)");
        value.kind = Variable::Kind::Double;
        value.number = x;
    } else if (kind == "-timestamp") {
        value.kind = Variable::Kind::Timestamp;
        value.timestamp = parseTimestamp(unquote(text));
        checkTimestamp(value.timestamp, unquote(text));
    } else {
        throw UsageError("unknown \\set type " + kind + " (-int, -double, -timestamp, -null)");
    }
    variables_.set(name, value);
}

}  // namespace kavexsql
