#include "CsvWriter.h"

#include "TableWriter.h"

namespace kavexsql {

std::string csvField(const std::string& text) {
    bool quote = !text.empty() && (text.front() == ' ' || text.back() == ' ');
    for (char c : text)
        if (c == ',' || c == '"' || c == '\n' || c == '\r') quote = true;
    if (!quote) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

CsvWriter::CsvWriter(std::ostream& out) : out_(out) {}

void CsvWriter::begin(const std::vector<Column>& columns) {
    for (size_t i = 0; i < columns.size(); ++i) out_ << (i ? "," : "") << csvField(columns[i].name);
    out_ << '\n';
}

void CsvWriter::row(Row values) {
    for (size_t i = 0; i < values.size(); ++i) {
        if (i) out_ << ',';
        if (values[i]) out_ << csvField(*values[i]);
    }
    out_ << '\n';
}

void CsvWriter::end() { out_.flush(); }

std::unique_ptr<ResultWriter> makeWriter(const OutputOptions& options, std::ostream& out) {
    if (options.csv) return std::make_unique<CsvWriter>(out);
    return std::make_unique<TableWriter>(options, out);
}

}  // namespace kavexsql
