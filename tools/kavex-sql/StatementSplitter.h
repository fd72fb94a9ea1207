// Cuts input lines into the shell's units of work:
//  - SQL statements, ended by ";" outside quotes and comments (the ";" is not sent), or by a line
//    holding only "/" (SQL*Plus style; the only end of a PL/SQL block, BEGIN ... or DECLARE ...);
//    a CREATE TRIGGER statement ends at the ";" after its END;
//  - one-line commands: a line starting with "\" or with DESCRIBE, DESC, EXIT or QUIT, when no
//    statement is open.
#ifndef KAVEXSQL_STATEMENTSPLITTER_H
#define KAVEXSQL_STATEMENTSPLITTER_H

#include <optional>
#include <string>
#include <vector>

namespace kavexsql {

struct Unit {
    enum class Kind { Sql, Command };
    Kind kind;
    std::string text;
    int line;  // where the unit starts, counting from 1
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
    bool isBlock() const;
    bool isTrigger() const;
    bool endsWithEnd(size_t semicolon) const;
    void emit(size_t end, std::vector<Unit>& done);

    std::string buffer_;
    size_t scanned_ = 0;
    char quote_ = 0;  // the open quote character, or 0
    bool blockComment_ = false;
    bool lineComment_ = false;
    int startLine_ = 0;
    int currentLine_ = 0;
};

// True when the text is only blanks and comments.
bool isBlankSql(const std::string& text);

}  // namespace kavexsql

#endif
