// Cuts input lines into the shell's units of work, as SQL*Plus reads a script:
//  - SQL statements, ended by ";" outside quotes and comments (the ";" is not sent), or by a line
//    holding only "/";
//  - PL/SQL units (BEGIN ..., DECLARE ..., CREATE [OR REPLACE] PROCEDURE / FUNCTION / PACKAGE
//    [BODY] / TYPE [BODY] / TRIGGER / LIBRARY): one statement ended only by a "/" line, sent whole
//    with the semicolons inside it;
//  - a "/" line with no statement open: run the last statement again;
//  - one-line commands: a line starting with "\", "@", or a command word (DESCRIBE, EXIT, SET,
//    SPOOL, COLUMN, SQLcl's LOAD, ...) when no statement is open; each ends at its line. A line
//    starting with "\" outside quotes and comments also ends the statement being typed first;
//    "DESCRIBE name" and "#command" inside a statement run at once and the statement goes on.
// Text still inside a quote or a comment at the end of the input is an error unit naming the line
// where the quote opened: none of it runs.
#ifndef KAVEXSQL_STATEMENTSPLITTER_H
#define KAVEXSQL_STATEMENTSPLITTER_H

#include <optional>
#include <string>
#include <vector>

namespace kavexsql {

struct Unit {
    enum class Kind { Sql, Command, Rerun, Error };
    Kind kind;
    std::string text;  // Error: the message
    int line;          // where the unit starts, counting from 1
};

class StatementSplitter {
  public:
    // Takes one line (without its newline) and returns the units it completed.
    std::vector<Unit> addLine(const std::string& line, int lineNumber);
    // End of input: what is left, if anything but blanks and comments, as a last statement.
    std::optional<Unit> finish();
    // True while a statement has begun but not ended.
    bool open() const;

  private:
    void scan(std::vector<Unit>& done);
    bool isPlsql();
    void emit(size_t end, bool keepSemicolon, std::vector<Unit>& done);
    int lineAt(size_t position) const;
    void clear();

    std::string buffer_;
    int bufferLine_ = 1;  // the line of buffer_[0]
    size_t scanned_ = 0;  // where scanning goes on when the next line arrives
    bool inRun_ = false;  // the buffer ends inside a quote or a block comment
    size_t runStart_ = 0;
    std::optional<bool> plsql_;  // known once the statement's first ";" is reached
    int currentLine_ = 0;
};

// True when the text is only blanks and comments.
bool isBlankSql(const std::string& text);

// True when the (trimmed) line is a one-line command rather than SQL.
bool isCommandLine(const std::string& trimmed);

// The SQL*Plus or SQLcl command a word names, in full ("desc" -> "DESCRIBE", "CONN" -> "CONNECT"),
// or "" when it names none. Also names the commands the shell does not run (HOST, SAVE, ...).
std::string sqlPlusCommandName(const std::string& word);

// What the shell does with a command: runs it; accepts it with a notice, as it changes nothing in
// the database; or refuses it, as it would act on the database beyond what the library offers.
enum class CommandKind { Runs, NoEffect, NeedsDatabase };
CommandKind commandKind(const std::string& fullName);

// True when a line typed inside an unfinished statement is a command that runs at once, leaving
// the statement as it was: "DESCRIBE name" (as SQL*Plus runs it) or a line starting with "#",
// SQL*Plus's prefix for such commands.
bool isCommandInsideStatement(const std::string& trimmed);

}  // namespace kavexsql

#endif
