// Query results laid out as SQL*Plus lays them out (used once a SET LINESIZE, PAGESIZE, COLSEP, ...
// or COLUMN command is in force): each column as wide as its type (VARCHAR2(n): n, numbers:
// NUMWIDTH, or its COLUMN FORMAT), headings cut to that width for text, underlined, separated by
// COLSEP; columns that pass LINESIZE continue on the next line of the record; values longer than
// their column wrap within it (or are cut with WRAP OFF); headings again on every page of PAGESIZE
// lines (none with PAGESIZE 0); then "n rows selected." from FEEDBACK rows on, or "no rows
// selected". BREAK ON a column prints its value only where it changes (SKIP n blank lines there);
// COMPUTE prints its lines (under a row of "*" below the break column and "-" below the computed
// ones) where its break occurs, and at the end for ON REPORT.
#ifndef KAVEXSQL_REPORTWRITER_H
#define KAVEXSQL_REPORTWRITER_H

#include "ReportSettings.h"
#include "ResultWriter.h"

#include <optional>

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

    // A BREAK column of the result, outermost first.
    struct Level {
        size_t index;
        const Break* rule;
    };
    // What one COMPUTE has gathered for one of its columns since its break last occurred.
    struct Total {
        explicit Total(size_t column) : index(column) {}
        size_t index;  // the column in the result
        long count = 0, rows = 0;
        double sum = 0, squares = 0;
        size_t decimals = 0;
        std::optional<std::string> least, most;  // MINIMUM and MAXIMUM as the values read
    };
    struct Summary {
        const Compute* rule;
        int level;  // in levels_, or -1 for REPORT
        std::vector<Total> totals;
    };

    std::string text(const Layout& column, const Value& value) const;
    void startGroupRows(const Row& values, std::vector<bool>& suppressed);
    void gather(const Row& values);
    void printSummaries(int level);
    void printCells(const std::vector<std::string>& cells, const std::vector<bool>& left);
    std::string computed(const Summary& summary, const Total& total, Compute::Function f) const;
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
    std::vector<std::string> names_;  // of the result's columns, upper-cased
    std::vector<Level> levels_;
    int rowSkip_ = 0;  // BREAK ON ROW SKIP n
    std::vector<Summary> summaries_;
    Row previous_;
    size_t printed_ = 0;
};

}  // namespace kavexsql

#endif
