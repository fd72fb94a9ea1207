#include "types/session_settings.h"

#include "types/datetime_parse.h"

namespace kavexdb {
namespace detail {

const SessionSetting* keptSessionSetting(const std::string& name) {
    static const SessionSetting kKept[] = {
        {"NLS_LANGUAGE", "AMERICAN", false},
        {"NLS_TERRITORY", "AMERICA", false},
        {"NLS_DATE_LANGUAGE", "AMERICAN", false},
        {"NLS_SORT", "BINARY", false},
        {"NLS_COMP", "BINARY", false},
        {"NLS_CALENDAR", "GREGORIAN", false},
        {"NLS_ISO_CURRENCY", "AMERICA", false},
        {"NLS_LENGTH_SEMANTICS", "BYTE", false},
        {"NLS_NCHAR_CONV_EXCP", "FALSE", false},
        {"NLS_DATE_FORMAT", kDefaultDateFormat, true},
        {"NLS_TIMESTAMP_FORMAT", kDefaultTimestampFormat, true},
        {"NLS_TIMESTAMP_TZ_FORMAT", kDefaultTimestampTzFormat, true},
        {"NLS_NUMERIC_CHARACTERS", ".,", true},
        {"NLS_CURRENCY", "$", true},
        {"NLS_DUAL_CURRENCY", "$", true},
        {"TIME_ZONE", "+00:00", true},
    };
    for (const SessionSetting& kept : kKept)
        if (name == kept.name) return &kept;
    return nullptr;
}

}  // namespace detail
}  // namespace kavexdb
