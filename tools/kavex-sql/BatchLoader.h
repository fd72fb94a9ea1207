// \load: inserts the rows of a CSV file into a table as batches of iterations. The file's first
// record names the columns; each batch prepares "INSERT INTO table (columns) VALUES (:1, ...)",
// declares its size (SetMaxIterations) and each column's longest value (SetMaxParSize), binds
// every row as text with SetString (an empty field binds NULL), separating rows with
// AddIteration, and runs them with one Execute.
#ifndef KAVEXSQL_BATCHLOADER_H
#define KAVEXSQL_BATCHLOADER_H

#include <string>
#include <vector>

#include "CsvReader.h"

namespace kavexsql {

class BatchLoader {
  public:
    static constexpr size_t kDefaultBatch = 500;

    BatchLoader(int session, bool autoCommit, size_t batchSize = kDefaultBatch);

    // Loads the file into the table and returns the number of rows inserted. On a failure the rows
    // of earlier batches (and earlier rows of the failing batch) stay; the DbError names the
    // failing batch's first line.
    long load(const std::string& path, const std::string& table);

  private:
    long insert(const std::string& sql, const std::vector<CsvRecord>& rows, size_t columns);

    int session_;
    bool autoCommit_;
    size_t batchSize_;
};

}  // namespace kavexsql

#endif
