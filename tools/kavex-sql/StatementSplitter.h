// Cuts input lines into the shell's units of work, as SQL*Plus reads a script:
//  - SQL statements, ended by ";" outside quotes and comments (the ";" is not sent), or by a line
//    holding only "/";
//  - PL/SQL units (BEGIN ..., DECLARE ..., CREATE [OR REPLACE] PROCEDURE / FUNCTION / PACKAGE
//    [BODY] / TYPE [BODY] / TRIGGER / LIBRARY): one statement ended only by a "/" line, sent whole
//    with the semicolons inside it;
//  - a "/" line with no statement open: run the last statement again;
//  - one-line commands: a line starting with "\", "@", or a command word (DESCRIBE, EXIT, SET,
//    SPOOL, ...) when no statement is open. A line starting with "\" outside quotes and comments
//    also ends the statement being typed first.
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

// The SQL*Plus command a word names, in full ("desc" -> "DESCRIBE", "CONN" -> "CONNECT"), or ""
// when it names none. Also names SQL*Plus commands the shell does not have (COLUMN, VARIABLE, ...).
std::string sqlPlusCommandName(const std::string& word);

// True for the full names of the SQL*Plus commands the shell runs.
bool isSqlPlusCommandTheShellHas(const std::string& name);

}  // namespace kavexsql

#endif
