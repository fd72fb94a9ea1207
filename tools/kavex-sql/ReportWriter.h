// Query results laid out as SQL*Plus lays them out (used once a SET LINESIZE, PAGESIZE, COLSEP, ...
// or COLUMN command is in force): each column as wide as its type (VARCHAR2(n): n, numbers:
// NUMWIDTH, or its COLUMN FORMAT), headings cut to that width for text, underlined, separated by
// COLSEP; columns that pass LINESIZE continue on the next line of the record; values longer than
// their column wrap within it (or are cut with WRAP OFF); headings again on every page of PAGESIZE
// lines (none with PAGESIZE 0); then "n rows selected." from FEEDBACK rows on, or "no rows
// selected".
#ifndef KAVEXSQL_REPORTWRITER_H
#define KAVEXSQL_REPORTWRITER_H

#include "ReportSettings.h"
#include "ResultWriter.h"

namespace kavexsql {

class ReportWriter : public ResultWriter {
  public:
    // Columns whose width comes from their values wait for this many rows.
    static constexpr size_t kLookAhead = 100;

    ReportWriter(const ReportSettings& settings, bool feedbackOff, std::ostream& out);
    void begin(const std::vector<Column>& columns) override;
    void row(Row values) override;
    void end() override;

  private:
    struct Layout {
        size_t index;  // in the result
        std::string format;
        std::vector<std::string> heading;
        size_t width = 0;
        bool numeric = false;
        bool sized = false;  // the width is known before any row
        bool wrapped = true;
        std::string nullText;
        size_t line = 0;  // which line of the record it is printed on
    };

    std::string text(const Layout& column, const Value& value) const;
    void arrange();
    void startPage();
    void printRecord(const Row& values);
    void emit(std::string line);

    const ReportSettings& settings_;
    bool feedbackOff_;
    std::ostream& out_;
    std::vector<Layout> layout_;
    size_t recordLines_ = 1;  // lines of one record's columns
    std::vector<Row> pending_;
    bool arranged_ = false;
    size_t rows_ = 0;
    int linesOnPage_ = 0;
    bool pageStarted_ = false;
};

}  // namespace kavexsql

#endif
