// Oracle format models: the text rendering of Number, Date and Timestamp values with the
// American defaults (decimal character ".", English month and day names).
#ifndef KAVEXDB_FORMAT_MODEL_H
#define KAVEXDB_FORMAT_MODEL_H

#include <string>

#include "types/decimal.h"

namespace kavexdb {
namespace detail {

// The NLS values a number format model shows: the American ones unless an NLS parameter
// argument names others.
struct NumberNls {
    char decimal = '.';  // D
    char group = ',';    // G
    std::string currency = "$";        // L
    std::string isoCurrency = "USD";   // C
    std::string dualCurrency = "$";    // U
};
const NumberNls& americanNumberNls();
// Reads an NLS parameter argument such as "NLS_NUMERIC_CHARACTERS = ',.' NLS_CURRENCY = 'x'"
// (also NLS_ISO_CURRENCY, NLS_DUAL_CURRENCY; NLS_LANGUAGE and NLS_DATE_LANGUAGE are accepted
// for American and English). ORA-12702 for anything else.
NumberNls numberNlsOf(const std::string& nlsParam);

// Renders a number with a number format model (FM, 9, 0, D, '.', ',', G, $, L, C, U, B, V,
// EEEE, S, MI, PR, X, RN, TM, TM9, TME). An empty model gives the plain text. ORA-01481 for a
// model Oracle refuses; a value that does not fit shows as '#'s.
std::string formatNumber(const Decimal& value, const std::string& model,
                         const NumberNls& nls = americanNumberNls());

// Reads text written in a number format model (TO_NUMBER with a model): signs, currency symbols
// and group separators where the model has them, hexadecimal for X models. Gives the plain
// number text; ORA-01722 when the text does not match the model, ORA-01481 for a bad model.
std::string numberTextByModel(const std::string& text, const std::string& model,
                              const NumberNls& nls = americanNumberNls());

// The fields of a DATE or TIMESTAMP value.
struct DateTimeFields {
    int year = 1;
    unsigned month = 1, day = 1, hour = 0, minute = 0, second = 0;
    unsigned fraction = 0;  // nanoseconds
    int tzHour = 0, tzMinute = 0;
};

inline DateTimeFields calendarFields(int year, unsigned month, unsigned day, unsigned hour,
                                     unsigned minute, unsigned second) {
    DateTimeFields f;
    f.year = year;
    f.month = month;
    f.day = day;
    f.hour = hour;
    f.minute = minute;
    f.second = second;
    return f;
}

// Appends the decimal digits of a non-negative value, zero-padded to width unless fill is set
// (a format model's fill mode).
void appendPadded(std::string& out, long value, int width, bool fill);

// Renders date and time fields with a datetime format model. Fractional seconds and time-zone
// elements are recognised only for timestamps; fsprec is the precision of a bare FF.
// ORA-01821 for an element it does not know.
std::string formatDateTime(const DateTimeFields& value, const std::string& model,
                           bool isTimestamp, unsigned fsprec);

}  // namespace detail
}  // namespace kavexdb

#endif
