#include "functions/function_args.h"

#include <cstdlib>

#include "base/ora_messages.h"
#include "types/values.h"

namespace kavexdb {
namespace detail {

bool isNullArg(sqlite3_value* v) {
    const int type = sqlite3_value_type(v);
    return type == SQLITE_NULL || (type == SQLITE_TEXT && sqlite3_value_bytes(v) == 0);
}

std::string textArg(sqlite3_value* v) {
    if (isStoredNumber(v)) return oracleText(v);  // a NUMBER as Oracle converts it to text
    const unsigned char* t = sqlite3_value_text(v);
    return t ? std::string(reinterpret_cast<const char*>(t),
                           static_cast<std::size_t>(sqlite3_value_bytes(v)))
             : std::string();
}

bool decimalArg(sqlite3_value* v, Decimal& out) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        return false;
    case SQLITE_INTEGER:
        out = decimalOf(numberFromInt64(sqlite3_value_int64(v)));
        return true;
    case SQLITE_FLOAT:
        out = decimalOf(numberFromDouble(sqlite3_value_double(v)));
        return true;
    case SQLITE_BLOB:
        if (!isStoredNumber(v)) break;
        out = decimalOf(storedNumberOf(v));
        return true;
    default:
        break;
    }
    const std::string text = textArg(v);
    if (text.empty()) return false;
    if (!parseDecimal(text, out)) raise(ora::kInvalidNumber);
    return true;
}

long long integerArg(sqlite3_value* v) {
    Decimal d;
    if (!decimalArg(v, d)) return 0;
    if (d.exponent <= 0) return 0;
    if (d.digits.size() > static_cast<std::size_t>(d.exponent))
        d.digits.resize(static_cast<std::size_t>(d.exponent));
    std::int64_t out = 0;
    if (!numberToInt64(numberOf(d), out)) raise(ora::kNumericOverflow);
    return out;
}

void resultDecimal(sqlite3_context* ctx, const Decimal& d) {
    const occi::Number n = numberOf(d);
    std::int64_t whole = 0;
    if (numberToInt64(n, whole)) {
        sqlite3_result_int64(ctx, whole);
        return;
    }
    sqlite3_result_double(ctx, std::strtod(numberToPlainText(n).c_str(), nullptr));
}

void resultError(sqlite3_context* ctx, int code, const std::string& text) {
    const std::string message = oraErrorText(code, text);
    sqlite3_result_error(ctx, message.c_str(), static_cast<int>(message.size()));
}

}  // namespace detail
}  // namespace kavexdb
