#include "CsvReader.h"

#include "DbError.h"

namespace kavexsql {

CsvReader::CsvReader(std::istream& in) : in_(in) {}

std::optional<CsvRecord> CsvReader::next() {
    std::string line;
    do {
        if (!std::getline(in_, line)) return std::nullopt;
        ++line_;
        if (!line.empty() && line.back() == '\r') line.pop_back();
    } while (line.empty());  // blank lines separate nothing
    recordLine_ = line_;

    CsvRecord record;
    std::string field;
    bool quoted = false;
    bool inQuotes = false;
    size_t i = 0;
    for (;;) {
        if (i >= line.size()) {
            if (!inQuotes) break;
            std::string more;
            if (!std::getline(in_, more))
                throw UsageError("line " + std::to_string(recordLine_) +
                                 ": unterminated quoted field");
            ++line_;
            if (!more.empty() && more.back() == '\r') more.pop_back();
            field += '\n';
            line = more;
            i = 0;
            continue;
        }
        char c = line[i++];
        if (inQuotes) {
            if (c == '"') {
                if (i < line.size() && line[i] == '"') {
                    field += '"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                field += c;
            }
        } else if (c == '"' && field.empty() && !quoted) {
            inQuotes = quoted = true;
        } else if (c == ',') {
            record.push_back(field.empty() && !quoted ? std::nullopt
                                                      : std::optional<std::string>(field));
            field.clear();
            quoted = false;
        } else {
            field += c;
        }
    }
    record.push_back(field.empty() && !quoted ? std::nullopt : std::optional<std::string>(field));
    return record;
}

}  // namespace kavexsql
