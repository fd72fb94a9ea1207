// Reading the arguments of the client's SQL functions and setting their results with Oracle's
// rules: an empty text is NULL, and an error is "ORA-NNNNN: text", which the client reports as
// that error.
#ifndef KAVEXDB_FUNCTION_ARGS_H
#define KAVEXDB_FUNCTION_ARGS_H

#include <sqlite3.h>

#include <string>

#include "base/ora_message.h"
#include "functions/sql_values.h"  // resultText
#include "types/decimal.h"

namespace kavexdb {
namespace detail {

bool isNullArg(sqlite3_value* v);  // NULL or an empty text
std::string textArg(sqlite3_value* v);
// The argument as an exact decimal; false for NULL; throws ORA-01722 for a text that is not a
// number.
bool decimalArg(sqlite3_value* v, Decimal& out);
// An integral argument (truncated toward zero, as Oracle does for integer parameters).
long long integerArg(sqlite3_value* v);

// A numeric result: an integer when the decimal is integral and fits, else a real.
void resultDecimal(sqlite3_context* ctx, const Decimal& d);
// Makes message, its placeholders filled, the function's error result ("ORA-NNNNN: text").
template <int N, class... A>
void resultError(sqlite3_context* ctx, const OraMessage<N>& message, const A&... args);
// The same for a code that is data (ORA$RAISE(code, text)).
void resultError(sqlite3_context* ctx, int code, const std::string& text);

// Runs body; an SQLException it throws becomes the function's error result.
template <class Body>
void guarded(sqlite3_context* ctx, Body body) {
    try {
        body();
    } catch (const occi::SQLException& e) {
        std::string message = e.getMessage();
        if (!message.empty() && message.back() == '\n') message.pop_back();
        sqlite3_result_error(ctx, message.c_str(), static_cast<int>(message.size()));
    }
}

template <int N, class... A>
void resultError(sqlite3_context* ctx, const OraMessage<N>& message, const A&... args) {
    resultError(ctx, message.code, messageText(message, args...));
}

}  // namespace detail
}  // namespace kavexdb

#endif
