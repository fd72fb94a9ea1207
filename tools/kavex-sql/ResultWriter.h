// Where result rows go. Rows arrive one at a time as they are fetched; a writer prints them as soon
// as it can (the table writer holds back only its look-ahead window).
#ifndef KAVEXSQL_RESULTWRITER_H
#define KAVEXSQL_RESULTWRITER_H

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "Column.h"
#include "ValueReader.h"

namespace kavexsql {

struct OutputOptions {
    bool csv = false;
    bool quiet = false;  // no "(n rows)" footer
    std::string nullText = "(null)";
};

class ResultWriter {
  public:
    virtual ~ResultWriter() = default;
    virtual void begin(const std::vector<Column>& columns) = 0;
    virtual void row(Row values) = 0;
    virtual void end() = 0;
};

std::unique_ptr<ResultWriter> makeWriter(const OutputOptions& options, std::ostream& out);

}  // namespace kavexsql

#endif
