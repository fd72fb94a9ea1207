// Where input lines come from: the terminal (GNU readline, with line editing and a history kept in
// ~/.kavex_sql_history, one entry per statement however many lines it has), a file or pipe, or
// the text of -c.
#ifndef KAVEXSQL_LINESOURCE_H
#define KAVEXSQL_LINESOURCE_H

#include <fstream>
#include <istream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kavexsql {

// The prompts at the terminal: for a new statement, and for the further lines of one.
inline const char* const kPrompt = "kavex> ";
inline const char* const kContinuationPrompt = "   ..> ";

class LineSource {
  public:
    virtual ~LineSource() = default;
    // The next line without its newline; nothing at the end of input.
    virtual std::optional<std::string> readLine(const std::string& prompt) = 0;
    // Where errors are reported from ("<stdin>", the file name, "-c").
    virtual std::string name() const = 0;
    virtual bool interactive() const { return false; }
    // True for a script file (name() is then its path).
    virtual bool isFile() const { return false; }
    // Records a finished unit in the history (terminal only).
    virtual void remember(const std::string&) {}
    // True once if Ctrl-C dropped the line being typed since the last call (terminal only): the
    // unfinished statement is to be forgotten.
    virtual bool takeAbandoned() { return false; }
};

class TerminalSource : public LineSource {
  public:
    TerminalSource();
    ~TerminalSource() override;
    std::optional<std::string> readLine(const std::string& prompt) override;
    std::string name() const override { return "<terminal>"; }
    bool interactive() const override { return true; }
    void remember(const std::string& unit) override;
    bool takeAbandoned() override;

  private:
    std::string historyFile_;
    bool abandoned_ = false;
    std::vector<std::string> recalled_;  // further lines of a multi-line entry taken from history
};

class StreamSource : public LineSource {
  public:
    StreamSource(std::istream& in, std::string name);
    StreamSource(std::unique_ptr<std::istream> owned, std::string name, bool file = false);
    std::optional<std::string> readLine(const std::string& prompt) override;
    std::string name() const override { return name_; }
    bool isFile() const override { return file_; }

  private:
    std::unique_ptr<std::istream> owned_;
    std::istream& in_;
    std::string name_;
    bool file_ = false;
};

// A script file; throws std::runtime_error when it cannot be opened.
std::unique_ptr<LineSource> openFile(const std::string& path);
// The text of -c.
std::unique_ptr<LineSource> openText(const std::string& text);

}  // namespace kavexsql

#endif
