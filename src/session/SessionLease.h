// One call's hold on a session, taken at the start of every export that names a session id: it
// keeps the session's handler alive and holds the session's lock until the call returns. A
// session closed while a call is inside is torn down when that call's lease ends, so closing
// never pulls the session from under a running call.
//
// Each thread keeps the handlers of the few sessions it used last (a host makes one call per
// value, and the registry's lock and the shared ownership's atomic counts cost more than reading
// the value). A closed session is never found there; its Session is torn down at close or by the
// call that leaves it last, so what a thread still keeps of it is only the empty handler.
// (Windows builds keep nothing per thread: a DLL with per-thread destructors stays loaded.)
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
    OcciHandler* handler() const { return entered ? held : nullptr; }
    // The session while the lease holds it, else null.
    Session* session() const;
    // Why there is no handler: "Session is not initialized" (no such open session) or the text
    // for a call made from inside another call on the same session.
    const char* refusal() const { return refusalText; }

private:
    OcciHandler* held = nullptr;
    std::shared_ptr<OcciHandler> own;  // when the thread could not keep the handler itself
    int* pin = nullptr;                // the thread's entry that keeps the handler
    bool entered = false;
    const char* refusalText;
};

}  // namespace kavex

#endif
