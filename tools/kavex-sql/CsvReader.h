// Reads CSV records (RFC 4180: comma-separated, fields optionally in double quotes, "" for a quote
// inside, line breaks allowed inside quotes). A record ends at LF or CRLF; a quoted field keeps its
// bytes exactly, CR LF included. An empty unquoted field is NULL; a quoted empty field "" is an
// empty text, which Oracle also stores as NULL. A UTF-8 byte order mark before the first record
// is skipped.
#ifndef KAVEXSQL_CSVREADER_H
#define KAVEXSQL_CSVREADER_H

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace kavexsql {

using CsvRecord = std::vector<std::optional<std::string>>;

class CsvReader {
  public:
    // name: how errors name the input (the file's path).
    explicit CsvReader(std::istream& in, std::string name = "CSV");
    // The next record; nothing at the end. Throws UsageError for an unterminated quote, naming
    // the input and the line where the quote opened.
    std::optional<CsvRecord> next();
    // The line on which the last record returned started.
    int line() const { return recordLine_; }

  private:
    std::istream& in_;
    std::string name_;
    int line_ = 1;  // the line being read
    int recordLine_ = 0;
    bool started_ = false;
};

}  // namespace kavexsql

#endif
