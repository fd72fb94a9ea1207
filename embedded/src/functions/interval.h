// Oracle's INTERVAL YEAR TO MONTH and INTERVAL DAY TO SECOND values. An interval is stored and
// passed between the client's SQL functions as the text Oracle displays for it: "+02-06" for a
// YEAR(2) TO MONTH value, "+04 05:12:10.222000" for a DAY(2) TO SECOND(6) one. The width of the
// leading field and the count of fraction digits are the value's precisions, so the text alone
// says what type an expression has, and the stored text is what a reader is given.
#ifndef KAVEXDB_INTERVAL_H
#define KAVEXDB_INTERVAL_H

#include <sqlite3.h>

#include <string>
#include <utility>
#include <vector>

#include "sql/token_editor.h"
#include "types/calendar.h"

namespace kavexdb {
namespace detail {

constexpr long long kNanosPerSecond = 1000000000LL;

struct Interval {
    enum class Kind { YearMonth, DaySecond };
    Kind kind = Kind::DaySecond;
    bool negative = false;
    long long months = 0;   // YearMonth: the magnitude in months
    long long seconds = 0;  // DaySecond: the magnitude in whole seconds
    long long nanos = 0;    //   and nanoseconds (0 <= nanos < 1e9)
    int leading = 2;        // digits of the leading field (years or days), 0 to 9
    int fraction = 6;       // DaySecond: digits of the fractional seconds, 0 to 9
};

// ORA-01867 (a text that is no interval) and ORA-01873 (a leading field too wide for its type).
[[noreturn]] void invalidInterval();
[[noreturn]] void leadingPrecisionTooSmall();

// Whether text is an interval's storage text; fills out (precisions from the text's widths).
bool parseIntervalText(const char* text, std::size_t length, Interval& out);
// The storage text. The leading field takes as many digits as the value needs beyond
// `leading`; the fraction is rounded to `fraction` digits first (see roundFraction).
std::string intervalText(Interval value);
// Rounds a DaySecond value's nanoseconds to its fractional precision.
void roundFraction(Interval& value);
// Fits a value into INTERVAL YEAR(leading) TO MONTH or DAY(leading) TO SECOND(fraction):
// rounds the fraction, ORA-01873 when the leading field has more digits than leading allows.
void fitInterval(Interval& value, int leading, int fraction);

// The interval of a kind with a signed length in months (year-month) or nanoseconds
// (day-second) and the given precisions, as interval arithmetic gives it (the leading field
// widens as far as nine digits; ORA-01873 beyond).
void resultIntervalOfLength(sqlite3_context* ctx, Interval::Kind kind, long double length,
                            int leading, int fraction);

// The interval of a SQL value, or false when it is no interval's storage text.
bool intervalArg(sqlite3_value* v, Interval& out);
void resultInterval(sqlite3_context* ctx, const Interval& value);

// Text into an interval as Oracle converts it implicitly and in TO_YMINTERVAL/TO_DSINTERVAL:
// the SQL forms "[+|-]years-months" and "[+|-]days hours:minutes:seconds[.fraction]", or the
// ISO 8601 durations "[-]P[nY][nM][nD][T[nH][nM][n[.f]S]]". ORA-01867 when it is neither.
Interval yearMonthFromText(const std::string& text);
Interval daySecondFromText(const std::string& text);

// A DATE or TIMESTAMP moved by an interval (subtract: backwards). A year-month interval keeps
// the day of the month: ORA-01839 when that day does not exist in the month reached.
Instant shiftInstant(Instant at, const Interval& by, bool subtract);

// INTERVAL 'text' qualifier literals and INTERVAL column types, rewritten in place at token i
// (the word INTERVAL): a literal becomes its storage text, a type "INTERVAL YEAR(p) TO MONTH"
// becomes "INTERVAL_YEAR_TO_MONTH(p)" and "INTERVAL DAY(p) TO SECOND(s)" becomes
// "INTERVAL_DAY_TO_SECOND(p,s)", which SQLite's type-name grammar takes. Throws the literal's ORA error.
// CAST(x AS INTERVAL ...) becomes the conversion of a value written into such a column.
void rewriteIntervalAt(TokenEditor& e, std::size_t i);
// (a - b) DAY[(p)] TO SECOND[(s)] and (a - b) YEAR[(p)] TO MONTH: the difference of two datetimes
// (or two intervals) as an interval of that type, through ORA$IV_DIFF. Runs before the operators
// are rewritten.
void rewriteIntervalExpressions(TokenEditor& e);
// A comparison with an interval literal, a TO_/NUMTO interval function or an interval expression on
// either side compares both sides through ORA$IV_KEY, which orders intervals by value whatever
// their precisions and signs (the stored texts order only values of one type that are not
// negative). The comparisons are found before the operators are rewritten, and wrapped after:
// the operator rewriting keeps each operand's first and last token.
class IntervalComparisons {
  public:
    explicit IntervalComparisons(const TokenEditor& e);
    void wrap(TokenEditor& e) const;

  private:
    std::vector<std::pair<std::size_t, std::size_t>> operands_;  // first and last tokens
};

// The operators over intervals, asked by ORA$ADD, ORA$SUB, ORA$MUL and ORA$DIV before their own
// forms: op is '+', '-', '*' or '/'. Returns false (nothing done) when neither operand is an
// interval and the operation is no TIMESTAMP minus TIMESTAMP; throws ORA-30081 for forms Oracle
// does not define.
bool intervalOperation(sqlite3_context* ctx, char op, sqlite3_value* a, sqlite3_value* b);
// EXTRACT(field FROM interval): false when v is no interval. ORA-30076 for a field the
// interval does not have.
bool extractFromInterval(sqlite3_context* ctx, const std::string& field, sqlite3_value* v);


}  // namespace detail
}  // namespace kavexdb

#endif
