#include "BatchLoader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "Connection.h"
#include "DbError.h"
#include "SqlText.h"
#include "kavex_oracleociw.h"

namespace kavexsql {

BatchLoader::BatchLoader(int session, bool autoCommit, size_t batchSize)
    : session_(session), autoCommit_(autoCommit), batchSize_(std::max<size_t>(1, batchSize)) {}

long BatchLoader::load(const std::string& path, const std::string& table) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw UsageError("cannot open " + path + ": " + std::strerror(errno));
    CsvReader reader(file, path);
    std::optional<CsvRecord> header = reader.next();
    if (!header || header->empty()) throw UsageError(path + ": no header line naming the columns");

    std::string sql = "INSERT INTO " + table + " (";
    std::string values;
    for (size_t i = 0; i < header->size(); ++i) {
        const auto& name = (*header)[i];
        if (!name || trim(*name).empty())
            throw UsageError(path + ": empty column name in the header line");
        sql += (i ? ", " : "") + trim(*name);
        values += (i ? ", :" : ":") + std::to_string(i + 1);
    }
    sql += ") VALUES (" + values + ")";

    long total = 0;
    std::vector<CsvRecord> rows;
    int batchLine = 0;
    auto flush = [&] {
        if (rows.empty()) return;
        try {
            total += insert(sql, rows, header->size());
        } catch (const DbError& e) {
            throw DbError(path + ":" + std::to_string(batchLine) + ": batch of " +
                          std::to_string(rows.size()) + " rows failed after " +
                          std::to_string(total) + " rows: " + e.what());
        }
        rows.clear();
    };
    while (std::optional<CsvRecord> record = reader.next()) {
        if (record->size() != header->size())
            throw UsageError(path + ":" + std::to_string(reader.line()) + ": " +
                             std::to_string(record->size()) + " fields, the header names " +
                             std::to_string(header->size()));
        if (rows.empty()) batchLine = reader.line();
        rows.push_back(std::move(*record));
        if (rows.size() == batchSize_) flush();
    }
    flush();
    return total;
}

long BatchLoader::insert(const std::string& sql, const std::vector<CsvRecord>& rows,
                         size_t columns) {
    Connection::check(PrepareQuery(session_, sql.c_str(), autoCommit_));
    Connection::check(SetMaxIterations(session_, static_cast<unsigned>(rows.size())));
    for (size_t c = 0; c < columns; ++c) {
        size_t longest = 1;
        for (const CsvRecord& row : rows)
            if (row[c]) longest = std::max(longest, row[c]->size());
        Connection::check(
            SetMaxParSize(session_, static_cast<unsigned>(c + 1), static_cast<unsigned>(longest)));
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        if (r > 0) Connection::check(AddIteration(session_));
        for (size_t c = 0; c < columns; ++c) {
            const auto& field = rows[r][c];
            int index = static_cast<int>(c + 1);
            if (field)
                Connection::check(SetString(session_, index, field->c_str(), 0));
            else
                Connection::check(SetString(session_, index, nullptr, 1));
        }
    }
    return Connection::check(Execute(session_));
}

}  // namespace kavexsql
