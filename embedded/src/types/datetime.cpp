// Date and Timestamp: field checks with Oracle's errors, and the storage texts
// "YYYY-MM-DD HH24:MI:SS[.FFFFFFFFF][+HH:MM]".
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "types/calendar.h"
#include "types/format_model.h"
#include "types/storage_text.h"
#include "types/values.h"

namespace occi = oracle::occi;

namespace kavexdb {
namespace detail {

namespace {

void checkDate(int year, unsigned month, unsigned day, unsigned hour, unsigned minute,
               unsigned second) {
    if (year < -4712 || year > 9999 || year == 0) raise(ora::kYearOutOfRange);
    if (month < 1 || month > 12) raise(ora::kInvalidMonth);
    if (day < 1 || (day > 28 && day > daysInMonth(year, month))) raise(ora::kDayOfMonthOutOfRange);
    if (hour > 23) raise(ora::kHourOutOfRange);
    if (minute > 59) raise(ora::kMinutesOutOfRange);
    if (second > 59) raise(ora::kSecondsOutOfRange);
}

void checkTimestampExtras(unsigned fs, int tzHour, int tzMinute) {
    if (fs > 999999999u) raise(ora::kFractionalSecondsOutOfRange);
    if (tzHour < -12 || tzHour > 14) raise(ora::kTimeZoneHourOutOfRange);
    if (tzMinute < -59 || tzMinute > 59) raise(ora::kTimeZoneMinuteOutOfRange);
}

// A cursor over storage text that reads small unsigned numbers.
struct TextReader {
    const char* text;
    std::size_t size;
    std::size_t pos = 0;

    bool atEnd() const { return pos >= size; }
    char peek() const { return atEnd() ? '\0' : text[pos]; }
    bool accept(char c) {
        if (peek() != c) return false;
        ++pos;
        return true;
    }
    bool number(unsigned minDigits, unsigned maxDigits, unsigned& out) {
        unsigned count = 0;
        out = 0;
        while (count < maxDigits && peek() >= '0' && peek() <= '9') {
            out = out * 10 + static_cast<unsigned>(text[pos++] - '0');
            ++count;
        }
        return count >= minDigits;
    }
    void skipBlanks() {
        while (peek() == ' ' || peek() == '\t') ++pos;
    }
};

[[noreturn]] void malformed() { raise(ora::kLiteralDoesNotMatchFormat); }

std::uint64_t load8(const char* s) {
    std::uint64_t w;
    std::memcpy(&w, s, 8);
    return w;
}

// The eight bytes w read against pattern ('0' where a digit goes, the separators elsewhere):
// digits becomes the digits' values, 0 at the separators; false when a separator differs or a
// digit is none.
bool digitsAt(std::uint64_t w, std::uint64_t pattern, std::uint64_t digitBytes,
              std::uint64_t& digits) {
    digits = w ^ pattern;
    if (digits & ~digitBytes) return false;
    return (((digits + 0x7676767676767676ull) | digits) & 0x8080808080808080ull) == 0;
}

// The digit values of digitsAt as two-digit numbers: byte i becomes 10 * digit i + digit i+1
// (at most 99, so no byte carries into the next).
std::uint64_t pairsOf(std::uint64_t digits) { return digits * 10 + (digits >> 8); }

unsigned pairAt(std::uint64_t pairs, int at) {
    return static_cast<unsigned>((pairs >> (8 * at)) & 0xFF);
}

// The texts the client itself stores, "YYYY-MM-DD HH24:MI:SS" and the same with a nine-digit
// fraction, read eight bytes at a time: what every fetched DATE and TIMESTAMP goes through.
bool parseFixedStorage(const char* s, std::size_t length, DateTimeFields& f) {
    if (length != 19 && (length != 29 || s[19] != '.')) return false;
    // "YYYY-MM-", "DD HH:MI" and "HH:MI:SS", the first byte lowest.
    std::uint64_t date, dayTime, time;
    if (!digitsAt(load8(s), 0x2D30302D30303030ull, 0x00FFFF00FFFFFFFFull, date) ||
        !digitsAt(load8(s + 8), 0x30303A3030203030ull, 0xFFFF00FFFF00FFFFull, dayTime) ||
        !digitsAt(load8(s + 11), 0x30303A30303A3030ull, 0xFFFF00FFFF00FFFFull, time))
        return false;
    unsigned fraction = 0;
    if (length == 29) {
        // Eight of the nine fraction digits at once, then the ninth.
        std::uint64_t w = load8(s + 20) - 0x3030303030303030ull;
        if (((w + 0x7676767676767676ull) | w) & 0x8080808080808080ull) return false;
        const unsigned last = static_cast<unsigned>(s[28] - '0');
        if (last > 9) return false;
        // Pairs, quadruples, then all eight; the first digit is in the lowest byte.
        w = (w * 10 + (w >> 8)) & 0x00FF00FF00FF00FFull;
        w = (w * 100 + (w >> 16)) & 0x0000FFFF0000FFFFull;
        w = (w * 10000 + (w >> 32)) & 0xFFFFFFFFull;
        fraction = static_cast<unsigned>(w) * 10 + last;
    }
    date = pairsOf(date);
    dayTime = pairsOf(dayTime);
    time = pairsOf(time);
    f.year = static_cast<int>(pairAt(date, 0) * 100 + pairAt(date, 2));
    f.month = pairAt(date, 5);
    f.day = pairAt(dayTime, 0);
    f.hour = pairAt(time, 0);
    f.minute = pairAt(dayTime, 6);
    f.second = pairAt(time, 6);
    f.fraction = fraction;
    return true;
}

// Parses a storage text into fields; the range checks come after, from the constructors.
DateTimeFields parseStorage(const char* text, std::size_t length) {
    DateTimeFields f;
    if (parseFixedStorage(text, length, f)) return f;
    TextReader r{text, length};
    r.skipBlanks();
    const bool bc = r.accept('-');
    unsigned year = 0, month = 0, day = 0;
    if (!r.number(1, 4, year) || !r.accept('-') || !r.number(1, 2, month) || !r.accept('-') ||
        !r.number(1, 2, day))
        malformed();
    f.year = bc ? -static_cast<int>(year) : static_cast<int>(year);
    f.month = month;
    f.day = day;
    const std::size_t afterDate = r.pos;
    if (r.accept(' ') || r.accept('T')) {
        if (r.peek() >= '0' && r.peek() <= '9') {
            if (!r.number(1, 2, f.hour) || !r.accept(':') || !r.number(1, 2, f.minute)) malformed();
            if (r.accept(':')) {
                if (!r.number(1, 2, f.second)) malformed();
                if (r.accept('.')) {
                    unsigned digits = 0;
                    while (r.peek() >= '0' && r.peek() <= '9') {
                        if (digits < 9) f.fraction = f.fraction * 10 + static_cast<unsigned>(r.peek() - '0');
                        ++digits;
                        ++r.pos;
                    }
                    if (digits == 0) malformed();
                    for (; digits < 9; ++digits) f.fraction *= 10;
                }
            }
        } else {
            r.pos = afterDate;
        }
    }
    r.skipBlanks();
    if (r.accept('Z')) {
        // UTC
    } else if (r.peek() == '+' || r.peek() == '-') {
        const bool west = r.text[r.pos++] == '-';
        unsigned h = 0, m = 0;
        if (!r.number(2, 2, h)) malformed();
        if (r.accept(':')) {
            if (!r.number(2, 2, m)) malformed();
        } else {
            r.number(0, 2, m);
        }
        f.tzHour = west ? -static_cast<int>(h) : static_cast<int>(h);
        f.tzMinute = west ? -static_cast<int>(m) : static_cast<int>(m);
    }
    r.skipBlanks();
    if (!r.atEnd()) malformed();
    return f;
}

// "YYYY-MM-DD HH:MI:SS", a negative year with its sign.
std::string calendarText(int year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                         unsigned second) {
    std::string text;
    text.reserve(40);
    if (year < 0) text += '-';
    appendPadded(text, year < 0 ? -year : year, 4, false);
    text += '-';
    appendPadded(text, month, 2, false);
    text += '-';
    appendPadded(text, day, 2, false);
    text += ' ';
    appendPadded(text, hour, 2, false);
    text += ':';
    appendPadded(text, minute, 2, false);
    text += ':';
    appendPadded(text, second, 2, false);
    return text;
}

}  // namespace

DateTimeFields storageFields(const char* text, std::size_t length) {
    return parseStorage(text, length);
}

occi::Date dateFromText(const char* text, std::size_t length) {
    DateTimeFields f = parseStorage(text, length);
    return occi::Date(nullptr, f.year, f.month, f.day, f.hour, f.minute, f.second);
}

occi::Date dateFromText(const std::string& text) { return dateFromText(text.data(), text.size()); }

std::string dateToStorage(const occi::Date& d) {
    int year = 0;
    unsigned month = 0, day = 0, hour = 0, minute = 0, second = 0;
    d.getDate(year, month, day, hour, minute, second);
    return calendarText(year, month, day, hour, minute, second);
}

occi::Timestamp timestampFromText(const char* text, std::size_t length) {
    DateTimeFields f = parseStorage(text, length);
    return occi::Timestamp(nullptr, f.year, f.month, f.day, f.hour, f.minute, f.second,
                           f.fraction, f.tzHour, f.tzMinute);
}

occi::Timestamp timestampFromText(const std::string& text) {
    return timestampFromText(text.data(), text.size());
}

std::string timestampToStorage(const occi::Timestamp& t, bool withTimeZone) {
    int year = 0, tzHour = 0, tzMinute = 0;
    unsigned month = 0, day = 0, hour = 0, minute = 0, second = 0, fs = 0;
    t.getDate(year, month, day);
    t.getTime(hour, minute, second, fs);
    std::string text = calendarText(year, month, day, hour, minute, second);
    text += '.';
    appendPadded(text, fs, 9, false);
    if (withTimeZone) {
        t.getTimeZoneOffset(tzHour, tzMinute);
        const bool west = tzHour < 0 || (tzHour == 0 && tzMinute < 0);
        text += west ? '-' : '+';
        appendPadded(text, std::abs(tzHour), 2, false);
        text += ':';
        appendPadded(text, std::abs(tzMinute), 2, false);
    }
    return text;
}

}  // namespace detail
}  // namespace kavexdb

namespace oracle {
namespace occi {

namespace {
[[noreturn]] void nullDate() { kavexdb::detail::raise(kavexdb::detail::ora::kNullDate); }
}  // namespace

Date::Date() : null_(true), year_(1), month_(1), day_(1), hour_(0), minute_(0), second_(0) {}
Date::Date(const Date& other) = default;
Date& Date::operator=(const Date& other) = default;
Date::~Date() = default;

Date::Date(const Environment* /*envp*/, int year, unsigned int month, unsigned int day,
           unsigned int hour, unsigned int minute, unsigned int seconds)
    : Date() {
    kavexdb::detail::checkDate(year, month, day, hour, minute, seconds);
    null_ = false;
    year_ = year;
    month_ = static_cast<unsigned char>(month);
    day_ = static_cast<unsigned char>(day);
    hour_ = static_cast<unsigned char>(hour);
    minute_ = static_cast<unsigned char>(minute);
    second_ = static_cast<unsigned char>(seconds);
}

bool Date::isNull() const { return null_; }

void Date::setNull() { *this = Date(); }

void Date::getDate(int& year, unsigned int& month, unsigned int& day, unsigned int& hour,
                   unsigned int& min, unsigned int& seconds) const {
    if (null_) nullDate();
    year = year_;
    month = month_;
    day = day_;
    hour = hour_;
    min = minute_;
    seconds = second_;
}

Timestamp::Timestamp()
    : null_(true), year_(1), month_(1), day_(1), hour_(0), minute_(0), second_(0), fs_(0),
      tzHour_(0), tzMinute_(0) {}
Timestamp::Timestamp(const Timestamp& other) = default;
Timestamp& Timestamp::operator=(const Timestamp& other) = default;
Timestamp::~Timestamp() = default;

Timestamp::Timestamp(const Environment* /*env*/, int year, unsigned int month, unsigned int day,
                     unsigned int hour, unsigned int min, unsigned int sec, unsigned int fs,
                     int tzhour, int tzmin)
    : null_(false), year_(year), month_(static_cast<unsigned char>(month)),
      day_(static_cast<unsigned char>(day)), hour_(static_cast<unsigned char>(hour)),
      minute_(static_cast<unsigned char>(min)), second_(static_cast<unsigned char>(sec)), fs_(fs),
      tzHour_(static_cast<signed char>(tzhour)), tzMinute_(static_cast<signed char>(tzmin)) {
    // A value out of range throws, so no object is made from it.
    kavexdb::detail::checkDate(year, month, day, hour, min, sec);
    kavexdb::detail::checkTimestampExtras(fs, tzhour, tzmin);
}

bool Timestamp::isNull() const { return null_; }

void Timestamp::setNull() { *this = Timestamp(); }

void Timestamp::getDate(int& year, unsigned int& month, unsigned int& day) const {
    if (null_) nullDate();
    year = year_;
    month = month_;
    day = day_;
}

void Timestamp::getTime(unsigned int& hour, unsigned int& minute, unsigned int& second,
                        unsigned int& fs) const {
    if (null_) nullDate();
    hour = hour_;
    minute = minute_;
    second = second_;
    fs = fs_;
}

void Timestamp::getTimeZoneOffset(int& hour, int& minute) const {
    if (null_) nullDate();
    hour = tzHour_;
    minute = tzMinute_;
}

}  // namespace occi
}  // namespace oracle
