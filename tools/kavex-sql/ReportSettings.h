// How a query's result is laid out when the session uses SQL*Plus's report settings: SET LINESIZE,
// PAGESIZE, NUMWIDTH, COLSEP, ..., COLUMN name FORMAT / HEADING, BREAK and COMPUTE. Until one of them is given the
// shell prints its own aligned tables (TableWriter); the first one switches to SQL*Plus's layout
// (ReportWriter) for the rest of the session.
#ifndef KAVEXSQL_REPORTSETTINGS_H
#define KAVEXSQL_REPORTSETTINGS_H

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kavexsql {

// What COLUMN name ... says about one column.
struct ColumnFormat {
    std::string format;                  // "A20", "999,990.99", or "" for the default
    std::optional<std::string> heading;  // HEADING text; the heading separator breaks its lines
    std::string newValue;                // NEW_VALUE: the substitution variable set from it
    std::optional<std::string> nullText;
    std::optional<bool> wrapped;  // WRAPPED or TRUNCATED; unset: as SET WRAP says
    bool print = true;            // NOPRINT leaves the column out
};

// BREAK ON column|REPORT|ROW [SKIP n|SKIP PAGE] [NODUPLICATES|DUPLICATES].
struct Break {
    std::string on;  // an upper-cased column name, "REPORT" or "ROW"
    int skip = 0;    // blank lines before the row where the break occurs; -1: a new page
    bool duplicates = false;
};

// COMPUTE function [LABEL text] ... OF column ... ON column|REPORT.
struct Compute {
    enum class Function { Avg, Count, Minimum, Maximum, Number, Sum, Std, Variance };
    struct Item {
        Function function;
        std::string label;
    };
    std::vector<Item> items;         // in the order SQL*Plus prints them (AVG, COUNT, ...)
    std::vector<std::string> of;     // upper-cased column names
    std::string on;                  // an upper-cased column name or "REPORT"
};

struct ReportSettings {
    bool enabled = false;  // SQL*Plus's layout is in force
    int lineSize = 80;
    int pageSize = 14;  // lines per page, the NEWPAGE lines, headings and rows; 0: no headings
    int newPage = 1;    // blank lines before each page's headings; 0: a form feed; -1: NONE
    int numWidth = 10;
    std::string numFormat;  // the format of number columns without one of their own
    std::string colSep = " ";
    bool heading = true;
    char headSep = '|';
    char underline = '-';  // 0: headings are not underlined
    bool trimOut = true;
    bool wrap = true;
    int feedback = 6;  // "n rows selected." from this many rows on; 0: never
    std::string nullText;
    std::map<std::string, ColumnFormat> columns;  // upper-cased names
    std::vector<Break> breaks;                    // outermost first
    std::vector<Compute> computes;

    const ColumnFormat* column(const std::string& name) const;
};

}  // namespace kavexsql

#endif
