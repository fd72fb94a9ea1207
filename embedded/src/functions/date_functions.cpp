// Calendar rules follow the SQL Language Reference: ADD_MONTHS keeps the last day of a month
// the last day, MONTHS_BETWEEN counts a 31-day month for fractions, ROUND of a date rounds up at
// noon, on the 16th of a month and on the 1st of July, weeks start on Sunday (American
// territory) for DAY and on Monday for IW.
#include "functions/date_functions.h"
#include "types/number_arithmetic.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/ora_messages.h"
#include "functions/interval.h"
#include "functions/sql_function.h"
#include "functions/sql_values.h"
#include "sql/internal_names.h"
#include "sql/sql_lexer.h"
#include "types/calendar.h"
#include "types/datetime_parse.h"
#include "types/decimal.h"
#include "types/values.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

namespace {

int weekday(long days) { return static_cast<int>(((days % 7) + 7 + 4) % 7); }  // 0 = Sunday

DateTimeFields dayStart(long days) { return fieldsOf(Instant{days, 0}); }

long firstOfMonth(const DateTimeFields& f) {
    return daysFromCivil(astronomicalYear(f.year), f.month, 1);
}

// The start of the period fmt names that holds f (TRUNC); round: the nearer period start.
DateTimeFields truncateDate(const DateTimeFields& f, const std::string& fmtIn, bool round) {
    const std::string fmt = asciiUpper(fmtIn);
    const Instant at = instantOf(f);
    const long day = at.days;
    const long year = astronomicalYear(f.year);
    auto is = [&](std::initializer_list<const char*> names) {
        for (const char* n : names)
            if (fmt == n) return true;
        return false;
    };
    auto byUnit = [&](long long unit) {  // within a day: hours, minutes
        long long n = at.nanos / unit * unit;
        if (round && at.nanos - n >= unit / 2) n += unit;
        return fieldsOf(addNanos(Instant{day, 0}, n));
    };
    if (is({"MI"})) return byUnit(60LL * 1000000000LL);
    if (is({"HH", "HH12", "HH24"})) return byUnit(3600LL * 1000000000LL);
    if (is({"DD", "DDD", "J"})) return byUnit(kNanosPerDay);
    if (is({"DAY", "DY", "D", "IW", "WW", "W"})) {
        long start = day;
        if (is({"DAY", "DY", "D"})) start = day - weekday(day);
        if (is({"IW"})) start = day - (weekday(day) + 6) % 7;
        if (is({"WW"})) {
            const long jan1 = daysFromCivil(year, 1, 1);
            start = day - ((day - jan1) % 7);
        }
        if (is({"W"})) {
            const long first = firstOfMonth(f);
            start = day - ((day - first) % 7);
        }
        // Rounding: the nearer of this start and the next, measured from noon of the day.
        if (round && (day - start) * 2 + (at.nanos >= kNanosPerDay / 2 ? 1 : 0) >= 7) start += 7;
        return dayStart(start);
    }
    if (is({"MONTH", "MON", "MM", "RM"})) {
        long start = firstOfMonth(f);
        if (round && f.day >= 16) {
            const unsigned month = f.month % 12 + 1;
            start = daysFromCivil(f.month == 12 ? year + 1 : year, month, 1);
        }
        return dayStart(start);
    }
    if (is({"Q"})) {
        unsigned first = (f.month - 1) / 3 * 3 + 1;
        long y = year;
        if (round && (f.month > first + 1 || (f.month == first + 1 && f.day >= 16))) {
            first += 3;
            if (first > 12) {
                first = 1;
                ++y;
            }
        }
        return dayStart(daysFromCivil(y, first, 1));
    }
    if (is({"SYYYY", "YYYY", "YEAR", "SYEAR", "YYY", "YY", "Y"})) {
        const long y = round && f.month >= 7 ? year + 1 : year;
        return dayStart(daysFromCivil(y, 1, 1));
    }
    if (is({"CC", "SCC"})) {
        // Centuries begin with years ending in 01; rounding moves up from the 51st year.
        const long y = f.year > 0 ? f.year : f.year + 1;
        long start = (y - 1) / 100 * 100 + 1;
        if (round && y - start >= 50) start += 100;
        return dayStart(daysFromCivil(start, 1, 1));
    }
    raise(ora::kDateFormatNotRecognized);
}

bool isNumberArg(sqlite3_value* v) {
    const ValueKind k = valueKind(v);
    if (k == ValueKind::Number) return true;
    if (k != ValueKind::Text) return false;
    Decimal d;
    return parseDecimal(valueText(v), d);
}

// TRUNC and ROUND: of a number to n places (default 0, negative to the left of the point); of
// a date to the period a format names (default DD).
void truncOrRound(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool round) {
    guardedSql(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        if (isNumberArg(argv[0])) {
            const occi::Number n = numberArg(argv[0]);
            const double wanted = argc > 1 ? std::trunc(numberToDouble(numberArg(argv[1]))) : 0;
            const int places = static_cast<int>(wanted < -200 ? -200 : wanted > 200 ? 200 : wanted);
            Decimal d = decimalOf(n);
            if (round) {
                d = roundToScale(d, places);
            } else {
                const long keep = static_cast<long>(d.exponent) + places;
                if (keep <= 0)
                    d = Decimal{};
                else if (keep < static_cast<long>(d.digits.size()))
                    d.digits.resize(static_cast<std::size_t>(keep));
            }
            return resultComputed(ctx, numberOf(d), resultsMayBeWide(ctx));
        }
        const DateTimeFields f = datetimeArg(argv[0]);
        resultDate(ctx, truncateDate(f, argc > 1 ? valueText(argv[1]) : "DD", round));
    });
}

// The smallest step from the start of a period fmt names that lands in the next period.
long long stepPastPeriod(const std::string& fmtIn) {
    const std::string fmt = asciiUpper(fmtIn);
    constexpr long long kDay = kNanosPerDay;
    if (fmt == "MI") return 60LL * 1000000000LL;
    if (fmt == "HH" || fmt == "HH12" || fmt == "HH24") return 3600LL * 1000000000LL;
    if (fmt == "DD" || fmt == "DDD" || fmt == "J") return kDay;
    if (fmt == "MONTH" || fmt == "MON" || fmt == "MM" || fmt == "RM") return 31 * kDay;
    if (fmt == "Q") return 92 * kDay;
    if (fmt == "CC" || fmt == "SCC") return 36600 * kDay;
    for (const char* year : {"SYYYY", "YYYY", "YEAR", "SYEAR", "YYY", "YY", "Y"})
        if (fmt == year) return 366 * kDay;
    return 7 * kDay;  // the weeks; truncateDate refuses what is no format
}

// CEIL(datetime [, fmt]) and FLOOR(datetime [, fmt]) (Oracle Database 23ai): the start of the
// period fmt names (default DD) that holds the value, and for CEIL the start of the next one
// unless the value is a start already. A DATE either way. Of a number, the whole number above
// or below it.
void ceilOrFloor(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool ceil) {
    guardedSql(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        // A text is converted to a number, as for the numeric CEIL and FLOOR.
        if (isNumberArg(argv[0]) || valueKind(argv[0]) == ValueKind::Text) {
            if (argc > 1) raise(ora::kInvalidArgumentCount);
            if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER)
                return sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
            return resultComputed(ctx, numeric::ceilOrFloor(numberArg(argv[0]), ceil),
                                  resultsMayBeWide(ctx));
        }
        const DateTimeFields f = datetimeArg(argv[0]);
        const std::string fmt = argc > 1 ? valueText(argv[1]) : "DD";
        DateTimeFields start = truncateDate(f, fmt, false);
        const Instant at = instantOf(f), from = instantOf(start);
        if (ceil && (at.days != from.days || at.nanos != from.nanos))
            start = truncateDate(fieldsOf(addNanos(from, stepPastPeriod(fmt))), fmt, false);
        resultDate(ctx, start);
    });
}

void ceilFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) { ceilOrFloor(ctx, argc, argv, true); }
void floorFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) { ceilOrFloor(ctx, argc, argv, false); }

void trunc(sqlite3_context* ctx, int argc, sqlite3_value** argv) { truncOrRound(ctx, argc, argv, false); }
void roundFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) { truncOrRound(ctx, argc, argv, true); }

bool isLastDay(const DateTimeFields& f) { return f.day == daysInMonth(f.year, f.month); }

void addMonths(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        DateTimeFields f = datetimeArg(argv[0]);
        const long n = static_cast<long>(std::trunc(numberToDouble(numberArg(argv[1]))));
        const bool last = isLastDay(f);
        long months = astronomicalYear(f.year) * 12 + (f.month - 1) + n;
        const long year = months >= 0 ? months / 12 : (months - 11) / 12;
        f.month = static_cast<unsigned>(months - year * 12 + 1);
        f.year = oracleYear(year);
        if (f.year < -4712 || f.year > 9999) raise(ora::kYearOutOfRange);
        const unsigned lastDay = daysInMonth(f.year, f.month);
        if (last || f.day > lastDay) f.day = lastDay;
        resultDate(ctx, f);
    });
}

void lastDay(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        DateTimeFields f = datetimeArg(argv[0]);
        f.day = daysInMonth(f.year, f.month);
        resultDate(ctx, f);
    });
}

void nextDay(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        const DateTimeFields f = datetimeArg(argv[0]);
        std::string name = asciiUpper(valueText(argv[1]));
        while (!name.empty() && name.back() == ' ') name.pop_back();
        int wanted = -1;
        for (int d = 0; d < 7 && wanted < 0; ++d) {
            const std::string full = kDayNames[d];
            if (name.size() >= 3 && full.compare(0, name.size(), name) == 0) wanted = d;
        }
        if (wanted < 0) raise(ora::kInvalidDayOfWeek);
        const Instant at = instantOf(f);
        int ahead = (wanted - weekday(at.days) + 7) % 7;
        if (ahead == 0) ahead = 7;
        resultDate(ctx, fieldsOf(Instant{at.days + ahead, at.nanos}));
    });
}

// The zones NEW_TIME knows, each with its offset from UTC in minutes.
struct NamedZone {
    const char* name;
    int minutes;
};
constexpr NamedZone kNewTimeZones[] = {
    {"AST", -240}, {"ADT", -180},  // Atlantic
    {"BST", -660}, {"BDT", -600},  // Bering
    {"CST", -360}, {"CDT", -300},  // Central
    {"EST", -300}, {"EDT", -240},  // Eastern
    {"GMT", 0},                    // Greenwich
    {"HST", -600}, {"HDT", -540},  // Alaska-Hawaii
    {"MST", -420}, {"MDT", -360},  // Mountain
    {"NST", -210},                 // Newfoundland
    {"PST", -480}, {"PDT", -420},  // Pacific
    {"YST", -540}, {"YDT", -480},  // Yukon
};

int newTimeZoneMinutes(const std::string& zone) {
    const std::string name = asciiUpper(zone);
    for (const NamedZone& z : kNewTimeZones)
        if (name == z.name) return z.minutes;
    raise(ora::kNotValidTimeZone);
}

// NEW_TIME(date, zone1, zone2): the date and time in zone2 when it is date in zone1. Always a
// DATE: a timestamp's fraction and zone are left off first.
void newTime(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        DateTimeFields f = datetimeArg(argv[0]);
        f.fraction = 0;
        f.tzHour = f.tzMinute = 0;
        const long long shift = newTimeZoneMinutes(valueText(argv[2])) -
                                newTimeZoneMinutes(valueText(argv[1]));
        const DateTimeFields shifted = fieldsOf(addNanos(instantOf(f), shift * (kNanosPerDay / (24 * 60))));
        if (shifted.year < -4712 || shifted.year > 9999) raise(ora::kYearOutOfRange);
        resultDate(ctx, shifted);
    });
}

void monthsBetween(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        const DateTimeFields a = datetimeArg(argv[0]), b = datetimeArg(argv[1]);
        const long months = (astronomicalYear(a.year) - astronomicalYear(b.year)) * 12 +
                            (static_cast<long>(a.month) - static_cast<long>(b.month));
        if (a.day == b.day || (isLastDay(a) && isLastDay(b)))
            return sqlite3_result_int64(ctx, months);
        const double secondsA = ((a.day * 24.0 + a.hour) * 60 + a.minute) * 60 + a.second;
        const double secondsB = ((b.day * 24.0 + b.hour) * 60 + b.minute) * 60 + b.second;
        const double value = months + (secondsA - secondsB) / (31.0 * 86400.0);
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.15g", value);
        sqlite3_result_double(ctx, std::strtod(buf, nullptr));
    });
}

// ORA$EXTRACT(field, value). A DATE has no time fields to give (ORA-30076), as in Oracle.
void extract(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        const std::string field = asciiUpper(valueText(argv[0]));
        if (extractFromInterval(ctx, field, argv[1])) return;
        const ValueKind kind = valueKind(argv[1]);
        const DateTimeFields f = datetimeArg(argv[1]);
        const bool time = field == "HOUR" || field == "MINUTE" || field == "SECOND";
        const bool zone = field == "TIMEZONE_HOUR" || field == "TIMEZONE_MINUTE";
        if ((time && kind != ValueKind::Timestamp && kind != ValueKind::TimestampTz) ||
            (zone && kind != ValueKind::TimestampTz))
            raise(ora::kInvalidExtractField);
        if (field == "YEAR") return sqlite3_result_int64(ctx, f.year);
        if (field == "MONTH") return sqlite3_result_int64(ctx, f.month);
        if (field == "DAY") return sqlite3_result_int64(ctx, f.day);
        if (field == "HOUR") return sqlite3_result_int64(ctx, f.hour);
        if (field == "MINUTE") return sqlite3_result_int64(ctx, f.minute);
        if (field == "SECOND") {
            if (f.fraction == 0) return sqlite3_result_int64(ctx, f.second);
            return sqlite3_result_double(ctx, f.second + f.fraction / 1e9);
        }
        if (field == "TIMEZONE_HOUR") return sqlite3_result_int64(ctx, f.tzHour);
        if (field == "TIMEZONE_MINUTE") return sqlite3_result_int64(ctx, f.tzMinute);
        raise(ora::kMissingRightParenthesis);
    });
}

// TO_TIMESTAMP(text [, model]): a TIMESTAMP; without a model the ISO forms or the session's
// default (DD-MON-RR HH.MI.SSXFF AM).
void timestampFromText(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool withTimeZone) {
    guardedSql(ctx, [&] {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
        const ValueKind kind = valueKind(argv[0]);
        if (kind == ValueKind::Number || kind == ValueKind::Blob)
            raise(ora::kInconsistentDatatypes,
                  withTimeZone ? "TIMESTAMP WITH TIME ZONE" : "TIMESTAMP", "NUMBER");
        const std::string text = valueText(argv[0]);
        const DateTimeFields f = argc > 1 && sqlite3_value_type(argv[1]) != SQLITE_NULL
                                     ? parseDateTime(text, valueText(argv[1]))
                                     : parseDefaultDateTime(text, true, withTimeZone);
        resultTimestamp(ctx, f, withTimeZone);
    });
}

void toTimestamp(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    timestampFromText(ctx, argc, argv, false);
}

// TO_TIMESTAMP_TZ(text [, model]): a TIMESTAMP WITH TIME ZONE; a text without a zone is in the
// session's (UTC).
void toTimestampTz(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    timestampFromText(ctx, argc, argv, true);
}

// FROM_TZ(timestamp, zone): the timestamp in the zone given as an offset ('+05:30', '-8:00')
// or as UTC / GMT; other region names are ORA-01882, as the client knows no region rules.
void fromTz(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        if (valueKind(argv[0]) != ValueKind::Timestamp)
            raise(ora::kInconsistentDatatypes, "TIMESTAMP",
                  valueKind(argv[0]) == ValueKind::Number ? "NUMBER" : "CHAR");
        DateTimeFields f = datetimeArg(argv[0]);
        const std::string zone = asciiUpper(valueText(argv[1]));
        f.tzHour = f.tzMinute = 0;
        if (zone != "UTC" && zone != "GMT" && zone != "Z") {
            const std::size_t at = zone.find_first_not_of(' ');
            const char sign = at != std::string::npos ? zone[at] : 0;
            const std::string offset =
                zone.substr(sign == '+' || sign == '-' ? at + 1 : (at == std::string::npos ? 0 : at));
            unsigned hours = 0, minutes = 0;
            int used = 0;
            if (offset.empty() || !std::isdigit(static_cast<unsigned char>(offset[0])) ||
                std::sscanf(offset.c_str(), "%2u:%2u %n", &hours, &minutes, &used) != 2 ||
                static_cast<std::size_t>(used) != offset.size() || minutes > 59 ||
                hours * 60 + minutes > 14 * 60)
                raise(ora::kTimeZoneRegionNotFound);
            f.tzHour = sign == '-' ? -static_cast<int>(hours) : static_cast<int>(hours);
            f.tzMinute = sign == '-' ? -static_cast<int>(minutes) : static_cast<int>(minutes);
        }
        resultTimestamp(ctx, f, true);
    });
}

// SYS_EXTRACT_UTC(timestamp with time zone): the same instant as a TIMESTAMP in UTC.
void sysExtractUtc(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
        const ValueKind kind = valueKind(argv[0]);
        if (kind != ValueKind::Timestamp && kind != ValueKind::TimestampTz)
            raise(ora::kInconsistentDatatypes, "TIMESTAMP WITH TIME ZONE",
                  kind == ValueKind::Number ? "NUMBER" : "DATE");
        const DateTimeFields f = datetimeArg(argv[0]);
        DateTimeFields utc = fieldsOf(utcInstantOf(f));
        utc.fraction = f.fraction;
        resultTimestamp(ctx, utc, false);
    });
}

}  // namespace

void rewriteExtract(TokenEditor& e) {
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        if (!e.word(i, "EXTRACT")) continue;
        const std::size_t open = e.next(i + 1);
        const std::size_t field = e.next(open + 1);
        const std::size_t from = e.next(field + 1);
        if (!e.punct(open, '(') || field >= e.size() || e[field].kind != Token::Kind::Word ||
            !e.word(from, "FROM"))
            continue;
        e[i].text = kOraExtract;
        e[field].text = sqlStringLiteral(asciiUpper(e[field].text));
        e[from].text = ",";
    }
}

namespace {

const FunctionRow kRows[] = {
    {"TRUNC", 1, 2, trunc, nullptr},
    {"CEIL", 1, 2, ceilFn, nullptr},
    {"FLOOR", 1, 2, floorFn, nullptr},
    {"ROUND", 1, 2, roundFn, nullptr},
    {"TO_TIMESTAMP", 1, 2, toTimestamp, "TIMESTAMP(9)"},
    {"TO_TIMESTAMP_TZ", 1, 2, toTimestampTz, "TIMESTAMP WITH TIME ZONE(9)"},
    {"ADD_MONTHS", 2, 2, addMonths, "DATE"},
    {"FROM_TZ", 2, 2, fromTz, "TIMESTAMP WITH TIME ZONE(9)"},
    {"SYS_EXTRACT_UTC", 1, 1, sysExtractUtc, "TIMESTAMP(9)"},
    {"LAST_DAY", 1, 1, lastDay, "DATE"},
    {"NEXT_DAY", 2, 2, nextDay, "DATE"},
    {"NEW_TIME", 3, 3, newTime, "DATE"},
    {"MONTHS_BETWEEN", 2, 2, monthsBetween, "NUMBER"},
    {kOraExtract, 2, 2, extract, "NUMBER"},
};

}  // namespace

const FunctionFamily kDateFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
