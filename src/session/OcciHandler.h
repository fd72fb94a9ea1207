// The registry's entry for one open session: its id, the owned Session and the lock that
// serializes calls on it. Each front end's handler is the factory of its own Session class
// (OcciHandlerFor).
#ifndef KAVEX_SESSION_OCCIHANDLER_H
#define KAVEX_SESSION_OCCIHANDLER_H

#include <cstdint>
#include <memory>
#include <mutex>

#include "session/SessionLock.h"

namespace kavex {

class Session;

class OcciHandler {
public:
    virtual ~OcciHandler();
    virtual std::unique_ptr<Session> createSession(const char* userName, const char* password,
                                                   const char* connectString) = 0;

    // Tears the session down; for the holder of the lock once the session is closed, or the
    // registry's close. Idempotent. Waits for a cancel in progress.
    void tearDown() noexcept;
    // Any thread, without the session's lock: cancels the call running on the session (see
    // Session::breakRunningCall). False when the session is gone or the client refused.
    bool breakRunningCall() noexcept;

    std::int32_t sessionId = 0;
    std::unique_ptr<Session> session;  // replaced only through tearDown once registered
    SessionLock lock;

private:
    std::mutex teardownMutex;  // a cancel in progress keeps the session from being torn down
};

// The handler of a front end whose sessions are FrontEndSession (a complete Session subclass).
// A new session gets the front end's handler table, which the first one fills.
template <class FrontEndSession>
class OcciHandlerFor : public OcciHandler {
public:
    std::unique_ptr<Session> createSession(const char* userName, const char* password,
                                           const char* connectString) override {
        auto created = std::make_unique<FrontEndSession>(userName, password, connectString);
        created->attachHandlerTable();
        return created;
    }
};

}  // namespace kavex

#endif
