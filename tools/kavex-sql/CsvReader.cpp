#include "CsvReader.h"

#include "DbError.h"

namespace kavexsql {

namespace {
constexpr int kEnd = std::char_traits<char>::eof();
}  // namespace

CsvReader::CsvReader(std::istream& in, std::string name) : in_(in), name_(std::move(name)) {}

std::optional<CsvRecord> CsvReader::next() {
    std::streambuf& input = *in_.rdbuf();
    std::string field;  // bytes already taken that begin the first field
    if (!started_) {
        started_ = true;
        static const std::string kBom = "\xEF\xBB\xBF";
        while (field.size() < kBom.size() &&
               input.sgetc() == static_cast<unsigned char>(kBom[field.size()]))
            field += static_cast<char>(input.sbumpc());
        if (field == kBom) field.clear();
    }
    // Blank lines separate nothing.
    while (field.empty()) {
        const int c = input.sgetc();
        if (c == kEnd) return std::nullopt;
        if (c == '\n') {
            input.sbumpc();
            ++line_;
        } else if (c == '\r') {
            input.sbumpc();
            if (input.sgetc() == '\n') {
                input.sbumpc();
                ++line_;
            } else {
                field = "\r";  // a lone CR is data
            }
        } else {
            break;
        }
    }
    recordLine_ = line_;

    CsvRecord record;
    bool quoted = false;
    bool inQuotes = false;
    auto endField = [&] {
        record.push_back(field.empty() && !quoted ? std::nullopt
                                                  : std::optional<std::string>(field));
        field.clear();
        quoted = false;
    };
    for (;;) {
        const int c = input.sbumpc();
        if (c == kEnd) {
            if (inQuotes)
                throw UsageError(name_ + ":" + std::to_string(recordLine_) +
                                 ": a quoted field is not closed by the end of the file");
            break;
        }
        const char ch = static_cast<char>(c);
        if (inQuotes) {
            if (ch == '"') {
                if (input.sgetc() == '"') {
                    field += '"';
                    input.sbumpc();
                } else {
                    inQuotes = false;
                }
            } else {
                if (ch == '\n') ++line_;
                field += ch;
            }
        } else if (ch == '\n') {
            ++line_;
            break;
        } else if (ch == '\r' && input.sgetc() == '\n') {
            input.sbumpc();
            ++line_;
            break;
        } else if (ch == '"' && field.empty() && !quoted) {
            inQuotes = quoted = true;
        } else if (ch == ',') {
            endField();
        } else {
            field += ch;
        }
    }
    endField();
    return record;
}

}  // namespace kavexsql
