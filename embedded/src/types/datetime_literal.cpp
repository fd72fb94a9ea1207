#include "types/datetime_literal.h"

#include <cctype>
#include <cstdio>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "types/calendar.h"

namespace kavexdb {
namespace detail {

namespace {

[[noreturn]] void badShape() { raise(ora::kLiteralDoesNotMatchFormat); }

class Scanner {
  public:
    explicit Scanner(const std::string& text) : s_(text) {}
    bool atEnd() const { return i_ >= s_.size(); }
    char peek() const { return atEnd() ? '\0' : s_[i_]; }
    bool accept(char c) {
        if (peek() != c) return false;
        ++i_;
        return true;
    }
    void expect(char c) {
        if (!accept(c)) badShape();
    }
    void skipSpaces() {
        while (!atEnd() && s_[i_] == ' ') ++i_;
    }
    // 1 to maxDigits digits.
    int number(std::size_t maxDigits) {
        std::string digits = this->digits(maxDigits);
        if (digits.empty()) badShape();
        return std::stoi(digits);
    }
    std::string digits(std::size_t maxDigits) {
        std::string out;
        while (!atEnd() && out.size() < maxDigits &&
               std::isdigit(static_cast<unsigned char>(s_[i_])))
            out += s_[i_++];
        return out;
    }
    bool acceptWord(const char* upperWord) {
        std::size_t j = i_;
        for (const char* w = upperWord; *w; ++w, ++j)
            if (j >= s_.size() || std::toupper(static_cast<unsigned char>(s_[j])) != *w)
                return false;
        i_ = j;
        return true;
    }

  private:
    const std::string& s_;
    std::size_t i_ = 0;
};

std::string scanDate(Scanner& in) {
    const int year = in.number(4);
    in.expect('-');
    const int month = in.number(2);
    in.expect('-');
    const int day = in.number(2);
    if (year == 0) raise(ora::kYearOutOfRange);
    if (month < 1 || month > 12) raise(ora::kInvalidMonth);
    if (day < 1 || day > static_cast<int>(daysInMonth(year, static_cast<unsigned>(month))))
        raise(ora::kDayOfMonthOutOfRange);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month, day);
    return buf;
}

}  // namespace

std::string dateLiteralToStorage(const std::string& literal) {
    Scanner in(literal);
    in.skipSpaces();
    std::string out = scanDate(in);
    in.skipSpaces();
    if (!in.atEnd()) badShape();
    return out + " 00:00:00";
}

std::string timestampLiteralToStorage(const std::string& literal) {
    Scanner in(literal);
    in.skipSpaces();
    const std::string date = scanDate(in);
    int hour = 0, minute = 0, second = 0;
    std::string fraction;
    in.skipSpaces();
    if (std::isdigit(static_cast<unsigned char>(in.peek()))) {
        hour = in.number(2);
        in.expect(':');
        minute = in.number(2);
        if (in.accept(':')) {
            second = in.number(2);
            if (in.accept('.')) {
                fraction = in.digits(9);
                if (fraction.empty()) badShape();
            }
        }
        if (hour > 23) raise(ora::kHourOutOfRange);
        if (minute > 59) raise(ora::kMinutesOutOfRange);
        if (second > 59) raise(ora::kSecondsOutOfRange);
    }
    fraction.resize(9, '0');
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s %02d:%02d:%02d.%s", date.c_str(), hour, minute, second,
                  fraction.c_str());
    std::string out = buf;
    in.skipSpaces();
    if (in.atEnd()) return out;
    if (in.acceptWord("UTC") || in.acceptWord("GMT") || in.acceptWord("Z")) {
        out += "+00:00";
    } else {
        const char sign = in.peek();
        if (sign != '+' && sign != '-') badShape();
        in.accept(sign);
        const int tzHour = in.number(2);
        int tzMinute = 0;
        if (in.accept(':')) tzMinute = in.number(2);
        if (tzHour > 15) raise(ora::kTimeZoneHourOutOfRange);
        if (tzMinute > 59) raise(ora::kTimeZoneMinuteOutOfRange);
        std::snprintf(buf, sizeof buf, "%c%02d:%02d", sign, tzHour, tzMinute);
        out += buf;
    }
    in.skipSpaces();
    if (!in.atEnd()) badShape();
    return out;
}

}  // namespace detail
}  // namespace kavexdb
