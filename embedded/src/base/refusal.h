// The authorizer's last refusal, kept for the error SQLite reports after it (SQLITE_AUTH or "not
// authorized"): Oracle says ORA-00942 for an object the user may not see, ORA-01031 otherwise.
#ifndef KAVEXDB_BASE_REFUSAL_H
#define KAVEXDB_BASE_REFUSAL_H

namespace kavexdb {
namespace detail {

// Records the Oracle code (942 or 1031) of a refusal on this thread.
void noteRefusal(int code);
// Throws the error of this thread's last refusal (ORA-01031 when none was noted).
[[noreturn]] void raiseRefused();

}  // namespace detail
}  // namespace kavexdb

#endif
