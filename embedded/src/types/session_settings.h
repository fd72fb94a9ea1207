// The session settings the embedded client keeps, each at one value (American NLS settings,
// time in UTC): ALTER SESSION accepts a setting only at its value, SYS_CONTEXT('USERENV', ...)
// and SESSIONTIMEZONE show it.
#ifndef KAVEXDB_TYPES_SESSION_SETTINGS_H
#define KAVEXDB_TYPES_SESSION_SETTINGS_H

#include <string>

namespace kavexdb {
namespace detail {

struct SessionSetting {
    const char* name;
    const char* value;
    // A format model or a set of characters compares as written (Mon and MON show months
    // differently); a name ignoring case.
    bool exact;
};

// The kept setting of that name (upper case), or nullptr.
const SessionSetting* keptSessionSetting(const std::string& name);

}  // namespace detail
}  // namespace kavexdb

#endif
