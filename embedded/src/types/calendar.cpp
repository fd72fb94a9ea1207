// Day numbers after Howard Hinnant's civil-calendar algorithms: exact for every proleptic
// Gregorian date, no tables.
#include "types/calendar.h"

#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {

const char* const kMonthNames[12] = {"JANUARY", "FEBRUARY", "MARCH",     "APRIL",
                                     "MAY",     "JUNE",     "JULY",      "AUGUST",
                                     "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};
const char* const kDayNames[7] = {"SUNDAY",   "MONDAY", "TUESDAY", "WEDNESDAY",
                                  "THURSDAY", "FRIDAY", "SATURDAY"};

long daysFromCivil(long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(long z, long& year, unsigned& month, unsigned& day) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    day = static_cast<unsigned>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<unsigned>(mp < 10 ? mp + 3 : mp - 9);
    year = yoe + era * 400 + (month <= 2);
}

long yearOfDays(long days) {
    long year = 0;
    unsigned month = 0, day = 0;
    civilFromDays(days, year, month, day);
    return year;
}

unsigned daysInMonth(int year, unsigned month) {
    static const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const long y = astronomicalYear(year);
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

Instant instantOf(const DateTimeFields& f) {
    Instant i;
    i.days = daysFromCivil(astronomicalYear(f.year), f.month, f.day);
    i.nanos = ((f.hour * 60LL + f.minute) * 60LL + f.second) * 1000000000LL + f.fraction;
    return i;
}

DateTimeFields fieldsOf(Instant i) {
    DateTimeFields f;
    long year = 0;
    civilFromDays(i.days, year, f.month, f.day);
    f.year = oracleYear(year);
    if (f.year < -4712 || f.year > 9999) raise(ora::kYearOutOfRange);
    long long seconds = i.nanos / 1000000000LL;
    f.fraction = static_cast<unsigned>(i.nanos % 1000000000LL);
    f.second = static_cast<unsigned>(seconds % 60);
    f.minute = static_cast<unsigned>(seconds / 60 % 60);
    f.hour = static_cast<unsigned>(seconds / 3600);
    return f;
}

Instant addNanos(Instant i, long long nanos) {
    i.days += static_cast<long>(nanos / kNanosPerDay);
    i.nanos += nanos % kNanosPerDay;
    if (i.nanos < 0) {
        i.nanos += kNanosPerDay;
        --i.days;
    } else if (i.nanos >= kNanosPerDay) {
        i.nanos -= kNanosPerDay;
        ++i.days;
    }
    return i;
}

Instant utcInstantOf(const DateTimeFields& f) {
    const long long offsetMinutes = f.tzHour * 60LL + f.tzMinute;
    return addNanos(instantOf(f), -offsetMinutes * 60LL * 1000000000LL);
}

}  // namespace detail
}  // namespace kavexdb
