// SUBSTR as Oracle counts: in characters, a position of 0 meaning 1, a negative position counting
// back from the end, a length below 1 giving NULL. SQLite's substr differs at 0 and for negative
// lengths, which would give a plausible but wrong string.
#include "functions/date_functions.h"

#include <cmath>

#include "functions/conversion_functions.h"
#include "functions/sql_function.h"
#include "functions/sql_values.h"
#include "types/values.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

namespace {

void substr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        const std::string text = valueKind(argv[0]) == ValueKind::Number
                                     ? plainNumberText(numberArg(argv[0]))
                                     : valueText(argv[0]);
        // Character starts, so that positions count characters.
        std::vector<std::size_t> starts;
        for (std::size_t i = 0; i < text.size(); ++i)
            if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
        const long count = static_cast<long>(starts.size());
        long position = static_cast<long>(std::trunc(numberToDouble(numberArg(argv[1]))));
        if (position == 0) position = 1;
        if (position < 0) position += count + 1;
        if (position < 1 || position > count) return sqlite3_result_null(ctx);
        long length = count - position + 1;
        if (argc > 2) {
            const double wanted = std::trunc(numberToDouble(numberArg(argv[2])));
            if (wanted < 1) return sqlite3_result_null(ctx);
            if (wanted < length) length = static_cast<long>(wanted);
        }
        const std::size_t from = starts[static_cast<std::size_t>(position - 1)];
        const std::size_t to = position - 1 + length < count
                                   ? starts[static_cast<std::size_t>(position - 1 + length)]
                                   : text.size();
        resultText(ctx, text.substr(from, to - from));
    });
}

}  // namespace

namespace {

// SUBSTR with Oracle's positions (substr_function.cpp).
const FunctionRow kRows[] = {
    {"SUBSTR", 2, 3, substr, "VARCHAR2(4000)"},
};

}  // namespace

const FunctionFamily kSubstrFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
