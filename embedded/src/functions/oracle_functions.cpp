#include "functions/oracle_functions.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "base/ora_messages.h"
#include "functions/conversion_functions.h"
#include "functions/datetime_order.h"
#include "functions/function_args.h"
#include "functions/sql_function.h"
#include "functions/sql_values.h"
#include "sql/internal_names.h"
#include "sql/token_editor.h"
#include "types/values.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

namespace {

bool isNull(sqlite3_value* v) {
    const int type = sqlite3_value_type(v);
    return type == SQLITE_NULL || (type == SQLITE_TEXT && sqlite3_value_bytes(v) == 0);
}

// NULL or a value of no bytes: '' (Oracle has no empty strings), an empty RAW or an empty LOB,
// which Oracle's character functions cannot take as a text either.
bool isEmpty(sqlite3_value* v) {
    return sqlite3_value_type(v) == SQLITE_NULL || sqlite3_value_bytes(v) == 0;
}

bool isNumeric(sqlite3_value* v) {
    const int type = sqlite3_value_type(v);
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
}

// Orders two non-NULL values: numbers by value, texts and blobs by their bytes, and otherwise
// as SQLite orders storage classes (numbers before texts before blobs).
int compare(sqlite3_value* a, sqlite3_value* b) {
    if (isNumeric(a) && isNumeric(b)) {
        if (sqlite3_value_type(a) == SQLITE_INTEGER && sqlite3_value_type(b) == SQLITE_INTEGER) {
            const sqlite3_int64 x = sqlite3_value_int64(a), y = sqlite3_value_int64(b);
            return x < y ? -1 : x > y ? 1 : 0;
        }
        const double x = sqlite3_value_double(a), y = sqlite3_value_double(b);
        return x < y ? -1 : x > y ? 1 : 0;
    }
    const int ta = isNumeric(a) ? SQLITE_INTEGER : sqlite3_value_type(a);
    const int tb = isNumeric(b) ? SQLITE_INTEGER : sqlite3_value_type(b);
    if (ta != tb) return ta == SQLITE_INTEGER || (ta == SQLITE_TEXT && tb == SQLITE_BLOB) ? -1 : 1;
    const void* pa =
        ta == SQLITE_TEXT ? static_cast<const void*>(sqlite3_value_text(a)) : sqlite3_value_blob(a);
    const void* pb =
        tb == SQLITE_TEXT ? static_cast<const void*>(sqlite3_value_text(b)) : sqlite3_value_blob(b);
    const int na = sqlite3_value_bytes(a), nb = sqlite3_value_bytes(b);
    const int common = na < nb ? na : nb;
    const int c = common > 0 ? std::memcmp(pa, pb, static_cast<std::size_t>(common)) : 0;
    if (c != 0) return c < 0 ? -1 : 1;
    return na < nb ? -1 : na > nb ? 1 : 0;
}

// DECODE(expr, search1, result1, ... [, default]): NULL matches NULL here, unlike in '='. expr
// and the searches compare as the type of the first search: as numbers when it is a number
// (text converted, ORA-01722 when it is none), otherwise as texts, numbers written as TO_CHAR
// writes them.
void decode(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc < 3) {
        resultError(ctx, ora::kTooFewArguments);
        return;
    }
    guardedSql(ctx, [&] {
        sqlite3_value* expr = argv[0];
        const bool numbers = isNumeric(argv[1]);
        auto same = [&](sqlite3_value* search) {
            if (isNumeric(expr) == isNumeric(search)) return compare(expr, search) == 0;
            if (numbers)
                return numberToDouble(numberArg(expr)) == numberToDouble(numberArg(search));
            auto text = [](sqlite3_value* v) {
                return isNumeric(v) ? plainNumberText(numberArg(v)) : valueText(v);
            };
            return text(expr) == text(search);
        };
        int i = 1;
        for (; i + 1 < argc; i += 2) {
            const bool match = isNull(expr) ? isNull(argv[i]) : !isNull(argv[i]) && same(argv[i]);
            if (match) return sqlite3_result_value(ctx, argv[i + 1]);
        }
        if (i < argc) return sqlite3_result_value(ctx, argv[i]);
        sqlite3_result_null(ctx);
    });
}

void nvl2(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_value(ctx, isNull(argv[0]) ? argv[2] : argv[1]);
}

// GREATEST and LEAST: NULL when any argument is NULL. The arguments compare as the type of the
// first: as numbers when it is a number (text converted, ORA-01722 when it is none), otherwise
// as datetimes (points in time) when it is a DATE or TIMESTAMP, otherwise as text, numbers
// written as TO_CHAR writes them; the result has that type.
void extreme(sqlite3_context* ctx, int argc, sqlite3_value** argv, int wanted) {
    if (argc == 0) {
        resultError(ctx, ora::kTooFewArguments);
        return;
    }
    for (int i = 0; i < argc; ++i) {
        if (isNull(argv[i])) {
            sqlite3_result_null(ctx);
            return;
        }
    }
    guardedSql(ctx, [&] {
        if (isNumeric(argv[0])) {
            int best = 0;
            double bestValue = numberToDouble(numberArg(argv[0]));
            occi::Number bestNumber = numberArg(argv[0]);
            for (int i = 1; i < argc; ++i) {
                const occi::Number n = numberArg(argv[i]);
                const double v = numberToDouble(n);
                if ((wanted > 0 && v > bestValue) || (wanted < 0 && v < bestValue)) {
                    best = i;
                    bestValue = v;
                    bestNumber = n;
                }
            }
            if (isNumeric(argv[best]))
                sqlite3_result_value(ctx, argv[best]);
            else
                resultNumber(ctx, bestNumber);
            return;
        }
        if (isDatetime(valueKind(argv[0]))) {
            int best = 0;
            for (int i = 1; i < argc; ++i) {
                const int c = compareDatetimeTexts(
                    reinterpret_cast<const char*>(sqlite3_value_text(argv[i])),
                    static_cast<std::size_t>(sqlite3_value_bytes(argv[i])),
                    reinterpret_cast<const char*>(sqlite3_value_text(argv[best])),
                    static_cast<std::size_t>(sqlite3_value_bytes(argv[best])));
                if ((wanted > 0 && c > 0) || (wanted < 0 && c < 0)) best = i;
            }
            return sqlite3_result_value(ctx, argv[best]);
        }
        auto text = [](sqlite3_value* v) {
            return isNumeric(v) ? plainNumberText(numberArg(v)) : valueText(v);
        };
        std::string best = text(argv[0]);
        for (int i = 1; i < argc; ++i) {
            const std::string candidate = text(argv[i]);
            const int c = candidate.compare(best);
            if ((wanted > 0 && c > 0) || (wanted < 0 && c < 0)) best = candidate;
        }
        resultText(ctx, best);
    });
}

void greatest(sqlite3_context* ctx, int argc, sqlite3_value** argv) { extreme(ctx, argc, argv, 1); }
void least(sqlite3_context* ctx, int argc, sqlite3_value** argv) { extreme(ctx, argc, argv, -1); }

// UTF-8 characters of a text.
std::vector<std::string> characters(sqlite3_value* v) {
    const char* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
    const std::size_t size = static_cast<std::size_t>(sqlite3_value_bytes(v));
    std::vector<std::string> out;
    for (std::size_t i = 0; i < size;) {
        std::size_t n = 1;
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0xF0)
            n = 4;
        else if (lead >= 0xE0)
            n = 3;
        else if (lead >= 0xC0)
            n = 2;
        if (i + n > size) n = size - i;
        out.emplace_back(text + i, n);
        i += n;
    }
    return out;
}

// LPAD / RPAD(text, length [, pad]): padded or cut to length characters; NULL for a length
// below 1 or a NULL argument, as in Oracle. An empty filler of any type is NULL too, so the
// padding loop always has a character to repeat.
void pad(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool left) {
    if (isEmpty(argv[0]) || isNull(argv[1]) || (argc > 2 && isEmpty(argv[2]))) {
        sqlite3_result_null(ctx);
        return;
    }
    const double wanted = std::trunc(sqlite3_value_double(argv[1]));  // Oracle truncates n
    if (!(wanted >= 1 && wanted <= 32767)) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::size_t length = static_cast<std::size_t>(wanted);
    std::vector<std::string> text = characters(argv[0]);
    std::vector<std::string> filler;
    if (argc > 2)
        filler = characters(argv[2]);
    else
        filler.emplace_back(" ");
    if (text.size() > length) text.resize(length);
    std::string padding;
    for (std::size_t k = 0; text.size() + k < length; ++k) padding += filler[k % filler.size()];
    std::string out;
    if (left) out = padding;
    for (const std::string& c : text) out += c;
    if (!left) out += padding;
    sqlite3_result_text(ctx, out.c_str(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

void lpad(sqlite3_context* ctx, int argc, sqlite3_value** argv) { pad(ctx, argc, argv, true); }
void rpad(sqlite3_context* ctx, int argc, sqlite3_value** argv) { pad(ctx, argc, argv, false); }

// The operand wrapper of || (see token_editor.h): NULL becomes ''.
void concatOperand(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
    else
        sqlite3_result_value(ctx, argv[0]);
}

}  // namespace

namespace {

const FunctionRow kRows[] = {
    {"DECODE", -1, -1, decode, nullptr},
    {"NVL2", 3, 3, nvl2, nullptr},
    {"GREATEST", -1, -1, greatest, nullptr},
    {"LEAST", -1, -1, least, nullptr},
    {"LPAD", 2, 3, lpad, "VARCHAR2(4000)"},
    {"RPAD", 2, 3, rpad, "VARCHAR2(4000)"},
    {kOraStr, 1, 1, concatOperand, "VARCHAR2(4000)"},
};

}  // namespace

const FunctionFamily kOracleFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
