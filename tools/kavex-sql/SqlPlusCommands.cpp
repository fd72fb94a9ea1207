// The SQL*Plus commands scripts written for Oracle use: DESCRIBE, SET / SHOW, SPOOL, PROMPT,
// @ / @@ / START, DEFINE / UNDEFINE, WHENEVER SQLERROR, CONNECT, EXIT / QUIT, REMARK.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <tuple>

#include "CommandText.h"
#include "ConnectHint.h"
#include "DbError.h"
#include "Describer.h"
#include "Password.h"
#include "Shell.h"
#include "SqlText.h"
#include "StatementSplitter.h"

namespace kavexsql {

namespace {

bool exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

// SET options that the shell does not have, accepted at the one value that matches what it does.
struct FixedSetting {
    const char* name;
    size_t shortest;
    const char* value;
};
constexpr FixedSetting kFixedSettings[] = {
    {"ECHO", 4, "OFF"},          // statements are never echoed
    {"VERIFY", 3, "OFF"},        // substitutions are never shown
    {"SERVEROUTPUT", 9, "OFF"},  // there is no DBMS_OUTPUT
};

bool onOff(const std::string& value, const std::string& option) {
    const std::string v = upper(value);
    if (v == "ON") return true;
    if (v == "OFF") return false;
    throw UsageError("SET " + option + " takes ON or OFF, not '" + value + "'");
}

const char* onOffText(bool on) { return on ? "ON" : "OFF"; }

// EXIT [SUCCESS|FAILURE|WARNING|n|SQL.SQLCODE] [COMMIT|ROLLBACK], from the words at from.
ExitRule exitRule(const std::vector<std::string>& w, size_t from, const std::string& command,
                  ExitRule rule) {
    size_t i = from;
    auto isAction = [](const std::string& word) {
        const std::string a = upper(word);
        return a == "COMMIT" || a == "ROLLBACK";
    };
    if (i < w.size() && !isAction(w[i])) {
        const std::string status = upper(w[i]);
        rule.status = ExitRule::Status::Code;
        if (status == "SUCCESS")
            rule.code = 0;
        else if (status == "FAILURE")
            rule.code = 1;
        else if (status == "WARNING")
            rule.code = 2;
        else if (status == "SQL.SQLCODE")
            rule.status = ExitRule::Status::SqlCode;
        else
            rule.code = static_cast<int>(boundedNumber(
                w[i], 0, 255, command + " (or SUCCESS, FAILURE, WARNING, SQL.SQLCODE)"));
        ++i;
    }
    if (i < w.size()) {
        if (!isAction(w[i]))
            throw UsageError(command + ": COMMIT or ROLLBACK expected, not '" + w[i] + "'");
        rule.action =
            upper(w[i]) == "COMMIT" ? ExitRule::Action::Commit : ExitRule::Action::Rollback;
        ++i;
    }
    if (i < w.size()) throw UsageError(command + ": unexpected '" + w[i] + "'");
    return rule;
}

}  // namespace

Shell::Outcome Shell::sqlPlusCommand(const std::string& word, const std::string& rest,
                                     const LineSource&) {
    const std::string name = word[0] == '@' ? "@" : sqlPlusCommandName(word);
    if (name != "@" && !isSqlPlusCommandTheShellHas(name))
        throw UsageError(name +
                         " is a SQL*Plus command that kavex-sql does not have (\\help lists "
                         "the commands it has)");
    if (name == "@" || name == "START") {
        const bool nextToScript = word.rfind("@@", 0) == 0;
        std::string target = name == "@" ? word.substr(nextToScript ? 2 : 1) : "";
        std::string arguments = stripSemicolon(rest);
        if (target.empty()) std::tie(target, arguments) = splitWord(arguments);
        if (target.empty()) throw UsageError(word + " needs a script file");
        std::string path = unquote(target);
        if (nextToScript && !scripts_.empty() && path[0] != '/') {
            const std::string& current = scripts_.back();
            const size_t slash = current.rfind('/');
            if (slash != std::string::npos) path = current.substr(0, slash + 1) + path;
        }
        // SQL*Plus adds ".sql" to a name without an extension.
        const size_t base = path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1;
        if (path.find('.', base) == std::string::npos && (exists(path + ".sql") || !exists(path)))
            path += ".sql";
        return runScript(path, words(arguments));
    }
    if (name == "DESCRIBE") {
        const std::string object = stripSemicolon(rest);
        if (object.empty()) throw UsageError("DESCRIBE needs the name of a table or view");
        auto writer = makeWriter(settings_.output, out_);
        describe(session(), object, *writer);
        return Outcome::Finished;
    }
    if (name == "EXIT" || name == "QUIT")
        return leave(exitRule(words(stripSemicolon(rest)), 0, name, ExitRule()));
    if (name == "REMARK") return Outcome::Finished;
    if (name == "PROMPT") {
        out_ << rest << '\n';
        return Outcome::Finished;
    }
    const std::string arguments = stripSemicolon(rest);
    if (name == "SET")
        set(arguments);
    else if (name == "SHOW")
        show(arguments);
    else if (name == "SPOOL")
        spool(arguments);
    else if (name == "DEFINE")
        define(arguments);
    else if (name == "UNDEFINE") {
        if (arguments.empty()) throw UsageError("UNDEFINE needs a variable name");
        for (const std::string& variable : words(arguments)) defines_.unset(variable);
    } else if (name == "WHENEVER")
        whenever(arguments);
    else if (name == "CONNECT")
        connect(arguments);
    else
        throw UsageError("unknown command " + word + " (\\help lists the commands)");
    return Outcome::Finished;
}

void Shell::set(const std::string& arguments) {
    auto [option, value] = splitWord(arguments);
    if (option.empty()) throw UsageError("SET needs an option and a value");
    if (abbreviates(option, "AUTOCOMMIT", 4)) {
        const std::string v = upper(value);
        settings_.autoCommit = v == "IMMEDIATE" || v == "IMM" || onOff(value, "AUTOCOMMIT");
    } else if (abbreviates(option, "TIMING", 4)) {
        settings_.timing = onOff(value, "TIMING");
    } else if (abbreviates(option, "FEEDBACK", 4)) {
        settings_.output.quiet = !onOff(value, "FEEDBACK");
    } else if (abbreviates(option, "NULL", 3)) {
        settings_.output.nullText = unquote(value);
    } else if (abbreviates(option, "DEFINE", 3)) {
        defines_.enabled = onOff(value, "DEFINE");
    } else if (abbreviates(option, "LONG", 3)) {
        explicitMaxSize_ = static_cast<int>(boundedNumber(value, 1, INT_MAX, "SET LONG"));
        applyMaxColumnSize();
    } else {
        for (const FixedSetting& fixed : kFixedSettings) {
            if (!abbreviates(option, fixed.name, fixed.shortest)) continue;
            if (upper(value) == fixed.value) return;
            throw UsageError(std::string("SET ") + fixed.name + " " + value +
                             " is not supported: the shell always works as with " + fixed.name +
                             " " + fixed.value);
        }
        throw UsageError("SET " + upper(option) +
                         " is not supported (the shell has AUTOCOMMIT, DEFINE, FEEDBACK, LONG, "
                         "NULL and TIMING)");
    }
}

void Shell::show(const std::string& arguments) {
    const std::string what = upper(arguments);
    const bool all = what == "ALL";
    bool shown = false;
    auto line = [&](bool wanted, const std::string& text) {
        if (!wanted) return;
        out_ << text << '\n';
        shown = true;
    };
    line(all || abbreviates(what, "AUTOCOMMIT", 4),
         std::string("autocommit ") + onOffText(settings_.autoCommit));
    line(all || abbreviates(what, "DEFINE", 3),
         std::string("define ") + onOffText(defines_.enabled));
    line(all || abbreviates(what, "FEEDBACK", 4),
         std::string("feedback ") + onOffText(!settings_.output.quiet));
    line(all || abbreviates(what, "LONG", 3), "long " + std::to_string(maxColumnSize()));
    line(all || abbreviates(what, "NULL", 3), "null \"" + settings_.output.nullText + "\"");
    line(all || abbreviates(what, "SPOOL", 3),
         spool_.path().empty() ? "spool OFF" : "spool ON (" + spool_.path() + ")");
    line(all || abbreviates(what, "TIMING", 4),
         std::string("timing ") + onOffText(settings_.timing));
    line(all || what == "USER",
         connection_ ? "USER is \"" + upper(login_.user) + "\"" : "not connected");
    if (!shown)
        throw UsageError("SHOW " +
                         (what.empty() ? std::string("needs a name") : what + " is not supported") +
                         " (AUTOCOMMIT, DEFINE, FEEDBACK, LONG, NULL, SPOOL, TIMING, USER, ALL)");
}

void Shell::spool(const std::string& arguments) {
    std::vector<std::string> w = words(arguments);
    if (w.empty()) {
        out_ << (spool_.path().empty() ? "not spooling currently"
                                       : "currently spooling to " + spool_.path())
             << '\n';
        return;
    }
    const std::string first = upper(w[0]);
    if (first == "OFF" || first == "OUT") {
        if (w.size() > 1) throw UsageError("SPOOL OFF takes nothing more");
        if (!spool_.stop()) out_ << "not spooling currently\n";
        return;
    }
    if (w.size() > 2) throw UsageError("SPOOL takes a file and CREATE, REPLACE or APPEND");
    std::string path = w[0];
    const size_t base = path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1;
    if (path.find('.', base) == std::string::npos) path += ".lst";  // as SQL*Plus names it
    const std::string mode = w.size() > 1 ? upper(w[1]) : "REPLACE";
    const bool append = abbreviates(mode, "APPEND", 3);
    if (abbreviates(mode, "CREATE", 3)) {
        if (exists(path)) throw UsageError("SPOOL " + path + " CREATE: the file exists already");
    } else if (!append && !abbreviates(mode, "REPLACE", 3)) {
        throw UsageError("SPOOL takes CREATE, REPLACE or APPEND after the file, not '" + w[1] +
                         "'");
    }
    spool_.start(path, append);
}

void Shell::define(const std::string& arguments) {
    if (arguments.empty()) {
        for (const auto& [name, value] : defines_.all())
            out_ << "DEFINE " << name << " = \"" << value << "\" (CHAR)\n";
        return;
    }
    const size_t equals = arguments.find('=');
    const std::string name = trim(arguments.substr(0, equals));
    if (name.empty() || name.find_first_of(" \t") != std::string::npos)
        throw UsageError("DEFINE takes a name, or name = text");
    if (equals == std::string::npos) {
        const std::string* value = defines_.find(name);
        if (!value) throw UsageError("symbol " + name + " is UNDEFINED");
        out_ << "DEFINE " << upper(name) << " = \"" << *value << "\" (CHAR)\n";
        return;
    }
    defines_.set(name, unquote(trim(arguments.substr(equals + 1))));
}

void Shell::whenever(const std::string& arguments) {
    std::vector<std::string> w = words(arguments);
    if (w.empty() || upper(w[0]) != "SQLERROR")
        throw UsageError("WHENEVER " + (w.empty() ? std::string() : w[0] + " ") +
                         "is not supported: only WHENEVER SQLERROR EXIT or CONTINUE");
    const std::string action = w.size() > 1 ? upper(w[1]) : "";
    if (action == "EXIT") {
        ExitRule rule;  // a failure ends the run with status 1 unless told otherwise
        rule.status = ExitRule::Status::Code;
        rule.code = 1;
        onSqlError_ = exitRule(w, 2, "WHENEVER SQLERROR EXIT", rule);
        return;
    }
    if (action != "CONTINUE") throw UsageError("WHENEVER SQLERROR takes EXIT or CONTINUE");
    ExitRule::Action then = ExitRule::Action::None;
    if (w.size() > 2) {
        const std::string a = upper(w[2]);
        if (a == "COMMIT")
            then = ExitRule::Action::Commit;
        else if (a == "ROLLBACK")
            then = ExitRule::Action::Rollback;
        else if (a != "NONE")
            throw UsageError("WHENEVER SQLERROR CONTINUE takes COMMIT, ROLLBACK or NONE");
    }
    if (w.size() > 3) throw UsageError("WHENEVER SQLERROR CONTINUE: unexpected '" + w[3] + "'");
    onSqlError_.reset();
    continueAction_ = then;
}

Shell::Outcome Shell::leave(const ExitRule& rule) {
    if (rule.action == ExitRule::Action::Rollback) finishTransaction(rule.action);
    // Closing the session commits what is open, so COMMIT needs no statement of its own.
    if (rule.status != ExitRule::Status::Default) exitCode_ = statusOf(rule);
    return Outcome::Quit;
}

int Shell::statusOf(const ExitRule& rule) const {
    if (rule.status != ExitRule::Status::SqlCode) return rule.code;
    if (lastErrorCode_ == 0) return errors_ > 0 ? 1 : 0;
    const int code = lastErrorCode_ % 256;
    return code == 0 ? 1 : code;  // a failure never leaves as success
}

// CONNECT user[/password][@connect]: a new session replaces this one. As in SQL*Plus, a failed
// CONNECT leaves the shell without a session, so what follows never runs as the earlier user.
void Shell::connect(const std::string& arguments) {
    std::string text = trim(arguments);
    if (text.empty() || text[0] == '/') throw UsageError("CONNECT needs user[/password][@connect]");
    std::string user, connect = login_.connect;
    std::optional<std::string> password;
    size_t i = text.find_first_of("/@");
    user = text.substr(0, i);
    if (i != std::string::npos && text[i] == '/') {
        size_t start = i + 1;
        if (start < text.size() && text[start] == '"') {
            size_t close = text.find('"', start + 1);
            if (close == std::string::npos)
                throw UsageError("CONNECT: the password's quote is not closed");
            password = text.substr(start + 1, close - start - 1);
            i = close + 1 < text.size() && text[close + 1] == '@' ? close + 1 : std::string::npos;
            if (i == std::string::npos && close + 1 < text.size())
                throw UsageError("CONNECT: '@' expected after the quoted password");
        } else {
            i = text.find('@', start);
            password = text.substr(start, i == std::string::npos ? std::string::npos : i - start);
        }
    }
    if (i != std::string::npos && text[i] == '@') connect = trim(text.substr(i + 1));
    if (user.empty() || connect.empty() || user.find_first_of(" \t") != std::string::npos)
        throw UsageError("CONNECT needs user[/password][@connect]");
    if (!password) {
        if (const char* fromEnvironment = std::getenv("KAVEX_PASSWORD"))
            password = fromEnvironment;
        else if (isatty(STDIN_FILENO))
            password = askPassword("Password for " + user + ": ");
        if (!password) password = "";
    }
    std::unique_ptr<Connection> next;
    try {
        next = std::make_unique<Connection>(connect, user, *password);
    } catch (const DbError& e) {
        connection_.reset();
        std::string message = e.what();
        const std::string hint = connectHint(connect, message);
        if (!hint.empty()) message += "\nHint: " + hint;
        throw DbError(message + "\nNot connected: statements fail until a CONNECT succeeds.");
    }
    connection_ = std::move(next);
    login_ = {connect, user};
    appliedMaxSize_ = kLibraryMaxColumnSize;  // a new session starts with the library's default
    if (!settings_.output.quiet) out_ << "Connected.\n";
}

}  // namespace kavexsql
