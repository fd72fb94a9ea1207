// The read-run-print loop: takes units from a line source, runs SQL through the library (binding
// the variables it names), prints results through the writer of the current format, and reports
// failures with GetError's text without ending the session (unless stop-on-error is set for a
// script).
#ifndef KAVEXSQL_SHELL_H
#define KAVEXSQL_SHELL_H

#include <optional>
#include <ostream>
#include <string>

#include "LineSource.h"
#include "ResultWriter.h"
#include "StatementSplitter.h"
#include "Variables.h"

namespace kavexsql {

struct Settings {
    OutputOptions output;
    bool timing = false;
    bool autoCommit = false;
    bool stopOnError = false;
};

class Shell {
  public:
    enum class Outcome { Finished, Quit, Stopped };

    Shell(int session, Settings settings, std::ostream& out, std::ostream& err);

    // Runs every unit of the source. Quit: \q or EXIT; Stopped: a failure under stop-on-error.
    Outcome run(LineSource& source);

    int errors() const { return errors_; }
    // The code EXIT asked for, when it named one.
    std::optional<int> exitCode() const { return exitCode_; }

  private:
    Outcome runUnit(const Unit& unit, LineSource& source);
    void runSql(const std::string& sql);
    void printRows();
    void report(const std::string& sql, int count);
    Outcome command(const std::string& line);
    void setVariable(const std::string& arguments);
    void fail(const LineSource& source, int line, const std::string& message);

    int session_;
    Settings settings_;
    std::ostream& out_;
    std::ostream& err_;
    Variables variables_;
    int errors_ = 0;
    std::optional<int> exitCode_;
    int depth_ = 0;  // nesting of \i
};

}  // namespace kavexsql

#endif
