// Interval values: their storage texts, the text forms Oracle converts from, and moving a point
// in time by one.
#include "functions/interval.h"

#include <cctype>

#include "base/errors.h"
#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {

namespace {

constexpr long long kMaxLeading = 999999999LL;  // nine digits


long long tenTo(int digits) {
    long long p = 1;
    for (int i = 0; i < digits; ++i) p *= 10;
    return p;
}

int digitCount(long long v) {
    int n = 1;
    while (v >= 10) {
        v /= 10;
        ++n;
    }
    return n;
}

// v in decimal, led by zeros to at least width digits.
std::string padded(long long v, std::size_t width) {
    std::string digits = std::to_string(v);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads 1 to maxDigits digits at s[i]; false when there are none or more.
bool readDigits(const char* s, std::size_t n, std::size_t& i, std::size_t maxDigits,
                long long& value, std::size_t* count = nullptr) {
    const std::size_t from = i;
    value = 0;
    while (i < n && isDigit(s[i])) {
        if (i - from == maxDigits) return false;
        value = value * 10 + (s[i] - '0');
        ++i;
    }
    if (count) *count = i - from;
    return i > from;
}

bool twoDigits(const char* s, std::size_t i, long long& value) {
    if (!isDigit(s[i]) || !isDigit(s[i + 1])) return false;
    value = (s[i] - '0') * 10 + (s[i + 1] - '0');
    return true;
}

// A text scanner for the forms TO_YMINTERVAL and TO_DSINTERVAL accept.
class Scanner {
  public:
    explicit Scanner(const std::string& text) : s_(text) {}
    void blanks() {
        while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
    }
    bool atEnd() const { return i_ >= s_.size(); }
    char peek() const { return atEnd() ? '\0' : s_[i_]; }
    bool accept(char c) {
        if (atEnd() || std::toupper(static_cast<unsigned char>(s_[i_])) != c) return false;
        ++i_;
        return true;
    }
    // An unsigned integer of at most nine digits besides leading zeros (ORA-01873 beyond);
    // false when none is here.
    bool integer(long long& value) {
        std::size_t count = 0, significant = 0;
        value = 0;
        while (i_ < s_.size() && isDigit(s_[i_])) {
            if (significant > 0 || s_[i_] != '0') ++significant;
            if (significant > 9) leadingPrecisionTooSmall();
            value = value * 10 + (s_[i_++] - '0');
            ++count;
        }
        return count > 0;
    }
    // ".digits": nanoseconds (digits beyond nine dropped).
    long long fraction() {
        long long nanos = 0;
        int used = 0;
        while (i_ < s_.size() && isDigit(s_[i_])) {
            if (used < 9) {
                nanos = nanos * 10 + (s_[i_] - '0');
                ++used;
            }
            ++i_;
        }
        return nanos * tenTo(9 - used);
    }

  private:
    const std::string& s_;
    std::size_t i_ = 0;
};

// The ISO 8601 duration "[-]P[nY][nM][nD][T[nH][nM][n[.f]S]]" after its sign; fills the fields
// given. False when the text is not of that shape.
struct IsoDuration {
    long long years = 0, months = 0, days = 0, hours = 0, minutes = 0, seconds = 0, nanos = 0;
};

bool parseIso(Scanner& in, IsoDuration& d) {
    if (!in.accept('P')) return false;
    bool any = false;
    const char dateUnits[] = {'Y', 'M', 'D'};
    long long* dateFields[] = {&d.years, &d.months, &d.days};
    std::size_t next = 0;
    while (!in.atEnd() && in.peek() != 'T' && in.peek() != 't') {
        long long v = 0;
        if (!in.integer(v)) return false;
        std::size_t k = next;
        while (k < 3 && !in.accept(dateUnits[k])) ++k;
        if (k == 3) return false;
        *dateFields[k] = v;
        next = k + 1;
        any = true;
    }
    if (in.accept('T')) {
        bool time = false;
        const char timeUnits[] = {'H', 'M', 'S'};
        long long* timeFields[] = {&d.hours, &d.minutes, &d.seconds};
        next = 0;
        while (!in.atEnd()) {
            long long v = 0;
            if (!in.integer(v)) return false;
            if (in.accept('.')) {
                d.nanos = in.fraction();
                if (!in.accept('S') || next > 2) return false;
                d.seconds = v;
                next = 3;
                time = true;
                continue;
            }
            std::size_t k = next;
            while (k < 3 && !in.accept(timeUnits[k])) ++k;
            if (k == 3) return false;
            *timeFields[k] = v;
            next = k + 1;
            time = true;
        }
        if (!time) return false;  // T must be followed by a time element
        any = true;
    }
    return any && in.atEnd();
}

void checkField(long long value, long long limit, const OraMessage<0>& outOfRange) {
    if (value >= limit) raise(outOfRange);
}

}  // namespace

void invalidInterval() { raise(ora::kInvalidInterval); }
void leadingPrecisionTooSmall() { raise(ora::kIntervalPrecisionTooSmall); }

bool parseIntervalText(const char* s, std::size_t n, Interval& out) {
    if (n < 4 || (s[0] != '+' && s[0] != '-')) return false;
    std::size_t i = 1;
    long long lead = 0;
    std::size_t width = 0;
    if (!readDigits(s, n, i, 9, lead, &width)) return false;
    Interval v;
    v.negative = s[0] == '-';
    v.leading = static_cast<int>(width);
    long long a = 0, b = 0, c = 0;
    if (i + 3 == n && s[i] == '-') {
        if (!twoDigits(s, i + 1, a) || a > 11) return false;
        v.kind = Interval::Kind::YearMonth;
        v.months = lead * 12 + a;
        v.fraction = 0;
    } else {
        if (n < i + 9 || s[i] != ' ' || s[i + 3] != ':' || s[i + 6] != ':' ||
            !twoDigits(s, i + 1, a) || !twoDigits(s, i + 4, b) || !twoDigits(s, i + 7, c) ||
            a > 23 || b > 59 || c > 59)
            return false;
        v.kind = Interval::Kind::DaySecond;
        v.seconds = ((lead * 24 + a) * 60 + b) * 60 + c;
        std::size_t at = i + 9;
        v.fraction = 0;
        if (at < n) {
            if (s[at] != '.') return false;
            ++at;
            const std::size_t from = at;
            long long f = 0;
            if (!readDigits(s, n, at, 9, f) || at != n) return false;
            v.fraction = static_cast<int>(at - from);
            v.nanos = f * tenTo(9 - v.fraction);
        }
    }
    if (v.months == 0 && v.seconds == 0 && v.nanos == 0) v.negative = false;
    out = v;
    return true;
}

void roundFraction(Interval& v) {
    if (v.kind != Interval::Kind::DaySecond) return;
    const long long unit = tenTo(9 - v.fraction);
    v.nanos = (v.nanos + unit / 2) / unit * unit;
    if (v.nanos >= kNanosPerSecond) {
        v.nanos -= kNanosPerSecond;
        ++v.seconds;
    }
}

std::string intervalText(Interval v) {
    roundFraction(v);
    const bool zero = v.months == 0 && v.seconds == 0 && v.nanos == 0;
    std::string out(1, v.negative && !zero ? '-' : '+');
    const std::size_t width = static_cast<std::size_t>(v.leading < 1 ? 1 : v.leading);
    if (v.kind == Interval::Kind::YearMonth) {
        out += padded(v.months / 12, width) + '-' + padded(v.months % 12, 2);
        return out;
    }
    const long long s = v.seconds;
    out += padded(s / 86400, width) + ' ' + padded(s / 3600 % 24, 2) + ':' +
           padded(s / 60 % 60, 2) + ':' + padded(s % 60, 2);
    if (v.fraction > 0)
        out += '.' + padded(v.nanos, 9).substr(0, static_cast<std::size_t>(v.fraction));
    return out;
}

void fitInterval(Interval& v, int leading, int fraction) {
    v.leading = leading;
    v.fraction = v.kind == Interval::Kind::DaySecond ? fraction : 0;
    roundFraction(v);
    const long long lead = v.kind == Interval::Kind::YearMonth ? v.months / 12 : v.seconds / 86400;
    if (lead > 0 && digitCount(lead) > leading)
        leadingPrecisionTooSmall();
}

Interval yearMonthFromText(const std::string& text) {
    Scanner in(text);
    in.blanks();
    Interval v;
    v.kind = Interval::Kind::YearMonth;
    v.leading = 9;
    v.fraction = 0;
    if (in.accept('-')) {
        v.negative = true;
    } else {
        in.accept('+');
    }
    in.blanks();
    if (in.peek() == 'P' || in.peek() == 'p') {
        IsoDuration d;
        if (!parseIso(in, d)) invalidInterval();
        v.months = d.years * 12 + d.months;  // days and times are ignored
    } else {
        long long years = 0, months = 0;
        if (!in.integer(years)) invalidInterval();
        in.blanks();
        if (!in.accept('-')) invalidInterval();
        in.blanks();
        if (!in.integer(months)) invalidInterval();
        in.blanks();
        if (!in.atEnd()) invalidInterval();
        checkField(months, 12, ora::kInvalidMonth);
        v.months = years * 12 + months;
    }
    if (v.months / 12 > kMaxLeading) leadingPrecisionTooSmall();
    if (v.months == 0) v.negative = false;
    return v;
}

Interval daySecondFromText(const std::string& text) {
    Scanner in(text);
    in.blanks();
    Interval v;
    v.kind = Interval::Kind::DaySecond;
    v.leading = 9;
    v.fraction = 9;
    if (in.accept('-')) {
        v.negative = true;
    } else {
        in.accept('+');
    }
    in.blanks();
    long long days = 0, hours = 0, minutes = 0, seconds = 0;
    if (in.peek() == 'P' || in.peek() == 'p') {
        IsoDuration d;
        if (!parseIso(in, d) || d.years != 0 || d.months != 0) invalidInterval();
        days = d.days;
        hours = d.hours;
        minutes = d.minutes;
        seconds = d.seconds;
        v.nanos = d.nanos;
    } else {
        if (!in.integer(days)) invalidInterval();
        in.blanks();
        if (!in.integer(hours)) invalidInterval();
        in.blanks();
        if (!in.accept(':')) invalidInterval();
        in.blanks();
        if (!in.integer(minutes)) invalidInterval();
        in.blanks();
        if (!in.accept(':')) invalidInterval();
        in.blanks();
        if (!in.integer(seconds)) invalidInterval();
        if (in.accept('.')) v.nanos = in.fraction();
        in.blanks();
        if (!in.atEnd()) invalidInterval();
        checkField(hours, 24, ora::kHourOutOfRange);
        checkField(minutes, 60, ora::kMinutesOutOfRange);
        checkField(seconds, 60, ora::kSecondsOutOfRange);
    }
    v.seconds = ((days * 24 + hours) * 60 + minutes) * 60 + seconds;
    if (v.seconds / 86400 > kMaxLeading)
        leadingPrecisionTooSmall();
    if (v.seconds == 0 && v.nanos == 0) v.negative = false;
    return v;
}

Instant shiftInstant(Instant at, const Interval& by, bool subtract) {
    const bool back = by.negative != subtract;
    if (by.kind == Interval::Kind::YearMonth) {
        DateTimeFields f = fieldsOf(at);
        long long month = astronomicalYear(f.year) * 12LL + (f.month - 1);
        month += back ? -by.months : by.months;
        const long long year = month >= 0 ? month / 12 : -((-month + 11) / 12);
        const int oracle = oracleYear(static_cast<long>(year));
        if (year < -4711 || year > 9999) raise(ora::kYearOutOfRange);
        f.year = oracle;
        f.month = static_cast<unsigned>(month - year * 12 + 1);
        if (f.day > daysInMonth(f.year, f.month)) raise(ora::kDateNotValidForMonth);
        const long long nanos = at.nanos;
        at = instantOf(f);
        at.nanos = nanos;
        return at;
    }
    const long long days = by.seconds / 86400;
    if (days > 6000000) raise(ora::kYearOutOfRange);
    const long long rest = (by.seconds % 86400) * kNanosPerSecond + by.nanos;
    at.days += static_cast<long>(back ? -days : days);
    return addNanos(at, back ? -rest : rest);
}

}  // namespace detail
}  // namespace kavexdb
