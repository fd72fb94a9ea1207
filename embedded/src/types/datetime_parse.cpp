// Oracle's text-to-datetime conversion. Without FX matching is forgiving: letters in any case,
// extra blanks, any run of punctuation where the model has punctuation (or none), numbers with
// fewer digits than their element, the alternative elements Oracle documents (MM reads a month's
// name, MON and MONTH read each other, YY and RR read four digits), fields missing at the end.
// FX makes punctuation, blanks and the digits of numbers exact.
#include "types/datetime_parse.h"

#include <cctype>
#include <chrono>
#include <cstring>
#include <ctime>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "base/text.h"
#include "types/calendar.h"
#include "types/storage_text.h"
#include "types/values.h"

namespace kavexdb {
namespace detail {

const char* const kDefaultDateFormat = "DD-MON-RR";
const char* const kDefaultTimestampFormat = "DD-MON-RR HH.MI.SSXFF AM";
const char* const kDefaultTimestampTzFormat = "DD-MON-RR HH.MI.SSXFF AM TZH:TZM";

namespace {

[[noreturn]] void mismatch() { raise(ora::kLiteralDoesNotMatchFormat); }

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

const char* const kRomanMonths[] = {"I",   "II",   "III", "IV", "V",  "VI",
                                    "VII", "VIII", "IX",  "X",  "XI", "XII"};

// Elements a model may name once: a second one of a group is Oracle's error for the group.
enum Group : unsigned { kYear = 1, kMonth = 2, kDayOfMonth = 4, kDayOfYear = 8, kJulian = 16,
                        kHour = 32, kMinute = 64, kSecond = 128, kSecondsOfDay = 256,
                        kWeekday = 512, kMeridian = 1024, kEra = 2048 };

class DateParser {
  public:
    DateParser(const std::string& text, const std::string& model)
        : text_(text), model_(asciiUpper(model)) {}

    DateTimeFields parse() {
        const Clock now = today();
        year_ = now.year;
        f_.month = now.month;
        while (m_ < model_.size()) {
            // Without FX extra blanks are skipped, before anything but the modifiers.
            if (!exact_ && !modelAt("FX") && !modelAt("FM")) skipBlanks();
            if (t_ >= text_.size()) break;  // missing trailing fields keep their defaults
            element();
        }
        skipBlanks();
        if (t_ < text_.size()) raise(ora::kFormatEndsBeforeInput);
        return finish();
    }

  private:
    bool modelAt(const char* element) const {
        return model_.compare(m_, std::strlen(element), element) == 0;
    }
    bool textAt(const char* word) const {
        const std::size_t n = std::strlen(word);
        if (text_.size() - t_ < n) return false;
        for (std::size_t k = 0; k < n; ++k)
            if (std::toupper(static_cast<unsigned char>(text_[t_ + k])) != word[k]) return false;
        return true;
    }
    void skipBlanks() {
        while (t_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[t_]))) ++t_;
    }

    // Marks a group as named; Oracle names the clash.
    void once(unsigned group) {
        if (seen_ & group) {
            switch (group) {
                case kYear:
                    raise(ora::kYearTwice);
                case kMonth:
                    raise(ora::kMonthTwice);
                case kDayOfMonth:
                    raise(ora::kDayOfMonthTwice);
                case kHour:
                    raise(ora::kHourTwice);
                case kMinute:
                    raise(ora::kMinutesTwice);
                case kEra:
                    raise(ora::kEraTwice);
                default:
                    raise(ora::kFormatCodeTwice);
            }
        }
        seen_ |= group;
    }

    // A number of at most `width` digits (with a sign when `sign`); in FX mode exactly
    // `width` unless FM is also in effect or the caller checks the count itself.
    long digits(std::size_t width, bool sign = false, std::size_t* count = nullptr) {
        bool negative = false;
        if (sign && t_ < text_.size() && (text_[t_] == '-' || text_[t_] == '+'))
            negative = text_[t_++] == '-';
        std::size_t n = 0;
        long value = 0;
        while (t_ < text_.size() && n < width && isDigit(text_[t_])) {
            value = value * 10 + (text_[t_++] - '0');
            ++n;
        }
        if (n == 0) mismatch();
        if (count) {
            *count = n;
        } else if (exact_ && !fill_ && n != width) {
            wrongLength();
        }
        return negative ? -value : value;
    }

    [[noreturn]] static void wrongLength() { raise(ora::kNumericLengthMismatch); }

    // The index of the longest of the names (or their first three letters) at the text.
    int name(const char* const* names, int count, bool fullName, bool abbreviation) {
        int best = -1;
        std::size_t bestLength = 0;
        for (int i = 0; i < count; ++i) {
            const std::string full = names[i];
            for (const std::string& candidate : {full, full.substr(0, 3)}) {
                if (candidate.size() == full.size() ? !fullName : !abbreviation) continue;
                if (candidate.size() > bestLength && textAt(candidate.c_str())) {
                    best = i;
                    bestLength = candidate.size();
                }
            }
        }
        t_ += bestLength;
        return best;
    }

    // A month by name: MON accepts MONTH and MONTH accepts MON.
    unsigned monthName() {
        const int month = name(kMonthNames, 12, true, true);
        if (month < 0) raise(ora::kInvalidMonth);
        return static_cast<unsigned>(month + 1);
    }

    void timeZone(bool hours) {
        bool west = false;
        if (hours && t_ < text_.size() && (text_[t_] == '+' || text_[t_] == '-'))
            west = text_[t_++] == '-';
        const int value = static_cast<int>(digits(2));
        if (hours) {
            f_.tzHour = west ? -value : value;
            westZone_ = west;
        } else {
            f_.tzMinute = westZone_ ? -value : value;
        }
    }

    // One of two indicators (AM/PM, AD/BC), with or without periods; true for the second.
    bool indicator(const char* first, const char* second, const OraMessage<0>& missing) {
        for (const char* word : {first, second}) {
            const char dotted[] = {word[0], '.', word[1], '.', '\0'};
            const std::size_t length = textAt(dotted) ? 4 : textAt(word) ? 2 : 0;
            if (length == 0) continue;
            t_ += length;
            return word == second;
        }
        raise(missing);
    }

    // The TH of a number element ("1ST", "22ND"); SP has no input form.
    void suffix() {
        if (modelAt("SP")) raise(ora::kDateFormatNotRecognized);
        if (!modelAt("TH")) return;
        m_ += 2;
        if (textAt("ST") || textAt("ND") || textAt("RD") || textAt("TH")) t_ += 2;
    }

    // Punctuation and quoted text: without FX any run of punctuation and blanks in the text
    // matches the model's, which the text may also leave out; with FX it must be the same.
    void punctuation() {
        const char c = model_[m_];
        if (c == '"') {
            const std::size_t close = model_.find('"', m_ + 1);
            if (close == std::string::npos) raise(ora::kDateFormatNotRecognized);
            const std::string literal = model_.substr(m_ + 1, close - m_ - 1);
            if (!textAt(literal.c_str())) mismatch();
            t_ += literal.size();
            m_ = close + 1;
            return;
        }
        if (exact_) {
            if (text_[t_] != c) mismatch();
            ++m_;
            ++t_;
            return;
        }
        while (m_ < model_.size() && !std::isalnum(static_cast<unsigned char>(model_[m_])) &&
               model_[m_] != '"')
            ++m_;
        // A sign belongs to the time zone hour or signed year that follows.
        const bool signNext = modelAt("TZH") || modelAt("SYYYY");
        while (t_ < text_.size() && !std::isalnum(static_cast<unsigned char>(text_[t_])) &&
               !(signNext && (text_[t_] == '+' || text_[t_] == '-')))
            ++t_;
    }

    // Elements that give no date in TO_DATE.
    [[noreturn]] static void notForInput() { raise(ora::kFormatCodeNotForInput); }

    void year() {
        once(kYear);
        if (modelAt("SYYYY")) {
            m_ += 5;
            year_ = digits(4, true);
        } else if (modelAt("Y,YYY")) {
            m_ += 5;
            const long thousands = digits(1);
            if (t_ < text_.size() && text_[t_] == ',') ++t_;
            year_ = thousands * 1000 + digits(3);
        } else if (modelAt("YYYY") || modelAt("RRRR")) {
            // RRRR reads two digits as RR does.
            const bool rr = model_[m_] == 'R';
            m_ += 4;
            std::size_t count = 0;
            const long value = digits(4, false, &count);
            if (exact_ && !fill_ && count != 4 && !(rr && count == 2)) wrongLength();
            year_ = rr && count <= 2 ? roundYear(value) : value;
        } else if (modelAt("YYY")) {
            m_ += 3;
            year_ = today().year / 1000 * 1000 + digits(3);
        } else if (modelAt("YY") || modelAt("RR")) {
            // Four digits are a full year (the YYYY and RRRR alternatives).
            const bool rr = model_[m_] == 'R';
            m_ += 2;
            std::size_t count = 0;
            const long value = digits(4, false, &count);
            if (exact_ && !fill_ && count != 2 && count != 4) wrongLength();
            year_ = count > 2 ? value : rr ? roundYear(value) : today().year / 100 * 100 + value;
        } else {  // Y
            m_ += 1;
            year_ = today().year / 10 * 10 + digits(1);
        }
    }

    // RR: the century that puts a two-digit year nearest the current one.
    static long roundYear(long yy) {
        const int now = today().year;
        const int century = now / 100 * 100;
        if ((now % 100 < 50) == (yy < 50)) return century + yy;
        return yy >= 50 ? century - 100 + yy : century + 100 + yy;
    }

    void month() {
        once(kMonth);
        if (modelAt("MONTH") || modelAt("MON")) {
            const bool full = modelAt("MONTH");
            m_ += full ? 5 : 3;
            f_.month = monthName();
        } else if (modelAt("RM")) {
            m_ += 2;
            const int month = name(kRomanMonths, 12, true, false);
            if (month < 0) raise(ora::kInvalidMonth);
            f_.month = static_cast<unsigned>(month + 1);
        } else {  // MM, which also reads a month's name
            m_ += 2;
            if (t_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_[t_]))) {
                f_.month = monthName();
                return;
            }
            const long month = digits(2);
            if (month < 1 || month > 12) raise(ora::kInvalidMonth);
            f_.month = static_cast<unsigned>(month);
            suffix();
        }
    }

    void element() {
        const char c = model_[m_];
        if (c == '"' || !std::isalnum(static_cast<unsigned char>(c))) return punctuation();
        if (modelAt("FM")) {
            fill_ = !fill_;
            m_ += 2;
        } else if (modelAt("FX")) {
            exact_ = !exact_;
            m_ += 2;
        } else if (modelAt("SYEAR") || modelAt("SCC")) {
            notForInput();
        } else if (modelAt("SSSSS")) {
            once(kSecondsOfDay);
            m_ += 5;
            const long seconds = digits(5);
            if (seconds > 86399) raise(ora::kSecondsInDayOutOfRange);
            secondsOfDay_ = seconds;
            suffix();
        } else if (modelAt("SYYYY") || modelAt("Y,YYY") || modelAt("YYYY") || modelAt("RRRR") ||
                   modelAt("YYY") || modelAt("YY") || modelAt("RR") ||
                   (modelAt("Y") && !modelAt("YEAR"))) {
            year();
            suffix();
        } else if (modelAt("YEAR") || modelAt("IYYY") || modelAt("IYY") || modelAt("IY") ||
                   modelAt("IW") || modelAt("I") || modelAt("CC") || modelAt("Q") ||
                   modelAt("WW") || modelAt("W") || modelAt("DL") || modelAt("DS") ||
                   modelAt("TS")) {
            notForInput();
        } else if (modelAt("MONTH") || modelAt("MON") || modelAt("MM") || modelAt("RM")) {
            month();
        } else if (modelAt("DDD")) {
            once(kDayOfYear);
            m_ += 3;
            dayOfYear_ = digits(3);
            suffix();
        } else if (modelAt("DD")) {
            once(kDayOfMonth);
            m_ += 2;
            f_.day = static_cast<unsigned>(digits(2));
            suffix();
        } else if (modelAt("DAY") || modelAt("DY")) {
            once(kWeekday);
            const bool full = modelAt("DAY");
            m_ += full ? 3 : 2;
            if (name(kDayNames, 7, true, true) < 0) raise(ora::kInvalidDayOfWeek);
        } else if (modelAt("D")) {
            once(kWeekday);
            m_ += 1;
            const long weekday = digits(1);
            if (weekday < 1 || weekday > 7) raise(ora::kInvalidDayOfWeek);
            suffix();
        } else if (modelAt("J")) {
            once(kJulian);
            m_ += 1;
            julian_ = digits(7);
            if (julian_ < 1 || julian_ > 5373484) raise(ora::kJulianDateOutOfRange);
            suffix();
        } else if (modelAt("HH24")) {
            once(kHour);
            m_ += 4;
            f_.hour = static_cast<unsigned>(digits(2));
            if (f_.hour > 23) raise(ora::kHourOutOfRange);
            suffix();
        } else if (modelAt("HH12") || modelAt("HH")) {
            once(kHour);
            m_ += modelAt("HH12") ? 4 : 2;
            f_.hour = static_cast<unsigned>(digits(2));
            if (f_.hour < 1 || f_.hour > 12) raise(ora::kHour12OutOfRange);
            twelveHour_ = true;
            suffix();
        } else if (modelAt("MI")) {
            once(kMinute);
            m_ += 2;
            f_.minute = static_cast<unsigned>(digits(2));
            if (f_.minute > 59) raise(ora::kMinutesOutOfRange);
            suffix();
        } else if (modelAt("SS")) {
            once(kSecond);
            m_ += 2;
            f_.second = static_cast<unsigned>(digits(2));
            if (f_.second > 59) raise(ora::kSecondsOutOfRange);
            suffix();
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
            if (count > 9) raise(ora::kFormatEndsBeforeInput);
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
            once(kMeridian);
            m_ += model_[m_ + 1] == '.' ? 4 : 2;
            pm_ = indicator("AM", "PM", ora::kMeridianRequired);
        } else if (modelAt("AD") || modelAt("BC") || modelAt("A.D.") || modelAt("B.C.")) {
            once(kEra);
            m_ += model_[m_ + 1] == '.' ? 4 : 2;
            bc_ = indicator("AD", "BC", ora::kEraRequired);
        } else {
            raise(ora::kDateFormatNotRecognized);
        }
    }

    DateTimeFields finish() {
        if (twelveHour_) f_.hour = f_.hour % 12 + (pm_ ? 12 : 0);
        if (secondsOfDay_ >= 0) {
            if ((seen_ & (kHour | kMinute | kSecond)) != 0)
                raise(ora::kHourConflictsWithSecondsInDay);
            f_.hour = static_cast<unsigned>(secondsOfDay_ / 3600);
            f_.minute = static_cast<unsigned>(secondsOfDay_ / 60 % 60);
            f_.second = static_cast<unsigned>(secondsOfDay_ % 60);
        }
        if (julian_ > 0) {
            if ((seen_ & (kYear | kMonth | kDayOfMonth | kDayOfYear)) != 0)
                raise(ora::kJulianDateWithDayOfYear);
            long year = 0;
            civilFromDays(julian_ - 2440588, year, f_.month, f_.day);
            year_ = oracleYear(year);
        }
        if (year_ == 0) raise(ora::kYearOutOfRange);
        if (bc_) {
            if (year_ < 0) raise(ora::kYearOutOfRange);
            year_ = -year_;
        }
        if (year_ < -4712 || year_ > 9999) raise(ora::kYearOutOfRange);
        f_.year = static_cast<int>(year_);
        if (dayOfYear_ > 0) {
            if ((seen_ & (kMonth | kDayOfMonth)) == (kMonth | kDayOfMonth))
                raise(ora::kJulianDateWithDayOfYear);
            const long first = daysFromCivil(astronomicalYear(f_.year), 1, 1);
            const long length = daysFromCivil(astronomicalYear(f_.year) + 1, 1, 1) - first;
            if (dayOfYear_ > length) raise(ora::kDayOfYearOutOfRange);
            long year = 0;
            civilFromDays(first + dayOfYear_ - 1, year, f_.month, f_.day);
        } else if (dayOfYear_ == 0 && (seen_ & kDayOfYear)) {
            raise(ora::kDayOfYearOutOfRange);
        }
        if (f_.day < 1 || f_.day > daysInMonth(f_.year, f_.month))
            raise(ora::kDayOfMonthOutOfRange);
        if (f_.tzHour < -12 || f_.tzHour > 14) raise(ora::kTimeZoneHourOutOfRange);
        if (f_.tzMinute < -59 || f_.tzMinute > 59) raise(ora::kTimeZoneMinuteOutOfRange);
        return f_;
    }

    const std::string& text_;
    const std::string model_;
    std::size_t t_ = 0, m_ = 0;
    DateTimeFields f_;
    long year_ = 0, dayOfYear_ = -1, julian_ = 0, secondsOfDay_ = -1;
    unsigned seen_ = 0;
    bool twelveHour_ = false, pm_ = false, westZone_ = false, bc_ = false;
    bool exact_ = false, fill_ = false;  // FX and FM
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
