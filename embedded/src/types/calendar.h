// The proleptic Gregorian calendar as DATE and TIMESTAMP values use it: day numbers, and points
// in time that arithmetic can move. Oracle's years have no year 0 (-1 is 1 BC); the day numbers
// count astronomical years, where 1 BC is year 0.
#ifndef KAVEXDB_CALENDAR_H
#define KAVEXDB_CALENDAR_H

#include "types/format_model.h"

namespace kavexdb {
namespace detail {

constexpr long long kNanosPerDay = 86400LL * 1000000000LL;

inline long astronomicalYear(int year) { return year < 0 ? year + 1 : year; }
inline int oracleYear(long astronomical) {
    return static_cast<int>(astronomical <= 0 ? astronomical - 1 : astronomical);
}

// Days since 1970-01-01 of an astronomical year, month and day.
long daysFromCivil(long year, unsigned month, unsigned day);
// The astronomical year, month and day of a day number.
void civilFromDays(long days, long& year, unsigned& month, unsigned& day);
// The astronomical year a day number falls in.
long yearOfDays(long days);
unsigned daysInMonth(int year, unsigned month);  // Oracle year

// English names in upper case, as the American defaults spell them: months from January,
// days of the week from Sunday.
extern const char* const kMonthNames[12];
extern const char* const kDayNames[7];

// A wall-clock time without its zone: the day number and the nanoseconds into that day
// (0 <= nanos < kNanosPerDay).
struct Instant {
    long days = 0;
    long long nanos = 0;
};
Instant instantOf(const DateTimeFields& f);
// The fields of an instant; zone fields 0. Years outside -4712..9999 throw ORA-01841.
DateTimeFields fieldsOf(Instant i);
// Moves an instant by a (possibly negative) number of nanoseconds.
Instant addNanos(Instant i, long long nanos);
// The instant in UTC of fields that carry a zone offset.
Instant utcInstantOf(const DateTimeFields& f);

}  // namespace detail
}  // namespace kavexdb

#endif
