// A session's DBMS_OUTPUT buffer: the lines PUT_LINE, PUT and NEW_LINE write while output is
// enabled, kept until GET_LINE or GET_LINES reads them. Lines written while it is disabled are
// dropped, as Oracle drops them.
#ifndef KAVEXDB_PLSQL_OUTPUT_BUFFER_H
#define KAVEXDB_PLSQL_OUTPUT_BUFFER_H

#include <cstddef>
#include <deque>
#include <string>

namespace kavexdb {
namespace detail {
namespace plsql {

class OutputBuffer {
  public:
    // ENABLE(buffer_size): a size of 0 or less is no limit. Past the limit, PUT and PUT_LINE
    // fail with ORA-20000 (ORU-10027), as Oracle's do.
    void enable(long long bufferSize);
    void disable();
    bool enabled() const { return enabled_; }
    void put(const std::string& text);
    void newLine();
    void putLine(const std::string& text) {
        put(text);
        newLine();
    }
    // The oldest complete line; false when there is none.
    bool getLine(std::string& line);
    std::size_t lineCount() const { return lines_.size(); }

  private:
    void reserve(std::size_t bytes);

    bool enabled_ = false;
    long long limit_ = 20000;
    long long used_ = 0;
    std::deque<std::string> lines_;
    std::string partial_;  // PUT's text not yet ended by NEW_LINE
};

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb

#endif
