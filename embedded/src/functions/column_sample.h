// What describe learns from the first rows of a column that has no declared type (exec/describe.h).
#ifndef KAVEXDB_FUNCTIONS_COLUMN_SAMPLE_H
#define KAVEXDB_FUNCTIONS_COLUMN_SAMPLE_H

#include <sqlite3.h>

#include <cstddef>

namespace kavexdb {
namespace detail {

// What the prefetched rows showed of a column without a declared type.
struct ColumnSample {
    int sqliteType = SQLITE_NULL;  // SQLITE_NULL when NULL throughout the first fetch
    std::size_t maxTextBytes = 0;
    // 12 (DATE), 187 (TIMESTAMP), 188 (WITH TIME ZONE) when every text seen was a storage text
    // of that type; -1 when another text was seen; 0 when no text was.
    int datetimeType = 0;
    // 189 and 190 (INTERVAL YEAR TO MONTH, DAY TO SECOND) likewise, with the widest precisions
    // seen.
    int intervalLeading = 0, intervalFraction = 0;
};
// Notes one text value in a sample (keeps datetimeType).
void sampleText(ColumnSample& sample, const char* text, std::size_t length);

}  // namespace detail
}  // namespace kavexdb

#endif
