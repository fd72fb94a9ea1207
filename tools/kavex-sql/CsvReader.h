// Reads CSV records (RFC 4180: comma-separated, fields optionally in double quotes, "" for a quote
// inside, line breaks allowed inside quotes). An empty unquoted field is NULL; a quoted empty field
// "" is an empty text, which Oracle also stores as NULL.
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
    explicit CsvReader(std::istream& in);
    // The next record; nothing at the end. Throws UsageError for an unterminated quote.
    std::optional<CsvRecord> next();
    // The line on which the last record returned started.
    int line() const { return recordLine_; }

  private:
    std::istream& in_;
    int line_ = 0;
    int recordLine_ = 0;
};

}  // namespace kavexsql

#endif
