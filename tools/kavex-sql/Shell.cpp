#include "Shell.h"

#include <cctype>
#include <chrono>
#include <climits>
#include <cstdio>
#include <stdexcept>

#include "Binder.h"
#include "Column.h"
#include "DbError.h"
#include "Interrupt.h"
#include "ReportWriter.h"
#include "SqlText.h"
#include "kavex_oracleociw.h"

namespace kavexsql {

namespace {

// Fetches the next row; false at the end of the rows, and also when a Ctrl-C cancelled the
// fetch, so that the result ends the same way whether the Ctrl-C came between two rows or
// while the library was reading the next ones.
bool nextRow(ValueReader& reader) {
    try {
        return reader.next();
    } catch (const DbError& error) {
        if (interrupt::pending() && std::string(error.what()).find("ORA-01013") != std::string::npos)
            return false;
        throw;
    }
}

// What the shell asks for when nothing may be cut.
constexpr int kUnlimitedColumnSize = INT_MAX;

std::string plural(long count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// "Table created." from "CREATE TABLE ...": the object word after the verb and its modifiers.
// A package's body is "Package body" ("Package Body" in a warning: bodyWord).
std::string ddlMessage(const std::string& sql, const std::string& verb, const std::string& done,
                       const char* bodyWord = "body") {
    std::string object;
    const std::vector<std::string> words = leadingWords(withoutLeadingComments(sql), 7);
    bool body = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == verb || word == "OR" || word == "REPLACE" || word == "UNIQUE" ||
            word == "GLOBAL" || word == "TEMPORARY" || word == "TEMP" || word == "PUBLIC" ||
            word == "IF" || word == "NOT" || word == "EXISTS" || word == "EDITIONABLE" ||
            word == "NONEDITIONABLE" || word == "FORCE" || word == "NOFORCE" || word == "BITMAP")
            continue;
        object = word;
        body = word == "PACKAGE" && i + 1 < words.size() && words[i + 1] == "BODY";
        break;
    }
    if (object.empty()) return verb.substr(0, 1) + upper(verb).substr(1) + " done.";
    std::string name = object.substr(0, 1);
    for (size_t k = 1; k < object.size(); ++k)
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(object[k])));
    if (body) name += std::string(" ") + bodyWord;
    return name + " " + done + ".";
}

// The ORA number at the start of a library message ("ORA-00942: ..."), or 0.
int oraCode(const std::string& message) {
    size_t at = message.find("ORA-");
    if (at == std::string::npos) return 0;
    int code = 0;
    for (size_t i = at + 4;
         i < message.size() && std::isdigit(static_cast<unsigned char>(message[i])); ++i)
        code = code * 10 + (message[i] - '0');
    return code;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) return lines;
        start = end + 1;
    }
}

// Commands whose time --timing reports: the ones that work in the database.
bool isDatabaseCommand(const std::string& line) {
    const std::string word = upper(line.substr(0, line.find_first_of(" \t")));
    const std::string command = sqlPlusCommandName(word);
    return word == "\\D" || word == "\\DT" || word == "\\LOAD" || command == "DESCRIBE" ||
           command == "CONNECT";
}

bool isConnect(const std::string& line) {
    return sqlPlusCommandName(firstKeyword(line)) == "CONNECT";
}

// How a unit goes into the terminal's history: one entry per statement, as it can be run again.
std::string historyText(const Unit& unit) {
    switch (unit.kind) {
        case Unit::Kind::Sql:  // a PL/SQL unit keeps its final ";" and needs its "/" line
            return unit.text + (unit.text.back() == ';' ? "\n/" : ";");
        case Unit::Kind::Rerun:
            return "/";
        case Unit::Kind::Command:
            if (isConnect(unit.text)) {  // never keep a password
                std::string text = unit.text;
                size_t slash = text.find('/');
                if (slash != std::string::npos) {
                    size_t at = text.find('@', slash);
                    text.erase(slash, at == std::string::npos ? std::string::npos : at - slash);
                }
                return text;
            }
            return unit.text;
        case Unit::Kind::Error:
            break;
    }
    return "";
}

}  // namespace

Shell::Shell(std::unique_ptr<Connection> connection, Login login, Settings settings,
             std::ostream& out, std::ostream& err)
    : connection_(std::move(connection)),
      login_(std::move(login)),
      settings_(std::move(settings)),
      out_(out.rdbuf()),
      err_(err.rdbuf()),
      spool_(out_, err_),
      explicitMaxSize_(settings_.maxColumnSize),
      appliedMaxSize_(kLibraryMaxColumnSize) {
    if (settings_.silent) prompt_.clear();
    report_.nullText = settings_.output.nullText == OutputOptions().nullText
                           ? std::string()
                           : settings_.output.nullText;
}

Shell::~Shell() { out_.flush(); }

Shell::Outcome Shell::run(LineSource& source) {
    StatementSplitter splitter;
    const bool file = source.isFile();
    if (file) scripts_.push_back(source.name());
    Outcome outcome = Outcome::Finished;
    int lineNumber = 0;
    for (;;) {
        out_.flush();
        std::optional<std::string> line =
            source.readLine(splitter.open() ? (settings_.silent ? "" : kContinuationPrompt)
                                            : prompt_);
        if (source.takeAbandoned())
            splitter = StatementSplitter();  // Ctrl-C: forget the statement being typed
        if (!line) break;
        ++lineNumber;
        for (const Unit& unit : splitter.addLine(*line, lineNumber)) {
            outcome = runUnit(unit, source);
            if (outcome != Outcome::Finished) break;
        }
        if (outcome != Outcome::Finished) break;
    }
    if (outcome == Outcome::Finished)
        if (std::optional<Unit> last = splitter.finish()) outcome = runUnit(*last, source);
    if (file) scripts_.pop_back();
    return outcome;
}

Shell::Outcome Shell::runUnit(const Unit& unit, LineSource& source) {
    source.remember(historyText(unit));
    source_ = &source;
    line_ = unit.line;
    spool_.setTerminal(termout_ || source.interactive());  // as SQL*Plus, only for scripts
    if (echo_ && !source.interactive() && unit.kind != Unit::Kind::Error) {
        std::string text = unit.text;
        if (unit.kind == Unit::Kind::Sql) text += text.back() == ';' ? "\n/" : ";";
        // As SQL*Plus echoes a statement: the prompt, then the further lines numbered.
        std::vector<std::string> lines = splitLines(text);
        for (size_t i = 0; i < lines.size(); ++i) {
            char number[32];
            std::snprintf(number, sizeof number, "%3zu  ", i + 1);
            out_ << (i == 0 ? prompt_ : std::string(number)) << lines[i] << '\n';
        }
    }
    const bool sql = unit.kind != Unit::Kind::Command || isConnect(unit.text);
    const bool timed = unit.kind == Unit::Kind::Sql || unit.kind == Unit::Kind::Rerun ||
                       (unit.kind == Unit::Kind::Command && isDatabaseCommand(unit.text));
    auto started = std::chrono::steady_clock::now();
    Outcome outcome = Outcome::Finished;
    bool failed = false;
    try {
        switch (unit.kind) {
            case Unit::Kind::Sql:
                lastSql_ = unit.text;
                runSql(substituted(unit.text));
                break;
            case Unit::Kind::Rerun:
                if (!lastSql_)
                    throw UsageError("nothing to run again: no statement before this \"/\"");
                runSql(substituted(*lastSql_));
                break;
            case Unit::Kind::Command:
                // Substitution variables are SQL*Plus's; backslash commands take text as it is.
                outcome = command(unit.text[0] == '\\' ? unit.text : defines_.substitute(unit.text),
                                  source);
                break;
            case Unit::Kind::Error:
                throw UsageError(unit.text);
        }
    } catch (const std::exception& e) {
        fail(source, unit.line, e.what());
        lastErrorCode_ = oraCode(e.what());
        failed = true;
    }
    if (settings_.timing && timed) {
        std::chrono::duration<double, std::milli> elapsed =
            std::chrono::steady_clock::now() - started;
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "Time: %.3f ms\n", elapsed.count());
        out_ << buffer;
    }
    if (failed && sql) {
        Outcome after = afterSqlError();
        if (after != Outcome::Finished) return after;
    }
    if (failed && settings_.stopOnError && !source.interactive()) return Outcome::Stopped;
    return outcome;
}

Shell::Outcome Shell::afterSqlError() {
    if (onSqlError_) return leave(*onSqlError_);
    finishTransaction(continueAction_);
    return Outcome::Finished;
}

void Shell::finishTransaction(ExitRule::Action action) {
    if (action == ExitRule::Action::None || !connection_) return;
    const char* sql = action == ExitRule::Action::Commit ? "COMMIT" : "ROLLBACK";
    try {
        Connection::check(ExecuteQuery(connection_->id(), sql, false));
    } catch (const std::exception& e) {
        ++errors_;
        out_.flush();
        err_ << "ERROR: " << sql << " failed: " << e.what() << '\n';
        err_.flush();
    }
}

// SET VERIFY ON shows each line that substitution changed, before and after, as SQL*Plus does.
std::string Shell::substituted(const std::string& text) {
    const std::string result = defines_.substitute(text);
    if (!verify_ || result == text) return result;
    std::vector<std::string> before = splitLines(text), after = splitLines(result);
    for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
        if (before[i] == after[i]) continue;
        char number[32];
        std::snprintf(number, sizeof number, "%4zu", i + 1);
        out_ << "old" << number << ": " << before[i] << '\n';
        out_ << "new" << number << ": " << after[i] << '\n';
    }
    return result;
}

void Shell::notice(const std::string& message) {
    out_.flush();
    if (!source_ || source_->interactive())
        err_ << "Note: " << message << '\n';
    else
        err_ << source_->name() << ":" << line_ << ": note: " << message << '\n';
    err_.flush();
}

void Shell::fail(const LineSource& source, int line, const std::string& message) {
    ++errors_;
    out_.flush();
    if (source.interactive())
        err_ << "ERROR: " << message << '\n';
    else
        err_ << source.name() << ":" << line << ": ERROR: " << message << '\n';
    err_.flush();
}

int Shell::session() const {
    if (!connection_) throw UsageError("not connected (CONNECT user/password@database)");
    return connection_->id();
}

int Shell::maxColumnSize() const {
    if (explicitMaxSize_ > 0) return explicitMaxSize_;
    return settings_.output.csv ? kUnlimitedColumnSize : kLibraryMaxColumnSize;
}

void Shell::applyMaxColumnSize() {
    const int wanted = maxColumnSize();
    if (wanted == appliedMaxSize_) return;
    Connection::check(SetIntSessionProperty(session(), KAVEX_PROPERTY_MAX_COLUMN_SIZE, wanted));
    appliedMaxSize_ = wanted;
}

void Shell::runSql(const std::string& statement) {
    const int id = session();
    applyMaxColumnSize();
    // q-quotes become ordinary literals, and ":a" and ":A" one placeholder, before the text goes.
    // A stored unit's text goes as written: its :NEW and :OLD are no shell variables.
    const bool unit = createsUnit(statement);
    const std::string sql = unit ? statement : upperPlaceholders(standardLiterals(statement));
    std::vector<std::string> names = unit ? std::vector<std::string>() : placeholders(sql);
    // Ctrl-C from here on cancels the execution or the fetch: it ends with ORA-01013, reported as
    // any error is, and the Ctrl-C is spent.
    interrupt::CancelsCalls cancels(id);
    try {
        int count;
        if (names.empty()) {
            count = Connection::check(ExecuteQuery(id, sql.c_str(), settings_.autoCommit));
        } else {
            Connection::check(PrepareQuery(id, sql.c_str(), settings_.autoCommit));
            Binder(id, variables_).bind(names);
            count = Connection::check(Execute(id));
        }
        rememberUnit(sql);
        if (Connection::check(GetColumnsCount(id)) > 0) {
            printRows();
            printServerOutput();
        } else {
            // SQL*Plus shows a block's lines before its "successfully completed".
            printServerOutput();
            report(sql, count);
            const std::string verb = firstKeyword(sql);
            if (verb == "BEGIN" || verb == "DECLARE") {
                // The block's OUT binds: what it assigned to the variables it names.
                readAssignedBinds(names);
                if (autoPrint_)
                    for (const std::string& name : names)
                        if (variables_.declaration(name)) printVariable(name);
            }
        }
    } catch (const DbError& e) {
        if (interrupt::take()) resetOutput();
        printServerOutput();
        // A stored unit that did not compile is created all the same, as SQL*Plus reports it.
        if (oraCode(e.what()) == 24344) {
            rememberUnit(sql);
            const std::vector<std::string> verb = leadingWords(withoutLeadingComments(sql), 1);
            const bool alter = !verb.empty() && verb[0] == "ALTER";
            std::string created = alter ? ddlMessage(sql, "ALTER", "altered", "Body")
                                        : ddlMessage(sql, "CREATE", "created", "Body");
            created.pop_back();  // its "."
            if (!settings_.output.quiet)
                out_ << "Warning: " << created << " with compilation errors.\n\n";
            return;
        }
        throw;
    }
}

namespace {

// Where the type word of CREATE [OR REPLACE] [EDITIONABLE] PROCEDURE | FUNCTION | PACKAGE |
// TRIGGER | TYPE stands in w; 0 for other statements.
size_t unitTypeWord(const std::vector<std::string>& w) {
    if (w.empty() || w[0] != "CREATE") return 0;
    for (size_t i = 1; i + 1 < w.size(); ++i) {
        if (w[i] == "OR" || w[i] == "REPLACE" || w[i] == "EDITIONABLE" || w[i] == "NONEDITIONABLE")
            continue;
        if (w[i] != "PROCEDURE" && w[i] != "FUNCTION" && w[i] != "PACKAGE" && w[i] != "TRIGGER" &&
            w[i] != "TYPE")
            return 0;
        return i;
    }
    return 0;
}

}  // namespace

bool Shell::createsUnit(const std::string& sql) {
    return unitTypeWord(leadingWords(withoutLeadingComments(sql), 6)) != 0;
}

void Shell::rememberUnit(const std::string& sql) {
    const std::vector<std::string> w = leadingWords(withoutLeadingComments(sql), 6);
    const size_t i = unitTypeWord(w);
    if (i == 0) return;
    lastUnitType_ = w[i];
    lastUnitName_ = w[i + 1];
    if (w[i + 1] == "BODY" && i + 2 < w.size()) {
        lastUnitType_ += " BODY";
        lastUnitName_ = w[i + 2];
    }
}

void Shell::printServerOutput() {
    if (!serverOutput_) return;
    const int id = session();
    if (ExecuteQuery(id, "SELECT COLUMN_VALUE FROM TABLE(DBMS_OUTPUT.GET_LINES)", false) < 0)
        return;
    bool any = false;
    while (NextRow(id) == 1) {
        KavexPointerRecord line;
        if (GetString(id, 0, &line) < 0) break;
        if (!line.isNull) out_.write(line.value, line.length);
        out_ << "\n";
        any = true;
    }
    if (any && !settings_.output.quiet) out_ << "\n";
}

void Shell::resetOutput() {
    out_.clear();
    std::clearerr(stdout);
}

void Shell::printRows(int textSize) {
    const int id = session();
    std::vector<Column> columns = readColumns(id);
    if (textSize > 0)
        for (Column& column : columns) column.size = textSize;
    std::unique_ptr<ResultWriter> writer =
        report_.enabled && !settings_.output.csv
            ? std::make_unique<ReportWriter>(report_, settings_.output.quiet, out_)
            : makeWriter(settings_.output, out_);
    ValueReader reader(id, columns, appliedMaxSize_);
    writer->begin(columns);
    Row last;
    while (!interrupt::pending() && nextRow(reader)) {
        last = reader.row();
        writer->row(last);
    }
    writer->end();
    // COLUMN ... NEW_VALUE: the substitution variable takes the column's value in the last row.
    for (size_t i = 0; i < columns.size(); ++i) {
        const ColumnFormat* format = report_.column(columns[i].name);
        if (format && !format->newValue.empty())
            defines_.set(format->newValue, i < last.size() && last[i] ? *last[i] : "");
    }
    if (interrupt::take()) {
        resetOutput();
        out_ << "Cancelled: the remaining rows were not fetched.\n\n";
    }
    std::vector<std::string> cut = reader.columnsAtLimit();
    if (!cut.empty()) {
        std::string names;
        for (const std::string& name : cut) names += (names.empty() ? "" : ", ") + name;
        out_.flush();
        err_ << "Warning: values of " << (cut.size() == 1 ? "column " : "columns ") << names
             << " reached the maximum column size of " << appliedMaxSize_
             << " and may be cut (\\maxsize N or --max-column-size N reads more)\n";
        err_.flush();
    }
}

void Shell::report(const std::string& sql, int count) {
    if (settings_.output.quiet) return;
    std::string verb = firstKeyword(sql);
    std::string message;
    if (verb == "INSERT")
        message = plural(count, "row") + " created.";
    else if (verb == "UPDATE")
        message = plural(count, "row") + " updated.";
    else if (verb == "DELETE")
        message = plural(count, "row") + " deleted.";
    else if (verb == "MERGE")
        message = plural(count, "row") + " merged.";
    else if (verb == "COMMIT")
        message = "Commit complete.";
    else if (verb == "ROLLBACK")
        message = "Rollback complete.";
    else if (verb == "CREATE")
        message = ddlMessage(sql, "CREATE", "created");
    else if (verb == "DROP")
        message = ddlMessage(sql, "DROP", "dropped");
    else if (verb == "ALTER")
        message = ddlMessage(sql, "ALTER", "altered");
    else if (verb == "TRUNCATE")
        message = "Table truncated.";
    else if (verb == "BEGIN" || verb == "DECLARE")
        message = "PL/SQL procedure successfully completed.";
    else if (count > 0)
        message = plural(count, "row") + " affected.";
    else
        message = "Statement processed.";
    out_ << message << "\n\n";
}

}  // namespace kavexsql
