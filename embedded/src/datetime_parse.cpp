// Oracle's text-to-datetime conversion. Matching is as forgiving as Oracle's default (not FX)
// mode: letters in any case, any run of punctuation where the model has punctuation, numbers
// with fewer digits than their element, fields missing at the end.
#include "datetime_parse.h"

#include <cctype>
#include <chrono>
#include <cstring>
#include <ctime>

#include "calendar.h"
#include "detail.h"
#include "sql_lexer.h"
#include "storage_text.h"

namespace kavexdb {
namespace detail {

const char* const kDefaultDateFormat = "DD-MON-RR";
const char* const kDefaultTimestampFormat = "DD-MON-RR HH.MI.SSXFF AM";
const char* const kDefaultTimestampTzFormat = "DD-MON-RR HH.MI.SSXFF AM TZH:TZM";

namespace {

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

bool isDigit(char c) { return c >= '0' && c <= '9'; }

class DateParser {
  public:
    DateParser(const std::string& text, const std::string& model)
        : text_(text), model_(asciiUpper(model)) {}

    DateTimeFields parse() {
        const Clock now = today();
        f_.year = now.year;
        f_.month = now.month;
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

    int digits(std::size_t maxDigits, std::size_t* count = nullptr) {
        std::size_t n = 0;
        int value = 0;
        while (t_ < text_.size() && n < maxDigits && isDigit(text_[t_])) {
            value = value * 10 + (text_[t_++] - '0');
            ++n;
        }
        if (n == 0) mismatch();
        if (count) *count = n;
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

    void timeZone(bool hours) {
        bool west = false;
        if (hours && t_ < text_.size() && (text_[t_] == '+' || text_[t_] == '-'))
            west = text_[t_++] == '-';
        const int value = digits(2);
        if (hours) {
            f_.tzHour = west ? -value : value;
            westZone_ = west;
        } else {
            f_.tzMinute = westZone_ ? -value : value;
        }
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
            // Punctuation and blanks in the model match any run of them in the text; a sign
            // belongs to the time zone hour that follows.
            while (m_ < model_.size() && !std::isalnum(static_cast<unsigned char>(model_[m_])) &&
                   model_[m_] != '"')
                ++m_;
            const bool zoneNext = modelAt("TZH");
            while (t_ < text_.size() && !std::isalnum(static_cast<unsigned char>(text_[t_])) &&
                   !(zoneNext && (text_[t_] == '+' || text_[t_] == '-')))
                ++t_;
        } else if (modelAt("FM") || modelAt("FX")) {
            m_ += 2;
        } else if (modelAt("YYYY") || modelAt("RRRR")) {
            f_.year = digits(4);
            m_ += 4;
        } else if (modelAt("YY") || modelAt("RR")) {
            // RR takes the century nearest to the current one; four digits are a full year.
            const bool rr = model_[m_] == 'R';
            std::size_t count = 0;
            const int yy = digits(rr ? 4 : 2, &count);
            const int century = (today().year / 100) * 100;
            if (count > 2)
                f_.year = yy;
            else if (!rr)
                f_.year = century + yy;
            else
                f_.year = (today().year % 100 < 50) == (yy < 50) ? century + yy
                          : yy >= 50                            ? century - 100 + yy
                                                                : century + 100 + yy;
            m_ += 2;
        } else if (modelAt("MONTH")) {
            f_.month = monthName(true);
            m_ += 5;
        } else if (modelAt("MON")) {
            f_.month = monthName(false);
            m_ += 3;
        } else if (modelAt("MM")) {
            f_.month = static_cast<unsigned>(digits(2));
            m_ += 2;
            if (f_.month < 1 || f_.month > 12) raise(1843, "not a valid month");
        } else if (modelAt("DD")) {
            f_.day = static_cast<unsigned>(digits(2));
            m_ += 2;
        } else if (modelAt("HH24")) {
            f_.hour = static_cast<unsigned>(digits(2));
            m_ += 4;
            if (f_.hour > 23) raise(1850, "hour must be between 0 and 23");
        } else if (modelAt("HH12") || modelAt("HH")) {
            f_.hour = static_cast<unsigned>(digits(2));
            m_ += modelAt("HH12") ? 4 : 2;
            if (f_.hour < 1 || f_.hour > 12) raise(1849, "hour must be between 1 and 12");
            twelveHour_ = true;
        } else if (modelAt("MI")) {
            f_.minute = static_cast<unsigned>(digits(2));
            m_ += 2;
            if (f_.minute > 59) raise(1851, "minutes must be between 0 and 59");
        } else if (modelAt("SS")) {
            f_.second = static_cast<unsigned>(digits(2));
            m_ += 2;
            if (f_.second > 59) raise(1852, "seconds must be between 0 and 59");
        } else if (modelAt("FF")) {
            m_ += 2;
            if (m_ < model_.size() && model_[m_] >= '1' && model_[m_] <= '9') ++m_;
            std::size_t count = 0;
            unsigned fraction = 0;
            while (t_ < text_.size() && isDigit(text_[t_])) {
                if (count < 9) fraction = fraction * 10 + static_cast<unsigned>(text_[t_] - '0');
                ++count;
                ++t_;
            }
            if (count == 0) mismatch();
            if (count > 9) raise(1830, "date format picture ends before converting entire input string");
            for (; count < 9; ++count) fraction *= 10;
            f_.fraction = fraction;
        } else if (modelAt("X")) {  // the radix character
            ++m_;
            if (t_ < text_.size() && text_[t_] == '.') ++t_;
        } else if (modelAt("TZH")) {
            m_ += 3;
            timeZone(true);
        } else if (modelAt("TZM")) {
            m_ += 3;
            timeZone(false);
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

    DateTimeFields finish() {
        if (twelveHour_) f_.hour = f_.hour % 12 + (pm_ ? 12 : 0);
        if (f_.year == 0) raise(1841, "(full) year must be between -4713 and +9999, and not be 0");
        if (f_.day < 1 || f_.day > daysInMonth(f_.year, f_.month))
            raise(1847, "day of month must be between 1 and last day of month");
        if (f_.tzHour < -12 || f_.tzHour > 14)
            raise(1874, "time zone hour must be between -15 and 15");
        if (f_.tzMinute < -59 || f_.tzMinute > 59)
            raise(1875, "time zone minute must be between -59 and 59");
        return f_;
    }

    const std::string& text_;
    const std::string model_;
    std::size_t t_ = 0, m_ = 0;
    DateTimeFields f_;
    bool twelveHour_ = false, pm_ = false, westZone_ = false;
};

// Whether text starts like an ISO date: [-]digits '-' digit.
bool looksIso(const std::string& text) {
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos) return false;
    if (text[i] == '-') ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    return digits >= 3 && i + 1 < text.size() && text[i] == '-' && isDigit(text[i + 1]);
}

}  // namespace

DateTimeFields parseDateTime(const std::string& text, const std::string& model) {
    return DateParser(text, model).parse();
}

DateTimeFields parseDefaultDateTime(const std::string& text, bool timestamp, bool withTimeZone) {
    if (looksIso(text)) {
        // The storage reader checks every field through Timestamp's constructor.
        const occi::Timestamp ts = timestampFromText(text.data(), text.size());
        DateTimeFields f;
        ts.getDate(f.year, f.month, f.day);
        ts.getTime(f.hour, f.minute, f.second, f.fraction);
        ts.getTimeZoneOffset(f.tzHour, f.tzMinute);
        return f;
    }
    return parseDateTime(text, !timestamp ? kDefaultDateFormat
                               : withTimeZone ? kDefaultTimestampTzFormat
                                              : kDefaultTimestampFormat);
}

}  // namespace detail
}  // namespace kavexdb
