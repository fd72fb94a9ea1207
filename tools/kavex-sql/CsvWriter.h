// CSV output (RFC 4180): a header line of column names, then one line per row as it is fetched.
// NULL is an empty field; since Oracle stores no empty strings, an empty field always means NULL.
#ifndef KAVEXSQL_CSVWRITER_H
#define KAVEXSQL_CSVWRITER_H

#include "ResultWriter.h"

namespace kavexsql {

class CsvWriter : public ResultWriter {
  public:
    explicit CsvWriter(std::ostream& out);
    void begin(const std::vector<Column>& columns) override;
    void row(Row values) override;
    void end() override;

  private:
    std::ostream& out_;
};

// The field quoted when it holds a comma, a quote, a line break or edge blanks.
std::string csvField(const std::string& text);

}  // namespace kavexsql

#endif
