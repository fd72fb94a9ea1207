// TO_CHAR, TO_NUMBER and TO_DATE for SQL: Oracle's conversion functions over the client's storage
// forms, rendering through the same Number, Date and Timestamp code the result sets use.
#include "functions/conversion_functions.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "functions/sql_function.h"
#include "functions/sql_values.h"
#include "sql/sql_lexer.h"
#include "types/datetime_parse.h"
#include "types/format_model.h"
#include "types/values.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

namespace {

// The session's defaults (American NLS settings, as the embedded client uses everywhere).
const char* const kDateFormat = kDefaultDateFormat;
const char* const kTimestampFormat = kDefaultTimestampFormat;
const char* const kTimestampTzFormat = kDefaultTimestampTzFormat;
const unsigned kFractionDigits = 6;  // a bare FF, as for TIMESTAMP's default precision

// True when an argument is NULL or has no bytes ('', an empty RAW or LOB): Oracle's conversion
// functions then give NULL, whether it is the value or the format model.
bool anyEmpty(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL || sqlite3_value_bytes(argv[i]) == 0)
            return true;
    return false;
}


}  // namespace

std::string plainNumberText(const occi::Number& n) {
    std::string text = numberToPlainText(n);
    if (text.compare(0, 2, "0.") == 0) text.erase(0, 1);
    if (text.compare(0, 3, "-0.") == 0) text.erase(1, 1);
    return text;
}

namespace {

std::string numberToChar(const occi::Number& n, const std::string* model, const std::string& nls) {
    return model ? n.toText(nullptr, *model, nls) : plainNumberText(n);
}

// A BINARY_DOUBLE no NUMBER can hold (beyond 1E126 in magnitude, or below 1E-130).
bool beyondNumber(double d) {
    const double m = std::fabs(d);
    return std::isfinite(d) && (m >= 1e126 || (m != 0 && m < 1e-130));
}

// Such a value in Oracle's scientific form, with the fewest digits that read back the same:
// "1.5E+300".
std::string binaryText(double d) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific);
    std::string text(buf, r.ptr);
    const std::size_t e = text.find('e');
    if (e != std::string::npos) text[e] = 'E';
    return text;
}

void toChar(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyEmpty(argc, argv)) {
            sqlite3_result_null(ctx);
            return;
        }
        sqlite3_value* v = argv[0];
        const std::string modelText = argc > 1 ? valueText(argv[1]) : std::string();
        const std::string* model =
            argc > 1 && sqlite3_value_type(argv[1]) != SQLITE_NULL ? &modelText : nullptr;
        // The NLS argument: number settings, or a date language (American only).
        const std::string nls = argc > 2 ? valueText(argv[2]) : std::string();
        if (!nls.empty()) numberNlsOf(nls);
        switch (sqlite3_value_type(v)) {
            case SQLITE_NULL:
                sqlite3_result_null(ctx);
                return;
            case SQLITE_INTEGER:
                resultText(ctx, numberToChar(numberFromInt64(sqlite3_value_int64(v)), model, nls));
                return;
            case SQLITE_FLOAT: {
                const double d = sqlite3_value_double(v);
                if (!model && beyondNumber(d)) {
                    resultText(ctx, binaryText(d));
                    return;
                }
                resultText(ctx, numberToChar(numberFromDouble(d), model, nls));
                return;
            }
            default:
                break;
        }
        if (isStoredNumber(v)) return resultText(ctx, numberToChar(storedNumberOf(v), model, nls));
        const std::string text = valueText(v);
        if (isExactNumberText(v)) return resultText(ctx, numberToChar(numberFromText(text), model, nls));
        switch (textKind(text.data(), text.size())) {
            case ValueKind::Date:
                resultText(ctx, dateFromText(text).toText(model ? *model : kDateFormat));
                return;
            case ValueKind::Timestamp:
                resultText(ctx, timestampFromText(text).toText(model ? *model : kTimestampFormat,
                                                               kFractionDigits));
                return;
            case ValueKind::TimestampTz:
                resultText(ctx, timestampFromText(text).toText(model ? *model : kTimestampTzFormat,
                                                               kFractionDigits));
                return;
            default:
                break;
        }
        // Text: as it is, or read as a number when a model asks for a number rendering.
        resultText(ctx, model ? numberToChar(numberFromText(text), model, nls) : text);
    });
}

void toNumber(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyEmpty(argc, argv)) {
            sqlite3_result_null(ctx);
            return;
        }
        sqlite3_value* v = argv[0];
        if (resultIfNullOrNumber(ctx, v)) return;
        std::string text = valueText(v);
        if (argc > 2) {
            text = numberTextByModel(text, valueText(argv[1]), numberNlsOf(valueText(argv[2])));
        } else if (argc > 1) {
            text = numberTextByModel(text, valueText(argv[1]));
        }
        if (text.find_first_not_of(" \t") == std::string::npos) {
            sqlite3_result_null(ctx);
            return;
        }
        resultComputed(ctx, numberFromText(text), resultsMayBeWide(ctx));
    });
}

// ---- TO_DATE --------------------------------------------------------------------------------

void toDate(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyEmpty(argc, argv)) {
            sqlite3_result_null(ctx);
            return;
        }
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
        const std::string text = valueText(argv[0]);
        if (text.empty()) {
            sqlite3_result_null(ctx);
            return;
        }
        std::string model = argc > 1 ? valueText(argv[1]) : std::string();
        if (model.empty()) {
            // The session's DD-MON-RR, and the storage form a DATE column hands back.
            model = textKind(text.data(), text.size()) == ValueKind::Date ? "YYYY-MM-DD HH24:MI:SS" : kDateFormat;
        }
        const DateTimeFields f = parseDateTime(text, model);
        resultText(ctx, dateToStorage(occi::Date(nullptr, f.year, f.month, f.day, f.hour,
                                                 f.minute, f.second)));
    });
}

}  // namespace

namespace {

// TO_CHAR(number | date text [, model]), TO_NUMBER(text [, model]) and TO_DATE(text [, model]),
// the last giving the DATE storage text. Failures are the statement's error with the ORA text
// ("ORA-01722: invalid number", "ORA-01861: ...").
const FunctionRow kRows[] = {
    {"TO_DATE", 1, 2, toDate, "DATE"},
    {"TO_CHAR", 1, 3, toChar, "VARCHAR2(4000)"},
    {"TO_NUMBER", 1, 3, toNumber, "NUMBER"},
};

}  // namespace

const FunctionFamily kConversionFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
