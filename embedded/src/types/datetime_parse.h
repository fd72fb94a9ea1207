// Reading dates and timestamps from text: by a datetime format model (TO_DATE, TO_TIMESTAMP) and
// by the session's defaults, as Oracle converts text written into a DATE or TIMESTAMP column.
#ifndef KAVEXDB_DATETIME_PARSE_H
#define KAVEXDB_DATETIME_PARSE_H

#include <string>

#include "types/format_model.h"

namespace kavexdb {
namespace detail {

// The session's defaults (American NLS settings, as the embedded client uses everywhere).
extern const char* const kDefaultDateFormat;         // DD-MON-RR
extern const char* const kDefaultTimestampFormat;    // DD-MON-RR HH.MI.SSXFF AM
extern const char* const kDefaultTimestampTzFormat;  // DD-MON-RR HH.MI.SSXFF AM TZH:TZM

// Reads text by a model: YYYY, RRRR, YY, RR, MONTH, MON, MM, DD, HH24, HH12, HH, MI, SS, FF[1-9],
// X, AM/PM, TZH, TZM, FM, FX, quoted literals; punctuation matches any run of punctuation.
// Fields missing at the end of the text keep their defaults (the current year and month, day 1,
// midnight). The fields are range-checked; errors are Oracle's (ORA-01861, ORA-01843, ORA-01847,
// ORA-01830, ORA-01821, ...).
DateTimeFields parseDateTime(const std::string& text, const std::string& model);

// Text as Oracle reads it for a DATE or TIMESTAMP without a format: the ISO forms
// YYYY-MM-DD[( |T)HH24:MI[:SS[.FF]]][ zone] (the client's storage texts among them), else the
// session's default format for the type. A text that starts like an ISO date is held to the ISO
// form, so its error names what is wrong with it.
DateTimeFields parseDefaultDateTime(const std::string& text, bool timestamp, bool withTimeZone);

}  // namespace detail
}  // namespace kavexdb

#endif
