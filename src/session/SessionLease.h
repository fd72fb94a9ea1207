// One call's hold on a session, taken at the start of every export that names a session id: it
// keeps the registry entry (and with it the Session) alive and holds the session's lock until
// the call returns. A session closed while a call is inside is released when that call's lease
// ends, so closing never pulls the session from under a running call.
#ifndef KAVEX_SESSION_SESSIONLEASE_H
#define KAVEX_SESSION_SESSIONLEASE_H

#include <cstdint>
#include <memory>

namespace kavex {

class OcciHandler;
class Session;

class SessionLease {
public:
    explicit SessionLease(std::int32_t sessionId);
    ~SessionLease();
    SessionLease(const SessionLease&) = delete;
    SessionLease& operator=(const SessionLease&) = delete;

    // The session's handler while the lease holds it, else null.
    OcciHandler* handler() const { return entered ? held.get() : nullptr; }
    // The session while the lease holds it, else null.
    Session* session() const;
    // Why there is no handler: "Session is not initialized" (no such open session) or the text
    // for a call made from inside another call on the same session.
    const char* refusal() const { return refusalText; }

private:
    std::shared_ptr<OcciHandler> held;
    bool entered = false;
    const char* refusalText;
};

}  // namespace kavex

#endif
