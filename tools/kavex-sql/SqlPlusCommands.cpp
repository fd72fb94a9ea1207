// The SQL*Plus commands scripts written for Oracle use: DESCRIBE, SET / SHOW, SPOOL, PROMPT,
// @ / @@ / START, DEFINE / UNDEFINE, WHENEVER SQLERROR, CONNECT, EXIT / QUIT, REMARK.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <optional>
#include <tuple>

#include "BatchLoader.h"
#include "Binder.h"
#include "CommandText.h"
#include "ConnectHint.h"
#include "DbError.h"
#include "Logon.h"
#include "Describer.h"
#include "NumberFormat.h"
#include "Password.h"
#include "Shell.h"
#include "SqlText.h"
#include "StatementSplitter.h"

namespace kavexsql {

namespace {

// SET options that change nothing a script does to the database, by name and the shortest
// abbreviation SQL*Plus takes.
const Abbreviation kSettingsWithoutEffect[] = {
    {"TAB", 3}, {"TRIMSPOOL", 5}, {"SQLBLANKLINES", 5}, {"ARRAYSIZE", 5}, {"PAUSE", 3},
    {"SCAN", 4}, {"SHOWMODE", 4}, {"EXITCOMMIT", 5}, {"FLUSH", 3}, {"LONGCHUNKSIZE", 5},
    {"TIME", 2}, {"EMBEDDED", 3}, {"RECSEP", 6}, {"CONCAT", 3}, {"ESCAPE", 3}, {"SUFFIX", 3},
    {"SQLTERMINATOR", 6}, {"SQLCONTINUE", 5}, {"SQLNUMBER", 4}, {"SQLPREFIX", 6}, {"SQLCASE", 4},
    {"COPYCOMMIT", 5}, {"BLOCKTERMINATOR", 3}, {"CMDSEP", 4}, {"DOCUMENT", 3},
    {"EDITFILE", 5}, {"ESCCHAR", 7}, {"LOBOFFSET", 4}, {"RECSEPCHAR", 7}, {"SPACE", 3},
    {"SQLPLUSCOMPATIBILITY", 8}, {"APPINFO", 3}, {"COLINVISIBLE", 7}, {"ROWPREFETCH", 7},
    {"STATEMENTCACHE", 9}, {"LOBPREFETCH", 7}, {"SECUREDCOL", 7}, {"SHIFTINOUT", 5},
    {"WORKSPACE", 9}, {"INSTANCE", 8}, {"FLAGGER", 7}, {"AUTORECOVERY", 5}, {"LOGSOURCE", 9},
    {"COMPATIBILITY", 3}, {"ERRORDETAILS", 9},
};


bool exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

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
    if (name != "@" && commandKind(name) == CommandKind::NeedsDatabase)
        throw UsageError(name + " is a SQL*Plus command that kavex-sql does not have: the "
                         "library has no call for it");
    if (name != "@" && commandKind(name) == CommandKind::NoEffect) {
        notice(name + " is accepted and has no effect in kavex-sql");
        return Outcome::Finished;
    }
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
    if (name == "RUN") {
        if (!lastSql_) throw UsageError("nothing to run: no statement before this RUN");
        runSql(substituted(*lastSql_));
        return Outcome::Finished;
    }
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
    else if (name == "DISCONNECT") {
        connection_.reset();
        if (!settings_.output.quiet) out_ << "Disconnected.\n";
    } else if (name == "COLUMN")
        column(arguments);
    else if (name == "CLEAR")
        clear(arguments);
    else if (name == "VARIABLE")
        variable(arguments);
    else if (name == "PRINT")
        print(arguments);
    else if (name == "EXECUTE") {
        if (arguments.empty()) throw UsageError("EXECUTE needs a PL/SQL statement");
        lastSql_ = "BEGIN " + arguments + "; END;";
        runSql(*lastSql_);
    } else if (name == "LOAD") {
        // SQLcl's LOAD table file: a CSV file whose first line names the columns.
        std::vector<std::string> w = words(arguments);
        if (w.size() != 2) throw UsageError("LOAD needs a table name and a CSV file");
        long rows = BatchLoader(session(), settings_.autoCommit, BatchLoader::kDefaultBatch)
                        .load(w[1], w[0]);
        if (!settings_.output.quiet)
            out_ << rows << (rows == 1 ? " row" : " rows") << " loaded into " << w[0] << ".\n\n";
    } else if (name == "BREAK") {
        breaks(arguments);
    } else if (name == "COMPUTE") {
        compute(arguments);
    } else if ((name == "TTITLE" || name == "BTITLE") && upper(arguments) == "OFF") {
    } else if (name == "TTITLE" || name == "BTITLE")
        notice(name + " is accepted; kavex-sql prints no page titles");
    else
        throw UsageError("unknown command " + word + " (\\help lists the commands)");
    return Outcome::Finished;
}

// SET takes one or more "option value" pairs (SET LINESIZE 100 PAGESIZE 50). Options whose value
// is several words (SERVEROUTPUT ON SIZE n, AUTOTRACE ON EXPLAIN) take the rest of the line, and
// so does an option the shell does not know, which is accepted with a notice.
void Shell::set(const std::string& arguments) {
    std::vector<std::string> w = words(arguments);
    if (w.empty()) throw UsageError("SET needs an option and a value");
    for (size_t i = 0; i < w.size(); i += 2) {
        const std::string& option = w[i];
        const bool lastPair = i + 2 >= w.size();
        const std::string value = i + 1 < w.size() ? w[i + 1] : "";
        const std::string v = upper(value);
        auto rest = [&] {
            std::string text;
            for (size_t k = i + 1; k < w.size(); ++k) text += (text.empty() ? "" : " ") + w[k];
            i = w.size();
            return text;
        };
        if (abbreviates(option, "AUTOCOMMIT", 4)) {
            settings_.autoCommit =
                v == "IMMEDIATE" || v == "IMM" ||
                (!v.empty() && std::isdigit(static_cast<unsigned char>(v[0])) ? v != "0"
                                                                              : onOff(value, "AUTOCOMMIT"));
        } else if (abbreviates(option, "TIMING", 4)) {
            settings_.timing = onOff(value, "TIMING");
        } else if (abbreviates(option, "FEEDBACK", 4)) {
            if (v == "ON" || v == "OFF") {
                settings_.output.quiet = v == "OFF";
                if (v == "ON") report_.feedback = 1;
            } else {
                report_.feedback = static_cast<int>(boundedNumber(value, 0, 50000, "SET FEEDBACK"));
                settings_.output.quiet = report_.feedback == 0;
            }
            if (i + 2 < w.size() && upper(w[i + 2]) == "SQL_ID") ++i;
        } else if (abbreviates(option, "NULL", 3)) {
            settings_.output.nullText = value;
            report_.nullText = value;
        } else if (abbreviates(option, "DEFINE", 3)) {
            if (v == "ON" || v == "OFF" || value == "&")
                defines_.enabled = v != "OFF";
            else
                notice("SET DEFINE " + value + ": substitution keeps \"&\" as its character");
        } else if (abbreviates(option, "LONG", 3)) {
            explicitMaxSize_ = static_cast<int>(boundedNumber(value, 1, INT_MAX, "SET LONG"));
            applyMaxColumnSize();
        } else if (abbreviates(option, "ECHO", 4)) {
            echo_ = onOff(value, "ECHO");
        } else if (abbreviates(option, "TERMOUT", 4)) {
            termout_ = onOff(value, "TERMOUT");
            spool_.setTerminal(termout_ || (source_ && source_->interactive()));
        } else if (abbreviates(option, "VERIFY", 3)) {
            verify_ = onOff(value, "VERIFY");
        } else if (abbreviates(option, "SQLPROMPT", 4)) {
            if (!settings_.silent) prompt_ = value;
        } else if (abbreviates(option, "AUTOPRINT", 5)) {
            autoPrint_ = onOff(value, "AUTOPRINT");
        } else if (abbreviates(option, "SERVEROUTPUT", 9)) {
            // SET SERVEROUTPUT ON [SIZE n | SIZE UNLIMITED] [FORMAT ...] | OFF
            const std::vector<std::string> o = words(upper(rest()));
            if (o.empty() || (o[0] != "ON" && o[0] != "OFF"))
                throw UsageError("SET SERVEROUTPUT needs ON or OFF");
            std::string size = "NULL";  // unlimited, SQL*Plus's default
            for (size_t k = 1; k + 1 < o.size(); ++k)
                if (o[k] == "SIZE" && o[k + 1] != "UNLIMITED")
                    size = std::to_string(
                        boundedNumber(o[k + 1], 2000, 1000000, "SET SERVEROUTPUT SIZE"));
            serverOutput_ = o[0] == "ON";
            const std::string call = serverOutput_ ? "DBMS_OUTPUT.ENABLE(" + size + ")"
                                                   : "DBMS_OUTPUT.DISABLE";
            Connection::check(ExecuteQuery(session(), ("BEGIN " + call + "; END;").c_str(), false));
        } else if (abbreviatesAny(option, kSettingsWithoutEffect)) {
            // Spacing, fetching, the terminal, the buffer: nothing that changes what a script does
            // to the database, and the output already reads as these settings want (no tabs,
            // trailing blanks trimmed, statements ended by ";" or "/").
            if (lastPair && value.empty())
                throw UsageError("SET " + upper(option) + " needs a value");
        } else if (abbreviates(option, "AUTOTRACE", 5) || abbreviates(option, "MARKUP", 4) ||
                   abbreviates(option, "ERRORLOGGING", 9) || abbreviates(option, "DESCRIBE", 4) ||
                   abbreviates(option, "XQUERY", 6) || abbreviates(option, "HISTORY", 4) ||
                   abbreviates(option, "SQLFORMAT", 9) || abbreviates(option, "LOADFORMAT", 10)) {
            const std::string text = rest();
            if (upper(text) != "OFF")
                notice("SET " + upper(option) + (text.empty() ? "" : " " + text) +
                       " is accepted and has no effect in kavex-sql");
        } else if (!setReportOption(option, value)) {
            const std::string text = rest();
            notice("SET " + upper(option) + (text.empty() ? "" : " " + text) +
                   " is not a setting kavex-sql knows; accepted without effect");
        }
    }
}

// The options of SQL*Plus's report layout; any of them switches the layout on.
std::string Shell::numberFormatOrNothing(const std::string& format) {
    if (format.empty() || isNumberFormat(format)) return format;
    notice("number format " + format + " is not one kavex-sql lays out (9 0 , . $ B S MI); ignored");
    return "";
}

bool Shell::setReportOption(const std::string& option, const std::string& value) {
    const std::string v = upper(value);
    auto number = [&](long low, long high) {
        return static_cast<int>(boundedNumber(value, low, high, "SET " + upper(option)));
    };
    if (abbreviates(option, "LINESIZE", 3))
        report_.lineSize = number(1, 32767);
    else if (abbreviates(option, "PAGESIZE", 5))
        report_.pageSize = number(0, 50000);
    else if (abbreviates(option, "NEWPAGE", 4))
        report_.newPage = v == "NONE" ? -1 : number(0, 999);
    else if (abbreviates(option, "NUMWIDTH", 4))
        report_.numWidth = number(2, 50);
    else if (abbreviates(option, "NUMFORMAT", 4))
        report_.numFormat = numberFormatOrNothing(value);
    else if (abbreviates(option, "COLSEP", 6))
        report_.colSep = value;
    else if (abbreviates(option, "HEADING", 3))
        report_.heading = onOff(value, "HEADING");
    else if (abbreviates(option, "HEADSEP", 5))
        report_.headSep = v == "ON" ? '|' : v == "OFF" || value.empty() ? '\0' : value[0];
    else if (abbreviates(option, "UNDERLINE", 3))
        report_.underline = v == "ON" ? '-' : v == "OFF" || value.empty() ? '\0' : value[0];
    else if (abbreviates(option, "TRIMOUT", 5))
        report_.trimOut = onOff(value, "TRIMOUT");
    else if (abbreviates(option, "WRAP", 3))
        report_.wrap = onOff(value, "WRAP");
    else
        return false;
    report_.enabled = true;
    return true;
}

// COLUMN name option...: how a result column with that name (or alias) is laid out.
void Shell::column(const std::string& arguments) {
    std::vector<std::string> w = words(arguments);
    if (w.empty()) {
        for (const auto& [name, format] : report_.columns)
            out_ << "COLUMN " << name << (format.format.empty() ? "" : " FORMAT " + format.format)
                 << (format.heading ? " HEADING '" + *format.heading + "'" : "") << '\n';
        return;
    }
    const std::string name = upper(w[0]);
    if (w.size() == 1) {
        const ColumnFormat* format = report_.column(name);
        if (!format) throw UsageError("COLUMN " + w[0] + " not defined");
        out_ << "COLUMN " << name << " ON\n";
        if (!format->format.empty()) out_ << "FORMAT   " << format->format << '\n';
        if (format->heading) out_ << "HEADING  '" << *format->heading << "'\n";
        return;
    }
    ColumnFormat format = report_.columns[name];
    for (size_t i = 1; i < w.size(); ++i) {
        const std::string& option = w[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= w.size()) throw UsageError("COLUMN " + name + " " + upper(option) +
                                                    " needs a value");
            return w[++i];
        };
        if (abbreviates(option, "FORMAT", 3)) {
            const std::string f = value();
            const bool text = f.size() > 1 && (f[0] == 'A' || f[0] == 'a') &&
                              f.find_first_not_of("0123456789", 1) == std::string::npos;
            format.format = text ? upper(f) : numberFormatOrNothing(f);
        } else if (abbreviates(option, "HEADING", 3)) {
            format.heading = value();
        } else if (abbreviates(option, "NEW_VALUE", 5)) {
            format.newValue = upper(value());
        } else if (abbreviates(option, "NULL", 3)) {
            format.nullText = value();
        } else if (abbreviates(option, "NOPRINT", 5)) {
            format.print = false;
        } else if (abbreviates(option, "PRINT", 3)) {
            format.print = true;
        } else if (abbreviates(option, "WRAPPED", 3) || abbreviates(option, "WORD_WRAPPED", 3)) {
            format.wrapped = true;
        } else if (abbreviates(option, "TRUNCATED", 3)) {
            format.wrapped = false;
        } else if (abbreviates(option, "CLEAR", 3)) {
            report_.columns.erase(name);
            return;
        } else if (abbreviates(option, "ON", 2) || abbreviates(option, "OFF", 3)) {
        } else if (abbreviates(option, "JUSTIFY", 3) || abbreviates(option, "ALIAS", 3) ||
                   abbreviates(option, "LIKE", 4) || abbreviates(option, "OLD_VALUE", 5) ||
                   abbreviates(option, "ENTMAP", 3)) {
            notice("COLUMN " + upper(option) + " " + value() + " is accepted without effect");
        } else if (abbreviates(option, "FOLD_AFTER", 6) || abbreviates(option, "FOLD_BEFORE", 6) ||
                   abbreviates(option, "NEWLINE", 4)) {
            notice("COLUMN " + upper(option) + " is accepted without effect");
        } else {
            throw UsageError("COLUMN: unknown option '" + option + "'");
        }
    }
    report_.columns[name] = format;
    report_.enabled = true;
}

// BREAK ON element [SKIP n | SKIP PAGE] [NODUPLICATES | DUPLICATES] ...: replaces the breaks.
void Shell::breaks(const std::string& arguments) {
    std::vector<std::string> w = words(arguments);
    if (w.empty()) {
        for (const Break& b : report_.breaks)
            out_ << "break on " << b.on << (b.skip > 0 ? " skip " + std::to_string(b.skip) : "")
                 << (b.skip < 0 ? " page" : "") << (b.duplicates ? " dup" : " nodup") << '\n';
        return;
    }
    std::vector<Break> result;
    for (size_t i = 0; i < w.size(); ++i) {
        const std::string word = upper(w[i]);
        if (word == "ON") {
            if (i + 1 >= w.size()) throw UsageError("BREAK ON needs a column, REPORT or ROW");
            result.push_back({upper(w[++i]), 0, false});
        } else if (result.empty()) {
            throw UsageError("BREAK: ON expected, not '" + w[i] + "'");
        } else if (abbreviates(word, "SKIP", 3)) {
            if (i + 1 < w.size() && upper(w[i + 1]) == "PAGE") {
                result.back().skip = -1;
                ++i;
            } else {
                if (i + 1 >= w.size()) throw UsageError("BREAK ... SKIP needs a number or PAGE");
                result.back().skip = static_cast<int>(boundedNumber(w[++i], 0, 1000, "SKIP"));
            }
        } else if (word == "PAGE") {
            result.back().skip = -1;
        } else if (abbreviates(word, "NODUPLICATES", 5)) {
            result.back().duplicates = false;
        } else if (abbreviates(word, "DUPLICATES", 3)) {
            result.back().duplicates = true;
        } else {
            throw UsageError("BREAK: unexpected '" + w[i] + "'");
        }
    }
    report_.breaks = result;
    report_.enabled = true;
}

// COMPUTE function [LABEL text] ... OF column ... ON column|REPORT ...
void Shell::compute(const std::string& arguments) {
    static const char* const kNames[] = {"AVG", "COUNT", "MINIMUM", "MAXIMUM",
                                         "NUMBER", "SUM", "STD", "VARIANCE"};
    static const size_t kShortest[] = {3, 3, 3, 3, 3, 3, 3, 3};
    std::vector<std::string> w = words(arguments);
    if (w.empty()) {
        for (const Compute& c : report_.computes) {
            out_ << "COMPUTE";
            for (const Compute::Item& item : c.items)
                out_ << ' ' << kNames[static_cast<int>(item.function)] << " LABEL '" << item.label
                     << "'";
            out_ << " OF";
            for (const std::string& column : c.of) out_ << ' ' << column;
            out_ << " ON " << c.on << '\n';
        }
        return;
    }
    Compute compute;
    size_t i = 0;
    for (; i < w.size() && upper(w[i]) != "OF"; ++i) {
        if (abbreviates(w[i], "LABEL", 3)) {
            if (compute.items.empty() || i + 1 >= w.size())
                throw UsageError("COMPUTE: LABEL follows a function and needs a text");
            compute.items.back().label = w[++i];
            continue;
        }
        size_t f = 0;
        while (f < 8 && !abbreviates(w[i], kNames[f], kShortest[f])) ++f;
        if (f == 8) throw UsageError("COMPUTE: unknown function '" + w[i] + "'");
        std::string label = kNames[f];
        for (char& c : label) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        compute.items.push_back({static_cast<Compute::Function>(f), label});
    }
    for (++i; i < w.size() && upper(w[i]) != "ON"; ++i) compute.of.push_back(upper(w[i]));
    if (compute.items.empty() || compute.of.empty() || i + 1 >= w.size())
        throw UsageError("COMPUTE needs function ... OF column ... ON column|REPORT");
    std::stable_sort(compute.items.begin(), compute.items.end(),
                     [](const Compute::Item& a, const Compute::Item& b) {
                         return a.function < b.function;
                     });
    for (++i; i < w.size(); ++i) {
        Compute one = compute;
        one.on = upper(w[i]);
        // A new COMPUTE on the same break replaces the earlier one, as in SQL*Plus.
        auto& all = report_.computes;
        all.erase(std::remove_if(all.begin(), all.end(),
                                 [&](const Compute& c) { return c.on == one.on; }),
                  all.end());
        all.push_back(one);
    }
    report_.enabled = true;
}

// CLEAR COLUMNS forgets every COLUMN; BREAKS, COMPUTES, SCREEN, BUFFER, SQL, TIMING have nothing
// to clear.
void Shell::clear(const std::string& arguments) {
    for (const std::string& what : words(arguments)) {
        if (abbreviates(what, "COLUMNS", 3))
            report_.columns.clear();
        else if (abbreviates(what, "BREAKS", 3))
            report_.breaks.clear();
        else if (abbreviates(what, "COMPUTES", 4))
            report_.computes.clear();
        else if (!abbreviates(what, "SCREEN", 3) && !abbreviates(what, "BUFFER", 4) &&
                 !abbreviates(what, "SQL", 3) && !abbreviates(what, "TIMING", 4))
            throw UsageError("CLEAR takes BREAKS, BUFFER, COLUMNS, COMPUTES, SCREEN, SQL or TIMING");
    }
}

namespace {

// SQL*Plus's answer to a bind variable VARIABLE or PRINT names that was never declared.
UsageError notDeclared(const std::string& name) {
    return UsageError("SP2-0552: Bind variable \"" + upper(name) + "\" not declared.");
}

}  // namespace

// VARIABLE [name [type]]: declares a bind variable, or lists one or all of them as SQL*Plus does.
void Shell::variable(const std::string& arguments) {
    const std::string text = trim(arguments);
    auto list = [&](const Declaration& d) {
        out_ << "variable   " << d.name << "\n"
             << "datatype   " << d.type.shown << "\n";
    };
    if (text.empty()) {
        bool first = true;
        for (const Declaration* d : variables_.declarations()) {
            if (!first) out_ << "\n";
            list(*d);
            first = false;
        }
        return;
    }
    size_t end = 0;
    while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) ||
                                 text[end] == '_' || text[end] == '$' || text[end] == '#'))
        ++end;
    const std::string name = text.substr(0, end);
    const std::string type = trim(text.substr(end));
    if (name.empty() || !std::isalpha(static_cast<unsigned char>(name[0])) ||
        (!type.empty() && !std::isspace(static_cast<unsigned char>(text[end])) && text[end] != '('))
        throw UsageError("VARIABLE needs a variable name (a letter, then letters, digits, _ $ #), "
                         "not '" + text + "'");
    if (type.empty()) {
        const Declaration* d = variables_.declaration(name);
        if (!d) throw notDeclared(name);
        list(*d);
        return;
    }
    variables_.declare(name, parseBindType(type));
}

// PRINT [name ...]: each variable's value as a query result of one column headed by its name,
// read back through SQL of its declared type. PRINT alone prints every declared variable.
void Shell::print(const std::string& arguments) {
    std::vector<std::string> names = words(arguments);
    if (names.empty())
        for (const Declaration* d : variables_.declarations()) names.push_back(d->name);
    for (const std::string& name : names) {
        const std::string key = upper(name);
        if (!variables_.declaration(key) && !variables_.find(key)) throw notDeclared(name);
        printVariable(key);
    }
}

void Shell::printVariable(const std::string& name) {
    using Base = BindType::Base;
    const Declaration* d = variables_.declaration(name);
    std::string value = ":" + name;
    if (d) {
        switch (d->type.base) {
            case Base::Number:
                value = "TO_NUMBER(" + value + ")";
                break;
            case Base::BinaryFloat:
                value = "TO_BINARY_FLOAT(" + value + ")";
                break;
            case Base::BinaryDouble:
                value = "TO_BINARY_DOUBLE(" + value + ")";
                break;
            case Base::Char:
            case Base::Varchar2:
                value = "CAST(" + value + " AS " +
                        std::string(d->type.base == Base::Char ? "CHAR" : "VARCHAR2") + "(" +
                        std::to_string(d->type.length) + "))";
                break;
            case Base::Clob:
                value = "TO_CLOB(" + value + ")";
                break;
        }
    }
    const int id = session();
    applyMaxColumnSize();
    const std::string sql = "SELECT " + value + " AS \"" + name + "\" FROM DUAL";
    Connection::check(PrepareQuery(id, sql.c_str(), false));
    Binder(id, variables_).bind({name});
    Connection::check(Execute(id));
    printRows(d && d->type.text() ? static_cast<int>(d->type.length) : 0);
}

void Shell::readAssignedBinds(const std::vector<std::string>& names) {
    if (names.empty()) return;
    const int id = session();
    // TO_CHAR: every value as text (a DATE as NLS_DATE_FORMAT writes it, as Oracle gives a DATE
    // to a text bind), whatever mix of types the values have.
    Connection::check(
        ExecuteQuery(id, "SELECT NAME, TO_CHAR(VALUE) FROM TABLE(KAVEX$BIND_VALUES)", false));
    std::vector<std::pair<std::string, std::optional<std::string>>> assigned;
    while (Connection::check(NextRow(id)) == 1) {
        KavexPointerRecord name, value;
        Connection::check(GetString(id, 0, &name));
        Connection::check(GetString(id, 1, &value));
        assigned.emplace_back(std::string(name.value, name.length),
                              value.isNull ? std::nullopt
                                           : std::optional<std::string>(
                                                 std::string(value.value, value.length)));
    }
    for (const auto& [name, value] : assigned)
        if (std::find(names.begin(), names.end(), name) != names.end())
            variables_.assign(name, value ? &*value : nullptr);
}

void Shell::showErrors(const std::string& arguments) {
    std::vector<std::string> w = words(upper(arguments));
    std::string type = lastUnitType_, name = lastUnitName_;
    if (w.size() >= 2) {
        type = w[0];
        if (w.size() == 3 && w[1] == "BODY") type += " BODY";
        name = w.back();
        const size_t dot = name.find('.');
        if (dot != std::string::npos) name = name.substr(dot + 1);
    } else if (!w.empty()) {
        throw UsageError("SHOW ERRORS takes a type and a name (SHOW ERRORS PROCEDURE p)");
    }
    if (name.empty()) {
        out_ << "No errors.\n";
        return;
    }
    auto quoted = [](const std::string& text) {
        std::string q = "'";
        for (char c : text) q += c == '\'' ? std::string("''") : std::string(1, c);
        return q + "'";
    };
    const int id = session();
    Connection::check(ExecuteQuery(id,
                                   ("SELECT TO_CHAR(LINE) || '/' || TO_CHAR(POSITION), TEXT FROM "
                                    "USER_ERRORS WHERE NAME = " +
                                    quoted(name) + " AND TYPE = " + quoted(type) +
                                    " ORDER BY SEQUENCE")
                                       .c_str(),
                                   false));
    bool any = false;
    while (Connection::check(NextRow(id)) == 1) {
        KavexPointerRecord where, text;
        Connection::check(GetString(id, 0, &where));
        Connection::check(GetString(id, 1, &text));
        if (!any) {
            out_ << "Errors for " << type << " " << name << ":\n\nLINE/COL ERROR\n"
                 << "-------- " << std::string(65, '-') << "\n";
            any = true;
        }
        std::string at(where.value, static_cast<size_t>(where.length));
        at.resize(std::max<size_t>(at.size(), 8), ' ');
        const std::string message(text.value, static_cast<size_t>(text.length));
        // The message's further lines go under its first, as SQL*Plus indents them.
        size_t start = 0;
        bool first = true;
        while (start <= message.size()) {
            size_t end = message.find('\n', start);
            if (end == std::string::npos) end = message.size();
            std::string part = message.substr(start, end - start);
            const size_t lead = part.find_first_not_of(' ');
            if (lead != std::string::npos) {
                out_ << (first ? at : std::string(8, ' ')) << " " << part.substr(lead) << "\n";
                first = false;
            }
            start = end + 1;
        }
    }
    out_ << (any ? "\n" : "No errors.\n");
}

void Shell::show(const std::string& arguments) {
    const std::string what = upper(arguments);
    {
        const std::vector<std::string> w = words(what);
        if (!w.empty() && abbreviates(w[0], "ERRORS", 3)) {
            showErrors(arguments.substr(arguments.find_first_not_of(" \t") + w[0].size()));
            return;
        }
    }
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
    line(all || abbreviates(what, "LINESIZE", 3), "linesize " + std::to_string(report_.lineSize));
    line(all || abbreviates(what, "PAGESIZE", 5), "pagesize " + std::to_string(report_.pageSize));
    line(all || abbreviates(what, "NUMWIDTH", 4), "numwidth " + std::to_string(report_.numWidth));
    line(all || abbreviates(what, "COLSEP", 6), "colsep \"" + report_.colSep + "\"");
    line(all || abbreviates(what, "HEADING", 3),
         std::string("heading ") + onOffText(report_.heading));
    if (what.empty()) throw UsageError("SHOW needs a name (or ALL)");
    if (!shown) notice("SHOW " + what + ": kavex-sql has nothing to show for it");
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
    if (!w.empty() && upper(w[0]) == "OSERROR") {
        notice("WHENEVER OSERROR is accepted; the shell's own failures are reported as errors");
        return;
    }
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
    const Logon logon = parseLogon(arguments, "CONNECT");
    const std::string user = logon.user;
    const std::string connect = logon.connect ? *logon.connect : login_.connect;
    std::optional<std::string> password = logon.password;
    if (connect.empty()) throw UsageError("CONNECT needs user[/password]@connect: no database yet");
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
