// Cancelling the call another thread runs on a session: the one operation that does not take
// the session's lock, since the call it stops holds it. Both front ends reach it through their
// set-property call with KAVEX_PROPERTY_CANCEL.
#ifndef KAVEX_SESSION_CALLBREAK_H
#define KAVEX_SESSION_CALLBREAK_H

#include <cstdint>

namespace kavex {

// Any thread: the running call on the session fails with ORA-01013 and the session stays
// usable; with no call running nothing happens. 0, or the error id of "Session is not
// initialized" for an id that names no open session, or of "Cannot set property" when the
// client refused.
std::int32_t breakSessionCall(std::int32_t sessionId) noexcept;

}  // namespace kavex

#endif
