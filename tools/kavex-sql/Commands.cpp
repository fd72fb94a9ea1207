// The shell's one-line commands: DESCRIBE, EXIT/QUIT and the backslash commands.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <tuple>

#include "BatchLoader.h"
#include "Connection.h"
#include "DbError.h"
#include "Describer.h"
#include "Shell.h"
#include "SqlText.h"
#include "kavex_oracleociw.h"

namespace kavexsql {

namespace {

const char* const kCommandHelp = R"HELP(Commands (one line each; a trailing ";" is ignored):
  DESCRIBE name | DESC name       columns of a table or view
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
  \maxsize N                      read at most N characters / bytes of LOB and RAW values
  \timing [on|off]                print each statement's elapsed time
  \csv [on|off]                   CSV output instead of tables
  \autocommit [on|off]            commit after every statement
  \echo TEXT                      print TEXT
  \i FILE                         run the statements of FILE
  \help, \?                       this list
  \q, EXIT [CODE], QUIT           leave (a session's open transaction is committed)
)HELP";

std::pair<std::string, std::string> splitWord(const std::string& text) {
    std::string t = trim(text);
    size_t end = 0;
    while (end < t.size() && !std::isspace(static_cast<unsigned char>(t[end]))) ++end;
    return {t.substr(0, end), trim(t.substr(end))};
}

bool onOff(const std::string& argument, bool current, const std::string& command) {
    std::string value = upper(argument);
    if (value.empty()) return !current;
    if (value == "ON") return true;
    if (value == "OFF") return false;
    throw UsageError(command + " takes on or off, not '" + argument + "'");
}

// 'it''s' -> it's; anything unquoted stays as it is.
std::string unquote(const std::string& text) {
    if (text.size() >= 2 && text.front() == '\'' && text.back() == '\'') {
        std::string out;
        for (size_t i = 1; i + 1 < text.size(); ++i) {
            out += text[i];
            if (text[i] == '\'' && text[i + 1] == '\'') ++i;
        }
        return out;
    }
    return text;
}

std::string stripSemicolon(std::string text) {
    text = trim(text);
    while (!text.empty() && text.back() == ';') text = trim(text.substr(0, text.size() - 1));
    return text;
}

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

}  // namespace

Shell::Outcome Shell::command(const std::string& line) {
    auto [word, rest] = splitWord(line);
    std::string name = upper(word);
    if (name == "DESCRIBE" || name == "DESC") {
        std::string object = stripSemicolon(rest);
        if (object.empty()) throw UsageError("DESCRIBE needs the name of a table or view");
        auto writer = makeWriter(settings_.output, out_);
        describe(session_, object, *writer);
        return Outcome::Finished;
    }
    if (name == "EXIT" || name == "QUIT" || name == "\\Q") {
        std::string code = stripSemicolon(rest);
        if (!code.empty()) {
            char* end = nullptr;
            long value = std::strtol(code.c_str(), &end, 10);
            if (*end != '\0' || value < 0 || value > 255)
                throw UsageError("EXIT takes a code from 0 to 255");
            exitCode_ = static_cast<int>(value);
        }
        return Outcome::Quit;
    }
    rest = stripSemicolon(rest);
    if (name == "\\SET") {
        setVariable(rest);
    } else if (name == "\\UNSET") {
        requireName("\\unset", rest);
        if (!variables_.unset(rest)) throw UsageError("no variable " + upper(rest));
    } else if (name == "\\CLOB" || name == "\\BLOB") {
        auto [variable, path] = splitWord(rest);
        requireName(word, variable);
        if (path.empty()) throw UsageError(word + " needs a variable name and a file");
        std::ifstream probe(unquote(path), std::ios::binary);
        if (!probe) throw UsageError("cannot open " + unquote(path));
        Variable value;
        value.kind = name == "\\CLOB" ? Variable::Kind::ClobFile : Variable::Kind::BlobFile;
        value.text = unquote(path);
        variables_.set(variable, value);
    } else if (name == "\\LOAD") {
        std::istringstream words(rest);
        std::string path, table, batch;
        words >> path >> table >> batch;
        if (path.empty() || table.empty())
            throw UsageError("\\load needs a CSV file and a table name");
        size_t batchSize = BatchLoader::kDefaultBatch;
        if (!batch.empty()) {
            char* end = nullptr;
            long value = std::strtol(batch.c_str(), &end, 10);
            if (*end != '\0' || value <= 0)
                throw UsageError("\\load batch size must be a positive number");
            batchSize = static_cast<size_t>(value);
        }
        long rows = BatchLoader(session_, settings_.autoCommit, batchSize).load(path, table);
        if (!settings_.output.quiet)
            out_ << rows << (rows == 1 ? " row" : " rows") << " loaded into " << table << ".\n\n";
    } else if (name == "\\MAXSIZE") {
        char* end = nullptr;
        long value = std::strtol(rest.c_str(), &end, 10);
        if (rest.empty() || *end != '\0' || value <= 0 || value > 1000000000)
            throw UsageError("\\maxsize needs a positive number");
        Connection::check(SetIntSessionProperty(session_, 1, static_cast<int>(value)));
    } else if (name == "\\TIMING") {
        settings_.timing = onOff(rest, settings_.timing, "\\timing");
    } else if (name == "\\CSV") {
        settings_.output.csv = onOff(rest, settings_.output.csv, "\\csv");
    } else if (name == "\\AUTOCOMMIT") {
        settings_.autoCommit = onOff(rest, settings_.autoCommit, "\\autocommit");
    } else if (name == "\\ECHO") {
        out_ << rest << '\n';
    } else if (name == "\\I") {
        if (rest.empty()) throw UsageError("\\i needs a file name");
        if (depth_ >= 16) throw UsageError("\\i nested too deeply");
        std::unique_ptr<LineSource> file = openFile(unquote(rest));
        ++depth_;
        Outcome outcome = run(*file);
        --depth_;
        if (outcome != Outcome::Finished) return outcome;
    } else if (name == "\\HELP" || name == "\\?") {
        out_ << kCommandHelp;
    } else {
        throw UsageError("unknown command " + word + " (\\help lists the commands)");
    }
    return Outcome::Finished;
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
    if (kind.empty()) {
        value.kind = Variable::Kind::Text;
        value.text = unquote(text);
        if (value.text.empty()) value.kind = Variable::Kind::Null;  // Oracle keeps no empty strings
    } else if (kind == "-null") {
        if (!text.empty()) throw UsageError("\\set -null takes no value");
        value.kind = Variable::Kind::Null;
    } else if (kind == "-int") {
        char* end = nullptr;
        long long n = std::strtoll(text.c_str(), &end, 10);
        if (text.empty() || *end != '\0' || n < INT32_MIN || n > INT32_MAX)
            throw UsageError("\\set -int needs a 32-bit integer, not '" + text + "'");
        value.kind = Variable::Kind::Integer;
        value.integer = static_cast<int>(n);
    } else if (kind == "-double") {
        char* end = nullptr;
        double x = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0')
            throw UsageError("\\set -double needs a number, not '" + text + "'");
        value.kind = Variable::Kind::Double;
        value.number = x;
    } else if (kind == "-timestamp") {
        value.kind = Variable::Kind::Timestamp;
        value.timestamp = parseTimestamp(unquote(text));
    } else {
        throw UsageError("unknown \\set type " + kind + " (-int, -double, -timestamp, -null)");
    }
    variables_.set(name, value);
}

}  // namespace kavexsql
