#include "TableWriter.h"

#include <algorithm>
#include <cstdio>

namespace kavexsql {

size_t displayWidth(const std::string& text) {
    size_t width = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++width;
    return width;
}

std::string escapeControls(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
            out += buffer;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

TableWriter::TableWriter(const OutputOptions& options, std::ostream& out)
    : options_(options), out_(out) {}

void TableWriter::begin(const std::vector<Column>& columns) {
    columns_ = columns;
    widths_.clear();
    for (const Column& column : columns_) widths_.push_back(displayWidth(column.name));
    pending_.clear();
    headerPrinted_ = false;
    rows_ = 0;
}

std::string TableWriter::cell(const Value& value) const {
    return value ? escapeControls(*value) : options_.nullText;
}

void TableWriter::row(Row values) {
    ++rows_;
    if (headerPrinted_) {
        printRow(values);
        return;
    }
    for (size_t i = 0; i < values.size() && i < widths_.size(); ++i)
        widths_[i] = std::max(widths_[i], displayWidth(cell(values[i])));
    pending_.push_back(std::move(values));
    if (pending_.size() >= kLookAhead) printHeader();
}

void TableWriter::printHeader() {
    std::string line;
    std::string rule;
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (i > 0) {
            line += " | ";
            rule += "-+-";
        }
        const std::string& name = columns_[i].name;
        size_t pad = widths_[i] - displayWidth(name);
        // Headers are centred over their column, as psql does.
        line += std::string(pad / 2, ' ') + name + std::string(pad - pad / 2, ' ');
        rule += std::string(widths_[i], '-');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out_ << ' ' << line << '\n' << '-' << rule << "-\n";
    headerPrinted_ = true;
    for (const Row& values : pending_) printRow(values);
    pending_.clear();
    out_.flush();
}

void TableWriter::printRow(const Row& values) {
    std::string line;
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (i > 0) line += " | ";
        std::string text = i < values.size() ? cell(values[i]) : std::string();
        size_t width = displayWidth(text);
        size_t pad = width < widths_[i] ? widths_[i] - width : 0;
        if (columns_[i].numeric)
            line += std::string(pad, ' ') + text;
        else
            line += text + std::string(pad, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out_ << ' ' << line << '\n';
}

void TableWriter::end() {
    if (!headerPrinted_) printHeader();
    if (!options_.quiet) out_ << '(' << rows_ << (rows_ == 1 ? " row)" : " rows)") << "\n\n";
    out_.flush();
}

}  // namespace kavexsql
