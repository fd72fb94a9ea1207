#include "Shell.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <stdexcept>

#include "Binder.h"
#include "Column.h"
#include "Connection.h"
#include "DbError.h"
#include "Interrupt.h"
#include "SqlText.h"
#include "kavex_oracleociw.h"

namespace kavexsql {

namespace {

std::string plural(long count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// "Table created." from "CREATE TABLE ...": the object word after the verb and its modifiers.
std::string ddlMessage(const std::string& sql, const std::string& verb, const std::string& done) {
    std::string rest = withoutLeadingComments(sql);
    std::string object;
    size_t i = 0;
    auto nextWord = [&] {
        while (i < rest.size() && !std::isalpha(static_cast<unsigned char>(rest[i]))) ++i;
        size_t j = i;
        while (j < rest.size() &&
               (std::isalpha(static_cast<unsigned char>(rest[j])) || rest[j] == '_'))
            ++j;
        std::string word = upper(rest.substr(i, j - i));
        i = j;
        return word;
    };
    nextWord();  // the verb
    for (int n = 0; n < 4; ++n) {
        std::string word = nextWord();
        if (word == "OR" || word == "REPLACE" || word == "UNIQUE" || word == "GLOBAL" ||
            word == "TEMPORARY" || word == "TEMP" || word == "PUBLIC" || word == "IF" ||
            word == "NOT" || word == "EXISTS")
            continue;
        object = word;
        break;
    }
    if (object.empty()) return verb + " done.";
    std::string name = object.substr(0, 1) + std::string(object.begin() + 1, object.end());
    for (size_t k = 1; k < name.size(); ++k)
        name[k] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[k])));
    return name + " " + done + ".";
}

}  // namespace

Shell::Shell(int session, Settings settings, std::ostream& out, std::ostream& err)
    : session_(session), settings_(std::move(settings)), out_(out), err_(err) {}

Shell::Outcome Shell::run(LineSource& source) {
    StatementSplitter splitter;
    int lineNumber = 0;
    for (;;) {
        out_.flush();
        std::optional<std::string> line =
            source.readLine(splitter.open() ? kContinuationPrompt : kPrompt);
        if (source.takeAbandoned())
            splitter = StatementSplitter();  // Ctrl-C: forget the statement being typed
        if (!line) break;
        ++lineNumber;
        for (const Unit& unit : splitter.addLine(*line, lineNumber)) {
            Outcome outcome = runUnit(unit, source);
            if (outcome != Outcome::Finished) return outcome;
        }
    }
    if (std::optional<Unit> last = splitter.finish()) return runUnit(*last, source);
    return Outcome::Finished;
}

Shell::Outcome Shell::runUnit(const Unit& unit, LineSource& source) {
    source.remember(unit.kind == Unit::Kind::Sql ? unit.text + ";" : unit.text);
    auto started = std::chrono::steady_clock::now();
    Outcome outcome = Outcome::Finished;
    bool failed = false;
    try {
        if (unit.kind == Unit::Kind::Sql)
            runSql(unit.text);
        else
            outcome = command(unit.text);
    } catch (const DbError& e) {
        fail(source, unit.line, e.what());
        failed = true;
    } catch (const UsageError& e) {
        fail(source, unit.line, e.what());
        failed = true;
    } catch (const std::exception& e) {
        fail(source, unit.line, e.what());
        failed = true;
    }
    if (settings_.timing && unit.kind == Unit::Kind::Sql) {
        std::chrono::duration<double, std::milli> elapsed =
            std::chrono::steady_clock::now() - started;
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "Time: %.3f ms\n", elapsed.count());
        out_ << buffer;
    }
    if (failed && settings_.stopOnError && !source.interactive()) return Outcome::Stopped;
    return outcome;
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

void Shell::runSql(const std::string& sql) {
    std::vector<std::string> names = placeholders(sql);
    int count;
    if (names.empty()) {
        count = Connection::check(ExecuteQuery(session_, sql.c_str(), settings_.autoCommit));
    } else {
        Connection::check(PrepareQuery(session_, sql.c_str(), settings_.autoCommit));
        Binder(session_, variables_).bind(names);
        count = Connection::check(Execute(session_));
    }
    if (Connection::check(GetColumnsCount(session_)) > 0)
        printRows();
    else
        report(sql, count);
}

void Shell::printRows() {
    std::vector<Column> columns = readColumns(session_);
    std::unique_ptr<ResultWriter> writer = makeWriter(settings_.output, out_);
    ValueReader reader(session_, columns);
    writer->begin(columns);
    while (!interrupt::pending() && reader.next()) writer->row(reader.row());
    writer->end();
    if (interrupt::take()) {
        // Ctrl-C can break off a write to a full terminal (EINTR), which leaves the stream
        // failed; the rows may end mid-line, but the notice and the session must go on.
        out_.clear();
        std::clearerr(stdout);
        out_ << "Cancelled: the remaining rows were not fetched.\n\n";
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
        message = ddlMessage(sql, "Create", "created");
    else if (verb == "DROP")
        message = ddlMessage(sql, "Drop", "dropped");
    else if (verb == "ALTER")
        message = ddlMessage(sql, "Alter", "altered");
    else if (verb == "TRUNCATE")
        message = "Table truncated.";
    else if (count > 0)
        message = plural(count, "row") + " affected.";
    else
        message = "Statement processed.";
    out_ << message << "\n\n";
}

}  // namespace kavexsql
