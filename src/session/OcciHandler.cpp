#include "session/OcciHandler.h"

#include "session/Session.h"

namespace kavex {

// Destroying the handler destroys its session, whose teardown never throws.
OcciHandler::~OcciHandler() = default;

void OcciHandler::tearDown() noexcept {
    std::unique_ptr<Session> doomed;
    {
        std::lock_guard<std::mutex> guard(teardownMutex);
        doomed = std::move(session);
    }
    // Torn down outside the mutex: a cancel of this session meanwhile finds it gone.
}

bool OcciHandler::breakRunningCall() noexcept {
    std::lock_guard<std::mutex> guard(teardownMutex);
    return session && session->breakRunningCall();
}

}  // namespace kavex
