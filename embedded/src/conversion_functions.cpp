// TO_CHAR, TO_NUMBER and TO_DATE for SQL: Oracle's conversion functions over the client's storage
// forms, rendering through the same Number, Date and Timestamp code the result sets use.
#include "conversion_functions.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <regex>

#include "detail.h"
#include "sql_function.h"
#include "sql_lexer.h"

namespace kavexdb {
namespace detail {

namespace {

// The session's defaults (American NLS settings, as the embedded client uses everywhere).
const char* const kDateFormat = "DD-MON-RR";
const char* const kTimestampFormat = "DD-MON-RR HH.MI.SS.FF AM";
const char* const kTimestampTzFormat = "DD-MON-RR HH.MI.SS.FF AM TZH:TZM";
const unsigned kFractionDigits = 6;  // a bare FF, as for TIMESTAMP's default precision

std::string argText(sqlite3_value* v) {
    const unsigned char* text = sqlite3_value_text(v);
    return text ? std::string(reinterpret_cast<const char*>(text),
                              static_cast<std::size_t>(sqlite3_value_bytes(v)))
                : std::string();
}

// True when an argument is NULL or has no bytes ('', an empty RAW or LOB): Oracle's conversion
// functions then give NULL, whether it is the value or the format model.
bool anyEmpty(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL || sqlite3_value_bytes(argv[i]) == 0)
            return true;
    return false;
}

void resultText(sqlite3_context* ctx, const std::string& text) {
    if (text.empty())
        sqlite3_result_null(ctx);  // Oracle has no empty strings
    else
        sqlite3_result_text(ctx, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Runs body; a failure becomes the statement's error with the ORA text.
template <class Body>
void guarded(sqlite3_context* ctx, Body body) {
    try {
        body();
    } catch (const occi::SQLException& e) {
        std::string text = e.what();
        while (!text.empty() && text.back() == '\n') text.pop_back();
        sqlite3_result_error(ctx, text.c_str(), -1);
    } catch (const std::exception& e) {
        sqlite3_result_error(ctx, e.what(), -1);
    }
}

enum class TextKind { Date, Timestamp, TimestampTz, Other };

TextKind storageKind(const std::string& text) {
    static const std::regex date(R"(\d{4}-\d\d-\d\d( \d\d:\d\d:\d\d)?)");
    static const std::regex timestamp(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{1,9})");
    static const std::regex timestampTz(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{1,9}[+-]\d\d:\d\d)");
    if (std::regex_match(text, date)) return TextKind::Date;
    if (std::regex_match(text, timestamp)) return TextKind::Timestamp;
    if (std::regex_match(text, timestampTz)) return TextKind::TimestampTz;
    return TextKind::Other;
}

// TO_CHAR(number) without a model: Oracle's minimal text, without a zero before the point.
std::string plainNumberText(const occi::Number& n) {
    std::string text = numberToPlainText(n);
    if (text.compare(0, 2, "0.") == 0) text.erase(0, 1);
    if (text.compare(0, 3, "-0.") == 0) text.erase(1, 1);
    return text;
}

std::string numberToChar(const occi::Number& n, const std::string* model) {
    return model ? n.toText(nullptr, *model) : plainNumberText(n);
}

void toChar(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (anyEmpty(argc, argv)) {
            sqlite3_result_null(ctx);
            return;
        }
        sqlite3_value* v = argv[0];
        const std::string modelText = argc > 1 ? argText(argv[1]) : std::string();
        const std::string* model =
            argc > 1 && sqlite3_value_type(argv[1]) != SQLITE_NULL ? &modelText : nullptr;
        switch (sqlite3_value_type(v)) {
            case SQLITE_NULL:
                sqlite3_result_null(ctx);
                return;
            case SQLITE_INTEGER:
                resultText(ctx, numberToChar(numberFromInt64(sqlite3_value_int64(v)), model));
                return;
            case SQLITE_FLOAT:
                resultText(ctx, numberToChar(numberFromDouble(sqlite3_value_double(v)), model));
                return;
            default:
                break;
        }
        const std::string text = argText(v);
        switch (storageKind(text)) {
            case TextKind::Date:
                resultText(ctx, dateFromText(text).toText(model ? *model : kDateFormat));
                return;
            case TextKind::Timestamp:
                resultText(ctx, timestampFromText(text).toText(model ? *model : kTimestampFormat,
                                                               kFractionDigits));
                return;
            case TextKind::TimestampTz:
                resultText(ctx, timestampFromText(text).toText(model ? *model : kTimestampTzFormat,
                                                               kFractionDigits));
                return;
            case TextKind::Other:
                break;
        }
        // Text: as it is, or read as a number when a model asks for a number rendering.
        resultText(ctx, model ? numberToChar(numberFromText(text), model) : text);
    });
}

void toNumber(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (anyEmpty(argc, argv)) {
            sqlite3_result_null(ctx);
            return;
        }
        sqlite3_value* v = argv[0];
        const int type = sqlite3_value_type(v);
        if (type == SQLITE_NULL || type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
            sqlite3_result_value(ctx, v);
            return;
        }
        std::string text = argText(v);
        if (argc > 1) {
            // Group separators and the currency sign the model allows are not part of the value.
            const std::string model = asciiUpper(argText(argv[1]));
            std::string kept;
            for (char c : text) {
                if (c == ',' &&
                    (model.find(',') != std::string::npos || model.find('G') != std::string::npos))
                    continue;
                if (c == '$' && model.find('$') != std::string::npos) continue;
                kept += c;
            }
            text = kept;
        }
        if (text.find_first_not_of(" \t") == std::string::npos) {
            sqlite3_result_null(ctx);
            return;
        }
        const occi::Number n = numberFromText(text);
        std::int64_t whole = 0;
        if (numberToInt64(n, whole))
            sqlite3_result_int64(ctx, whole);
        else
            sqlite3_result_double(ctx, numberToDouble(n));
    });
}

// ---- TO_DATE --------------------------------------------------------------------------------

[[noreturn]] void mismatch() { raise(1861, "literal does not match format string"); }

const char* const kMonths[] = {"JANUARY",   "FEBRUARY", "MARCH",    "APRIL",
                               "MAY",       "JUNE",     "JULY",     "AUGUST",
                               "SEPTEMBER", "OCTOBER",  "NOVEMBER", "DECEMBER"};

struct Clock {
    int year;
    unsigned month;
};

Clock today() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm parts{};
    gmtime_r(&now, &parts);
    return Clock{parts.tm_year + 1900, static_cast<unsigned>(parts.tm_mon + 1)};
}

class DateParser {
  public:
    DateParser(const std::string& text, const std::string& model)
        : text_(text), model_(asciiUpper(model)) {}

    std::string parse() {
        const Clock now = today();
        year_ = now.year;
        month_ = now.month;
        while (m_ < model_.size()) {
            if (t_ >= text_.size()) break;  // missing trailing fields keep their defaults
            element();
        }
        while (t_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[t_]))) ++t_;
        if (t_ < text_.size())
            raise(1830, "date format picture ends before converting entire input string");
        return finish();
    }

  private:
    bool modelAt(const char* element) const {
        return model_.compare(m_, std::strlen(element), element) == 0;
    }

    int digits(std::size_t maxDigits) {
        std::size_t n = 0;
        int value = 0;
        while (t_ < text_.size() && n < maxDigits &&
               std::isdigit(static_cast<unsigned char>(text_[t_]))) {
            value = value * 10 + (text_[t_++] - '0');
            ++n;
        }
        if (n == 0) mismatch();
        return value;
    }

    unsigned monthName(bool fullName) {
        for (unsigned i = 0; i < 12; ++i) {
            const std::string name = kMonths[i];
            for (const std::string& candidate : {name, name.substr(0, 3)}) {
                if (!fullName && candidate.size() != 3) continue;
                if (asciiUpper(text_.substr(t_, candidate.size())) == candidate) {
                    t_ += candidate.size();
                    return i + 1;
                }
            }
        }
        raise(1843, "not a valid month");
    }

    void element() {
        const char c = model_[m_];
        if (c == '"') {  // quoted literal text
            const std::size_t close = model_.find('"', m_ + 1);
            if (close == std::string::npos) raise(1821, "date format not recognized");
            const std::string literal = asciiUpper(text_.substr(t_, close - m_ - 1));
            if (literal != model_.substr(m_ + 1, close - m_ - 1)) mismatch();
            t_ += close - m_ - 1;
            m_ = close + 1;
        } else if (!std::isalnum(static_cast<unsigned char>(c))) {
            // Punctuation and blanks in the model match any run of them in the text.
            while (m_ < model_.size() && !std::isalnum(static_cast<unsigned char>(model_[m_])) &&
                   model_[m_] != '"')
                ++m_;
            while (t_ < text_.size() && !std::isalnum(static_cast<unsigned char>(text_[t_]))) ++t_;
        } else if (modelAt("FM") || modelAt("FX")) {
            m_ += 2;
        } else if (modelAt("YYYY") || modelAt("RRRR")) {
            year_ = digits(4);
            m_ += 4;
        } else if (modelAt("YY") || modelAt("RR")) {
            const bool rr = model_[m_] == 'R';
            const int yy = digits(2);
            year_ = rr ? (yy < 50 ? 2000 + yy : 1900 + yy) : (today().year / 100) * 100 + yy;
            m_ += 2;
        } else if (modelAt("MONTH")) {
            month_ = monthName(true);
            m_ += 5;
        } else if (modelAt("MON")) {
            month_ = monthName(false);
            m_ += 3;
        } else if (modelAt("MM")) {
            month_ = static_cast<unsigned>(digits(2));
            m_ += 2;
            if (month_ < 1 || month_ > 12) raise(1843, "not a valid month");
        } else if (modelAt("DD")) {
            day_ = static_cast<unsigned>(digits(2));
            m_ += 2;
        } else if (modelAt("HH24")) {
            hour_ = static_cast<unsigned>(digits(2));
            m_ += 4;
            if (hour_ > 23) raise(1850, "hour must be between 0 and 23");
        } else if (modelAt("HH12") || modelAt("HH")) {
            hour_ = static_cast<unsigned>(digits(2));
            m_ += modelAt("HH12") ? 4 : 2;
            if (hour_ < 1 || hour_ > 12) raise(1849, "hour must be between 1 and 12");
            twelveHour_ = true;
        } else if (modelAt("MI")) {
            minute_ = static_cast<unsigned>(digits(2));
            m_ += 2;
            if (minute_ > 59) raise(1851, "minutes must be between 0 and 59");
        } else if (modelAt("SS")) {
            second_ = static_cast<unsigned>(digits(2));
            m_ += 2;
            if (second_ > 59) raise(1852, "seconds must be between 0 and 59");
        } else if (modelAt("AM") || modelAt("PM") || modelAt("A.M.") || modelAt("P.M.")) {
            m_ += model_[m_ + 1] == '.' ? 4 : 2;
            const std::string marker = asciiUpper(text_.substr(t_, 4));
            if (marker.compare(0, 4, "A.M.") == 0 || marker.compare(0, 4, "P.M.") == 0) {
                pm_ = marker[0] == 'P';
                t_ += 4;
            } else if (marker.compare(0, 2, "AM") == 0 || marker.compare(0, 2, "PM") == 0) {
                pm_ = marker[0] == 'P';
                t_ += 2;
            } else {
                raise(1855, "AM/A.M. or PM/P.M. required");
            }
        } else {
            raise(1821, "date format not recognized");
        }
    }

    std::string finish() {
        if (twelveHour_) hour_ = hour_ % 12 + (pm_ ? 12 : 0);
        if (year_ == 0) raise(1841, "(full) year must be between -4713 and +9999, and not be 0");
        static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool leap = (year_ % 4 == 0 && year_ % 100 != 0) || year_ % 400 == 0;
        if (day_ < 1 || day_ > kDays[month_ - 1] + (month_ == 2 && leap ? 1 : 0))
            raise(1847, "day of month must be between 1 and last day of month");
        char buf[64];
        std::snprintf(buf, sizeof buf, "%04d-%02u-%02u %02u:%02u:%02u", year_, month_, day_, hour_,
                      minute_, second_);
        return buf;
    }

    const std::string& text_;
    const std::string model_;
    std::size_t t_ = 0, m_ = 0;
    int year_ = 1;
    unsigned month_ = 1, day_ = 1, hour_ = 0, minute_ = 0, second_ = 0;
    bool twelveHour_ = false, pm_ = false;
};

void toDate(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (anyEmpty(argc, argv)) {
            sqlite3_result_null(ctx);
            return;
        }
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
        const std::string text = argText(argv[0]);
        if (text.empty()) {
            sqlite3_result_null(ctx);
            return;
        }
        std::string model = argc > 1 ? argText(argv[1]) : std::string();
        if (model.empty()) {
            // The session's DD-MON-RR, and the storage form a DATE column hands back.
            model = storageKind(text) == TextKind::Date ? "YYYY-MM-DD HH24:MI:SS" : kDateFormat;
        }
        resultText(ctx, DateParser(text, model).parse());
    });
}

}  // namespace

void registerConversionFunctions(sqlite3* db) {
    for (int args : {1, 2}) {
        defineFunction(db, "TO_CHAR", args, toChar);
        defineFunction(db, "TO_NUMBER", args, toNumber);
        defineFunction(db, "TO_DATE", args, toDate);
    }
}

}  // namespace detail
}  // namespace kavexdb
