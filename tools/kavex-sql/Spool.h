// SPOOL file: a copy of everything the shell prints (results, messages and errors) goes to a file
// as well, until SPOOL OFF. The shell's two streams write through a TeeBuffer while spooling.
#ifndef KAVEXSQL_SPOOL_H
#define KAVEXSQL_SPOOL_H

#include <fstream>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

namespace kavexsql {

// Writes every character to two stream buffers.
class TeeBuffer : public std::streambuf {
  public:
    TeeBuffer(std::streambuf* first, std::streambuf* second) : first_(first), second_(second) {}

  protected:
    int overflow(int c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

  private:
    std::streambuf* first_;
    std::streambuf* second_;
};

// Takes everything and keeps nothing: the terminal's place under SET TERMOUT OFF.
class NullBuffer : public std::streambuf {
  protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

class Spool {
  public:
    // The streams whose output is copied while spooling; they must outlive the spool.
    Spool(std::ostream& out, std::ostream& err);
    ~Spool();
    Spool(const Spool&) = delete;
    Spool& operator=(const Spool&) = delete;

    // Starts copying to path (appending or replacing); throws UsageError when it cannot be opened.
    // A spool already running is closed first.
    void start(const std::string& path, bool append);
    // Stops copying; false when nothing was being spooled.
    bool stop();
    // SET TERMOUT: whether results and messages reach the terminal (the spool file gets them
    // either way; errors always reach it).
    void setTerminal(bool on);
    // The file being written, or "" when not spooling.
    const std::string& path() const { return path_; }

  private:
    std::ostream& out_;
    std::ostream& err_;
    std::streambuf* outBuffer_;
    std::streambuf* errBuffer_;
    std::ofstream file_;
    std::unique_ptr<TeeBuffer> outTee_;
    std::unique_ptr<TeeBuffer> errTee_;
    std::string path_;
    NullBuffer null_;
    bool terminal_ = true;

    std::streambuf* screen() { return terminal_ ? outBuffer_ : &null_; }
};

}  // namespace kavexsql

#endif
