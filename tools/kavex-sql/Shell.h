// The read-run-print loop: takes units from a line source, runs SQL through the library (binding
// the variables it names), prints results through the writer of the current format, and reports
// failures with GetError's text without ending the session (unless stop-on-error is set for a
// script, or WHENEVER SQLERROR EXIT is in force).
#ifndef KAVEXSQL_SHELL_H
#define KAVEXSQL_SHELL_H

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "Connection.h"
#include "Defines.h"
#include "LineSource.h"
#include "ReportSettings.h"
#include "ResultWriter.h"
#include "Spool.h"
#include "kavex_oracleociw.h"
#include "StatementSplitter.h"
#include "Variables.h"

namespace kavexsql {

struct Settings {
    OutputOptions output;
    bool timing = false;
    bool autoCommit = false;
    bool stopOnError = false;
    int maxColumnSize = 0;  // --max-column-size; 0: not given
    bool silent = false;    // -s: no prompts at the terminal
};

// Where the session is connected: kept for CONNECT without "@connect" and for SHOW USER.
struct Login {
    std::string connect;
    std::string user;
};

// How EXIT and WHENEVER SQLERROR EXIT leave: a status, or the number of the last ORA error, and
// whether the open transaction is committed or rolled back first.
struct ExitRule {
    enum class Status { Default, Code, SqlCode };
    enum class Action { Commit, Rollback, None };
    Status status = Status::Default;
    int code = 0;
    Action action = Action::Commit;
};

class Shell {
  public:
    enum class Outcome { Finished, Quit, Stopped };
    // The library's maximum column size of a new session (property 1).
    static constexpr int kLibraryMaxColumnSize = KAVEX_DEFAULT_MAX_COLUMN_SIZE;

    // The shell closes the connection when it goes away (or at CONNECT).
    Shell(std::unique_ptr<Connection> connection, Login login, Settings settings, std::ostream& out,
          std::ostream& err);
    ~Shell();

    // Runs every unit of the source. Quit: \q, EXIT or WHENEVER SQLERROR EXIT; Stopped: a failure
    // under stop-on-error.
    Outcome run(LineSource& source);

    int errors() const { return errors_; }
    // The code EXIT (or WHENEVER SQLERROR EXIT) asked for, when it named one.
    std::optional<int> exitCode() const { return exitCode_; }

  private:
    Outcome runUnit(const Unit& unit, LineSource& source);
    Outcome afterSqlError();
    void runSql(const std::string& sql);
    // SET SERVEROUTPUT ON: the DBMS_OUTPUT lines a statement's PL/SQL wrote, printed after it.
    void printServerOutput();
    // After CREATE of a PL/SQL unit: the unit SHOW ERRORS shows.
    void rememberUnit(const std::string& sql);
    // CREATE of a procedure, function, package, trigger or type.
    static bool createsUnit(const std::string& sql);
    // The current result's rows. textSize > 0: the size of its columns, text ones, where the
    // describe of an expression sees only the values (PRINT of a CHAR or VARCHAR2 variable).
    void printRows(int textSize = 0);
    // Ctrl-C can break off a write to a full terminal (EINTR), which leaves the stream failed; the
    // rows may end mid-line, but what follows and the session must go on.
    void resetOutput();
    void report(const std::string& sql, int count);
    void finishTransaction(ExitRule::Action action);
    int session() const;
    void applyMaxColumnSize();
    int maxColumnSize() const;
    void fail(const LineSource& source, int line, const std::string& message);
    // A one-line note on standard error that changes nothing else (not an error).
    void notice(const std::string& message);
    std::string substituted(const std::string& text);

    // Commands.cpp: DESCRIBE, EXIT and the backslash commands.
    Outcome command(const std::string& line, LineSource& source);
    void setVariable(const std::string& arguments);
    void listTables(const std::string& pattern, bool withViews);
    void switchSetting(bool& setting, const std::string& argument, const std::string& command,
                       const std::string& what);
    Outcome runScript(const std::string& path, const std::vector<std::string>& arguments);

    // SqlPlusCommands.cpp: SET, SHOW, SPOOL, PROMPT, DEFINE, WHENEVER, CONNECT, @, EXIT's rule.
    Outcome sqlPlusCommand(const std::string& word, const std::string& rest,
                           const LineSource& source);
    void set(const std::string& arguments);
    std::string numberFormatOrNothing(const std::string& format);
    bool setReportOption(const std::string& option, const std::string& value);
    void column(const std::string& arguments);
    void breaks(const std::string& arguments);
    void compute(const std::string& arguments);
    void clear(const std::string& arguments);
    void variable(const std::string& arguments);
    void print(const std::string& arguments);
    void printVariable(const std::string& name);
    // After a PL/SQL block that names these bind variables: the values it assigned to them.
    void readAssignedBinds(const std::vector<std::string>& names);
    void show(const std::string& arguments);
    // SHOW ERRORS [type name]: USER_ERRORS of that unit, or of the last one this shell created.
    void showErrors(const std::string& arguments);
    void spool(const std::string& arguments);
    void define(const std::string& arguments);
    void whenever(const std::string& arguments);
    void connect(const std::string& arguments);
    Outcome leave(const ExitRule& rule);
    int statusOf(const ExitRule& rule) const;

    std::unique_ptr<Connection> connection_;
    Login login_;
    Settings settings_;
    std::ostream out_;  // on the caller's streams; SPOOL copies them to a file
    std::ostream err_;
    Spool spool_;
    Variables variables_;
    Defines defines_;
    std::optional<std::string> lastSql_;                        // what a "/" line runs again
    std::optional<ExitRule> onSqlError_;                        // WHENEVER SQLERROR EXIT
    ExitRule::Action continueAction_ = ExitRule::Action::None;  // WHENEVER SQLERROR CONTINUE
    int lastErrorCode_ = 0;    // the ORA number of the last failure, for SQL.SQLCODE
    int explicitMaxSize_ = 0;  // from --max-column-size, \maxsize or SET LONG; 0: none
    int appliedMaxSize_ = 0;   // what the session has now
    int errors_ = 0;
    std::optional<int> exitCode_;
    std::vector<std::string> scripts_;  // the files being run, innermost last (for @@)
    ReportSettings report_;
    bool echo_ = false;    // SET ECHO ON: statements of scripts are printed before they run
    bool serverOutput_ = false;  // SET SERVEROUTPUT ON
    bool autoPrint_ = false;     // SET AUTOPRINT ON: a block's bind variables printed after it
    std::string lastUnitType_, lastUnitName_;  // the PL/SQL unit last created, for SHOW ERRORS
    bool verify_ = false;
    bool termout_ = true;  // SET TERMOUT OFF: scripts' output goes only to the spool file  // SET VERIFY ON: lines that substitution changed are shown
    std::string prompt_ = kPrompt;
    const LineSource* source_ = nullptr;  // where the unit being run comes from, for notices
    int line_ = 0;
};

}  // namespace kavexsql

#endif
