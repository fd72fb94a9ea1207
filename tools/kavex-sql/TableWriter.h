// Aligned table output: column names as headers, " | " between cells, number columns right-aligned,
// NULL as the null text, then "(n rows)". Column widths come from the headers and the first
// kLookAhead rows; later rows are printed as they arrive, a value wider than its column simply
// pushes the rest of its line to the right (nothing is cut).
#ifndef KAVEXSQL_TABLEWRITER_H
#define KAVEXSQL_TABLEWRITER_H

#include "ResultWriter.h"

namespace kavexsql {

class TableWriter : public ResultWriter {
  public:
    static constexpr size_t kLookAhead = 100;

    TableWriter(const OutputOptions& options, std::ostream& out);
    void begin(const std::vector<Column>& columns) override;
    void row(Row values) override;
    void end() override;

  private:
    std::string cell(const Value& value) const;
    void printHeader();
    void printRow(const Row& values);

    const OutputOptions& options_;
    std::ostream& out_;
    std::vector<Column> columns_;
    std::vector<size_t> widths_;
    std::vector<Row> pending_;
    bool headerPrinted_ = false;
    size_t rows_ = 0;
};

// Display width of UTF-8 text: one per code point.
size_t displayWidth(const std::string& text);

// The text with line breaks, tabs and other control characters shown as escapes, so a cell stays
// on its line.
std::string escapeControls(const std::string& text);

}  // namespace kavexsql

#endif
