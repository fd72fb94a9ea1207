// The client's type table: what describe reports for a declared column type and how its values
// are stored. Names outside the table follow SQLite's column affinity rules.
#include <cctype>
#include <cstdlib>

#include "types/declared_type.h"

namespace kavexdb {
namespace detail {

namespace {

// "TIMESTAMP WITH TIME ZONE(3)" -> base "TIMESTAMP WITH TIME ZONE", arguments {3}.
struct ParsedType {
    std::string base;
    std::vector<int> args;
    bool argsValid = true;
};

ParsedType parseType(const std::string& declared) {
    ParsedType out;
    std::string word;
    auto endWord = [&] {
        if (word.empty()) return;
        if (!out.base.empty()) out.base += ' ';
        out.base += word;
        word.clear();
    };
    std::size_t i = 0;
    while (i < declared.size()) {
        const char c = declared[i];
        if (c == '(') {
            endWord();
            const std::size_t close = declared.find(')', i);
            const std::string inside = declared.substr(
                i + 1, (close == std::string::npos ? declared.size() : close) - i - 1);
            std::size_t start = 0;
            while (start <= inside.size()) {
                std::size_t comma = inside.find(',', start);
                if (comma == std::string::npos) comma = inside.size();
                const std::string arg = inside.substr(start, comma - start);
                char* end = nullptr;
                const long value = std::strtol(arg.c_str(), &end, 10);
                while (end && std::isspace(static_cast<unsigned char>(*end))) ++end;
                // Sizes far beyond any Oracle limit are not arguments either.
                if (end == arg.c_str() || (end && *end) || value > 1000000 || value < -1000000)
                    out.argsValid = false;
                out.args.push_back(static_cast<int>(value));
                start = comma + 1;
            }
            i = close == std::string::npos ? declared.size() : close + 1;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            endWord();
            ++i;
        } else {
            word += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            ++i;
        }
    }
    endWord();
    if (!out.argsValid) out.args.clear();
    return out;
}

DeclaredType make(int dataType, int size, int precision, int scale, int charSetForm,
                  Storage storage) {
    DeclaredType t;
    t.dataType = dataType;
    t.size = size;
    t.precision = precision;
    t.scale = scale;
    t.charSetForm = charSetForm;
    t.storage = storage;
    return t;
}

int arg(const ParsedType& p, std::size_t i, int fallback) {
    return i < p.args.size() ? p.args[i] : fallback;
}

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

DeclaredType byAffinity(const std::string& base) {
    if (contains(base, "INT")) return make(2, 22, 38, 0, 0, Storage::Integer);
    if (contains(base, "CHAR") || contains(base, "CLOB") || contains(base, "TEXT"))
        return make(1, 4000, 0, 0, 1, Storage::Text);
    if (contains(base, "BLOB")) return make(113, 4000, 0, 0, 0, Storage::Blob);
    if (contains(base, "REAL") || contains(base, "FLOA") || contains(base, "DOUB"))
        return make(101, 8, 0, 0, 0, Storage::Real);
    return make(2, 22, 0, -127, 0, Storage::Numeric);
}

}  // namespace

DeclaredType mapDeclaredType(const std::string& declaredType) {
    const ParsedType p = parseType(declaredType);
    const std::string& b = p.base;
    if (b == "VARCHAR2" || b == "VARCHAR" || b == "NVARCHAR2")
        return make(1, arg(p, 0, 4000), 0, 0, b == "NVARCHAR2" ? 2 : 1, Storage::Text);
    if (b == "CHAR" || b == "NCHAR")
        return make(96, arg(p, 0, 1), 0, 0, b == "NCHAR" ? 2 : 1, Storage::Text);
    if (b == "NUMBER") {
        if (p.args.empty()) return make(2, 22, 0, -127, 0, Storage::Numeric);
        return make(2, 22, p.args[0], arg(p, 1, 0), 0, Storage::Numeric);
    }
    if (b == "INTEGER" || b == "INT" || b == "SMALLINT")
        return make(2, 22, 38, 0, 0, Storage::Integer);
    if (b == "FLOAT") return make(2, 22, arg(p, 0, 126), -127, 0, Storage::Real);
    if (b == "BINARY_FLOAT") return make(100, 4, 0, 0, 0, Storage::Real);
    if (b == "BINARY_DOUBLE") return make(101, 8, 0, 0, 0, Storage::Real);
    if (b == "PLS_INTEGER" || b == "BINARY_INTEGER") return make(3, 4, 0, 0, 0, Storage::Integer);
    if (b == "DATE") return make(12, 7, 0, 0, 0, Storage::Date);
    if (b == "TIMESTAMP") return make(187, 11, 0, arg(p, 0, 6), 0, Storage::Timestamp);
    if (b == "TIMESTAMP WITH TIME ZONE")
        return make(188, 13, 0, arg(p, 0, 6), 0, Storage::TimestampTz);
    if (b == "TIMESTAMP WITH LOCAL TIME ZONE")
        return make(232, 11, 0, arg(p, 0, 6), 0, Storage::Timestamp);
    // INTERVAL types; the DDL rewriting writes them as one word, the precisions last, since
    // SQLite's type names can hold neither TO nor inner parentheses (interval.h).
    if (b == "INTERVAL YEAR TO MONTH" || b == "INTERVAL_YEAR_TO_MONTH")
        return make(189, 5, arg(p, 0, 2), 0, 0, Storage::Text);
    if (b == "INTERVAL DAY TO SECOND" || b == "INTERVAL_DAY_TO_SECOND")
        return make(190, 11, arg(p, 0, 2), arg(p, 1, 6), 0, Storage::Text);
    if (b == "CLOB" || b == "NCLOB")
        return make(112, 4000, 0, 0, b == "NCLOB" ? 2 : 1, Storage::Clob);
    if (b == "BLOB") return make(113, 4000, 0, 0, 0, Storage::Blob);
    if (b == "RAW") return make(23, arg(p, 0, 2000), 0, 0, 0, Storage::Blob);
    if (b == "LONG") return make(8, 0, 0, 0, 1, Storage::Text);
    if (b == "LONG RAW") return make(24, 0, 0, 0, 0, Storage::Blob);
    if (b == "ROWID") return make(104, 10, 0, 0, 0, Storage::Text);
    if (b == "BFILE") return make(114, 530, 0, 0, 0, Storage::Text);
    if (b == "XMLTYPE" || b == "SYS.XMLTYPE") {
        DeclaredType t = make(58, 2000, 0, 0, 0, Storage::Text);
        t.typeName = "XMLTYPE";
        return t;
    }
    return byAffinity(b);
}

}  // namespace detail
}  // namespace kavexdb
